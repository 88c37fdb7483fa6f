// Plays a game the way --verify does, and notes what happened in it tick by tick.
#include "tools/replaymaker/GamePlay.h"

#include <algorithm>
#include <iterator>

#include "game/Rules.h"

namespace {

constexpr int kRowClearScore = 500;
constexpr int kPointsPerSecond = 10;
constexpr int kFullColumn = 4;       // the cranes' measure of a full column
constexpr int kCrowdedColumns = 10;  // more full columns than this crowd the yard

GameState& gs = gameState;

// The parts of the yard the watch compares before and after a tick.
struct Watched {
    int score = gameState.worker.score;
    int time = gameState.elapsedSeconds;
    bool sinking = gameState.rowDropActive;
    bool bursting = gameState.explosionActive;
    int pushed = pushedCrateIndex;
};

void WatchTick(const Watched& before, GameEvents& events)
{
    const int gained = gs.worker.score - before.score;
    if (!before.sinking && gs.rowDropActive && gained >= kRowClearScore)
        events.rowCleared = true;
    if (before.pushed < 0 && pushedCrateIndex >= 0)
        events.pushed = true;
    if (!before.bursting && gs.explosionActive)
        events.burst = true;
    if (gs.worker.x <= kLeftWall)
        events.leftWall = true;
    if (gs.worker.x >= kRightWall)
        events.rightWall = true;
    const int full = static_cast<int>(
        std::count_if(std::begin(gs.columnHeights), std::end(gs.columnHeights), [](int height) {
            return height > kFullColumn;
        }));
    if (full > kCrowdedColumns)
        events.crowded = true;
    if (!RecordEnded())
        return;
    events.crushed = true;
    events.timeAtDeath = before.time;
    // TIME is turned into points in the tick he dies in, after any row it cleared.
    const int forTime = gained % kRowClearScore;
    events.timeConverted = before.time > 0 && forTime == kPointsPerSecond * before.time;
}

}  // namespace

GameEvents PlayGame(const Replay& game)
{
    UseRuleSizes(game.sizes);
    NewGame(game.start);
    runEndOfGame = EndGameUnderCrate;
    // Only a picture: the last game's burst may still be on show.
    gs.explosionActive = false;
    GameEvents events;
    InputCursor cursor(game);
    TickInput input;
    while (gameRunning && cursor.Next(input)) {
        const Watched before;
        PlayTick(input);
        WatchTick(before, events);
    }
    events.leftInAir = gs.worker.jumping || gs.worker.falling;
    EndRecord(game.ending);
    events.escaped = ThisGame().ending == GameEnding::Escape;
    return events;
}

std::string DescribeEvents(const GameEvents& events)
{
    std::string line;
    if (events.rowCleared)
        line += " row-clear";
    if (events.pushed)
        line += " push";
    if (events.burst)
        line += " burst";
    if (events.leftWall)
        line += " left-wall";
    if (events.rightWall)
        line += " right-wall";
    if (events.crowded)
        line += " crowded";
    if (events.crushed)
        line += " crushed(TIME " + std::to_string(events.timeAtDeath) + ")";
    if (events.crushed && !events.timeConverted)
        line += " without-time-points";
    if (events.escaped)
        line += " escape";
    if (events.leftInAir)
        line += " in-the-air";
    return line.empty() ? "none" : line.substr(1);
}
