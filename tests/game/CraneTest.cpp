// Cranes entering from the edges, choosing their columns, dropping and
// leaving, and the alarm lights that watch the edges.
#include <set>

#include "tests/game/YardFixture.h"

namespace yardtest {
namespace {

// A real start of a game, cranes and all.
class CraneTest : public YardTest {
protected:
    void SetUp() override
    {
        YardTest::SetUp();
        NewGame();
    }
};

TEST_F(CraneTest, CranesEnterFromTheEdgesAndLightTheAlarmOfTheirSide)
{
    EXPECT_FLOAT_EQ(gs.cranes[0].x, 400.0f);
    EXPECT_FLOAT_EQ(gs.cranes[1].x, 340.0f);
    EXPECT_FLOAT_EQ(gs.cranes[2].x, -20.0f);
    UpdateTick();
    for (const GameObject& crane : gs.cranes) EXPECT_TRUE(crane.active);
    EXPECT_FLOAT_EQ(gs.cranes[0].x, 399.0f);
    EXPECT_EQ(gs.cranes[0].facing, 2);
    EXPECT_FLOAT_EQ(gs.cranes[2].x, -19.0f);
    EXPECT_EQ(gs.cranes[2].facing, 1);
    EXPECT_EQ(gs.alarms[0].state, 1);
    EXPECT_EQ(gs.alarms[1].state, 0);  // crane 0 was still facing right when the lights looked
    UpdateTick();
    EXPECT_EQ(gs.alarms[1].state, 1);
    for (int t = 3; t <= 40; ++t) {
        UpdateTick();
        EXPECT_EQ(gs.alarms[0].state, 1) << "tick " << t;
    }
    UpdateTick();
    EXPECT_EQ(gs.alarms[0].state, 0);  // crane 2 has passed x = 20
}

TEST_F(CraneTest, CraneDropsOverItsColumnLeavesByTheNearerEdgeAndComesBackLoaded)
{
    GameObject& crane = gs.cranes[2];
    int ticks = 0;
    while (crane.unloaded == 0 && ticks < 1000) {
        UpdateTick();
        ++ticks;
    }
    ASSERT_EQ(crane.unloaded, 1);
    int column = crane.column;
    EXPECT_FLOAT_EQ(crane.x, 20.0f * column + 26.0f);
    bool found = false;
    for (const GameObject& crate : gs.crates)
        if (crate.column == column && crate.y == 43.0f && crate.x == ColumnX(column)) found = true;
    EXPECT_TRUE(found) << "a crate appears under the crane";

    float dropX = crane.x;
    UpdateTick();
    EXPECT_EQ(crane.facing, 3);
    EXPECT_FLOAT_EQ(crane.x, dropX > 160.0f ? dropX + 1.0f : dropX - 1.0f);
    while (crane.unloaded == 1 && ticks < 3000) {
        UpdateTick();
        ++ticks;
    }
    EXPECT_EQ(crane.unloaded, 0);
    EXPECT_TRUE(crane.active);
    EXPECT_TRUE(crane.x <= -30.0f || crane.x >= 330.0f) << crane.x;  // just back in from beyond the edge

    // From exactly the middle a crane leaves to the left.
    crane.x = 160.0f;
    crane.active = false;
    crane.unloaded = 1;
    ChooseCraneTargets();
    EXPECT_FLOAT_EQ(crane.x, 159.0f);
}

TEST_F(CraneTest, TargetsAvoidFullColumnsAndEachOtherUntilTheYardIsCrowded)
{
    struct Case {
        const char* name;
        std::set<int> open;  // columns with at most 4 crates
        int others[2];       // the other cranes' targets
        std::set<int> allowed;
    };
    const Case cases[] = {
        {"ten full: unique", {2, 3, 7}, {3, 7}, {2}},
        {"eleven full: shared", {3, 7}, {3, 7}, {3, 7}},
        {"empty yard", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {0, 12}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
    };
    for (const Case& c : cases) {
        for (int seed = 1; seed <= 50; ++seed) {
            std::srand(seed);
            for (int col = 0; col < 13; ++col) gs.columnHeights[col] = c.open.count(col) ? 4 : 5;
            gs.cranes[0].column = c.others[0];
            gs.cranes[1].column = c.others[1];
            GameObject& crane = gs.cranes[2];
            crane.active = false;
            crane.unloaded = 0;
            gs.cranes[0].active = gs.cranes[1].active = true;
            gs.cranes[0].unloaded = gs.cranes[1].unloaded = 0;
            ChooseCraneTargets();
            EXPECT_TRUE(c.allowed.count(crane.column)) << c.name << " chose " << crane.column;
            EXPECT_TRUE(crane.active);
        }
    }
}

TEST_F(CraneTest, AYardFullEverywhereDoesNotHangTheTargetChoice)
{
    for (int col = 0; col < 13; ++col) gs.columnHeights[col] = 6;
    gs.cranes[2].active = false;
    gs.cranes[2].column = 5;
    ChooseCraneTargets();
    EXPECT_EQ(gs.cranes[2].column, 5);
}

TEST_F(CraneTest, CraneHoldsItsCrateWhileTheRowsSinkAndDropsWhenTheyStop)
{
    GameObject& crane = gs.cranes[2];
    crane.column = 3;
    crane.x = 85.0f;  // one pixel short of its drop position
    crane.active = true;
    gs.rowDropActive = true;
    gs.rowDropSteps = 5;
    UpdateTick();  // arrives
    for (int t = 0; t < 3; ++t) {
        UpdateTick();
        EXPECT_EQ(crane.unloaded, 0) << t;
    }
    UpdateTick();  // the drop ends in this tick, and the crane lets go
    EXPECT_FALSE(gs.rowDropActive);
    EXPECT_EQ(crane.unloaded, 1);
}

}  // namespace
}  // namespace yardtest
