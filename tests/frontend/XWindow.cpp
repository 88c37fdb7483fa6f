// The window as the X server shows it, rows bottom-up like glReadPixels. Apart from the
// tests because X's macros clash with the test framework; Allegro has loaded libX11 already.
#include <allegro.h>
#include <dlfcn.h>
#include <xalleg.h>

#include <string>

bool GrabWindow(int x, int y, int width, int height, std::string& rgb)
{
    using GetImage =
        XImage* (*)(Display*, Drawable, int, int, unsigned, unsigned, unsigned long, int);
    static auto getImage = reinterpret_cast<GetImage>(dlsym(RTLD_DEFAULT, "XGetImage"));
    using OpenDisplay = Display* (*)(const char*);
    static auto openDisplay = reinterpret_cast<OpenDisplay>(dlsym(RTLD_DEFAULT, "XOpenDisplay"));
    static Display* display = openDisplay(nullptr);
    if (!display) return false;
    XImage* image = getImage(display, _xwin.window, x, y, width, height, AllPlanes, ZPixmap);
    if (!image) return false;
    rgb.clear();
    for (int row = height - 1; row >= 0; --row)
        for (int column = 0; column < width; ++column) {
            const unsigned long pixel = XGetPixel(image, column, row);
            rgb += {char(pixel >> 16 & 0xFF), char(pixel >> 8 & 0xFF), char(pixel & 0xFF)};
        }
    XDestroyImage(image);
    return true;
}
