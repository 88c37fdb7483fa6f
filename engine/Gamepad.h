// A gamepad, read through Allegro's joystick driver: the parts the game gives
// its controls, held, or pressed afresh since a screen began. Without a pad
// every question answers no.
#pragma once

#include "engine/Log.h"

enum class PadRole { Left, Right, Up, Down, South, Start, Back, Count };

// Asks Allegro for the first pad unless one is already in use: at start-up
// and on every title visit, so a pad plugged in later is found. A pad found
// is one line in the log.
void FindGamepad(Log& log);
// Reads the pad once; the answers below hold until the next poll. A pad
// that has gone or fails is let go, with nothing left held.
void PollGamepad();
// The d-pad, or the left stick beyond half its travel; a button held down.
bool PadHeld(PadRole role);
// A screen begins: what is held now counts only once let go and pressed again.
void ArmPadPresses();
// Held, and pressed afresh since the screen began.
bool PadPressed(PadRole role);
// Pressed between the last two polls, after the screen began.
bool PadJustPressed(PadRole role);
// Reads the pad, then: Start or the south button pressed afresh, the Enter
// of a screen that waits for it.
bool PadConfirms();
