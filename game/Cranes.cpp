// The three cranes that bring every crate into the yard, and the two alarm
// lights that warn of a crane coming in from their side.
#include "engine/Random.h"
#include "game/Rules.h"

namespace {

constexpr float kLeftEdge = -30.0f;  // beyond these a crane is off-screen
constexpr float kRightEdge = 330.0f;
constexpr float kScreenMiddle = 160.0f;
constexpr float kCraneStep = 1.0f;   // pixels per tick, heading or leaving
constexpr int kFullColumn = 4;       // cranes never aim at a column holding more
constexpr int kCrowdedColumns = 10;  // beyond this many full columns cranes may share a target

GameState& gs = gameState;

bool AnyColumnOpen()
{
    for (int c = 0; c < COLUMN_COUNT; ++c)
        if (gs.columnHeights[c] <= kFullColumn)
            return true;
    return false;
}

// A random column that is not full and that no other crane aims at.
void ChooseTarget(int i)
{
    // With every column full no draw could succeed; the crane keeps its target.
    if (!AnyColumnOpen())
        return;
    int c;
    do {
        do {
            c = Random() % COLUMN_COUNT;
        } while (gs.columnHeights[c] > kFullColumn);
    } while (!IsTargetAcceptable(c, i));
    gs.cranes[i].column = c;
}

}  // namespace

bool IsOffscreen(const GameObject& crane)
{
    return crane.x < kLeftEdge || crane.x > kRightEdge;
}

// A crane waiting beyond the edge sets off for the target it already has.
void ReleaseOffscreenCranes()
{
    for (GameObject& crane : gs.cranes)
        if (!crane.active && IsOffscreen(crane))
            crane.active = true;
}

// Red on the left while a crane comes in rightwards near the left edge, red on
// the right while one comes in leftwards near the right edge.
void UpdateAlarmLights()
{
    bool left = false, right = false;
    for (const GameObject& crane : gs.cranes) {
        if (crane.x < kLeftAlarmX && crane.facing == Facing::Right)
            left = true;
        if (crane.x > kRightAlarmX && crane.facing == Facing::Left)
            right = true;
    }
    gs.alarms[0].state = left ? kAlarmRed : kAlarmGreen;
    gs.alarms[1].state = right ? kAlarmRed : kAlarmGreen;
}

// Cranes spread out over the yard until it is nearly full.
bool IsTargetAcceptable(int c, int i)
{
    int full = 0;
    for (int column = 0; column < COLUMN_COUNT; ++column) {
        if (gs.columnHeights[column] > kFullColumn)
            full += 1;
        if (full > kCrowdedColumns)
            return true;
    }
    for (int other = 0; other < 3; ++other)
        if (other != i && gs.cranes[other].column == c)
            return false;
    return true;
}

// A loaded crane picks its column; an empty one leaves by the nearer edge and
// is loaded again once it is out of sight.
void ChooseCraneTargets()
{
    for (int i = 0; i < 3; ++i) {
        GameObject& crane = gs.cranes[i];
        if (!crane.active && crane.unloaded == 0) {
            ChooseTarget(i);
            crane.active = true;
        } else if (crane.unloaded != 0) {
            if (IsOffscreen(crane)) {
                crane.unloaded = 0;
                ChooseTarget(i);
                crane.active = true;
            } else if (crane.x > kScreenMiddle) {
                crane.x += kCraneStep;
                crane.facing = Facing::Leaving;
            } else {
                crane.x -= kCraneStep;
                crane.facing = Facing::Leaving;
            }
        }
    }
}

// Heading cranes close in on their drop position and let the crate go there,
// but hold it while the rows are still sinking.
void MoveCranes()
{
    for (GameObject& crane : gs.cranes) {
        if (!crane.active)
            continue;
        const float target = static_cast<float>(CraneX(crane.column));
        if (crane.x > target) {
            crane.x -= kCraneStep;
            crane.facing = Facing::Left;
        } else if (crane.x < target) {
            crane.x += kCraneStep;
            crane.facing = Facing::Right;
        } else if (!gs.rowDropActive) {
            crane.active = false;
            crane.unloaded = 1;
            SpawnCrate(crane.x, crane.y);
        }
    }
}
