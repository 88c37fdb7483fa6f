// A fresh game for the rule tests: cranes parked far away, keys up, sounds recorded, a death
// counted and not played out.
#pragma once

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/Random.h"
#include "game/Rules.h"
#include "tests/support/TestSupport.h"

namespace yardtest {

using Sounds = std::vector<std::string>;
inline int deaths = 0;
inline void Ticks(int n)
{
    for (int t = 0; t < n; ++t)
        UpdateTick();
}

// A crate in column c: resting on top of its stack, or (with y >= 0) falling from y.
inline int AddCrate(int c, float y = -1.0f, float speed = 1.0f)
{
    GameObject crate;
    crate.column = c;
    crate.x = static_cast<float>(ColumnX(c));
    crate.width = crate.height = kCrateSize;
    crate.active = y >= 0.0f;
    crate.y = crate.active ? y : static_cast<float>(LandingY(c));
    crate.speed = crate.active ? speed : 0.0f;
    gameState.columnHeights[c] += !crate.active;
    gameState.crates.push_back(crate);
    return static_cast<int>(gameState.crates.size()) - 1;
}
inline void StackMany(int c, int count)
{
    for (int k = 0; k < count; ++k)
        AddCrate(c);
}

class YardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        NewYard();
    }
    // A fresh yard, also for each row of a table.
    void NewYard()
    {
        SeedRandom(1234);
        gs.input = TickInput();  // keys up
        NewGame();
        for (GameObject& crane : gs.cranes)
            crane.x += 100000.0f;  // too far away to drop
        crateWidth = crateHeight = worker.width = kCrateSize;
        worker.height = 21;
        // Out of the way, on the floor, facing right, idle.
        worker.x = 30.0f;
        worker.facing = Facing::Right;
        worker.state = kWorkerIdle;
        gs.spaceHeld = gs.explosionActive = false;
        deaths = 0;
        sound.Take();
        runEndOfGame = [] {
            deaths += 1;
            gameRunning = false;
        };
    }
    // Each row of a table on a fresh yard, named in every failure.
    template <typename Row, std::size_t N, typename Check>
    void EachRow(const Row (&rows)[N], Check check)
    {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.name);
            NewYard();
            check(row);
        }
    }
    testsupport::SoundRecorder sound;
    GameState& gs = gameState;
    GameObject& worker = gameState.worker;
};

}  // namespace yardtest
