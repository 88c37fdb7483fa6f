// The three ways to use a replay from the command line: show it, draw it as
// fast as the machine can, or check it without a window.
#pragma once

#include <string>

#include "game/Replay.h"

// False, with the reason in a few words, unless the file is a whole replay
// of this format no larger than the read limit.
bool LoadReplayFile(const std::string& path, Replay& replay, std::string& error);

// Runs the rules for every recorded tick with the recorded picture sizes and
// prints one line: whether the score, the ticks and every checkpoint came out
// as recorded. The exit status: 0 when they did, 1 when not.
int VerifyReplay(const Replay& replay);
// The recorded game in the window at the clock's pace, then its GAME OVER
// until the countdown has run out; Escape stops it.
void ShowReplay(const Replay& replay);
// The recorded game drawn a frame a tick with no clock, then one line with
// the frame rate.
void RunTimedemo(const Replay& replay);
