// Pixel tests through the real layer: loading, the stretched blits, the text and the
// screenshot, checked by what they leave in the back buffer over a coloured background.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "ol/Bitmap.h"
#include "ol/LayerState.h"
#include "ol/RenderModes.h"
#include "tests/ol/LayerTestSupport.h"
#include "tests/support/TestSupport.h"

using oltest::Near;
using oltest::Rgba;

static_assert(!std::is_copy_constructible_v<ol::Bitmap>, "a copy would delete the shared texture");
static_assert(!std::is_move_constructible_v<ol::Bitmap>, "a move would leave the registry stale");

namespace {

// The colour of pixel i of a test picture; a palette holds it exactly.
Rgba Entry(int i, int alpha = 255) { return Rgba{12 * i, 200 - 8 * i, 40 + 4 * i, alpha}; }

// Under every draw: a wrong destination factor of the blend shows against it.
const Rgba kBackground{60, 110, 170, 255};

// Colour top at opacity a over under.
Rgba Over(Rgba top, double a, Rgba under)
{
    auto mix = [a](int t, int u) { return int(std::lround(t * a + u * (1 - a))); };
    return Rgba{mix(top.r, under.r), mix(top.g, under.g), mix(top.b, under.b), 255};
}

class Layer : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(oltest::OpenTestScreen()) << "pixel tests need Xvfb"; }
    void TearDown() override { ol::Layer().powerOfTwoTexturesOnly = false; }
    std::string Path(const std::string& name) const { return scratch.Path() + "/" + name; }
    // A w x h picture, pixel (x, y) in colour Entry(x + 5 y), or colour(x, y) at the depth.
    std::string Picture(int w, int h, int depth = 24, std::function<Rgba(int, int)> colour = {})
    {
        if (!colour)
            colour = [](int x, int y) { return Entry(x + 5 * y); };
        oltest::WritePicture(Path("p.png"), w, h, depth, colour);
        return Path("p.png");
    }
    static void ClearToBackground() { ol::Canvas::Clear(ol::Color(60, 110, 170, 255)); }
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
            ClearToBackground();
            bitmap.BlitStretched(0, 0, 3, 1, 1.0f);
            const oltest::ScreenPixels screen;
            for (int x = 0; x < 3; ++x)
                EXPECT_TRUE(Near(screen.At(x, 0), Over(Entry(x), c.shown[x] / 255.0, kBackground), 5))
                    << x << " " << screen.At(x, 0);
        }
}

