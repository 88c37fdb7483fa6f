#include "engine/Quit.h"

#include <atomic>

#include "engine/Platform.h"
#include "ol/Startup.h"

namespace {

// Set by a signal handler, by the close button on the input thread and by the
// system's threads on Windows, read by the main thread: it must be lock-free
// to be safe in the handler.
std::atomic<bool> quitRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler sets the quit flag");
std::atomic<bool> closeButtonPressed{false};
std::atomic<bool> sessionEnding{false};

void RequestQuit()
{
    quitRequested = true;
}

void RequestQuitByButton()
{
    closeButtonPressed = true;
    quitRequested = true;
}

void RequestQuitBySessionEnd()
{
    sessionEnding = true;
    quitRequested = true;
}

}  // namespace

void ListenForQuitRequests()
{
    platform::OnEndRequests(RequestQuit, RequestQuitBySessionEnd);
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

bool QuitRequestedBySessionEnd()
{
    return sessionEnding;
}
