// Finding keys that reach an event and live. The script grows by short spans,
// and a span is kept only when some way on from it lives through the second
// after it. Every try plays the game again from its start: that is cheap,
// exact, and needs no copy of the yard.
#include <cstdio>
#include <string>
#include <vector>

#include "game/Record.h"
#include "tools/replaymaker/GamePlay.h"
#include "tools/replaymaker/Script.h"

namespace {

constexpr std::uint32_t kLookahead = 100;
constexpr std::uint32_t kLatestJump = 60;
constexpr std::uint32_t kJumpEvery = 3;
constexpr std::uint32_t kMostTicks = 20000;

// The spans tried at each step, standing still first, so that the cranes
// fill the yard around him.
const char* const kSteps[] = {"_10", "L10", "R10", "J1 _9", "LJ1 L9", "RJ1 R9"};

struct Goal {
    const char* name;
    bool GameEvents::*event;
    bool jumpFirst;  // a burst is sought by jumping before walking away
};
const Goal kGoals[] = {
    {"row-clear", &GameEvents::rowCleared, false},
    {"push", &GameEvents::pushed, false},
    {"burst", &GameEvents::burst, true},
};

GameEvents Play(std::uint32_t seed, const std::string& spans)
{
    Replay game;
    std::string error;
    ReadScript("seed " + std::to_string(seed) + "\n" + spans, game, error);
    return PlayGame(game);
}

// The ways on tried over the lookahead: a key held throughout, or held with
// a jump after a wait.
std::vector<std::string> WaysOn(bool jumpFirst)
{
    std::vector<std::string> walks;
    std::vector<std::string> jumps;
    const std::string lookahead = std::to_string(kLookahead);
    for (const std::string keys : {"_", "L", "R"}) {
        walks.push_back(keys + lookahead);
        for (std::uint32_t wait = 0; wait < kLatestJump; wait += kJumpEvery) {
            const std::string before = wait > 0 ? keys + std::to_string(wait) + " " : "";
            const std::string after = keys + std::to_string(kLookahead - wait - 1);
            jumps.push_back(before + keys + "J1 " + after);
        }
    }
    std::vector<std::string> ways = jumpFirst ? jumps : walks;
    const std::vector<std::string>& rest = jumpFirst ? walks : jumps;
    ways.insert(ways.end(), rest.begin(), rest.end());
    return ways;
}

// A way on from the spans that he lives through, or "" when there is none.
std::string LivingWayOn(std::uint32_t seed, const std::string& spans,
                        const std::vector<std::string>& ways)
{
    for (const std::string& way : ways) {
        if (!Play(seed, spans + " " + way).crushed)
            return way;
    }
    return "";
}

int PrintScript(std::uint32_t seed, const std::string& spans, const Goal& goal)
{
    Play(seed, spans);
    std::printf("# Reaches %s; end it with ESC or play on.\nseed %u\n%s\n", goal.name, seed,
                SpansText(ThisGame()).c_str());
    return 0;
}

}  // namespace

int SearchScript(const std::string& goalName, std::uint32_t seed)
{
    const Goal* goal = nullptr;
    for (const Goal& known : kGoals) {
        if (goalName == known.name)
            goal = &known;
    }
    if (!goal) {
        std::fprintf(stderr, "replaymaker: no goal %s\n", goalName.c_str());
        return 2;
    }
    const std::vector<std::string> ways = WaysOn(goal->jumpFirst);
    std::string spans;
    std::string lastWayOn;
    while (ThisGame().ticks < kMostTicks) {
        // Of the steps that leave a way on, the one that takes him highest:
        // up on the stacks he leaves the floor of every column to the cranes.
        std::string chosen;
        float highest = 1e9f;
        for (const char* step : kSteps) {
            const std::string trial = spans + " " + step;
            const GameEvents events = Play(seed, trial);
            if (events.crushed)
                continue;
            if (events.*(goal->event))
                return PrintScript(seed, trial, *goal);
            const float y = gameState.worker.y;
            if (y >= highest)
                continue;
            const std::string wayOn = LivingWayOn(seed, trial, ways);
            if (!wayOn.empty()) {
                chosen = step;
                highest = y;
                lastWayOn = wayOn;
            }
        }
        // No step leaves a way on: the last way known to live is taken whole.
        if (chosen.empty()) {
            chosen = lastWayOn;
            lastWayOn.clear();
        }
        if (chosen.empty()) {
            std::fprintf(stderr, "replaymaker: seed %u: no way on at tick %u\n", seed,
                         ThisGame().ticks);
            return 1;
        }
        spans += " " + chosen;
        if (Play(seed, spans).*(goal->event))
            return PrintScript(seed, spans, *goal);
    }
    std::fprintf(stderr, "replaymaker: seed %u: no %s in %u ticks\n", seed, goal->name, kMostTicks);
    return 1;
}
