// TIME, the HUD's number positions and wrap-arounds, and the countdown that
// turns TIME into points at the end of a game.
#include "tests/game/YardFixture.h"

namespace yardtest {
namespace {

TEST(HudTest, NumbersMoveLeftByTheirDigits)
{
    struct Case {
        int value, score, hiScore, time;
    };
    const Case cases[] = {
        {0, 40, 180, 292},    {9, 40, 180, 292},     {10, 33, 173, 285},   {99, 33, 173, 285},
        {100, 26, 166, 278},  {999, 26, 166, 278},   {1000, 19, 160, 272}, {9999, 19, 160, 272},
        {10000, 12, 152, -1}, {99999, 12, 152, -1},  {-1, 40, 180, 292},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HudScoreX(c.value), c.score) << c.value;
        EXPECT_EQ(HudHiScoreX(c.value), c.hiScore) << c.value;
        if (c.time >= 0) {
            EXPECT_EQ(HudTimeX(c.value), c.time) << c.value;
        }
    }
}

TEST_F(YardTest, HudWrapsNumbersTooLongForTheirPlace)
{
    worker.score = 100000;
    gs.hiScore = 99999;
    gs.elapsedSeconds = 10000;
    DrawHud();
    EXPECT_EQ(worker.score, 0);
    EXPECT_EQ(gs.hiScore, 99999);
    EXPECT_EQ(gs.elapsedSeconds, 0);
    EXPECT_EQ(gs.hudText.text, "0");  // TIME is drawn last
    EXPECT_EQ(gs.hudText.x, 292);
    EXPECT_EQ(gs.hudText.y, 15);
}

TEST_F(YardTest, TimeStepsOnceEveryHundredAndOneTicks)
{
    for (int t = 0; t < 10000; ++t) CountTime();
    EXPECT_EQ(gs.elapsedSeconds, 99);
    for (int t = 10000; t < 10100; ++t) CountTime();
    EXPECT_EQ(gs.elapsedSeconds, 100);

    // The same clock runs in the logic tick.
    NewGame();
    ParkCranes();
    gs.timeAnimation.Reset();
    Ticks(101);
    EXPECT_EQ(gs.elapsedSeconds, 1);
}

TEST_F(YardTest, CountdownTakesTensFromThirtyThenOnesTenPointsASecond)
{
    gs.elapsedSeconds = 45;
    worker.score = 1000;
    int steps = 0;
    int expected[] = {35, 25, 24};
    while (gs.elapsedSeconds > 0 && steps < 100) {
        CountDownTimeStep();
        if (steps < 3) {
            EXPECT_EQ(gs.elapsedSeconds, expected[steps]);
        }
        ++steps;
    }
    EXPECT_EQ(steps, 2 + 25);
    EXPECT_EQ(worker.score, 1000 + 450);
    CountDownTimeStep();  // nothing left to count
    EXPECT_EQ(worker.score, 1450);

    gs.elapsedSeconds = 77;
    ConvertRemainingTime();
    EXPECT_EQ(gs.elapsedSeconds, 0);
    EXPECT_EQ(worker.score, 1450 + 770);
}

}  // namespace
}  // namespace yardtest
