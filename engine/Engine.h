// Bringing the engine up before the first screen and down when the player quits.
#pragma once

#include <string>

#include "engine/Log.h"
#include "engine/Settings.h"

// The logical play screen that every position is given on.
constexpr float kLogicalWidth = 320.0f;
constexpr float kLogicalHeight = 200.0f;

// Screen pixels per logical pixel of the play screen.
extern float scaleX;
extern float scaleY;

// Reads the settings, opens the screen and starts the sound, reporting each
// step to the log. Returns only when the engine is usable; otherwise ends the
// process with status 1.
// Without `soundWanted` the game stays silent whatever the settings say.
void InitEngine(Log& log, Settings& settings, bool soundWanted = true);
// Ends a start that cannot go on with status 1. The reason is in the log; one
// line on stderr names the failed step and the log, for a player who started
// the game from a desktop menu and sees no window at all.
[[noreturn]] void EndFailedStart(const Log& log, const std::string& step);
// Called by the title screen just before exit(0); destroyImages releases the
// game's own pictures.
void FreeResources(Log& log, const Settings& settings, void (*destroyImages)());
