// The canvas: targets, colour-write modes and the screenshot.
#include <gtest/gtest.h>

#include "ol/Canvas.h"
#include "tests/ol/LayerTestSupport.h"
#include "tests/support/TestSupport.h"

using oltest::Rgba;

namespace {

// Four coloured bands and a marker in the top-left corner, drawn untextured.
void DrawPattern(int width, int height)
{
    glDisable(GL_TEXTURE_2D);
    const float bands[4][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}};
    for (int i = 0; i < 4; ++i) {
        glColor4f(bands[i][0], bands[i][1], bands[i][2], 1);
        glRectf(0, height * i / 4.0f, static_cast<float>(width), height * (i + 1) / 4.0f);
    }
    glColor4f(1, 1, 1, 1);
    glRectf(0, 0, 3, 2);
    glEnable(GL_TEXTURE_2D);
}

}  // namespace

// 1366 is a width whose rows are not a multiple of 4 bytes.
TEST(Screenshot, SavedPictureIsTheUprightScreenAtAnOddWidth)
{
    for (auto size : {std::make_pair(1366, 768), std::make_pair(640, 400)}) {
        testsupport::ScratchDir scratch;
        ASSERT_TRUE(oltest::OpenTestScreen(size.first, size.second));
        DrawPattern(size.first, size.second);
        const oltest::ScreenPixels screen = oltest::ReadScreen();
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        ASSERT_TRUE(ol::Canvas::SaveImage(scratch.Path() + "/screenshot.png"));
        GLint alignment = 0;
        glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
        EXPECT_EQ(alignment, 4) << "the read-back must restore GL's pack alignment";

        BITMAP* saved = oltest::ReadPicture(scratch.Path() + "/screenshot.png");
        ASSERT_NE(saved, nullptr);
        EXPECT_EQ(saved->w, size.first);
        EXPECT_EQ(saved->h, size.second);
        EXPECT_EQ(bitmap_color_depth(saved), 24);
        EXPECT_EQ(oltest::PicturePixel(saved, 1, 1), (Rgba{255, 255, 255, 255})) << "upright";
        int wrong = 0;
        for (int y = 0; y < saved->h; ++y)
            for (int x = 0; x < saved->w; ++x) {
                Rgba s = oltest::PicturePixel(saved, x, y);
                Rgba e = screen.At(x, y);
                if (s.r != e.r || s.g != e.g || s.b != e.b)
                    ++wrong;
            }
        EXPECT_EQ(wrong, 0) << size.first << "x" << size.second;
        destroy_bitmap(saved);
    }
}

TEST(CanvasTargets, BitmapTargetIsRefusedAndTheBackBufferStays)
{
    testsupport::ScratchDir scratch;
    ASSERT_TRUE(oltest::OpenTestScreen());
    ol::Canvas::SetTo(ol::BITMAP_TARGET);
    EXPECT_EQ(ol::Canvas::Target(), ol::BACKBUFFER_TARGET);
    EXPECT_EQ(testsupport::ReadLines("ortholayer.log").back(),
              "ERROR: Can't select BITMAP_TARGET as the active rendering target without using "
              "the overloaded version of Canvas::SetTo");
    ol::Canvas::SetTo(ol::BACKBUFFER_TARGET);
    GLint drawBuffer = 0;
    glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
    EXPECT_EQ(drawBuffer, GL_BACK);
    EXPECT_EQ(ol::Canvas::Width(), 640);
    EXPECT_EQ(ol::Canvas::Height(), 400);
}

TEST(CanvasTargets, AlphaOnlyClearLeavesTheColourAlone)
{
    testsupport::ScratchDir scratch;
    ASSERT_TRUE(oltest::OpenTestScreen());
    ol::Canvas::Clear(ol::Color(200, 100, 50, 0), ol::COLOR_AND_ALPHA);
    ol::Canvas::Clear(ol::Color::GREEN, ol::ALPHA_ONLY);
    Rgba pixel = oltest::ReadScreen().At(320, 200);
    EXPECT_TRUE(oltest::Near(pixel, Rgba{200, 100, 50, 255})) << pixel;
    EXPECT_EQ(pixel.a, 255);
    // The write mode is restored for the next draw.
    GLboolean mask[4];
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    EXPECT_TRUE(mask[0] && mask[1] && mask[2] && mask[3]);
}

TEST(CanvasTargets, RefreshAppliesTheBlenderAgain)
{
    testsupport::ScratchDir scratch;
    ASSERT_TRUE(oltest::OpenTestScreen());
    glDisable(GL_BLEND);
    ol::Canvas::Refresh();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint source = 0, destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);
}
