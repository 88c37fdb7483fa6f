// Pixel tests through the real layer: loading, the stretched blits, the text and the
// screenshot, checked by what they leave in the back buffer over a coloured background.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "ol/Bitmap.h"
#include "ol/LayerState.h"
#include "ol/RenderModes.h"
#include "tests/ol/LayerTestSupport.h"
#include "tests/support/TestSupport.h"

using oltest::Near;
using oltest::Rgba;

namespace {

// The colour of pixel i of a test picture; a palette holds it exactly.
Rgba Entry(int i, int alpha = 255)
{
    return Rgba{12 * i, 200 - 8 * i, 40 + 4 * i, alpha};
}

// Under every draw: a wrong destination factor of the blend shows against it.
const Rgba kBackground{60, 110, 170, 255};

// Colour top at opacity a over colour under.
Rgba Over(Rgba top, double a, Rgba under)
{
    auto mix = [a](int t, int u) {
        return int(std::lround(t * a + u * (1 - a)));
    };
    return Rgba{mix(top.r, under.r), mix(top.g, under.g), mix(top.b, under.b), 255};
}

class Layer : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(oltest::OpenTestScreen()) << "pixel tests need Xvfb";
    }
    void TearDown() override
    {
        ol::Layer().powerOfTwoTexturesOnly = false;
    }
    std::string Path(const std::string& name) const
    {
        return scratch.Path() + "/" + name;
    }
    static void ClearToBackground()
    {
        ol::Canvas::Clear(ol::Color(60, 110, 170, 255));
    }
    testsupport::ScratchDir scratch;
};

}  // namespace

// At the screen's colour depth 24 (AllegroGL's choice) pictures lost their alpha, paletted
// ones their colours. A picture without alpha is drawn opaque, one with alpha keeps it.
TEST_F(Layer, PicturesKeepColoursAndAlphaOrAreMadeOpaqueAtAnyScreenDepth)
{
    const struct {
        const char* file;
        int depth, alpha[3], shown[3];
    } cases[] = {{"rgb.png", 24, {255, 255, 255}, {255, 255, 255}},
                 {"clear.png", 32, {}, {255, 255, 255}},
                 {"alpha.png", 32, {0, 128, 255}, {0, 128, 255}},
                 {"paletted.png", 8, {}, {255, 255, 255}}};
    PALETTE palette = {};
    for (int x = 0; x < 3; ++x)
        palette[x + 1] =
            RGB{uint8_t(Entry(x).r / 4), uint8_t(Entry(x).g / 4), uint8_t(Entry(x).b / 4), 0};
    select_palette(palette);
    for (const auto& c : cases)
        oltest::WritePicture(
            Path(c.file), 3, 1, c.depth,
            [&](int x, int) {
                return Entry(x, c.alpha[x]);
            },
            palette);
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
                EXPECT_TRUE(
                    Near(screen.At(x, 0), Over(Entry(x), c.shown[x] / 255.0, kBackground), 5))
                    << x << " " << screen.At(x, 0);
        }
}

