// Pixel tests: pictures drawn through the real layer land where they should.
#include <gtest/gtest.h>

#include <cmath>

#include "ol/Bitmap.h"
#include "ol/RenderModes.h"
#include "tests/ol/LayerTestSupport.h"
#include "tests/support/TestSupport.h"

using oltest::Rgba;

namespace {

// A 4 x 3 picture where every pixel has its own colour.
Rgba Checker(int x, int y)
{
    return Rgba{40 + 60 * x, 50 + 80 * y, 250 - 20 * (x + 4 * y), 255};
}

class Blit : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(oltest::OpenTestScreen());
        oltest::WritePicture(scratch.Path() + "/checker.png", 4, 3, 24, Checker);
        ASSERT_TRUE(picture.Load((scratch.Path() + "/checker.png").c_str(), 0));
    }
    testsupport::ScratchDir scratch;
    ol::Bitmap picture;
};

}  // namespace

TEST_F(Blit, StretchedPictureLandsUprightAtScaleOneTwoAndFractional)
{
    for (float scale : {1.0f, 2.0f, 1.5f, 3.25f}) {
        ol::Canvas::Clear(ol::Color::BLACK);
        const float x0 = 10, y0 = 20;
        picture.BlitStretched(x0, y0, 4 * scale, 3 * scale, 1.0f);
        const oltest::ScreenPixels screen = oltest::ReadScreen();
        for (int py = 0; py < 3; ++py)
            for (int px = 0; px < 4; ++px) {
                const int sx = static_cast<int>(x0 + (px + 0.5f) * scale);
                const int sy = static_cast<int>(y0 + (py + 0.5f) * scale);
                EXPECT_TRUE(oltest::Near(screen.At(sx, sy), Checker(px, py)))
                    << "scale " << scale << " pixel " << px << "," << py << " got "
                    << screen.At(sx, sy);
            }
        // Nothing outside the rectangle.
        const int right = static_cast<int>(std::ceil(x0 + 4 * scale));
        const int bottom = static_cast<int>(std::ceil(y0 + 3 * scale));
        EXPECT_EQ(screen.At(9, 20), (Rgba{0, 0, 0, 255})) << "scale " << scale;
        EXPECT_EQ(screen.At(10, 19), (Rgba{0, 0, 0, 255})) << "scale " << scale;
        EXPECT_EQ(screen.At(right, 20), (Rgba{0, 0, 0, 255})) << "scale " << scale;
        EXPECT_EQ(screen.At(10, bottom), (Rgba{0, 0, 0, 255})) << "scale " << scale;
    }
}

TEST_F(Blit, FullScreenQuadCoversExactlyTheScreen)
{
    picture.BlitStretched(0, 0, 640, 400, 1.0f);
    const oltest::ScreenPixels screen = oltest::ReadScreen();
    EXPECT_TRUE(oltest::Near(screen.At(0, 0), Checker(0, 0)));
    EXPECT_TRUE(oltest::Near(screen.At(639, 399), Checker(3, 2)));
    EXPECT_TRUE(oltest::Near(screen.At(639, 0), Checker(3, 0)));
}

TEST_F(Blit, MirroredBlitsAreMirroredInPlace)
{
    struct Case { int mode; bool mirrorX, mirrorY; } cases[] = {
        {ol::FLIP_HORIZONTAL, true, false},
        {ol::FLIP_VERTICAL, false, true},
        {ol::FLIP_BOTH, true, true},
        {7, false, false},  // unknown: drawn as it is
    };
    for (const Case& c : cases) {
        ol::Canvas::Clear(ol::Color::BLACK);
        ol::FlippedMode flip(c.mode);
        picture.BlitStretched(100, 50, 8, 6, flip, 1.0f);
        const oltest::ScreenPixels screen = oltest::ReadScreen();
        for (int py = 0; py < 3; ++py)
            for (int px = 0; px < 4; ++px) {
                const int fx = c.mirrorX ? 3 - px : px;
                const int fy = c.mirrorY ? 2 - py : py;
                EXPECT_TRUE(oltest::Near(screen.At(101 + 2 * px, 51 + 2 * py), Checker(fx, fy)))
                    << "mode " << c.mode << " pixel " << px << "," << py;
            }
        EXPECT_EQ(screen.At(99, 51), (Rgba{0, 0, 0, 255}));
        EXPECT_EQ(screen.At(108, 51), (Rgba{0, 0, 0, 255}));
    }
}

