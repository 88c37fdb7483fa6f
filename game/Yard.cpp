// The yard: crates fall into columns, land and stack; a full bottom row bursts
// and the rows above sink; the top crate of a stack slides when pushed.
#include <vector>

#include "engine/Sound.h"
#include "game/Rules.h"

int crateWidth = 0, crateHeight = 0;

namespace {

// Tuning of crate motion.
constexpr float kSpawnSpeed = 1.0f;   // fall speed of a crate leaving its crane
constexpr float kGravity = 0.061f;    // fall speed gained per tick
constexpr float kRowDropStep = 2.0f;  // pixels the rows sink per tick
constexpr int kRowDropTicks = 10;
constexpr int kPushTicks = 20;
constexpr int kRowClearScore = 500;

GameState& gs = gameState;

// A crate column always indexes the yard, whatever position made it.
int ClampColumn(int c)
{
    if (c < 0)
        return 0;
    if (c > kLastColumn)
        return kLastColumn;
    return c;
}

void EndPushSlide()
{
    gs.pushLeftActive = false;
    gs.pushRightActive = false;
    pushedCrateIndex = -1;
    gs.pushSteps = 0;
}

// Removing a crate moves every later crate one place up the list; the slide
// follows its crate there, and ends when its crate is the one removed.
void EraseCrate(int i)
{
    gs.crates.erase(gs.crates.begin() + i);
    if (pushedCrateIndex == i)
        EndPushSlide();
    else if (pushedCrateIndex > i)
        pushedCrateIndex -= 1;
}

}  // namespace

void SpawnCrate(float craneX, float craneY)
{
    GameObject crate;
    crate.x = craneX + kCraneToCrateX;
    crate.y = craneY + kReleasedCrateY;
    crate.width = crateWidth;
    crate.height = crateHeight;
    crate.speed = kSpawnSpeed;
    crate.active = true;
    crate.column = ClampColumn(ColumnUnder(static_cast<int>(crate.x)));
    gs.crates.push_back(crate);
}

// Crates above their landing place fall and speed up; a falling crate that has
// reached it comes to rest there and is counted in its column.
void UpdateCrateFall()
{
    for (GameObject& crate : gs.crates) {
        float landing = static_cast<float>(LandingY(crate.column));
        if (crate.y < landing) {
            crate.active = true;
            crate.y += crate.speed;
            if (crate.speed <= crate.maxSpeed)
                crate.speed += kGravity;
        } else if (crate.active) {
            crate.y = landing;
            crate.active = false;
            crate.speed = 0.0f;
            gs.columnHeights[crate.column] += 1;
            PlaySoundEffect(kLandingSound);
        }
    }
}

bool IsBottomRowFull()
{
    for (int c = 0; c < COLUMN_COUNT; ++c)
        if (gs.columnHeights[c] == 0)
            return false;
    return true;
}

// Every column holds a crate: the bottom row bursts for 500 points and the
// rows above start to sink. This pays again on every tick the yard stays full.
void ClearFullBottomRow()
{
    if (!IsBottomRowFull())
        return;
    gs.worker.score += kRowClearScore;
    PlaySoundEffect(kRowClearedSound);
    for (int i = 0; i < static_cast<int>(gs.crates.size());) {
        const GameObject& crate = gs.crates[i];
        // Only landed crates belong to the row: a falling crate passing y = 152
        // would otherwise take its column's count with it.
        if (crate.y == kBottomRowY && !crate.active && gs.columnHeights[crate.column] > 0) {
            gs.columnHeights[crate.column] -= 1;
            EraseCrate(i);
        } else {
            ++i;
        }
    }
    gs.rowDropActive = true;
}

// Everything sinks 2 pixels a tick for 10 ticks: exactly one row.
void UpdateRowDrop()
{
    if (!gs.rowDropActive)
        return;
    for (GameObject& crate : gs.crates)
        crate.y += kRowDropStep;
    gs.rowDropSteps += 1;
    if (gs.rowDropSteps > kRowDropTicks - 1) {
        gs.rowDropActive = false;
        gs.rowDropSteps = 0;
    }
}

// Only the top crate of a stack may go, only into a lower neighbour, and only
// while the yard is still.
bool CanPushCrate(int i)
{
    if (gs.rowDropActive)
        return false;
    if (pushedCrateIndex >= 0)
        return false;
    const GameObject& crate = gs.crates[i];
    if (crate.y != static_cast<float>(TopCrateY(crate.column)))
        return false;
    if (gs.worker.facing == Facing::Right && LandingY(crate.column + 1) < crate.y)
        return false;
    if (gs.worker.facing == Facing::Left && LandingY(crate.column - 1) < crate.y)
        return false;
    return true;
}

// The worker walks into crate i: it starts sliding one column away from him.
void PushCrate(int i)
{
    if (gs.pushLeftActive || gs.pushRightActive)
        return;
    GameObject& crate = gs.crates[i];
    int step = 0;
    if (gs.worker.facing == Facing::Right && crate.column < kLastColumn && CanPushCrate(i)) {
        gs.pushRightActive = true;
        step = 1;
    } else if (gs.worker.facing == Facing::Left && crate.column > 0 && CanPushCrate(i)) {
        gs.pushLeftActive = true;
        step = -1;
    } else {
        return;
    }
    pushedCrateIndex = i;
    gs.columnHeights[crate.column] -= 1;
    crate.column += step;
    if (crate.y == static_cast<float>(LandingY(crate.column))) {
        // It rests on the neighbour's stack at once.
        gs.columnHeights[crate.column] += 1;
    } else {
        // Over a lower stack it falls while it slides, and is counted when it lands.
        crate.active = true;
    }
}

// The pushed crate moves a pixel a tick for 20 ticks: exactly one column.
void UpdatePushSlide()
{
    if (gs.pushLeftActive == gs.pushRightActive)
        return;
    if (pushedCrateIndex >= 0 && pushedCrateIndex < static_cast<int>(gs.crates.size()))
        gs.crates[pushedCrateIndex].x += gs.pushRightActive ? 1.0f : -1.0f;
    gs.pushSteps += 1;
    if (gs.pushSteps > kPushTicks - 1)
        EndPushSlide();
}

// While nothing slides, every crate stands exactly over its column.
void AlignCrates()
{
    if (gs.pushLeftActive || gs.pushRightActive)
        return;
    for (GameObject& crate : gs.crates)
        crate.x = static_cast<float>(ColumnX(crate.column));
}

// A falling crate meets the head of a jumping worker and bursts; it had not
// landed, so no column loses a count, and it scores nothing.
void ExplodeCrate(int i)
{
    gs.explosionX = static_cast<int>(gs.crates[i].x);
    gs.explosionY = static_cast<int>(gs.crates[i].y);
    gs.explosionActive = true;
    EraseCrate(i);
    PlaySoundEffect(kExplosionSound);
}
