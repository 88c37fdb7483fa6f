// The close button and a lost display: the two ways the desktop ends the
// program without a key being pressed.
#include <X11/Xlib.h>
#include <allegro.h>
#include <unistd.h>

#include <atomic>

#include "ol/Startup.h"

namespace ol {

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

void Desktop::OnCloseButton(void (*handler)())
{
    set_close_button_callback(handler);
}

void Desktop::OnDisplayLost(void (*handler)())
{
    displayLost = handler;
    XSetIOErrorHandler(EndWithoutDisplay);
}

}  // namespace ol
