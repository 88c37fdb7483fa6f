// Texture layout, colours, clip geometry and the registry: no screen needed.
#include <gtest/gtest.h>

#include <type_traits>

#include "ol/Bitmap.h"
#include "ol/Color.h"
#include "ol/GarbageCollector.h"
#include "ol/GlDriver.h"
#include "ol/RenderModes.h"

static_assert(!std::is_copy_constructible_v<ol::Bitmap>, "a copy would share the texture");
static_assert(!std::is_move_constructible_v<ol::Bitmap>, "a move would leave the registry stale");
static_assert(!std::is_copy_assignable_v<ol::Bitmap>, "a copy would share the texture");

TEST(TextureLayout, PowerOfTwoPaddingKeepsPictureInTopRowsUpsideDown)
{
    const int w = 100, h = 30;
    std::vector<unsigned char> rgba(w * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned char* p = &rgba[(y * w + x) * 4];
            p[0] = static_cast<unsigned char>(x);
            p[1] = static_cast<unsigned char>(y);
            p[2] = 7;
            p[3] = 200;
        }
    const std::size_t tw = ol::NextPowerOfTwo(w), th = ol::NextPowerOfTwo(h);
    ASSERT_EQ(tw, 128u);
    ASSERT_EQ(th, 32u);
    std::vector<unsigned char> texels = ol::ArrangeTexels(rgba.data(), w, h, tw, th);
    auto texel = [&](int column, int row) { return &texels[(row * tw + column) * 4]; };
    // Texture row th - h + j holds image row h - 1 - j.
    for (int j = 0; j < h; ++j) {
        EXPECT_EQ(texel(0, th - h + j)[1], h - 1 - j) << "row " << j;
        EXPECT_EQ(texel(57, th - h + j)[0], 57);
        // The column right of the picture repeats its last pixel.
        EXPECT_EQ(texel(w, th - h + j)[0], w - 1);
        EXPECT_EQ(texel(w, th - h + j)[1], h - 1 - j);
    }
    // The row below the picture (as drawn) repeats its bottom row.
    const int below = th - h - 1;
    EXPECT_EQ(texel(33, below)[0], 33);
    EXPECT_EQ(texel(33, below)[1], h - 1);
    EXPECT_EQ(texel(w, below)[0], w - 1);
    EXPECT_EQ(texel(w, below)[3], 200);

    const ol::OlTextureInfo info = ol::MakeTextureInfo(5, w, h, 128, 32);
    EXPECT_FLOAT_EQ(info.widthRatio, 0.78125f);
    EXPECT_FLOAT_EQ(info.t0, 0.0625f);
    EXPECT_FLOAT_EQ(info.tExtent, 30.0f / 32.0f);
    const ol::OlTextureInfo exact = ol::MakeTextureInfo(5, w, h, w, h);
    EXPECT_FLOAT_EQ(exact.t0, 0.0f);
    EXPECT_FLOAT_EQ(exact.sExtent, 1.0f);
}

TEST(TextureLayout, ExtensionIsMatchedAsAWholeWord)
{
    const std::string name = "GL_ARB_texture_non_power_of_two";
    EXPECT_TRUE(ol::HasExtension("GL_A GL_ARB_texture_non_power_of_two GL_B", name));
    EXPECT_TRUE(ol::HasExtension("GL_ARB_texture_non_power_of_two", name));
    EXPECT_FALSE(ol::HasExtension("GL_ARB_texture_non_power_of_two_x GL_B", name));
    EXPECT_FALSE(ol::HasExtension("xGL_ARB_texture_non_power_of_two", name));
    EXPECT_FALSE(ol::HasExtension("", name));
    EXPECT_EQ(ol::NextPowerOfTwo(1), 1u);
    EXPECT_EQ(ol::NextPowerOfTwo(65), 128u);
    EXPECT_EQ(ol::NextPowerOfTwo(std::size_t{1} << 40), std::size_t{1} << 40);
}

