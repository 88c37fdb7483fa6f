// Starting a game and running the ticks that are due.
#include "tests/game/YardFixture.h"

namespace yardtest {
namespace {

TEST_F(YardTest, NewGameStartsClean)
{
    Stack(3);
    worker.score = 1234;
    gs.elapsedSeconds = 50;
    gs.rowDropActive = true;
    gs.rowDropSteps = 6;
    gs.pushRightActive = true;
    gs.pushSteps = 11;
    pushedCrateIndex = 0;
    worker.jumping = true;
    worker.falling = true;
    worker.jumpSpeed = 0.4f;
    worker.fallSpeed = 2.5f;
    worker.active = false;
    gs.hiScore = 777;
    gameRunning = false;
    gs.tickCounter = 30;
    NewGame();
    EXPECT_TRUE(gameRunning);
    EXPECT_EQ(gs.tickCounter, 0);
    EXPECT_TRUE(gs.crates.empty());
    EXPECT_EQ(gs.columnHeights[3], 0);
    EXPECT_EQ(worker.score, 0);
    EXPECT_EQ(gs.elapsedSeconds, 0);
    EXPECT_FALSE(gs.rowDropActive || gs.pushLeftActive || gs.pushRightActive);
    EXPECT_EQ(pushedCrateIndex, -1);
    EXPECT_EQ(gs.rowDropSteps, 0);
    EXPECT_EQ(gs.pushSteps, 0);
    EXPECT_FALSE(worker.jumping || worker.falling);
    EXPECT_FLOAT_EQ(worker.jumpSpeed, 2.0f);
    EXPECT_FLOAT_EQ(worker.fallSpeed, 0.0f);
    EXPECT_TRUE(worker.active);
    EXPECT_FLOAT_EQ(worker.x, 150.0f);
    EXPECT_FLOAT_EQ(worker.y, 151.0f);
    EXPECT_EQ(gs.hiScore, 777);  // HI-SCORE belongs to the title screen
    EXPECT_EQ(gs.workerSprites[0].cycleLength, 530);
}

// A game ended in mid-drop: the next game's first drop still lowers a full row.
TEST_F(YardTest, DropAfterAGameEndedInMidDropIsWhole)
{
    gs.rowDropActive = true;
    gs.rowDropSteps = 7;
    NewGame();
    ParkCranes();
    worker.x = 30.0f;
    for (int c = 0; c < 13; ++c) StackMany(c, 2);
    Ticks(11);
    EXPECT_TRUE(gs.crates.empty());
    for (int c = 0; c < 13; ++c) EXPECT_EQ(gs.columnHeights[c], 0) << c;
}

TEST_F(YardTest, DueTicksRunUntilTheCounterIsSpentOrTheGameEnds)
{
    gs.tickCounter = 5;
    RunDueTicks();
    EXPECT_EQ(gs.tickCounter, 0);
    EXPECT_EQ(gs.elapsedSeconds, 0);

    // The end-of-game sequence returned at once: no second tick replays it.
    worker.active = false;
    gs.tickCounter = 5;
    RunDueTicks();
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(gs.tickCounter, 4);
}

}  // namespace
}  // namespace yardtest
