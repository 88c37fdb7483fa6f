// Ending the program from outside the keyboard: the system's requests (see
// platform::OnEndRequests) and the window's close button only record it, and
// every loop that runs or waits looks at it and leaves the way Escape would,
// so the program ends on the title screen's own way out.
#pragma once

// Takes the signals from Allegro's own handlers, whose clean-up can lock up
// against a frame being shown, and listens to the close button.
void ListenForQuitRequests();
bool QuitRequested();
// Whether the close button asked, rather than a signal.
bool QuitRequestedByCloseButton();
// Whether the user's session is ending: the system will not wait for the
// exit clean-up.
bool QuitRequestedBySessionEnd();
