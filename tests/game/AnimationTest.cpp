// The frame counters: how many draws each frame of a cycle is shown.
#include <gtest/gtest.h>

#include <vector>

#include "game/Animation.h"

namespace {

// Draws per frame over one cycle, as DrawSprite steps a counter: show, Advance, Tick.
std::vector<int> DrawsPerFrame(Animation& a, int draws)
{
    std::vector<int> shown(4, 0);
    for (int d = 0; d < draws; ++d) {
        shown.at(a.CurrentFrame()) += 1;
        a.Advance();
        a.Tick(1);
    }
    return shown;
}

TEST(AnimationTest, CyclesShowTheirFramesForTheStatedNumberOfDraws)
{
    struct Case {
        const char* name;
        int frames, period, cycle;  // cycle 0: frames x period
        std::vector<int> perCycle;
    };
    const Case cases[] = {
        {"walking", 2, 10, 0, {11, 10, 0, 0}},
        {"idle", 2, 500, 530, {501, 30, 0, 0}},
        {"crane", 2, 50, 0, {51, 50, 0, 0}},
        {"explosion", 2, 8, 0, {9, 8, 0, 0}},
    };
    for (const Case& c : cases) {
        Animation a;
        a.Set(c.frames, c.period);
        if (c.cycle) a.SetCycleLength(c.cycle);
        int length = (c.cycle ? c.cycle : c.frames * c.period) + 1;
        EXPECT_EQ(DrawsPerFrame(a, length), c.perCycle) << c.name;
        EXPECT_EQ(DrawsPerFrame(a, 3 * length), (std::vector<int>{3 * c.perCycle[0], 3 * c.perCycle[1], 0, 0}))
            << c.name << " repeats";
    }
}

TEST(AnimationTest, SteadyLightNeverLeavesItsOnlyFrame)
{
    Animation green;
    green.SetFrameCount(1);  // period and cycle left as they are
    EXPECT_EQ(DrawsPerFrame(green, 100), (std::vector<int>{100, 0, 0, 0}));
    EXPECT_EQ(green.Elapsed(), 0);
}

}  // namespace
