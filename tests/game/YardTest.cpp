// Crates falling, landing, stacking, the bottom row bursting and the rows
// sinking, and the push slide, driven through whole logic ticks.
#include <algorithm>

#include "tests/game/YardFixture.h"

namespace yardtest {
namespace {

TEST_F(YardTest, CratesFallFromTheCraneAndStackAtLandingY)
{
    EXPECT_EQ(LandingY(3), 152);
    SpawnCrate(20 * 3 + 26, 37.0f);  // a crane over column 3
    ASSERT_EQ(gs.crates.size(), 1u);
    EXPECT_EQ(gs.crates[0].column, 3);
    EXPECT_FLOAT_EQ(gs.crates[0].x, ColumnX(3));
    EXPECT_FLOAT_EQ(gs.crates[0].y, 43.0f);

    UpdateTick();
    EXPECT_FLOAT_EQ(gs.crates[0].y, 44.0f);  // first step at the spawn speed
    UpdateTick();
    EXPECT_FLOAT_EQ(gs.crates[0].y, 45.061f);  // then gravity adds 0.061 a tick
    int ticks = 2;
    while (gs.crates[0].active && ticks < 500) {
        UpdateTick();
        ++ticks;
    }
    EXPECT_LT(ticks, 70);
    EXPECT_FLOAT_EQ(gs.crates[0].y, 152.0f);
    EXPECT_EQ(gs.columnHeights[3], 1);

    // Five more stack up, each at the row above the last.
    for (int k = 1; k <= 5; ++k) {
        SpawnCrate(20 * 3 + 26, 37.0f);
        Ticks(80);
        EXPECT_FLOAT_EQ(gs.crates.back().y, 152.0f - 20.0f * k) << "crate " << k;
        EXPECT_EQ(gs.columnHeights[3], k + 1);
        EXPECT_EQ(LandingY(3), 132 - 20 * k);
    }
}

TEST_F(YardTest, FullBottomRowScoresBurstsAndLetsTheRowAboveSink)
{
    for (int c = 0; c < 12; ++c) Stack(c);
    Stack(0, 77);  // a second crate on column 0
    Falling(12, 152.0f);
    UpdateTick();  // the 13th crate lands
    EXPECT_EQ(gs.columnHeights[12], 1);
    EXPECT_EQ(worker.score, 0);

    UpdateTick();  // the row goes
    EXPECT_EQ(worker.score, 500);
    ASSERT_EQ(gs.crates.size(), 1u);
    EXPECT_TRUE(gs.rowDropActive);
    EXPECT_EQ(gs.columnHeights[0], 1);
    for (int c = 1; c < 13; ++c) EXPECT_EQ(gs.columnHeights[c], 0);
    EXPECT_FLOAT_EQ(gs.crates[0].y, 134.0f);  // sinking already, 2 pixels a tick

    Ticks(9);
    EXPECT_FALSE(gs.rowDropActive);
    EXPECT_FLOAT_EQ(gs.crates[0].y, 152.0f);  // exactly one row lower
    EXPECT_EQ(worker.score, 500);             // one full row pays once
    Ticks(5);
    EXPECT_FLOAT_EQ(gs.crates[0].y, 152.0f);  // and rests there
}

TEST_F(YardTest, TwoFullRowsPayOnEveryTickOfTheDrop)
{
    for (int c = 0; c < 13; ++c) StackMany(c, 2);
    Ticks(11);
    EXPECT_EQ(worker.score, 11 * 500);
    EXPECT_TRUE(gs.crates.empty());
    for (int c = 0; c < 13; ++c) EXPECT_EQ(gs.columnHeights[c], 0);
}

TEST_F(YardTest, FallingCrateAtTheBottomRowIsNotTakenForPartOfIt)
{
    for (int c = 0; c < 13; ++c) Stack(c, 100 + c);
    // A crate falling through y = 152 in column 5, ahead of the landed one in the list.
    Falling(5, 152.0f, 2.0f, 9);
    std::rotate(gs.crates.begin(), gs.crates.end() - 1, gs.crates.end());
    ClearFullBottomRow();
    ASSERT_EQ(gs.crates.size(), 1u);
    EXPECT_EQ(gs.crates[0].score, 9);  // the falling crate stays...
    EXPECT_EQ(gs.columnHeights[5], 0);  // ...and the landed one went with its count
}

// Pushes made by calling PushCrate with the worker facing a side.
struct PushCase {
    const char* name;
    int own, neighbour;  // heights of the crate's column (crate included) and the target
    int facing;
    int column;
    bool allowed;
};

TEST_F(YardTest, PushGoesOnlyIntoALowerNeighbour)
{
    const PushCase cases[] = {
        {"right into empty", 1, 0, 1, 5, true},   {"left into empty", 1, 0, 2, 5, true},
        {"right one lower", 3, 2, 1, 5, true},    {"left into higher", 2, 3, 2, 5, false},
        {"right into equal", 2, 2, 1, 5, false},  {"right off the yard", 1, 0, 1, 12, false},
        {"left off the yard", 1, 0, 2, 0, false},
    };
    for (const PushCase& pc : cases) {
        SetUp();
        int target = pc.column + (pc.facing == 1 ? 1 : -1);
        StackMany(pc.column, pc.own - 1);
        int top = Stack(pc.column, 1);
        if (target >= 0 && target <= 12) StackMany(target, pc.neighbour);
        worker.facing = pc.facing;
        PushCrate(top);
        EXPECT_EQ(pushedCrateIndex >= 0, pc.allowed) << pc.name;
        EXPECT_EQ(gs.pushLeftActive || gs.pushRightActive, pc.allowed) << pc.name;
        EXPECT_EQ(gs.crates[top].column, pc.allowed ? target : pc.column) << pc.name;
    }
}

TEST_F(YardTest, PushRefusedForALowerCrateDuringADropAndDuringASlide)
{
    StackMany(5, 2);
    worker.facing = 1;
    PushCrate(0);  // not the top crate
    EXPECT_EQ(pushedCrateIndex, -1);

    gs.rowDropActive = true;
    PushCrate(1);
    EXPECT_EQ(pushedCrateIndex, -1);
    gs.rowDropActive = false;

    Stack(8);
    PushCrate(1);
    ASSERT_EQ(pushedCrateIndex, 1);
    PushCrate(2);
    EXPECT_EQ(pushedCrateIndex, 1);
    EXPECT_EQ(gs.crates[2].column, 8);
}

TEST_F(YardTest, PushedCrateSlidesOneColumnFallsAndLandsOnTheLowerStack)
{
    StackMany(4, 2);
    int top = Stack(4, 1);  // third crate of column 4
    Stack(5);
    worker.facing = 1;
    PushCrate(top);
    EXPECT_EQ(gs.columnHeights[4], 2);
    for (int t = 1; t <= 20; ++t) {
        UpdateTick();
        if (t < 20) {
            EXPECT_FLOAT_EQ(gs.crates[top].x, ColumnX(4) + t) << t;
        }
    }
    EXPECT_EQ(pushedCrateIndex, -1);
    EXPECT_FLOAT_EQ(gs.crates[top].x, ColumnX(5));
    Ticks(30);
    EXPECT_FLOAT_EQ(gs.crates[top].y, 132.0f);  // the second crate of column 5
    EXPECT_FALSE(gs.crates[top].active);
    EXPECT_EQ(gs.columnHeights[5], 2);
    EXPECT_EQ(gs.columnHeights[4], 2);
}

TEST_F(YardTest, WorkerWalksIntoALoneCrateAndSlidesItOntoTheFloorNextDoor)
{
    int crate = Stack(7, 1);
    worker.x = ColumnX(7) - 40.0f;
    key[KEY_RIGHT] = 1;
    int ticks = 0;
    while (pushedCrateIndex < 0 && ticks < 200) {
        UpdateTick();
        ++ticks;
    }
    key[KEY_RIGHT] = 0;
    ASSERT_EQ(pushedCrateIndex, crate);
    EXPECT_EQ(gs.columnHeights[7], 0);
    EXPECT_EQ(gs.columnHeights[8], 1);  // it rests on the floor at once
    EXPECT_FALSE(gs.crates[crate].active);
    Ticks(25);
    EXPECT_FLOAT_EQ(gs.crates[crate].x, ColumnX(8));
    EXPECT_FLOAT_EQ(gs.crates[crate].y, 152.0f);
}

// A row clear during a slide: the slide keeps its crate when that survives...
TEST_F(YardTest, SlideFollowsItsCrateWhenEarlierCratesBurst)
{
    for (int c = 0; c < 13; ++c) {
        if (c != 6) Stack(c);
    }
    StackMany(5, 2);
    int top = Stack(5, 42);  // third crate of column 5, pushed left
    worker.facing = 2;
    PushCrate(top);
    ASSERT_EQ(pushedCrateIndex, top);
    Stack(6);  // the yard is full now
    UpdateTick();
    ASSERT_GE(pushedCrateIndex, 0);
    ASSERT_LT(pushedCrateIndex, static_cast<int>(gs.crates.size()));
    EXPECT_EQ(gs.crates[pushedCrateIndex].score, 42);
    Ticks(19);
    EXPECT_EQ(pushedCrateIndex, -1);
    EXPECT_FLOAT_EQ(gs.crates[FindTag(42)].x, ColumnX(4));
}

// ...and ends when its crate is one of those that burst.
TEST_F(YardTest, SlideEndsWhenItsCrateBursts)
{
    for (int c = 0; c < 13; ++c) {
        if (c != 6 && c != 7) Stack(c);
    }
    int lone = Stack(6, 42);
    worker.facing = 1;
    PushCrate(lone);  // into empty column 7, counted at once at y = 152
    ASSERT_EQ(pushedCrateIndex, lone);
    Stack(6);  // the yard is full now
    UpdateTick();
    EXPECT_EQ(FindTag(42), -1);
    EXPECT_EQ(pushedCrateIndex, -1);
    EXPECT_FALSE(gs.pushLeftActive || gs.pushRightActive);
    EXPECT_EQ(gs.pushSteps, 0);
}

// Crate B pushed over a column while crate A, falling there, lands first in the
// same tick: B must still be counted where it comes to rest.
TEST_F(YardTest, PushedCrateIsCountedEvenWhenTheColumnGrowsUnderIt)
{
    StackMany(4, 3);
    StackMany(5, 2);
    Falling(5, 113.0f, 1.5f, 1);  // A, just past its landing place
    int b = Stack(4, 2);          // B, top of column 4 at y = 92
    worker.facing = 1;
    PushCrate(b);
    UpdateTick();
    EXPECT_EQ(gs.columnHeights[5], 4);
    EXPECT_EQ(gs.columnHeights[4], 3);
    EXPECT_FALSE(gs.crates[FindTag(2)].active);
    Ticks(20);
    Falling(5, 43.0f, 1.0f, 3);
    Ticks(80);
    EXPECT_FLOAT_EQ(gs.crates[FindTag(3)].y, 72.0f);  // on top of B, not inside it
    EXPECT_EQ(gs.columnHeights[5], 5);
}

}  // namespace
}  // namespace yardtest
