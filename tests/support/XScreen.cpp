// What the e2e tests ask of the X server directly: the picture on the screen and the close
// request a window manager would send. Apart from the rest because Xlib's macros (None, Bool)
// clash with the test framework.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>

#include "tests/support/GameProcess.h"

namespace testsupport {

std::vector<uint32_t> GrabScreen(int width, int height)
{
    std::vector<uint32_t> pixels;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return pixels;
    if (XImage* image = XGetImage(display, DefaultRootWindow(display), 0, 0, width, height,
                                  AllPlanes, ZPixmap)) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF));
        XDestroyImage(image);
    }
    XCloseDisplay(display);
    return pixels;
}

// The waving "GAME OVER!" in palette colour 15 over the middle of the frozen yard.
bool GameOverShown()
{
    const std::vector<uint32_t> screen = GrabScreen(640, 250);
    int count = 0;
    for (size_t at = 200 * 640; at < screen.size(); ++at)
        count += at % 640 >= 250 && at % 640 < 390 && screen[at] == 0xB8C76F;
    return count > 100;
}

// The name entry is black where the yard had its walls and floor.
bool NameEntryShown()
{
    const std::vector<uint32_t> screen = GrabScreen(640, 400);
    return !screen.empty() && screen[300 * 640 + 20] == 0 && screen[300 * 640 + 620] == 0 &&
           screen[380 * 640 + 320] == 0;
}

bool RequestClose()
{
    const unsigned long window = std::strtoul(
        Shell("xdotool search --onlyvisible --name quillemarch 2>/dev/null").c_str(), nullptr, 10);
    Display* display = XOpenDisplay(nullptr);
    if (!display || window == 0)
        return false;
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(display, window, False, NoEventMask, &event) != 0;
    XCloseDisplay(display);
    return sent;
}

}  // namespace testsupport
