// Loading pictures: alpha kept or made opaque, filters, bad files, limits,
// and a texture released exactly once.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

#include "ol/Bitmap.h"
#include "ol/GlDriver.h"
#include "tests/ol/LayerTestSupport.h"
#include "tests/support/TestSupport.h"

using oltest::Rgba;

namespace {

class Loading : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(oltest::OpenTestScreen()); }
    std::string Path(const std::string& name) const { return scratch.Path() + "/" + name; }
    // Alpha of every texel of the picture area.
    static std::vector<int> PictureAlpha(const ol::Bitmap& bitmap)
    {
        int tw = 0, th = 0;
        std::vector<unsigned char> texels = oltest::TextureTexels(bitmap.TextureInfo().name, tw, th);
        std::vector<int> alpha;
        for (int row = th - bitmap.Height(); row < th; ++row)
            for (int x = 0; x < bitmap.Width(); ++x)
                alpha.push_back(texels[(row * tw + x) * 4 + 3]);
        return alpha;
    }
    testsupport::ScratchDir scratch;
};

}  // namespace

TEST_F(Loading, AlphaIsKeptExactlyOrThePictureIsMadeOpaque)
{
    oltest::WritePicture(Path("rgb.png"), 5, 4, 24, [](int x, int y) { return Rgba{x * 50, y * 60, 9, 255}; });
    oltest::WritePicture(Path("clear.png"), 5, 4, 32, [](int x, int) { return Rgba{x * 50, 1, 2, 0}; });
    oltest::WritePicture(Path("one.png"), 5, 4, 32, [](int x, int y) {
        return Rgba{x * 50, 3, 4, x == 2 && y == 1 ? 1 : 0};
    });
    struct Case { const char* file; bool opaque; } cases[] = {
        {"rgb.png", true}, {"clear.png", true}, {"one.png", false}};
    // AllegroGL leaves the current depth at the screen's; a 24-bit screen
    // must not cost the pictures their alpha.
    for (int currentDepth : {32, 24}) {
        set_color_depth(currentDepth);
        for (const Case& c : cases) {
            ol::Bitmap bitmap;
            ASSERT_TRUE(bitmap.Load(Path(c.file).c_str(), 0)) << c.file;
            EXPECT_EQ(bitmap.Width(), 5);
            EXPECT_EQ(bitmap.Height(), 4);
            std::vector<int> alpha = PictureAlpha(bitmap);
            for (std::size_t i = 0; i < alpha.size(); ++i) {
                // Texture rows run bottom-up: image pixel (2, 1) is entry 2 * 5 + 2.
                const int expected = c.opaque ? 255 : (i == 12 ? 1 : 0);
                ASSERT_EQ(alpha[i], expected) << c.file << " texel " << i << " depth " << currentDepth;
            }
        }
    }
    set_color_depth(32);
}

TEST_F(Loading, PalettedPictureKeepsItsColours)
{
    PALETTE palette;
    for (int i = 0; i < 256; ++i)
        palette[i] = RGB{static_cast<unsigned char>(i / 4), 10, static_cast<unsigned char>(63 - i / 4), 0};
    BITMAP* picture = create_bitmap_ex(8, 4, 1);
    for (int x = 0; x < 4; ++x)
        putpixel(picture, x, 0, x * 80);
    ASSERT_EQ(save_bitmap(Path("paletted.png").c_str(), picture, palette), 0);
    destroy_bitmap(picture);

    ol::Bitmap bitmap;
    ASSERT_TRUE(bitmap.Load(Path("paletted.png").c_str(), 0));
    bitmap.BlitStretched(0, 0, 4, 1, 1.0f);
    const oltest::ScreenPixels screen = oltest::ReadScreen();
    for (int x = 0; x < 4; ++x) {
        const RGB& entry = palette[x * 80];
        const Rgba expected{entry.r * 255 / 63, entry.g * 255 / 63, entry.b * 255 / 63, 255};
        EXPECT_TRUE(oltest::Near(screen.At(x, 0), expected, 5)) << x << " " << screen.At(x, 0);
    }
}

TEST_F(Loading, AntialiasingChoosesTheFilterAtUploadOnly)
{
    oltest::WritePicture(Path("p.png"), 2, 2, 24, [](int x, int) { return Rgba{255 * x, 0, 0, 255}; });
    auto Filters = [](const ol::Bitmap& b) {
        GLint mag = 0, min = 0;
        glBindTexture(GL_TEXTURE_2D, b.TextureInfo().name);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
        return std::make_pair(mag, min);
    };
    ol::Quality::SetAntialiasing(true);
    ol::Bitmap smooth(Path("p.png"), 0);
    ol::Quality::SetAntialiasing(false);
    ol::Bitmap hard(Path("p.png"), 0);
    EXPECT_EQ(Filters(smooth), std::make_pair(GLint{GL_LINEAR}, GLint{GL_LINEAR}));
    EXPECT_EQ(Filters(hard), std::make_pair(GLint{GL_NEAREST}, GLint{GL_NEAREST}));
    EXPECT_FALSE(glIsEnabled(GL_LINE_SMOOTH));
    ol::Quality::SetAntialiasing(true);
    EXPECT_TRUE(glIsEnabled(GL_LINE_SMOOTH));
    EXPECT_EQ(Filters(hard).first, GLint{GL_NEAREST}) << "already uploaded textures keep theirs";

    // Drawn three times its size: hard edges, or a blend between the two pixels.
    hard.BlitStretched(0, 0, 6, 6, 1.0f);
    smooth.BlitStretched(10, 0, 6, 6, 1.0f);
    const oltest::ScreenPixels screen = oltest::ReadScreen();
    EXPECT_EQ(screen.At(2, 3).r, 0);
    EXPECT_EQ(screen.At(3, 3).r, 255);
    EXPECT_GT(screen.At(12, 3).r, 20);
    EXPECT_LT(screen.At(12, 3).r, 235);
    EXPECT_EQ(screen.At(15, 5).r, 255) << "no dark fringe at the right edge";
}