TEST(Colours, IntegersAreScaledTo255AndNamedColoursAreReady)
{
    const ol::Color orange(255, 128, 0, 255);
    EXPECT_FLOAT_EQ(orange.red, 1.0f);
    EXPECT_NEAR(orange.green, 0.50196f, 1e-5);
    EXPECT_FLOAT_EQ(orange.blue, 0.0f);
    EXPECT_FLOAT_EQ(orange.alpha, 1.0f);
    const ol::Color none;
    EXPECT_EQ(none.alpha, 0.0f);
    struct { ol::Color c; float r, g, b, a; } named[] = {
        {ol::Color::BLACK, 0, 0, 0, 1},  {ol::Color::WHITE, 1, 1, 1, 1},
        {ol::Color::RED, 1, 0, 0, 1},    {ol::Color::YELLOW, 1, 1, 0, 1},
        {ol::Color::GREEN, 0, 1, 0, 1},  {ol::Color::BLUE, 0, 0, 1, 1},
        {ol::Color::INVISIBLE, 0, 0, 0, 0},
    };
    for (const auto& n : named) {
        EXPECT_EQ(n.c.red, n.r);
        EXPECT_EQ(n.c.green, n.g);
        EXPECT_EQ(n.c.blue, n.b);
        EXPECT_EQ(n.c.alpha, n.a);
    }
}

TEST(ClipGeometry, RegionIsCutToThePicture)
{
    struct Case { float cx, cy, cw, ch; float x, y, w, h; } cases[] = {
        {14, 0, 6, 7, 14, 0, 6, 7},        // a glyph cell
        {325, 0, 6, 7, 325, 0, 4, 7},      // runs off the right edge
        {-3, -2, 6, 7, 0, 0, 3, 5},        // starts left of and above the picture
        {400, 0, 6, 7, 400, 0, 0, 7},      // wholly outside: nothing drawn
        {-10, 0, 5, 7, 0, 0, 0, 7},
    };
    for (const Case& c : cases) {
        ol::ClippedMode clip(c.cx, c.cy, c.cw, c.ch);
        const ol::Rect r = clip.GetRenderCoords(ol::Rect{0, 0, 329, 7});
        EXPECT_EQ(r.x, c.x);
        EXPECT_EQ(r.y, c.y);
        EXPECT_EQ(r.width, c.w) << "clip x " << c.cx;
        EXPECT_EQ(r.height, c.h) << "clip y " << c.cy;
        ol::TexCoordSet set{};
        set.right = 329;
        set.bottom = 7;
        const ol::TexCoordSet t = clip.GetTexCoords(set);
        EXPECT_EQ(t.left, c.x);
        EXPECT_EQ(t.right, c.x + c.w);
        EXPECT_EQ(t.bottom, c.y + c.h);
    }
}

TEST(ClipGeometry, MultiModeChainsFirstThenSecondAndFlipsToggle)
{
    ol::ClippedMode clip(7, 0, 6, 7);
    ol::FlippedMode flip(ol::FLIP_HORIZONTAL);
    ol::MultiMode both(clip, flip);
    ol::TexCoordSet set{};
    set.right = 329;
    set.bottom = 7;
    ol::TexCoordSet t = both.GetTexCoords(set);
    EXPECT_EQ(t.left, 7.0f);
    EXPECT_TRUE(t.flipX);
    EXPECT_FALSE(t.flipY);
    ol::FlippedMode again(ol::FLIP_BOTH);
    t = again.GetTexCoords(t);
    EXPECT_FALSE(t.flipX);
    EXPECT_TRUE(t.flipY);
}

TEST(Registry, BitmapsJoinOnConstructionAndLeaveOnceOnDestruction)
{
    const std::size_t before = ol::GarbageCollector::Count();
    {
        ol::Bitmap a, b;
        EXPECT_EQ(ol::GarbageCollector::Count(), before + 2);
        a.Destroy(true);
        EXPECT_EQ(ol::GarbageCollector::Count(), before + 1);
        a.Destroy(true);  // already out: nothing else leaves
        EXPECT_EQ(ol::GarbageCollector::Count(), before + 1);
    }
    EXPECT_EQ(ol::GarbageCollector::Count(), before);
}
