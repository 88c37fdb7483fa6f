// A fresh game with a still yard for the rule tests: the cranes are parked
// far away, keys are up, and a death is recorded instead of running the
// end-of-game sequence.
#pragma once

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "game/Rules.h"

namespace yardtest {

inline int deaths = 0;
inline void RecordDeath()
{
    deaths += 1;
    gameRunning = false;
}

inline void ReleaseKeys() { std::memset(const_cast<char*>(key), 0, KEY_MAX); }

// A crate resting as the next one of its column.
inline int Stack(int column, int tag = 0)
{
    GameObject crate;
    crate.column = column;
    crate.x = static_cast<float>(ColumnX(column));
    crate.y = static_cast<float>(LandingY(column));
    crate.width = crate.height = kCrateSize;
    crate.score = tag;  // the tests' own name for this crate
    gameState.crates.push_back(crate);
    gameState.columnHeights[column] += 1;
    return static_cast<int>(gameState.crates.size()) - 1;
}

inline void StackMany(int column, int count)
{
    for (int k = 0; k < count; ++k) Stack(column);
}

// A crate falling in a column, not yet counted.
inline int Falling(int column, float y, float speed = 1.0f, int tag = 0)
{
    GameObject crate;
    crate.column = column;
    crate.x = static_cast<float>(ColumnX(column));
    crate.y = y;
    crate.width = crate.height = kCrateSize;
    crate.speed = speed;
    crate.active = true;
    crate.score = tag;
    gameState.crates.push_back(crate);
    return static_cast<int>(gameState.crates.size()) - 1;
}

inline int FindTag(int tag)
{
    for (int i = 0; i < static_cast<int>(gameState.crates.size()); ++i)
        if (gameState.crates[i].score == tag) return i;
    return -1;
}

inline void Ticks(int n)
{
    for (int t = 0; t < n; ++t) UpdateTick();
}

class YardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::srand(1234);
        ReleaseKeys();
        NewGame();
        ParkCranes();
        crateWidth = crateHeight = kCrateSize;
        gameState.worker.width = 20;
        gameState.worker.height = 21;
        gameState.worker.facing = 1;
        gameState.worker.x = 30.0f;  // out of the way, on the floor
        gameState.spaceHeld = false;
        gameState.explosionActive = false;
        gameState.hiScore = 0;
        deaths = 0;
        runEndOfGame = RecordDeath;
    }
    void TearDown() override
    {
        ReleaseKeys();
        runEndOfGame = EndOfGame;
    }
    // Heading in from so far away that no crane drops during a test.
    static void ParkCranes()
    {
        for (int i = 0; i < 3; ++i) {
            gameState.cranes[i].x = 100000.0f + 1000.0f * i;
            gameState.cranes[i].active = true;
            gameState.cranes[i].column = i;
        }
    }
    GameState& gs = gameState;
    GameObject& worker = gameState.worker;
};

}  // namespace yardtest
