// The text of a golden replay's script: a seed and spans of keys.
#pragma once

#include <string>

#include "game/Replay.h"

// The game a script describes, with the sizes of the installed pictures;
// false, with the word it could not read, if any.
bool ReadScript(const std::string& text, Replay& game, std::string& error);
// The spans of a game's inputs as a script writes them, a few to a line.
std::string SpansText(const Replay& game);
// Prints a script that reaches the goal and lives; the exit status.
int SearchScript(const std::string& goal, std::uint32_t seed);
