#include "engine/Quit.h"

#include <signal.h>

#include <atomic>
#include <initializer_list>

#include "ol/Startup.h"

namespace {

// Set by a signal handler and by the close button on the input thread, read by
// the main thread: it must be lock-free to be safe in the handler.
std::atomic<bool> quitRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler sets the quit flag");
std::atomic<bool> closeButtonPressed{false};

void RequestQuit(int)
{
    quitRequested = true;
}
void RequestQuitByButton()
{
    closeButtonPressed = true;
    quitRequested = true;
}

}  // namespace

void ListenForQuitRequests()
{
    struct sigaction action = {};
    action.sa_handler = RequestQuit;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signalNumber, &action, nullptr);
    ol::Desktop::OnCloseButton(RequestQuitByButton);
}

bool QuitRequested()
{
    return quitRequested;
}

bool QuitRequestedByCloseButton()
{
    return closeButtonPressed;
}
