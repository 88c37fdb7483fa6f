// Shared by the pixel tests: a real screen through the layer, pictures made
// on the spot, and the back buffer read back top-down.
#pragma once

#include <allegro.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "ol/Canvas.h"
#include "ol/Startup.h"

namespace oltest {

struct Rgba {
    int r, g, b, a;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

inline std::ostream& operator<<(std::ostream& out, const Rgba& c)
{
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}

// Opens (or keeps) a window of the size through the real layer, cleared to
// black. False, with a failure, when there is no display.
inline bool OpenTestScreen(int width = 640, int height = 400)
{
    if (!std::getenv("DISPLAY")) {
        ADD_FAILURE() << "DISPLAY is not set: pixel tests need an X server (Xvfb)";
        return false;
    }
    static bool started = false;
    static int openWidth = 0, openHeight = 0;
    if (!started) {
        started = true;
        ol::Startup::StartProgram(true, false, true);
    }
    if (openWidth != width || openHeight != height) {
        if (!ol::Startup::OpenScreen(width, height, false, 32, 8, 0)) {
            ADD_FAILURE() << "the layer could not open a " << width << "x" << height << " window";
            return false;
        }
        openWidth = width;
        openHeight = height;
    }
    ol::Quality::SetAntialiasing(false);
    ol::Canvas::Clear(ol::Color::BLACK, ol::COLOR_AND_ALPHA);
    return true;
}

// The back buffer, row 0 at the top of the screen.
struct ScreenPixels {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
    Rgba At(int x, int y) const
    {
        const unsigned char* p = &rgba[(static_cast<std::size_t>(height - 1 - y) * width + x) * 4];
        return Rgba{p[0], p[1], p[2], p[3]};
    }
};

inline ScreenPixels ReadScreen()
{
    ScreenPixels screen;
    screen.width = ol::Canvas::Width();
    screen.height = ol::Canvas::Height();
    screen.rgba.resize(static_cast<std::size_t>(screen.width) * screen.height * 4);
    glFinish();
    glReadPixels(0, 0, screen.width, screen.height, GL_RGBA, GL_UNSIGNED_BYTE, screen.rgba.data());
    return screen;
}

// Writes a PNG whose pixel (x, y) is colour(x, y); depth 32 keeps alpha,
// depth 24 has none.
inline void WritePicture(const std::string& path, int width, int height, int depth,
                         const std::function<Rgba(int, int)>& colour)
{
    BITMAP* picture = create_bitmap_ex(depth, width, height);
    ASSERT_NE(picture, nullptr);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgba c = colour(x, y);
            putpixel(picture, x, y,
                     depth == 32 ? makeacol32(c.r, c.g, c.b, c.a) : makecol_depth(depth, c.r, c.g, c.b));
        }
    }
    ASSERT_EQ(save_bitmap(path.c_str(), picture, nullptr), 0) << path;
    destroy_bitmap(picture);
}

// Reads a PNG as it is in the file (no depth conversion).
inline BITMAP* ReadPicture(const std::string& path)
{
    set_color_conversion(COLORCONV_NONE);
    return load_bitmap(path.c_str(), nullptr);
}

inline Rgba PicturePixel(BITMAP* picture, int x, int y)
{
    const int depth = bitmap_color_depth(picture);
    const int c = getpixel(picture, x, y);
    return Rgba{getr_depth(depth, c), getg_depth(depth, c), getb_depth(depth, c),
                depth == 32 ? geta32(c) : 255};
}

// A texture's texels as GL holds them, row 0 first.
inline std::vector<unsigned char> TextureTexels(unsigned int name, int& width, int& height)
{
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<unsigned char> texels(static_cast<std::size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return texels;
}

inline bool Near(const Rgba& a, const Rgba& b, int tolerance = 1)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

}  // namespace oltest
