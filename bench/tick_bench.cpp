// One logic tick with a full yard: 13 x 6 crates, three cranes on their way
// and a push sliding. Prints microseconds per tick; the goal is under 5.
#include <allegro.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "game/Rules.h"

namespace {

GameState& gs = gameState;

// Six rows in every column, the top crate of column 0 sliding right, the
// cranes far out so that they keep heading in without dropping.
void FillYard()
{
    NewGame();
    crateWidth = crateHeight = kCrateSize;
    gs.worker.width = 20;
    gs.worker.height = 21;
    gs.worker.x = 150.0f;
    gs.crates.clear();
    for (int c = 0; c < COLUMN_COUNT; ++c) {
        for (int row = 0; row < 6; ++row) {
            GameObject crate;
            crate.x = static_cast<float>(ColumnX(c));
            crate.y = static_cast<float>(152 - 20 * row);
            crate.width = crate.height = kCrateSize;
            crate.column = c;
            gs.crates.push_back(crate);
        }
        gs.columnHeights[c] = 6;
    }
    for (int i = 0; i < 3; ++i) {
        gs.cranes[i].x = 1.0e6f + 1000.0f * i;
        gs.cranes[i].active = true;
    }
    gs.pushRightActive = true;
    pushedCrateIndex = 5;
    gs.pushSteps = 0;
}

void Nothing() {}

}  // namespace

int main()
{
    runEndOfGame = Nothing;
    const int kTicks = 200000;
    double total = 0.0;
    for (int round = 0; round < 5; ++round) {
        FillYard();
        // Hold the yard full: the row clear pays but no row goes, because every
        // bottom crate is re-stacked before the next tick would matter.
        auto start = std::chrono::steady_clock::now();
        for (int t = 0; t < kTicks / 5; ++t) {
            if (t % 10 == 0) FillYard();
            gs.pushSteps = 0;
            UpdateTick();
        }
        auto end = std::chrono::steady_clock::now();
        total += std::chrono::duration<double, std::micro>(end - start).count();
    }
    std::printf("tick with a full yard: %.3f us per tick (%d ticks, refill included)\n", total / kTicks,
                kTicks);
    return 0;
}