TEST_F(Blit, TintPaintsWhiteGlyphRedAndKeepsItsSoftEdges)
{
    // A white glyph: solid middle column, half-transparent edges.
    oltest::WritePicture(scratch.Path() + "/glyph.png", 3, 1, 32, [](int x, int) {
        return Rgba{255, 255, 255, x == 1 ? 255 : 128};
    });
    ol::Bitmap glyph;
    ASSERT_TRUE(glyph.Load((scratch.Path() + "/glyph.png").c_str(), 0));

    ol::TintMode red(ol::Color::RED);
    glyph.BlitStretched(0, 0, 30, 10, red, 1.0f);
    ol::TintMode halfRed(ol::Color(255, 0, 0, 128));
    glyph.BlitStretched(0, 20, 30, 10, halfRed, 1.0f);
    const oltest::ScreenPixels screen = oltest::ReadScreen();
    EXPECT_EQ(screen.At(15, 5), (Rgba{255, 0, 0, 255}));
    EXPECT_TRUE(oltest::Near(screen.At(5, 5), Rgba{128, 0, 0, 255}, 2)) << screen.At(5, 5);
    EXPECT_TRUE(oltest::Near(screen.At(25, 5), Rgba{128, 0, 0, 255}, 2)) << screen.At(25, 5);
    // Half the way to red: a white texel becomes (1, 0.5, 0.5).
    EXPECT_TRUE(oltest::Near(screen.At(15, 25), Rgba{255, 127, 127, 255}, 2)) << screen.At(15, 25);
    EXPECT_FALSE(glIsEnabled(GL_FOG)) << "the tint must switch its fog off again";
}

TEST_F(Blit, ClipShowsOnlyTheChosenCell)
{
    // 47 cells of 6 x 7 with a 1-pixel gap: cell k in its own colour, gaps magenta.
    oltest::WritePicture(scratch.Path() + "/sheet.png", 329, 7, 24, [](int x, int) {
        const int k = x / 7;
        return x % 7 == 6 ? Rgba{255, 0, 255, 255} : Rgba{5 * k, 200 - 4 * k, 30, 255};
    });
    ol::Bitmap sheet;
    ASSERT_TRUE(sheet.Load((scratch.Path() + "/sheet.png").c_str(), 0));
    ol::ClippedMode clip(14, 0, 6, 7);
    sheet.BlitStretched(100, 50, 658, 14, clip, 1.0f);
    const oltest::ScreenPixels screen = oltest::ReadScreen();
    const Rgba cell2{10, 192, 30, 255};
    for (int y = 50; y < 64; ++y)
        for (int x = 114; x < 126; ++x)
            ASSERT_TRUE(oltest::Near(screen.At(x, y), cell2)) << x << "," << y << " " << screen.At(x, y);
    for (int y = 48; y < 66; ++y) {
        EXPECT_EQ(screen.At(113, y), (Rgba{0, 0, 0, 255})) << y;
        EXPECT_EQ(screen.At(126, y), (Rgba{0, 0, 0, 255})) << y;
    }
    EXPECT_EQ(screen.At(120, 49), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(screen.At(120, 64), (Rgba{0, 0, 0, 255}));
}

TEST_F(Blit, EmptyBitmapDrawsNothingThroughAnyBlit)
{
    ol::Bitmap empty;
    ol::Bitmap missing;
    EXPECT_FALSE(missing.Load((scratch.Path() + "/absent.png").c_str(), 0));
    ol::TintMode tint(ol::Color::RED);
    ol::ClippedMode clip(7, 0, 6, 7);
    ol::MultiMode both(clip, tint);
    glFogf(GL_FOG_START, 0.25f);
    for (const ol::Bitmap* bitmap : {&empty, &missing}) {
        bitmap->BlitStretched(0, 0, 640, 400, 1.0f);
        bitmap->BlitStretched(0, 0, 640, 400, both, 1.0f);
        bitmap->BlitStretched(0, 0, 0, 0, tint, 1.0f);
    }
    GLfloat fogStart = 0;
    glGetFloatv(GL_FOG_START, &fogStart);
    EXPECT_EQ(fogStart, 0.25f) << "the tint was selected for an empty bitmap";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const oltest::ScreenPixels screen = oltest::ReadScreen();
    for (int y = 0; y < 400; y += 7)
        for (int x = 0; x < 640; x += 7)
            ASSERT_EQ(screen.At(x, y), (Rgba{0, 0, 0, 255})) << x << "," << y;
}
