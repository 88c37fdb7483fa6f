// The rules through whole ticks: crates, cranes, the worker, HUD, TIME and the game flow.
#include <algorithm>
#include <cmath>
#include <set>

#include "tests/game/YardFixture.h"

namespace yardtest {
namespace {

// A full yard pays on every tick, sinking or not, and a falling crate is not in the row it
// passes; the row-clear golden holds the payment, its chord and the sinking.
TEST_F(YardTest, FullRowsBurstOnEachTickWithoutTheirFallingCrates)
{
    for (int c = 0; c < 13; ++c)
        StackMany(c, 2);
    Ticks(2);
    EXPECT_EQ(worker.score, 2 * 500);
    NewYard();
    AddCrate(5, 152.0f, 2.0f);  // passing y = 152, ahead of the landed one in the list
    for (int c = 0; c < 13; ++c)
        AddCrate(c);
    ClearFullBottomRow();
    ASSERT_EQ(gs.crates.size(), 1u);
    EXPECT_TRUE(gs.crates[0].active && gs.columnHeights[5] == 0);
}

// Only the top crate goes, only into a lower neighbour, only while the yard is still.
TEST_F(YardTest, PushGoesOnlyIntoALowerNeighbourWhileTheYardIsStill)
{
    enum Extra { kNone, kLowerCrate, kDrop, kSlide };
    // Stack heights: the crate's (with it) and the target's.
    const struct {
        const char* name;
        int own, neighbour, facing, column, extra;
        bool allowed;
    } rows[] = {
        {"right, empty", 1, 0, 1, 5, kNone, true},  {"left, empty", 1, 0, 2, 5, kNone, true},
        {"right, lower", 3, 2, 1, 5, kNone, true},  {"left, higher", 2, 3, 2, 5, kNone, false},
        {"right, equal", 2, 2, 1, 5, kNone, false}, {"right edge", 1, 0, 1, 12, kNone, false},
        {"left edge", 1, 0, 2, 0, kNone, false},    {"not the top", 2, 0, 1, 5, kLowerCrate, false},
        {"in a drop", 2, 0, 1, 5, kDrop, false},    {"in a slide", 2, 0, 1, 5, kSlide, false},
    };
    EachRow(rows, [&](const auto& r) {
        worker.facing = static_cast<Facing>(r.facing);
        const int target = r.column + (r.facing == 1 ? 1 : -1);
        StackMany(r.column, r.own - 1);
        const int crate = AddCrate(r.column) - (r.extra == kLowerCrate);
        if (target >= 0 && target <= 12)
            StackMany(target, r.neighbour);
        const int other = r.extra == kSlide ? AddCrate(9) : -1;
        if (other >= 0)
            PushCrate(other);
        gs.rowDropActive = r.extra == kDrop;
        PushCrate(crate);
        EXPECT_EQ(pushedCrateIndex, r.allowed ? crate : other);
        EXPECT_EQ(gs.crates[crate].column, r.allowed ? target : r.column);
        EXPECT_EQ(gs.columnHeights[r.column], r.own - r.allowed);
        EXPECT_TRUE(!r.allowed || gs.columnHeights[target] == r.neighbour + 1);  // at rest
    });
}

// A slide keeps its crate through a row clear or ends when it bursts, and its crate is counted.
TEST_F(YardTest, SlideKeepsItsCrateThroughRowClearsAndLandings)
{
    for (int c = 0; c < 13; ++c)
        StackMany(c, c != 6);
    StackMany(5, 3);
    worker.facing = Facing::Left;
    gs.crates.back().score = 42;  // a tag on the top of four in column 5, pushed over column 4
    PushCrate(static_cast<int>(gs.crates.size()) - 1);
    AddCrate(6);  // the yard is full now
    UpdateTick();
    const int pushed = pushedCrateIndex;
    ASSERT_TRUE(pushed >= 0 && pushed < static_cast<int>(gs.crates.size()));
    EXPECT_EQ(gs.crates[pushed].score, 42);
    Ticks(9);
    EXPECT_FLOAT_EQ(gs.crates[pushed].x, ColumnX(5) - 10.0f);  // a pixel a tick
    Ticks(10);
    EXPECT_TRUE(pushedCrateIndex == -1 && gs.crates[pushed].x == ColumnX(4));
    NewYard();
    for (int c = 0; c < 13; ++c)
        StackMany(c, c != 6 && c != 7);
    PushCrate(AddCrate(6));  // into empty column 7: at y = 152 it is counted at once
    AddCrate(6);
    UpdateTick();
    EXPECT_TRUE(gs.crates.empty() && pushedCrateIndex == -1);
    NewYard();  // B pushed over column 5 as A lands there: B is still counted, the next lands on it
    StackMany(4, 3);
    StackMany(5, 2);
    AddCrate(5, 113.0f, 1.5f);  // A, just past its landing place
    PushCrate(AddCrate(4));     // B, top of column 4 at y = 92
    Ticks(21);
    EXPECT_TRUE(gs.columnHeights[5] == 4 && gs.columnHeights[4] == 3);
    AddCrate(5, 43.0f);
    Ticks(80);
    EXPECT_TRUE(gs.crates.back().y == 72.0f && gs.columnHeights[5] == 5);
}

// Targets avoid full columns and each other until the yard is crowded; a full yard must not hang.
TEST_F(YardTest, CraneTargetsAvoidFullColumnsAndEachOtherUntilTheYardIsCrowded)
{
    const std::set<int> all = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const struct {
        const char* name;
        std::set<int> open, allowed;
    } rows[] = {
        // open: 4 or less
        {"ten full: unique", {2, 3, 7}, {2}},
        {"eleven full: shared", {3, 7}, {3, 7}},
        {"all full: kept", {}, {5}},
        {"empty yard", all, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
    };
    EachRow(rows, [&](const auto& r) {
        for (int c = 0; c < 13; ++c)
            gs.columnHeights[c] = r.open.count(c) ? 4 : 5;
        gs.cranes[0].active = gs.cranes[1].active = true;  // heading in: they keep their targets
        gs.cranes[0].column = r.open == all ? 0 : 3;
        gs.cranes[1].column = r.open == all ? 12 : 7;
        for (int seed = 1; seed <= 20; ++seed) {
            SeedRandom(seed);
            gs.cranes[2] = GameObject();  // loaded, waiting to set off
            gs.cranes[2].column = 5;
            ChooseCraneTargets();
            EXPECT_TRUE(r.allowed.count(gs.cranes[2].column)) << gs.cranes[2].column;
        }
    });
}

// Walking speeds up by 0.05 a tick to 1.55 after 31 ticks and glides on 0.05 slower a tick when
// let go; the walls stop him, and so does a crate, 6 pixels inside his picture, or he pushes it.
TEST_F(YardTest, WorkerWalksGlidesAndStopsAtWallsAndCrates)
{
    // The key down `held` ticks, then up `let`; `stack` crates in column 5.
    const TickInput kRightKey{false, true, false};
    const TickInput kLeftKey{true, false, false};
    const TickInput kNoKey;
    const struct {
        const char* name;
        float x, speed;
        int facing;
        TickInput keys;
        int held, let, stack;
        float wantX, wantSpeed, crateX;
    } rows[] = {
        {"top speed, going left", 100, 0, 1, kLeftKey, 40, 0, 0, 62.8f, 1.55f, 0},
        {"left wall", 20.5f, 1, 2, kLeftKey, 3, 0, 0, 19.5f, 0, 0},
        {"left ignored at 20", 20, 1, 2, kLeftKey, 3, 0, 0, 20, 0, 0},
        {"right wall", 269.5f, 1, 1, kRightKey, 3, 0, 0, 270.5f, 0, 0},
        {"no left glide at 21", 21, 1, 2, kNoKey, 0, 3, 0, 21, 1, 0},
        {"right glide ends at 271", 270.5f, 1, 1, kNoKey, 0, 3, 0, 271.5f, 0, 0},
        {"stopped by a stack", 100, 1, 1, kRightKey, 20, 0, 2, 114, 0, 128},
        {"stopped facing left", 160, 1, 2, kLeftKey, 20, 0, 2, 142, 0, 128},
        {"pushes a crate", 100, 1, 1, kRightKey, 12, 30, 1, 114, 0.05f, 148},
        {"pushes it left", 160, 1, 2, kLeftKey, 12, 30, 1, 142, 0, 108},
    };
    EachRow(rows, [&](const auto& r) {
        worker.x = r.x;
        worker.speed = r.speed;
        worker.facing = static_cast<Facing>(r.facing);
        StackMany(5, r.stack);
        gs.input = r.keys;
        Ticks(r.held);
        gs.input = kNoKey;
        Ticks(r.let);
        EXPECT_NEAR(worker.x, r.wantX, 1e-4);
        EXPECT_NEAR(worker.speed, r.wantSpeed, 1e-6);
        EXPECT_TRUE(!r.stack || gs.crates[0].x == r.crateX) << gs.crates[0].x;
    });
}

// The labels, then HI-SCORE, SCORE and TIME each ending under its label, moved left by its
// digits; a number too long for its place shows 0, and starts again from 0 at the end of a tick.
TEST_F(YardTest, HudNumbersEndUnderTheirLabelsAndWrap)
{
    testsupport::TextSeen drawn;
    gs.hiScore = 10000;
    worker.score = 9;
    gs.elapsedSeconds = 100;
    DrawHud();
    gs.hiScore = 1000;
    worker.score = 100000;
    gs.elapsedSeconds = 10000;
    DrawHud();
    std::vector<std::string> want;
    const std::pair<int, const char*> numbers[] = {{152, "10000"}, {40, "9"}, {278, "100"},
                                                   {160, "1000"},  {40, "0"}, {292, "0"}};
    const std::string labels = "SCORE:           HI-SCORE:           TIME:";
    for (int i = 0; i < 6; ++i) {
        if (i % 3 == 0)
            want.push_back(testsupport::Said({12, 5, gs.palette[2], labels}));
        want.push_back(
            testsupport::Said({numbers[i].first, 15, gs.palette[10], numbers[i].second}));
    }
    EXPECT_EQ(drawn.Lines(), want);
    EXPECT_EQ(HudScoreX(10) + HudScoreX(99) + HudTimeX(1000), 33 + 33 + 272) << "two digits, four";
    UpdateTick();  // the rules wrap them too, at the end of every tick
    EXPECT_EQ(worker.score, 0);
    EXPECT_EQ(gs.elapsedSeconds, 0);
}

// Counting TIME down pays 10 points a second, with a tick for each step and the chord for the
// step that empties TIME. (How Enter hurries the rest into points is the end of a game's test.)
TEST_F(YardTest, TimeCountsDownIntoPointsEndingOnTheChord)
{
    gs.elapsedSeconds = 45;
    Sounds ticks(26, "sfx5");  // 45, 35, 25, then one by one: 27 steps
    ticks.push_back("sfx3");
    for (int step = 0; step < 30; ++step)
        CountDownTimeStep();  // the last three find nothing left
    EXPECT_EQ(worker.score, 450);
    EXPECT_EQ(sound.Take(), ticks);
}

// NewGame ends the last game's row drop, slide, jump and fall, and keeps HI-SCORE.
TEST_F(YardTest, NewGameStartsCleanAndTheLastTickEndsTheGameOnce)
{
    PushCrate(AddCrate(3));
    gs.pushSteps = 11;
    gs.rowDropActive = true;
    gs.rowDropSteps = 7;
    gs.hiScore = 777;
    worker.jumping = worker.falling = true;
    worker.jumpSpeed = 0.4f;
    worker.fallSpeed = 2.5f;
    NewGame();
    EXPECT_EQ(gs.pushSteps + gs.rowDropSteps + pushedCrateIndex, -1);
    EXPECT_FALSE(gs.pushRightActive || gs.rowDropActive || worker.jumping || worker.falling);
    EXPECT_TRUE(worker.jumpSpeed == 2.0f && worker.fallSpeed == 0.0f && gs.hiScore == 777);
    worker.active = false;  // the catch-up loop leaves once the game has ended: no second end
    gs.tickCounter = 5;
    RunDueTicks([](TickInput&) {
        return true;
    });
    EXPECT_TRUE(deaths == 1 && gs.tickCounter == 4);
}

}  // namespace
}  // namespace yardtest