// Empty and oversized pictures fail the load with their error line and never crash (the e2e
// faults feed the game broken ones); drawn by any blit they show nothing and make no GL call.
TEST_F(Layer, BadPicturesFailCleanlyAndEmptyBitmapsDrawNothing)
{
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    oltest::WritePicture(Path("wide.png"), largest + 1, 1, 24, [](int, int) {
        return Rgba{};
    });
    // A PNG header declaring a 0 x 0 picture (CRC of the IHDR chunk included).
    const char zero[] =
        "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\0\0\0\0\0\x08\x02\0\0\0\xb4\xe9\xeb\x45";
    testsupport::WriteFile(Path("zero.png"), std::string(zero, sizeof zero - 1));
    const std::string tooLarge =
        "ERROR: Bitmap too large for the graphics card! (Width: " + std::to_string(largest + 1) +
        ", Height: 1, Largest side: " + std::to_string(largest) + ")";
    const std::pair<const char*, std::string> cases[] = {{"zero.png", "ERROR: No such bitmap!"},
                                                         {"wide.png", tooLarge}};
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
    GLfloat fogStart = 0;  // a tint selected for an empty bitmap would have moved it
    glGetFloatv(GL_FOG_START, &fogStart);
    EXPECT_EQ(fogStart, 0.25f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const oltest::ScreenPixels screen;
    for (int i = 0; i < 640 * 400; i += 7)
        ASSERT_EQ(screen.At(i % 640, i / 640), oltest::kBlack) << i % 640 << "," << i / 640;
}

// Every kind of blit the game makes, each pixel checked against the picture as the filter
// samples it (the nearest texel, or the four around it mixed when anti-aliased, the game's
// default), its edge repeated beyond it, laid over the background by its alpha. A picture lands
// upright at any scale and mirrored in place. A glyph is one clipped cell of a white sheet
// (cells 0 and 2 solid, cell 1 solid, soft and clear, the gap columns clear) tinted by the
// tint's alpha towards a colour whose channels all differ. Padded to powers of two (as on a GL
// without the extension), a texture holds the picture in its top rows and repeats its edge
// beside and below it, so smooth blits show no fringe. The screenshot of an odd width (a row
// of 1366 pixels is no multiple of 4 bytes, GL's default pack alignment) is the upright screen.
TEST_F(Layer, BlitsAndTextLandOnTheirPixelsAndTheScreenshotHoldsThem)
{
    const Rgba tint{230, 140, 40, 255};
    // The game's scale at 1366 x 768.
    const float wide = 1366 / 320.0f;
    const float high = 768 / 200.0f;
    // A cell of -1 draws the whole picture; a glyph's tint has the alpha.
    struct Row {
        const char* name;
        float sx, sy;
        int mode;
        bool smooth;
        int cell, alpha;
    };
    const Row rows[] = {{"scale 1", 1, 1, -1, false, -1, 0},
                        {"scale 2", 2, 2, -1, false, -1, 0},
                        {"scale 1.5", 1.5f, 1.5f, -1, false, -1, 0},
                        {"scale 3.25", 3.25f, 3.25f, -1, false, -1, 0},
                        {"mirrored left to right", 2, 2, ol::FLIP_HORIZONTAL, false, -1, 0},
                        {"upside down", 2, 2, ol::FLIP_VERTICAL, false, -1, 0},
                        {"mirrored both ways", 2, 2, ol::FLIP_BOTH, false, -1, 0},
                        {"an unknown mirror mode", 2, 2, 7, false, -1, 0},
                        {"smooth", 3, 3, -1, true, -1, 0},
                        {"a glyph in hard pixels", 2, 2, -1, false, 1, 255},
                        {"half tint", 2, 2, -1, false, 1, 128},
                        {"smooth glyph", wide, high, -1, true, 1, 255},
                        {"cell 2", wide, high, -1, true, 2, 255}};
    ASSERT_TRUE(oltest::OpenTestScreen(1366, 768));
    for (bool padded : {false, true})
        for (const auto& r : rows) {
            SCOPED_TRACE(std::string(r.name) + (padded ? ", padded texture" : ""));
            const bool text = r.cell >= 0;
            const int w = text ? 21 : 5;
            const int h = text ? 7 : 3;
            const int shown = text ? 6 : 5;
            auto colour = [&](int x, int y) {
                x = std::clamp(x, 0, w - 1);
                y = std::clamp(y, 0, h - 1);
                const int ink = x % 7 == 6 ? 0 : x / 7 != 1 ? 255 : (x + 2 * y) % 3 * 255 / 2;
                return text ? Rgba{255, 255, 255, ink} : Entry(x + 5 * y);
            };
            ol::Layer().powerOfTwoTexturesOnly = padded;
            ol::Quality::SetAntialiasing(r.smooth);
            oltest::WritePicture(Path("p.png"), w, h, 32, colour);
            ol::Bitmap picture(Path("p.png"), 0);
            ol::Quality::SetAntialiasing(!r.smooth);  // the filter is chosen at the upload
            const ol::OlTextureInfo& t = picture.TextureInfo();
            EXPECT_EQ(std::tuple(t.textureWidth, t.textureHeight, t.t0),
                      padded ? std::tuple(text ? 32 : 8, text ? 8 : 4, text ? 0.125f : 0.25f)
                             : std::tuple(w, h, 0.0f));
            ClearToBackground();
            ol::FlippedMode flip(r.mode);
            ol::TintMode tinted(ol::Color(tint.r, tint.g, tint.b, r.alpha));
            ol::ClippedMode clip(7.0f * r.cell, 0, 6, 7);
            ol::MultiMode glyph(clip, tinted);
            const float left = 10.3f - (text ? 7 * r.cell : 0);  // the clip's offset is unscaled
            const ol::RenderMode* mode = text ? &glyph : nullptr;
            mode = r.mode >= 0 ? &flip : mode;
            if (mode)
                picture.BlitStretched(left, 20.3f, w * r.sx, h * r.sy, *mode, 1);
            else
                picture.BlitStretched(left, 20.3f, w * r.sx, h * r.sy, 1);
            auto sample = [&](float s, float t, int Rgba::*c) {
                if (!r.smooth)
                    return double(colour(int(s), int(t)).*c);
                const int x = int(std::floor(s - 0.5f));
                const int y = int(std::floor(t - 0.5f));
                const double fx = s - 0.5f - x;
                const double fy = t - 0.5f - y;
                return (colour(x, y).*c * (1 - fx) + colour(x + 1, y).*c * fx) * (1 - fy) +
                       (colour(x, y + 1).*c * (1 - fx) + colour(x + 1, y + 1).*c * fx) * fy;
            };
            const bool mirrorX = r.mode == ol::FLIP_HORIZONTAL || r.mode == ol::FLIP_BOTH;
            const bool mirrorY = r.mode == ol::FLIP_VERTICAL || r.mode == ol::FLIP_BOTH;
            const oltest::ScreenPixels screen;
            for (int y = 18; y < 23 + h * r.sy; ++y)
                for (int x = 8; x < 13 + shown * r.sx; ++x) {
                    float u = (x + 0.5f - 10.3f) / r.sx;
                    float v = (y + 0.5f - 20.3f) / r.sy;
                    Rgba want = kBackground;
                    if (u >= 0 && u < shown && v >= 0 && v < h) {
                        u = (mirrorX ? shown - u : u) + (text ? 7 * r.cell : 0);
                        v = mirrorY ? h - v : v;
                        auto at = [&](int Rgba::*c) {
                            return int(std::lround(sample(u, v, c)));
                        };
                        const Rgba texel{at(&Rgba::r), at(&Rgba::g), at(&Rgba::b), 255};
                        const Rgba tinted = Over(tint, r.alpha / 255.0, texel);
                        want = Over(tinted, at(&Rgba::a) / 255.0, kBackground);
                    }
                    ASSERT_TRUE(Near(screen.At(x, y), want, 3)) << x << "," << y << " " << want;
                }
        }
    const oltest::ScreenPixels screen;
    ASSERT_TRUE(ol::Canvas::SaveImage(Path("screenshot.png")));
    GLint alignment = 0;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4) << "the read-back must restore GL's pack alignment";
    set_color_conversion(COLORCONV_NONE);
    BITMAP* saved = load_bitmap(Path("screenshot.png").c_str(), nullptr);
    ASSERT_TRUE(saved && saved->w == 1366 && saved->h == 768 && bitmap_color_depth(saved) == 24);
    for (int i = 0; i < 1366 * 768; ++i) {
        const int c = getpixel(saved, i % 1366, i / 1366);
        ASSERT_TRUE(Near({getr24(c), getg24(c), getb24(c), 255}, screen.At(i % 1366, i / 1366), 0))
            << i;
    }
    destroy_bitmap(saved);
}
