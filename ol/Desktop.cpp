// The close button and a lost display: the two ways the desktop ends the
// program without a key being pressed. Windows has no display to lose.
#include <allegro.h>
#ifndef _WIN32
#include <X11/Xlib.h>
#include <unistd.h>
#endif

#include <atomic>

#include "ol/Startup.h"

namespace ol {

#ifndef _WIN32
namespace {

void (*displayLost)() = nullptr;

// Xlib's own answer, exit(), would run the exit clean-up, which talks to the
// display again and waits for ever; nothing here may touch it.
int EndWithoutDisplay(Display*)
{
    // Two threads may find the break at once: the first reports it and ends
    // the process, the other waits for that.
    static std::atomic_flag noticed = ATOMIC_FLAG_INIT;
    if (noticed.test_and_set())
        for (;;)
            pause();
    if (displayLost)
        displayLost();
    _exit(1);
}

}  // namespace
#endif

void Desktop::OnCloseButton(void (*handler)())
{
    set_close_button_callback(handler);
}

#ifdef _WIN32
void Desktop::OnDisplayLost(void (*)())
{
    // Nothing to watch: the window lives as long as the program does.
}
#else
void Desktop::OnDisplayLost(void (*handler)())
{
    displayLost = handler;
    XSetIOErrorHandler(EndWithoutDisplay);
}
#endif

}  // namespace ol
