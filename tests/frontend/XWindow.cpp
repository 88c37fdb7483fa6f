// The pixels of the window the layer draws into, as the X server shows them.
// Kept apart: X's macros clash with the test framework. The X library is
// already loaded by Allegro; its functions are looked up at run time.
#include <allegro.h>
#include <dlfcn.h>
#include <xalleg.h>

#include <string>

bool GrabWindow(int x, int y, int width, int height, std::string& rgb)
{
    using OpenDisplay = Display* (*)(const char*);
    using GetImage = XImage* (*)(Display*, Drawable, int, int, unsigned, unsigned, unsigned long, int);
    static auto openDisplay = reinterpret_cast<OpenDisplay>(dlsym(RTLD_DEFAULT, "XOpenDisplay"));
    static auto getImage = reinterpret_cast<GetImage>(dlsym(RTLD_DEFAULT, "XGetImage"));
    static Display* display = openDisplay ? openDisplay(nullptr) : nullptr;
    if (!display || !getImage) return false;
    XImage* image = getImage(display, _xwin.window, x, y, width, height, AllPlanes, ZPixmap);
    if (!image) return false;
    rgb.assign(static_cast<std::size_t>(width * height * 3), '\0');
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const unsigned long pixel = XGetPixel(image, column, row);
            char* out = &rgb[static_cast<std::size_t>((row * width + column) * 3)];
            out[0] = static_cast<char>(pixel >> 16 & 0xFF);
            out[1] = static_cast<char>(pixel >> 8 & 0xFF);
            out[2] = static_cast<char>(pixel & 0xFF);
        }
    }
    XDestroyImage(image);
    return true;
}
