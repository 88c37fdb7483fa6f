// A scripted or recorded game played through the game's own rules and
// recording, watched for the events the golden replays are kept for.
#pragma once

#include <string>

#include "game/Replay.h"

struct GameEvents {
    bool rowCleared = false;  // a full bottom row paid 500 and the rows began to sink
    bool pushed = false;      // a crate began to slide into a lower neighbouring column
    bool burst = false;       // a falling crate met the rising worker and burst
    bool leftWall = false;    // he stood against the yard's left edge
    bool rightWall = false;   // and against its right edge
    bool crowded = false;     // more than 10 columns were full, so cranes could share a column
    bool crushed = false;     // a crate fell on him
    bool timeConverted =
        false;               // he was crushed with TIME on the clock, and got 10 points a second
    bool escaped = false;    // the player left with Escape
    bool leftInAir = false;  // the game ended with him in a jump or a fall
    int timeAtDeath = 0;
};

// Plays the game from its start with its picture sizes until a crate ends it
// or its inputs run out, then closes the record with its ending; the record
// is ThisGame() afterwards.
GameEvents PlayGame(const Replay& game);
// The events, in a line: "row-clear push burst crushed(TIME 3) escape"..
std::string DescribeEvents(const GameEvents& events);
