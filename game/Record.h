// The record of the game being played: begun by NewGame, a tick at a time in
// the game loop, closed by whatever ends the game, and kept as a replay.
#pragma once

#include <string>

#include "game/Replay.h"

const Replay& ThisGame();
void BeginRecord(const GameStart& start);
// One tick of the game: its keys recorded, a checkpoint taken when one is
// due, then the rules.
void PlayTick(const TickInput& input);
// Closes the record with the score as it stands; later calls change nothing.
void EndRecord(GameEnding ending);
bool RecordEnded();

// The sizes the rules measure with now, and the way to give them others.
RuleSizes CurrentRuleSizes();
void UseRuleSizes(const RuleSizes& sizes);

// "lastgame.qmr" in the game directory; a failure is one line in the game log.
void SaveLastGame();
// A copy in "replays/" of a game whose score entered the high-score table,
// named by its date, score and player, so later games cannot overwrite it.
void KeepHighScoreReplay(const std::string& name);
