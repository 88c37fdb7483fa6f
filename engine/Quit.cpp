#include "engine/Quit.h"

#include <signal.h>

#include <atomic>
#include <initializer_list>

#include "ol/Startup.h"

namespace {

volatile sig_atomic_t quitRequested = 0;
std::atomic<bool> closeButtonPressed{false};

void RequestQuit(int) { quitRequested = 1; }
void RequestQuitByButton()
{
    closeButtonPressed = true;
    quitRequested = 1;
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
    return quitRequested != 0;
}

bool QuitRequestedByCloseButton()
{
    return closeButtonPressed;
}