TEST_F(Loading, BadFilesFailCleanlyWithTheErrorLine)
{
    oltest::WritePicture(Path("good.png"), 20, 20, 24, [](int x, int y) { return Rgba{x, y, 0, 255}; });
    const std::string good = testsupport::ReadFile(Path("good.png"));
    testsupport::WriteFile(Path("truncated.png"), good.substr(0, good.size() / 2));
    testsupport::WriteFile(Path("text.png"), "this is not a picture\n");
    testsupport::WriteFile(Path("empty.png"), "");
    // A PNG header declaring a 0 x 0 picture (CRC of the IHDR chunk included).
    testsupport::WriteFile(Path("zero.png"), std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\0\0\0\0\0\x08\x02\0\0\0\xb4\xe9\xeb\x45", 33));

    for (const char* name : {"missing.png", "truncated.png", "text.png", "empty.png", "zero.png"}) {
        ol::Bitmap bitmap;
        EXPECT_FALSE(bitmap.Load(Path(name).c_str(), 0)) << name;
        EXPECT_EQ(bitmap.Width(), 0) << name;
        EXPECT_FALSE(bitmap.IsValid()) << name;
        std::vector<std::string> log = testsupport::ReadLines("ortholayer.log");
        ASSERT_GE(log.size(), 2u);
        EXPECT_EQ(log[log.size() - 2], "Loading bitmap: " + Path(name));
        EXPECT_EQ(log.back(), "ERROR: No such bitmap!") << name;
    }
}

TEST_F(Loading, PictureWiderThanTheTextureLimitIsRefused)
{
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    ASSERT_GT(largest, 0);
    oltest::WritePicture(Path("wide.png"), largest + 1, 1, 24, [](int, int) { return Rgba{9, 9, 9, 255}; });
    ol::Bitmap bitmap;
    EXPECT_FALSE(bitmap.Load(Path("wide.png").c_str(), 0));
    EXPECT_FALSE(bitmap.IsValid());
    EXPECT_EQ(bitmap.Width(), 0);
    std::vector<std::string> log = testsupport::ReadLines("ortholayer.log");
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().rfind("ERROR: Bitmap too large for the graphics card!", 0), 0u) << log.back();
    bitmap.BlitStretched(0, 0, 640, 400, 1.0f);
    EXPECT_EQ(oltest::ReadScreen().At(5, 5), (Rgba{0, 0, 0, 255})) << "a refused picture draws nothing";
}

TEST_F(Loading, TextureIsDeletedExactlyOnce)
{
    oltest::WritePicture(Path("p.png"), 3, 3, 24, [](int, int) { return Rgba{1, 2, 3, 255}; });
    auto first = std::make_unique<ol::Bitmap>(Path("p.png"), 0);
    const unsigned int firstName = first->TextureInfo().name;
    ASSERT_NE(firstName, 0u);
    first->Destroy(false);
    EXPECT_FALSE(glIsTexture(firstName));
    // GL hands the freed name out again: a second delete would take this one.
    ol::Bitmap second(Path("p.png"), 0);
    ASSERT_TRUE(second.IsValid());
    first->Destroy(false);
    first.reset();
    EXPECT_TRUE(glIsTexture(second.TextureInfo().name));
}

TEST_F(Loading, RelativeNamesResolveAgainstTheProgramDirectory)
{
    oltest::WritePicture(Path("rel.png"), 2, 2, 24, [](int, int) { return Rgba{7, 7, 7, 255}; });
    const std::string programDir = ol::Driver().GetExecutablePath();
    ASSERT_FALSE(programDir.empty());
    EXPECT_EQ(programDir.back(), '/');
    // From bin/ up to the root, then down into the scratch directory.
    std::string relative;
    for (char c : programDir.substr(1))
        if (c == '/')
            relative += "../";
    relative += Path("rel.png").substr(1);
    ol::Bitmap bitmap;
    EXPECT_TRUE(bitmap.Load(relative.c_str(), 0)) << relative;
    // The working directory does not count: the same name from here fails.
    ol::Bitmap local;
    EXPECT_FALSE(local.Load("rel.png", 0));
    // Backslashes as the game writes its names.
    std::string backslashed = relative;
    for (char& c : backslashed)
        if (c == '/')
            c = '\\';
    ol::Bitmap fromGameName;
    EXPECT_TRUE(fromGameName.Load(backslashed.c_str(), 0)) << backslashed;
}
