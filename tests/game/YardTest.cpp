// The rules through whole ticks: rows, slides, HUD, TIME and the game flow. The golden replays
// hold the worker's walk, the walls, his jump, which crates he may push and where cranes aim.
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

// The catch-up loop leaves once the game has ended: he dies once, and his end plays once.
TEST_F(YardTest, TheLastTickEndsTheGameOnce)
{
    worker.active = false;
    gs.tickCounter = 5;
    RunDueTicks([](TickInput&) {
        return true;
    });
    EXPECT_TRUE(deaths == 1 && gs.tickCounter == 4);
}

}  // namespace
}  // namespace yardtest