// Broken and oversized pictures fail the load with their error line and never
// crash; drawn by any blit they show nothing and make no GL call.
TEST_F(Layer, BadPicturesFailCleanlyAndEmptyBitmapsDrawNothing)
{
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    const std::string wide = testsupport::ReadFile(Picture(largest + 1, 1, 24, [](int, int) { return oltest::kBlack; }));
    // A PNG header declaring a 0 x 0 picture (CRC of the IHDR chunk included).
    const char zero[] = "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\0\0\0\0\0\x08\x02\0\0\0\xb4\xe9\xeb\x45";
    const std::string noSuch = "ERROR: No such bitmap!";
    const struct { const char* file; std::string bytes, error; } cases[] = {
        {"truncated.png", wide.substr(0, wide.size() / 2), noSuch},
        {"text.png", "this is not a picture\n", noSuch},
        {"zero.png", std::string(zero, sizeof zero - 1), noSuch},
        {"wide.png", wide, "ERROR: Bitmap too large for the graphics card! (Width: " +
                               std::to_string(largest + 1) + ", Height: 1, Largest side: " +
                               std::to_string(largest) + ")"}};
    ol::TintMode tint(ol::Color::RED);
    ol::ClippedMode clip(7, 0, 6, 7);
    ol::MultiMode both(clip, tint);
    glFogf(GL_FOG_START, 0.25f);
    for (const auto& [file, bytes, error] : cases) {
        SCOPED_TRACE(file);
        testsupport::WriteFile(Path(file), bytes);
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
    const oltest::ScreenPixels screen;
    for (int y = 0; y < 400; y += 7)
        for (int x = 0; x < 640; x += 7)
            ASSERT_EQ(screen.At(x, y), oltest::kBlack) << x << "," << y;
}

// A stretched blit lands upright on the right pixels at scale 1, 2 and between; a mirrored one
// is mirrored in place; an unknown mirror mode draws it as it is. Padded to powers of two (as
// on a GL without the extension) the picture sits in the top rows of its texture, the column
// right of it and the row below repeating its edge so that linear filtering brings in no fringe.
TEST_F(Layer, StretchedAndMirroredBlitsLandOnTheirPixelsFromAnyTexture)
{
    const struct { float scale; int mode; bool mirrorX, mirrorY; } cases[] = {
        {1, -1, false, false}, {2, -1, false, false}, {1.5f, -1, false, false},
        {3.25f, -1, false, false}, {2, ol::FLIP_HORIZONTAL, true, false},
        {2, ol::FLIP_VERTICAL, false, true}, {2, ol::FLIP_BOTH, true, true}, {2, 7, false, false}};
    for (bool padded : {false, true}) {
        ol::Layer().powerOfTwoTexturesOnly = padded;
        ol::Bitmap picture(Picture(5, 3), 0);
        const ol::OlTextureInfo& t = picture.TextureInfo();
        EXPECT_EQ(std::tuple(t.textureWidth, t.textureHeight, t.widthRatio, t.t0, t.sExtent,
                             t.tExtent),
                  padded ? std::tuple(8, 4, 0.625f, 0.25f, 0.625f, 0.75f)
                         : std::tuple(5, 3, 1.0f, 0.0f, 1.0f, 1.0f));
        std::vector<unsigned char> texels(std::size_t(t.textureWidth) * t.textureHeight * 4);
        glBindTexture(GL_TEXTURE_2D, t.name);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        for (int row = 0; padded && row < 4; ++row)
            for (int x = 0; x < 6; ++x) {
                const unsigned char* p = &texels[(row * 8 + x) * 4];
                EXPECT_EQ((Rgba{p[0], p[1], p[2], p[3]}), Entry(std::min(x, 4) + 5 * std::min(3 - row, 2)))
                    << "texel " << x << "," << row;
            }
        for (const auto& c : cases) {
            SCOPED_TRACE("scale " + std::to_string(c.scale) + " mode " + std::to_string(c.mode) +
                         (padded ? " padded" : ""));
            ClearToBackground();
            ol::FlippedMode flip(c.mode);
            if (c.mode < 0)
                picture.BlitStretched(10, 20, 5 * c.scale, 3 * c.scale, 1.0f);
            else
                picture.BlitStretched(10, 20, 5 * c.scale, 3 * c.scale, flip, 1.0f);
            const oltest::ScreenPixels screen;
            for (int py = 0; py < 3; ++py)
                for (int px = 0; px < 5; ++px) {
                    const float sx = 10 + (px + 0.5f) * c.scale, sy = 20 + (py + 0.5f) * c.scale;
                    const Rgba got = screen.At(int(sx), int(sy));
                    const Rgba want = Entry((c.mirrorX ? 4 - px : px) + 5 * (c.mirrorY ? 2 - py : py));
                    EXPECT_TRUE(Near(got, want)) << px << "," << py << " got " << got;
                }
            const int right = int(std::ceil(10 + 5 * c.scale));
            const int bottom = int(std::ceil(20 + 3 * c.scale));
            for (auto [x, y] : {std::pair{9, 20}, {10, 19}, {right, 20}, {10, bottom}})
                EXPECT_EQ(screen.At(x, y), kBackground) << "outside at " << x << "," << y;
        }
    }
}

// Text as the game draws it: per character one blit of a sheet cell, clipped to it and tinted,
// at (10 + 7 i, 5) times the scale. The sheet's cells 0 and 2 are solid white, cell 1 mixes
// solid, soft and clear texels, and the gap columns are clear. Each pixel is the tint over the
// sheet's white by the tint's alpha, laid over the background by the sheet's alpha as the
// filter samples it: the nearest texel, or the four around it mixed (the game's default).
TEST_F(Layer, TextIsTintedClippedAndFilteredAtAnyScale)
{
    auto ink = [](int x, int y) {
        x = std::clamp(x, 0, 20), y = std::clamp(y, 0, 6);
        return x % 7 == 6 ? 0 : x / 7 != 1 ? 255 : (x + 2 * y) % 3 * 255 / 2;
    };
    const Rgba tint{230, 140, 40, 255};  // red, green and blue all apart
    const struct { const char* name; int width, height; bool smooth, padded; int alpha; } rows[] = {
        {"hard pixels at 640 x 400", 640, 400, false, false, 255},
        {"a half tint, padded texture", 640, 400, false, true, 128},
        {"smooth at 1366 x 768", 1366, 768, true, false, 255},
        {"smooth at 1366 x 768, padded texture", 1366, 768, true, true, 255}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        ASSERT_TRUE(oltest::OpenTestScreen(r.width, r.height));
        ol::Layer().powerOfTwoTexturesOnly = r.padded;
        ol::Quality::SetAntialiasing(r.smooth);
        ol::Bitmap sheet(Picture(21, 7, 32, [&](int x, int y) { return Rgba{255, 255, 255, ink(x, y)}; }), 0);
        ol::Quality::SetAntialiasing(!r.smooth);  // the filter was chosen at the upload
        GLint filters[2] = {};
        glBindTexture(GL_TEXTURE_2D, sheet.TextureInfo().name);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filters[0]);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filters[1]);
        EXPECT_EQ(filters[0], r.smooth ? GL_LINEAR : GL_NEAREST);
        EXPECT_EQ(filters[1], filters[0]);
        ClearToBackground();
        const float sx = r.width / 320.0f, sy = r.height / 200.0f;
        const int cells[] = {1, 2};
        for (int i = 0; i < 2; ++i) {
            ol::TintMode tinted(ol::Color(tint.r, tint.g, tint.b, r.alpha));
            ol::ClippedMode clip(7.0f * cells[i], 0, 6, 7);
            ol::MultiMode both(clip, tinted);
            sheet.BlitStretched((10 + 7 * i) * sx - 7 * cells[i], 5 * sy, 21 * sx, 7 * sy, both, 1);
        }
        auto sample = [&](float s, float t) {
            if (!r.smooth)
                return ink(int(s), int(t)) / 255.0;
            const int x = int(std::floor(s - 0.5f)), y = int(std::floor(t - 0.5f));
            const double fx = s - 0.5f - x, fy = t - 0.5f - y;
            return ((ink(x, y) * (1 - fx) + ink(x + 1, y) * fx) * (1 - fy) +
                    (ink(x, y + 1) * (1 - fx) + ink(x + 1, y + 1) * fx) * fy) / 255.0;
        };
        const Rgba glyph = Over(tint, r.alpha / 255.0, Rgba{255, 255, 255, 255});
        const oltest::ScreenPixels screen;
        for (int y = int(4 * sy); y < int(13 * sy); ++y)
            for (int x = int(9 * sx); x < int(25 * sx); ++x) {
                // Logical units from the line's top-left corner; glyph i covers 7 i to 7 i + 6.
                const float u = (x + 0.5f) / sx - 10, v = (y + 0.5f) / sy - 5;
                const int i = int(std::floor(u / 7));
                const bool inside = i >= 0 && i < 2 && u - 7 * i < 6 && v >= 0 && v < 7;
                const Rgba want = Over(glyph, inside ? sample(7 * cells[i] + u - 7 * i, v) : 0, kBackground);
                ASSERT_TRUE(Near(screen.At(x, y), want, 3)) << x << "," << y << " " << screen.At(x, y);
            }
    }
}

// At 1366 x 768 rows are not a multiple of 4 bytes: with GL's default pack
// alignment the read-back overran its buffer. The file must be the upright screen.
TEST_F(Layer, ScreenshotAtAnOddWidthHoldsTheUprightScreen)
{
    ASSERT_TRUE(oltest::OpenTestScreen(1366, 768));
    ol::Bitmap picture(Picture(4, 3), 0);
    picture.BlitStretched(0, 0, 1366, 768, 1.0f);
    const oltest::ScreenPixels screen;
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
            wrong += !Near(got, screen.At(x, y), 0);
        }
    EXPECT_TRUE(Near(screen.At(0, 0), Entry(0))) << "upright";
    EXPECT_EQ(wrong, 0);
    destroy_bitmap(saved);
}
