// Shared by the pixel tests: a real screen through the layer, pictures made
// on the spot, and the back buffer read back top-down.
#pragma once

#include <allegro.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "ol/Canvas.h"
#include "ol/Startup.h"

namespace oltest {

struct Rgba {
    int r, g, b, a;
    bool operator==(const Rgba& o) const
    {
        return r == o.r && g == o.g && b == o.b && a == o.a;
    }
    friend std::ostream& operator<<(std::ostream& o, const Rgba& c)
    {
        return o << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
    }
};
const Rgba kBlack{0, 0, 0, 255};

inline bool Near(const Rgba& a, const Rgba& b, int tolerance = 1)
{
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)}) <= tolerance;
}

// Opens (or keeps) a window of the size through the real layer, cleared to black.
inline bool OpenTestScreen(int width = 640, int height = 400)
{
    static bool started = std::getenv("DISPLAY") && ol::Startup::StartProgram(true, false, true);
    if (!started || ((ol::Canvas::Width() != width || ol::Canvas::Height() != height) &&
                     !ol::Startup::OpenScreen(width, height, false, 32, 8, 0)))
        return false;
    ol::Quality::SetAntialiasing(false);
    ol::Canvas::Clear(ol::Color::BLACK, ol::COLOR_AND_ALPHA);
    return true;
}

// The back buffer as it is at construction, row 0 at the top of the screen.
struct ScreenPixels {
    int width = ol::Canvas::Width();
    int height = ol::Canvas::Height();
    std::vector<unsigned char> rgba = std::vector<unsigned char>(std::size_t(width) * height * 4);
    ScreenPixels()
    {
        glFinish();
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, &rgba[0]);
    }
    Rgba At(int x, int y) const
    {
        const unsigned char* p = &rgba[(std::size_t(height - 1 - y) * width + x) * 4];
        return Rgba{p[0], p[1], p[2], p[3]};
    }
};

// Writes a PNG of colour(x, y); depth 32 keeps alpha, depth 8 uses the selected palette.
inline void WritePicture(const std::string& path, int width, int height, int depth,
                         const std::function<Rgba(int, int)>& colour, const RGB* palette = nullptr)
{
    BITMAP* picture = create_bitmap_ex(depth, width, height);
    for (int i = 0; i < width * height; ++i) {
        const Rgba c = colour(i % width, i / width);
        putpixel(picture, i % width, i / width, makeacol_depth(depth, c.r, c.g, c.b, c.a));
    }
    ASSERT_EQ(save_bitmap(path.c_str(), picture, palette), 0) << path;
    destroy_bitmap(picture);
}

}  // namespace oltest
