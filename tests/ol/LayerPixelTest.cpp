// Pixel tests through the real layer: loading, the stretched blits and the
// screenshot, checked by what they leave in the back buffer.
#include <gtest/gtest.h>

#include <cmath>
#include <type_traits>

#include "ol/Bitmap.h"
#include "ol/RenderModes.h"
#include "tests/ol/LayerTestSupport.h"
#include "tests/support/TestSupport.h"

using oltest::kBlack;
using oltest::Rgba;

static_assert(!std::is_copy_constructible_v<ol::Bitmap>, "a copy would delete the shared texture");
static_assert(!std::is_move_constructible_v<ol::Bitmap>, "a move would leave the registry stale");

namespace {

// The colour of pixel i of a test picture; a palette holds it exactly.
Rgba Entry(int i, int alpha = 255)
{
    return Rgba{12 * i, 200 - 8 * i, 40 + 4 * i, alpha};
}

class Layer : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(oltest::OpenTestScreen()) << "pixel tests need Xvfb"; }
    std::string Path(const std::string& name) const { return scratch.Path() + "/" + name; }
    // A w x h picture without alpha, pixel (x, y) in colour Entry(x + 5 y).
    std::string Picture(int w, int h)
    {
        oltest::WritePicture(Path("p.png"), w, h, 24, [](int x, int y) { return Entry(x + 5 * y); });
        return Path("p.png");
    }
    testsupport::ScratchDir scratch;
};

}  // namespace

// At the screen's colour depth 24 (AllegroGL's choice) pictures lost their alpha, paletted
// ones their colours. A picture without alpha is drawn opaque, one with alpha keeps it.
TEST_F(Layer, PicturesKeepColoursAndAlphaOrAreMadeOpaqueAtAnyScreenDepth)
{
    const struct { const char* file; int depth, alpha[3], shown[3]; } cases[] = {
        {"rgb.png", 24, {255, 255, 255}, {255, 255, 255}},
        {"clear.png", 32, {0, 0, 0}, {255, 255, 255}},
        {"alpha.png", 32, {0, 128, 255}, {0, 128, 255}},
        {"paletted.png", 8, {}, {255, 255, 255}}};
    PALETTE palette = {};
    for (int x = 0; x < 3; ++x)
        palette[x + 1] = RGB{uint8_t(Entry(x).r / 4), uint8_t(Entry(x).g / 4),
                             uint8_t(Entry(x).b / 4), 0};
    select_palette(palette);
    for (const auto& c : cases)
        oltest::WritePicture(Path(c.file), 3, 1, c.depth,
                             [&](int x, int) { return Entry(x, c.alpha[x]); }, palette);
    unselect_palette();
    for (int screenDepth : {32, 24})
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.file) + " at depth " + std::to_string(screenDepth));
            set_color_depth(screenDepth);
            ol::Bitmap bitmap(Path(c.file), 0);
            set_color_depth(32);
            ol::Canvas::Clear(ol::Color::BLACK);
            bitmap.BlitStretched(0, 0, 3, 1, 1.0f);
            const oltest::ScreenPixels screen = oltest::ReadScreen();
            for (int x = 0; x < 3; ++x) {
                const Rgba e = Entry(x);
                const int a = c.shown[x];
                const Rgba want{e.r * a / 255, e.g * a / 255, e.b * a / 255, 255};
                EXPECT_TRUE(oltest::Near(screen.At(x, 0), want, 5)) << x << " " << screen.At(x, 0);
            }
        }
}

// The anti-aliasing switch picks the filter of a picture when it is uploaded.
TEST_F(Layer, AntialiasingChoosesLinearOrNearestFiltering)
{
    for (bool antialiasing : {true, false}) {
        ol::Quality::SetAntialiasing(antialiasing);
        ol::Bitmap bitmap(Picture(2, 2), 0);
        ol::Quality::SetAntialiasing(!antialiasing);
        GLint filters[2] = {};
        glBindTexture(GL_TEXTURE_2D, bitmap.TextureInfo().name);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filters[0]);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filters[1]);
        EXPECT_EQ(filters[0], antialiasing ? GL_LINEAR : GL_NEAREST);
        EXPECT_EQ(filters[1], filters[0]);
    }
}

