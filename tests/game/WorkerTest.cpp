// The worker's walking, gliding, jumping, standing on crates, and his death.
#include <vector>

#include "tests/game/YardFixture.h"

namespace yardtest {
namespace {

TEST_F(YardTest, JumpRisesTwoThenOnePixelThirtyInTwentyNineTicksAndFallsBack)
{
    worker.x = 150.0f;
    key[KEY_SPACE] = 1;
    std::vector<float> heights;
    for (int t = 0; t < 70; ++t) {
        UpdateTick();
        heights.push_back(worker.y);
    }
    EXPECT_FLOAT_EQ(heights[0], 149.0f);
    for (int t = 1; t < 29; ++t) EXPECT_FLOAT_EQ(heights[t], heights[t - 1] - 1.0f) << t;
    EXPECT_FLOAT_EQ(heights[28], 121.0f);  // after 29 ticks
    for (int t = 29; t < 59; ++t) EXPECT_FLOAT_EQ(heights[t], 121.0f + (t - 28)) << t;
    EXPECT_FLOAT_EQ(heights[58], 151.0f);
    // Space is still held: no second jump.
    for (int t = 59; t < 70; ++t) EXPECT_FLOAT_EQ(heights[t], 151.0f);

    key[KEY_SPACE] = 0;
    UpdateTick();
    key[KEY_SPACE] = 1;
    UpdateTick();
    EXPECT_FLOAT_EQ(worker.y, 149.0f);  // a fresh press jumps again
    EXPECT_EQ(worker.state, 2);
}

TEST_F(YardTest, WalkingAcceleratesGlidesAndStopsAtTheWalls)
{
    worker.x = 100.0f;
    key[KEY_RIGHT] = 1;
    UpdateTick();
    EXPECT_FLOAT_EQ(worker.x, 100.0f);  // the first tick only gains speed
    EXPECT_EQ(worker.state, 1);
    Ticks(30);
    EXPECT_NEAR(worker.speed, 1.55f, 1e-5);
    key[KEY_RIGHT] = 0;
    float before = worker.x;
    UpdateTick();
    EXPECT_GT(worker.x, before);  // glides on
    Ticks(40);
    EXPECT_FLOAT_EQ(worker.speed, 0.5f);  // and keeps the glide speed
    EXPECT_EQ(worker.state, 0);

    key[KEY_RIGHT] = 1;
    Ticks(400);
    EXPECT_GE(worker.x, 270.0f);
    EXPECT_LT(worker.x, 272.0f);
    EXPECT_FLOAT_EQ(worker.speed, 0.0f);
    key[KEY_RIGHT] = 0;
    key[KEY_LEFT] = 1;
    Ticks(600);
    EXPECT_LE(worker.x, 21.0f);
    EXPECT_GT(worker.x, 18.0f);
    EXPECT_EQ(worker.facing, 2);

    key[KEY_RIGHT] = 1;  // both: left then right, facing right
    UpdateTick();
    EXPECT_EQ(worker.facing, 1);
}

TEST_F(YardTest, WorkerIsStoppedByAStackHeCannotPush)
{
    StackMany(6, 2);
    StackMany(7, 3);
    worker.x = ColumnX(6) - 40.0f;
    key[KEY_RIGHT] = 1;
    Ticks(100);
    EXPECT_FLOAT_EQ(worker.speed, 0.0f);
    EXPECT_LT(worker.x, static_cast<float>(ColumnX(6)));
    EXPECT_EQ(pushedCrateIndex, -1);
    EXPECT_EQ(gs.columnHeights[6], 2);
}

TEST_F(YardTest, WorkerStandsOnACrateAndFallsWhenHeWalksOffItsEdge)
{
    Stack(5);
    worker.x = static_cast<float>(ColumnX(5));
    worker.y = 152.0f - 21.0f;
    Ticks(50);
    EXPECT_FLOAT_EQ(worker.y, 131.0f);
    EXPECT_TRUE(worker.active);

    key[KEY_RIGHT] = 1;
    int ticks = 0;
    while (worker.y == 131.0f && ticks < 300) {
        UpdateTick();
        ++ticks;
    }
    key[KEY_RIGHT] = 0;
    ASSERT_LT(ticks, 300);
    EXPECT_GT(worker.x, ColumnX(5) + 12.0f);  // past the edge of the crate
    Ticks(40);
    EXPECT_FLOAT_EQ(worker.y, 151.0f);
}

TEST_F(YardTest, FallingCrateOnTheHeadKillsAStandingWorker)
{
    worker.x = 150.0f;
    Falling(6, 43.0f);  // right over the worker
    int ticks = 0;
    while (worker.active && ticks < 200) {
        UpdateTick();
        ++ticks;
    }
    EXPECT_FALSE(worker.active);
    EXPECT_EQ(deaths, 1);
    EXPECT_FALSE(gameRunning);
    EXPECT_GT(gs.crates[0].y + 20.0f, 140.0f);  // it met his head, not the air above
}

TEST_F(YardTest, CrateMeetingARisingWorkerBurstsAndTheJumpEnds)
{
    worker.x = 150.0f;
    Falling(6, 80.0f, 2.0f);
    key[KEY_SPACE] = 1;
    int ticks = 0;
    while (!gs.crates.empty() && ticks < 100) {
        UpdateTick();
        ++ticks;
    }
    ASSERT_TRUE(gs.crates.empty());
    EXPECT_TRUE(worker.active);
    EXPECT_TRUE(gs.explosionActive);
    EXPECT_EQ(worker.score, 0);
    EXPECT_FALSE(worker.jumping);
    float top = worker.y;
    UpdateTick();
    EXPECT_FLOAT_EQ(worker.y, top + 1.0f);  // falling at once
    Ticks(60);
    EXPECT_FLOAT_EQ(worker.y, 151.0f);
    EXPECT_EQ(deaths, 0);
}

}  // namespace
}  // namespace yardtest
