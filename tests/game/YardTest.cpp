// The rules through whole ticks: crates, cranes, the worker, HUD, TIME, game flow, random games.
#include <algorithm>
#include <cmath>
#include <random>
#include <set>

#include "tests/game/YardFixture.h"

namespace yardtest {
namespace {

// Crates leave the crane at the spawn speed, gain 0.061 a tick, and stack at LandingY.
TEST_F(YardTest, CratesFallFromTheCraneAndStackAtLandingY)
{
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        SpawnCrate(20 * 3 + 26, 37.0f);  // a crane over column 3
        const GameObject& crate = gs.crates.back();
        Ticks(2);
        EXPECT_FLOAT_EQ(crate.y, 43.0f + 1.0f + 1.061f);
        Ticks(78);
        EXPECT_FLOAT_EQ(crate.y, 152.0f - 20.0f * k);
        EXPECT_EQ(gs.columnHeights[3], k + 1);
    }
}

// A full row pays 500 each tick the yard is full and sinks one row; a falling crate is not in it.
TEST_F(YardTest, FullRowsPayBurstAndSinkOneRowWithoutTheirFallingCrates)
{
    for (int c = 0; c < 13; ++c) StackMany(c, 2);
    AddCrate(0);
    Ticks(11);
    EXPECT_EQ(worker.score, 11 * 500);
    ASSERT_EQ(gs.crates.size(), 1u);
    EXPECT_FLOAT_EQ(gs.crates[0].y, 134.0f);  // sinking, 2 pixels a tick
    Ticks(14);
    EXPECT_FLOAT_EQ(gs.crates[0].y, 152.0f);  // one row lower, and resting there
    for (int c = 0; c < 13; ++c) EXPECT_EQ(gs.columnHeights[c], c == 0) << c;

    NewYard();
    AddCrate(5, 152.0f, 2.0f);  // passing y = 152, ahead of the landed one in the list
    for (int c = 0; c < 13; ++c) AddCrate(c);
    ClearFullBottomRow();
    ASSERT_EQ(gs.crates.size(), 1u);
    EXPECT_TRUE(gs.crates[0].active);
    EXPECT_EQ(gs.columnHeights[5], 0);
}

// Only the top crate goes, only into a lower neighbour, only while the yard is still.
TEST_F(YardTest, PushGoesOnlyIntoALowerNeighbourWhileTheYardIsStill)
{
    enum Extra { kNone, kLowerCrate, kDrop, kSlide };
    const struct {
        const char* name;
        int own, neighbour, facing, column;  // stack heights: the crate's (with it), the target
        Extra extra;
        bool allowed;
    } cases[] = {
        {"right, empty", 1, 0, 1, 5, kNone, true},  {"left, empty", 1, 0, 2, 5, kNone, true},
        {"right, lower", 3, 2, 1, 5, kNone, true},  {"left, higher", 2, 3, 2, 5, kNone, false},
        {"right, equal", 2, 2, 1, 5, kNone, false}, {"right edge", 1, 0, 1, 12, kNone, false},
        {"left edge", 1, 0, 2, 0, kNone, false},    {"not the top", 2, 0, 1, 5, kLowerCrate, false},
        {"in a drop", 2, 0, 1, 5, kDrop, false},    {"in a slide", 2, 0, 1, 5, kSlide, false},
    };
    for (const auto& pc : cases) {
        SCOPED_TRACE(pc.name);
        NewYard();
        worker.facing = static_cast<Facing>(pc.facing);
        const int target = pc.column + (pc.facing == 1 ? 1 : -1);
        StackMany(pc.column, pc.own - 1);
        int crate = AddCrate(pc.column);
        if (pc.extra == kLowerCrate) crate = 0;  // the one under the top
        if (target >= 0 && target <= 12) StackMany(target, pc.neighbour);
        const int other = pc.extra == kSlide ? AddCrate(9) : -1;
        if (other >= 0) PushCrate(other);
        gs.rowDropActive = pc.extra == kDrop;
        PushCrate(crate);
        EXPECT_EQ(pushedCrateIndex, pc.allowed ? crate : other);
        EXPECT_EQ(gs.crates[crate].column, pc.allowed ? target : pc.column);
        EXPECT_EQ(gs.columnHeights[pc.column], pc.own - pc.allowed);
        EXPECT_TRUE(!pc.allowed || gs.columnHeights[target] == pc.neighbour + 1);  // at rest
    }
}

// A slide keeps its crate through a row clear or ends when it bursts, and its crate is counted.
TEST_F(YardTest, SlideKeepsItsCrateThroughRowClearsAndLandings)
{
    for (int c = 0; c < 13; ++c)
        if (c != 6) AddCrate(c);
    StackMany(5, 2);
    worker.facing = Facing::Left;
    gs.crates[AddCrate(5)].score = 42;  // a tag on the third crate of column 5, over column 4
    PushCrate(static_cast<int>(gs.crates.size()) - 1);
    AddCrate(6);  // the yard is full now
    UpdateTick();
    const int pushed = pushedCrateIndex;
    ASSERT_TRUE(pushed >= 0 && pushed < static_cast<int>(gs.crates.size()));
    EXPECT_EQ(gs.crates[pushed].score, 42);
    Ticks(9);
    EXPECT_FLOAT_EQ(gs.crates[pushed].x, ColumnX(5) - 10.0f);  // a pixel a tick
    Ticks(10);
    EXPECT_EQ(pushedCrateIndex, -1);
    EXPECT_FLOAT_EQ(gs.crates[pushed].x, ColumnX(4));

    NewYard();
    for (int c = 0; c < 13; ++c)
        if (c != 6 && c != 7) AddCrate(c);
    PushCrate(AddCrate(6));  // into empty column 7: at y = 152 it is counted at once
    AddCrate(6);
    UpdateTick();
    EXPECT_TRUE(gs.crates.empty());
    EXPECT_EQ(pushedCrateIndex, -1);

    NewYard();  // B pushed over column 5 as A lands there: B is still counted, the next lands on it
    StackMany(4, 3);
    StackMany(5, 2);
    AddCrate(5, 113.0f, 1.5f);  // A, just past its landing place
    PushCrate(AddCrate(4));     // B, top of column 4 at y = 92
    Ticks(21);
    EXPECT_EQ(gs.columnHeights[5], 4);
    EXPECT_EQ(gs.columnHeights[4], 3);
    AddCrate(5, 43.0f);
    Ticks(80);
    EXPECT_FLOAT_EQ(gs.crates.back().y, 72.0f);
    EXPECT_EQ(gs.columnHeights[5], 5);
}

// Cranes enter from both edges lighting their side's alarm, drop, and leave by the nearer edge.
TEST_F(YardTest, CranesEnterLightTheirAlarmDropAndLeaveByTheNearerEdge)
{
    NewGame();
    UpdateTick();
    EXPECT_FLOAT_EQ(gs.cranes[0].x, 399.0f);
    EXPECT_FLOAT_EQ(gs.cranes[2].x, -19.0f);
    EXPECT_EQ(gs.alarms[0].state, 1);
    EXPECT_EQ(gs.alarms[1].state, 0);  // crane 0 was still facing right when the lights looked
    UpdateTick();
    EXPECT_EQ(gs.alarms[1].state, 1);
    Ticks(38);
    EXPECT_EQ(gs.alarms[0].state, 1);
    UpdateTick();
    EXPECT_EQ(gs.alarms[0].state, 0);  // crane 2 has passed x = 20

    GameObject& crane = gs.cranes[2];
    for (int t = 0; t < 1000 && crane.unloaded == 0; ++t) UpdateTick();
    ASSERT_EQ(crane.unloaded, 1);
    EXPECT_FLOAT_EQ(crane.x, 20.0f * crane.column + 26.0f);
    EXPECT_FLOAT_EQ(gs.crates.back().x, ColumnX(crane.column));  // a crate under the crane
    const float dropX = crane.x;
    Ticks(10);
    EXPECT_FLOAT_EQ(crane.x, dropX > 160.0f ? dropX + 10.0f : dropX - 10.0f);  // nearer edge
}

// Targets avoid full columns and each other until the yard is crowded; a full yard must not hang.
TEST_F(YardTest, CraneTargetsAvoidFullColumnsAndEachOtherUntilTheYardIsCrowded)
{
    const std::set<int> all = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const struct {
        const char* name;
        std::set<int> open, allowed;  // open: at most 4 crates
    } cases[] = {
        {"ten full: unique", {2, 3, 7}, {2}}, {"eleven full: shared", {3, 7}, {3, 7}},
        {"all full: kept", {}, {5}},
        {"empty yard", all, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
    };
    gs.cranes[0].active = gs.cranes[1].active = true;  // heading in: they keep their targets
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (int col = 0; col < 13; ++col) gs.columnHeights[col] = c.open.count(col) ? 4 : 5;
        gs.cranes[0].column = c.open == all ? 0 : 3;
        gs.cranes[1].column = c.open == all ? 12 : 7;
        for (int seed = 1; seed <= 20; ++seed) {
            std::srand(seed);
            gs.cranes[2] = GameObject();  // loaded, waiting to set off
            gs.cranes[2].column = 5;
            ChooseCraneTargets();
            EXPECT_TRUE(c.allowed.count(gs.cranes[2].column)) << gs.cranes[2].column;
        }
    }
}

// A jump rises 30 pixels in 29 ticks and falls back (a held Space does not jump again); he
// stands on a crate and falls when he walks off its edge.
TEST_F(YardTest, WorkerJumpsThirtyPixelsAndStandsOnCratesUntilHeWalksOff)
{
    key[KEY_SPACE] = 1;
    for (int t = 1; t <= 70; ++t) {
        UpdateTick();
        const float y = t <= 29 ? 150.0f - t : t <= 59 ? 92.0f + t : 151.0f;
        ASSERT_FLOAT_EQ(worker.y, y) << "tick " << t;
    }

    NewYard();
    AddCrate(5);
    worker.x = static_cast<float>(ColumnX(5));
    worker.y = 131.0f;
    Ticks(50);
    EXPECT_FLOAT_EQ(worker.y, 131.0f);
    key[KEY_RIGHT] = 1;
    for (int t = 0; t < 300 && worker.y == 131.0f; ++t) UpdateTick();
    EXPECT_GT(worker.x, ColumnX(5) + 12.0f);  // past the edge of the crate
    key[KEY_RIGHT] = 0;
    Ticks(40);
    EXPECT_FLOAT_EQ(worker.y, 151.0f);
}

// A crate on his head kills a standing worker; one meeting him rising bursts and ends the jump.
TEST_F(YardTest, FallingCrateKillsAStandingWorkerAndBurstsOnARisingOne)
{
    for (bool jump : {false, true}) {
        SCOPED_TRACE(jump);
        NewYard();
        worker.x = 150.0f;
        AddCrate(6, jump ? 80.0f : 43.0f, jump ? 2.0f : 1.0f);
        key[KEY_SPACE] = jump;
        for (int t = 0; t < 200 && worker.active && !gs.crates.empty(); ++t) UpdateTick();
        EXPECT_EQ(deaths, jump ? 0 : 1);
        EXPECT_EQ(gs.crates.empty(), jump);
        EXPECT_TRUE(jump || gs.crates[0].y > 120.0f) << "it met his head, not the air above";
    }
    EXPECT_TRUE(gs.explosionActive);
    EXPECT_EQ(worker.score, 0);
    const float top = worker.y;
    UpdateTick();
    EXPECT_FLOAT_EQ(worker.y, top + 1.0f);  // falling at once
}

// HUD numbers move left by their digits to end under their labels, and wrap when too long.
TEST_F(YardTest, HudNumbersMoveLeftByTheirDigitsAndWrap)
{
    const int cases[][4] = {  // value, SCORE x, HI-SCORE x, TIME x (0: no room)
        {0, 40, 180, 292},    {9, 40, 180, 292},    {10, 33, 173, 285},   {99, 33, 173, 285},
        {100, 26, 166, 278},  {999, 26, 166, 278},  {1000, 19, 160, 272}, {9999, 19, 160, 272},
        {10000, 12, 152, 0},  {99999, 12, 152, 0},  {-1, 40, 180, 292},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(HudScoreX(c[0]), c[1]);
        EXPECT_EQ(HudHiScoreX(c[0]), c[2]);
        EXPECT_TRUE(c[3] == 0 || HudTimeX(c[0]) == c[3]) << HudTimeX(c[0]);
    }
    worker.score = 100000;
    gs.elapsedSeconds = 10000;
    DrawHud();
    EXPECT_EQ(worker.score, 0);
    EXPECT_EQ(gs.elapsedSeconds, 0);
}

// TIME steps every 101 ticks; counting down takes 10 s a step to 30, then 1, 10 points each.
TEST_F(YardTest, TimeStepsEveryHundredAndOneTicksAndCountsDownIntoPoints)
{
    gs.timeAnimation.Reset();
    Ticks(200);
    EXPECT_EQ(gs.elapsedSeconds, 1);
    Ticks(1);
    EXPECT_EQ(gs.elapsedSeconds, 2);
    gs.elapsedSeconds = 45;
    for (int expected : {35, 25, 24, 23}) {
        CountDownTimeStep();
        EXPECT_EQ(gs.elapsedSeconds, expected);
    }
    for (int step = 0; step < 30; ++step) CountDownTimeStep();  // 23 more, then nothing is left
    EXPECT_EQ(worker.score, 450);
    gs.elapsedSeconds = 77;
    ConvertRemainingTime();  // Enter hurries the rest
    EXPECT_EQ(worker.score, 450 + 770);
}

// NewGame ends the last game's row drop, slide, jump and fall, and keeps HI-SCORE.
TEST_F(YardTest, NewGameStartsCleanAndTheLastTickEndsTheGameOnce)
{
    PushCrate(AddCrate(3));
    gs.pushSteps = 11;
    gs.rowDropActive = true;
    gs.rowDropSteps = 7;
    worker.jumping = worker.falling = true;
    worker.jumpSpeed = 0.4f;
    worker.fallSpeed = 2.5f;
    gs.hiScore = 777;
    NewGame();
    EXPECT_EQ(gs.pushSteps, 0);
    EXPECT_EQ(gs.rowDropSteps, 0);
    EXPECT_EQ(pushedCrateIndex, -1);
    EXPECT_FALSE(gs.pushRightActive || gs.rowDropActive || worker.jumping || worker.falling);
    EXPECT_FLOAT_EQ(worker.jumpSpeed, 2.0f);
    EXPECT_FLOAT_EQ(worker.fallSpeed, 0.0f);
    EXPECT_EQ(gs.hiScore, 777);

    worker.active = false;  // the catch-up loop leaves once the game has ended: no second end
    gs.tickCounter = 5;
    RunDueTicks();
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(gs.tickCounter, 4);
}

// What must hold after every tick of any game: empty when it does, else what broke.
const char* BrokenInvariant()
{
    const GameState& gs = gameState;
    const int count = static_cast<int>(gs.crates.size());
    int landed[COLUMN_COUNT] = {};
    for (int i = 0; i < count; ++i) {
        const GameObject& a = gs.crates[i];
        if (a.column < 0 || a.column > 12 || std::fabs(a.x - ColumnX(a.column)) > 20.0f)
            return "crate off its column";
        if (a.active) continue;
        landed[a.column] += 1;
        for (int j = i + 1; j < count; ++j) {  // by column: a sliding crate may pass over another
            const GameObject& b = gs.crates[j];
            if (!b.active && b.column == a.column && std::fabs(a.y - b.y) < 20.0f)
                return "landed crates overlap";
        }
    }
    if (!std::equal(landed, landed + COLUMN_COUNT, gs.columnHeights))
        return "columnHeights miscounts";
    const GameObject& w = gs.worker;
    if (w.x < 0.0f || w.x > 300.0f || w.y > 151.0f || w.y < -40.0f) return "worker off the yard";
    if (pushedCrateIndex < -1 || pushedCrateIndex >= count) return "pushedCrateIndex out of range";
    if ((pushedCrateIndex >= 0) != (gs.pushLeftActive || gs.pushRightActive))
        return "slide without its crate";
    return "";
}

// Random games at full speed (QM_SOAK_GAMES of them, 1000 by default) keep the yard adding up.
TEST_F(YardTest, RandomGamesKeepTheYardConsistent)
{
    const char* env = std::getenv("QM_SOAK_GAMES");
    const int games = env && std::atoi(env) > 0 ? std::atoi(env) : 1000;
    std::mt19937 random(20240611u);
    for (int game = 0; game < games; ++game) {
        std::srand(random());
        NewGame();
        ReleaseKeys();
        for (int t = 0; t < 30000 && gameRunning; ++t) {  // at most five minutes of play
            if (random() % 25 == 0) key[KEY_LEFT] = random() % 2;  // a few times a second
            if (random() % 25 == 0) key[KEY_RIGHT] = random() % 3 == 0;
            if (random() % 15 == 0) key[KEY_SPACE] = random() % 2;
            UpdateTick();
            ASSERT_STREQ(BrokenInvariant(), "") << "game " << game << " tick " << t;
        }
    }
}

}  // namespace
}  // namespace yardtest