// Broken and oversized pictures fail the load with their error line and never
// crash; drawn by any blit they show nothing and make no GL call.
TEST_F(Layer, BadPicturesFailCleanlyAndEmptyBitmapsDrawNothing)
{
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    oltest::WritePicture(Path("wide.png"), largest + 1, 1, 24, [](int, int) { return kBlack; });
    const std::string wide = testsupport::ReadFile(Path("wide.png"));
    testsupport::WriteFile(Path("truncated.png"), wide.substr(0, wide.size() / 2));
    testsupport::WriteFile(Path("text.png"), "this is not a picture\n");
    // A PNG header declaring a 0 x 0 picture (CRC of the IHDR chunk included).
    const char zero[] = "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\0\0\0\0\0\x08\x02\0\0\0\xb4\xe9\xeb\x45";
    testsupport::WriteFile(Path("zero.png"), std::string(zero, sizeof zero - 1));
    const std::string noSuch = "ERROR: No such bitmap!";
    const std::pair<const char*, std::string> cases[] = {
        {"truncated.png", noSuch}, {"text.png", noSuch}, {"zero.png", noSuch},
        {"wide.png", "ERROR: Bitmap too large for the graphics card! (Width: " +
                         std::to_string(largest + 1) + ", Height: 1, Largest side: " +
                         std::to_string(largest) + ")"}};
    ol::TintMode tint(ol::Color::RED);
    ol::ClippedMode clip(7, 0, 6, 7);
    ol::MultiMode both(clip, tint);
    glFogf(GL_FOG_START, 0.25f);
    for (const auto& [file, error] : cases) {
        SCOPED_TRACE(file);
        ol::Bitmap bitmap;
        EXPECT_FALSE(bitmap.Load(Path(file).c_str(), 0));
        EXPECT_EQ(bitmap.Width(), 0);
        const std::vector<std::string> log = testsupport::ReadLines("ortholayer.log");
        EXPECT_EQ(std::vector<std::string>(log.end() - 2, log.end()),
                  (std::vector<std::string>{"Loading bitmap: " + Path(file), error}));
        bitmap.BlitStretched(0, 0, 640, 400, 1.0f);
        bitmap.BlitStretched(0, 0, 640, 400, both, 1.0f);
    }
    GLfloat fogStart = 0;
    glGetFloatv(GL_FOG_START, &fogStart);
    EXPECT_EQ(fogStart, 0.25f) << "the tint was selected for an empty bitmap";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const oltest::ScreenPixels screen = oltest::ReadScreen();
    for (int y = 0; y < 400; y += 7)
        for (int x = 0; x < 640; x += 7)
            ASSERT_EQ(screen.At(x, y), kBlack) << x << "," << y;
}

// A stretched blit lands upright on the right pixels at scale 1, 2 and between;
// a mirrored one is mirrored in place; an unknown mirror mode draws it as it is.
TEST_F(Layer, StretchedAndMirroredBlitsLandOnTheirPixels)
{
    ol::Bitmap picture(Picture(4, 3), 0);
    const struct { float scale; int mode; bool mirrorX, mirrorY; } cases[] = {
        {1, -1, false, false}, {2, -1, false, false}, {1.5f, -1, false, false},
        {3.25f, -1, false, false}, {2, ol::FLIP_HORIZONTAL, true, false},
        {2, ol::FLIP_VERTICAL, false, true}, {2, ol::FLIP_BOTH, true, true}, {2, 7, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE("scale " + std::to_string(c.scale) + " mode " + std::to_string(c.mode));
        ol::Canvas::Clear(ol::Color::BLACK);
        ol::FlippedMode flip(c.mode);
        if (c.mode < 0)
            picture.BlitStretched(10, 20, 4 * c.scale, 3 * c.scale, 1.0f);
        else
            picture.BlitStretched(10, 20, 4 * c.scale, 3 * c.scale, flip, 1.0f);
        const oltest::ScreenPixels screen = oltest::ReadScreen();
        for (int py = 0; py < 3; ++py)
            for (int px = 0; px < 4; ++px) {
                const float sx = 10 + (px + 0.5f) * c.scale, sy = 20 + (py + 0.5f) * c.scale;
                const Rgba got = screen.At(int(sx), int(sy));
                const Rgba want = Entry((c.mirrorX ? 3 - px : px) + 5 * (c.mirrorY ? 2 - py : py));
                EXPECT_TRUE(oltest::Near(got, want)) << px << "," << py << " got " << got;
            }
        const int right = int(std::ceil(10 + 4 * c.scale));
        const int bottom = int(std::ceil(20 + 3 * c.scale));
        for (auto [x, y] : {std::pair{9, 20}, {10, 19}, {right, 20}, {10, bottom}})
            EXPECT_EQ(screen.At(x, y), kBlack) << "outside at " << x << "," << y;
    }
}

// At 1366 x 768 rows are not a multiple of 4 bytes: with GL's default pack
// alignment the read-back overran its buffer. The file must be the upright screen.
TEST_F(Layer, ScreenshotAtAnOddWidthHoldsTheUprightScreen)
{
    ASSERT_TRUE(oltest::OpenTestScreen(1366, 768));
    ol::Bitmap picture(Picture(4, 3), 0);
    picture.BlitStretched(0, 0, 1366, 768, 1.0f);
    const oltest::ScreenPixels screen = oltest::ReadScreen();
    ASSERT_TRUE(ol::Canvas::SaveImage(Path("screenshot.png")));
    GLint alignment = 0;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4) << "the read-back must restore GL's pack alignment";
    set_color_conversion(COLORCONV_NONE);
    BITMAP* saved = load_bitmap(Path("screenshot.png").c_str(), nullptr);
    ASSERT_TRUE(saved && saved->w == 1366 && saved->h == 768);
    const int depth = bitmap_color_depth(saved);
    int wrong = 0;
    for (int y = 0; y < saved->h; ++y)
        for (int x = 0; x < saved->w; ++x) {
            const int c = getpixel(saved, x, y);
            const Rgba got{getr_depth(depth, c), getg_depth(depth, c), getb_depth(depth, c), 255};
            wrong += !oltest::Near(got, screen.At(x, y), 0);
        }
    EXPECT_TRUE(oltest::Near(screen.At(0, 0), Entry(0))) << "upright";
    EXPECT_EQ(wrong, 0);
    destroy_bitmap(saved);
}
