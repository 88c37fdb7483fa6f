// The worker: walks with the arrow keys, glides when they are let go, jumps
// with Space, stands on crates, pushes them, and dies under a falling one.
#include <allegro.h>

#include "game/Rules.h"

static_assert(KEY_LEFT == 82 && KEY_RIGHT == 83 && KEY_SPACE == 75, "the worker's keys");

namespace {

constexpr float kLeftWall = 20.0f;     // walking stops here...
constexpr float kRightWall = 270.0f;   // ...and here
constexpr float kGlideSpeed = 0.5f;    // a glide slows down to this and keeps it
constexpr float kFloorY = 151.0f;
constexpr int kJumpHeight = 30;
constexpr float kJumpSlowdown = 0.035f;  // rise lost per tick of a jump
constexpr float kFallGain = 0.035f;      // fall speed gained per tick
constexpr float kMaxFallSpeed = 3.0f;
constexpr float kBodyInset = 6.0f;       // the body is narrower than its picture

GameState& gs = gameState;
GameObject& worker = gs.worker;

float Truncated(float v) { return static_cast<float>(static_cast<int>(v)); }

// Walking or gliding steps while the arrow keys say so.
void WalkOrGlide()
{
    bool left = key[KEY_LEFT] != 0;
    bool right = key[KEY_RIGHT] != 0;
    if (left && worker.x > kLeftWall) {
        worker.facing = 2;
        if (CanWorkerMove()) {
            MoveWorker(1);
            worker.state = 1;
        } else {
            worker.state = 0;
        }
    }
    if (right && worker.x < kRightWall) {
        worker.facing = 1;
        if (CanWorkerMove()) {
            MoveWorker(0);
            worker.state = 1;
        } else {
            worker.state = 0;
        }
    }
    if (!left && worker.facing == 2 && CanWorkerMove() && worker.speed > kGlideSpeed &&
        worker.x > kLeftWall + 1.0f) {
        MoveWorker(3);
    } else if (!right && worker.facing == 1 && CanWorkerMove() && worker.speed > kGlideSpeed &&
               worker.x < kRightWall + 1.0f) {
        MoveWorker(2);
    } else if (!CanWorkerMove()) {
        worker.state = 0;
    }
}

// A jump starts on a fresh press of Space, never in mid-fall.
void StartJumpOnFreshPress()
{
    bool space = key[KEY_SPACE] != 0;
    if (space && !worker.falling && !gs.spaceHeld) {
        worker.state = 2;
        worker.jumping = true;
        worker.jumpBase = static_cast<int>(worker.y);
        gs.spaceHeld = true;
    } else if (!space && gs.spaceHeld) {
        gs.spaceHeld = false;
    }
}

// Back on the ground: floor or crate.
void Land()
{
    worker.jumping = false;
    worker.falling = false;
    worker.jumpSpeed = 2.0f;
    worker.fallSpeed = 0.0f;
}

}  // namespace

void ResetIdleAnimation()
{
    if (!worker.jumping) worker.state = 0;
}

void HandleWorkerInput()
{
    WalkOrGlide();
    if ((worker.x > kRightWall && worker.facing == 1) || (worker.x < kLeftWall + 1.0f && worker.facing == 2)) {
        worker.speed = 0.0f;
        worker.state = 0;
    }
    StartJumpOnFreshPress();
    if (worker.jumping || worker.falling) worker.state = 2;
}

// cmd 0 walk right, 1 walk left, 2 glide right, 3 glide left.
void MoveWorker(int cmd)
{
    switch (cmd) {
    case 0: worker.x += worker.speed; break;
    case 1: worker.x -= worker.speed; break;
    case 2: worker.x += worker.speed; break;
    case 3: worker.x -= worker.speed; break;
    default: return;
    }
    if (cmd < 2) {
        if (worker.speed < worker.maxSpeed) worker.speed += worker.acceleration;
    } else if (worker.speed > kGlideSpeed) {
        worker.speed -= worker.deceleration;
    } else {
        worker.speed = kGlideSpeed;
    }
}

// The worker walks into the side of crate i: he stops against it and pushes.
bool SideContact(int i)
{
    const GameObject& crate = gs.crates[i];
    float cx = crate.x, cy = crate.y;
    float w = static_cast<float>(worker.width), h = static_cast<float>(worker.height);
    float s = worker.speed;
    bool level = worker.y < cy + kCrateSize && cy < worker.y + h;
    if (worker.facing == 1) {
        float front = worker.x + s - kBodyInset;
        if (!(cx - w < front && front < cx && level)) return false;
        worker.x = cx - w + kBodyInset;
    } else if (worker.facing == 2) {
        float front = worker.x - s + kBodyInset;
        if (!(front < cx + crate.width && cx < front && level)) return false;
        worker.x = cx + crate.width - kBodyInset;
    } else {
        return false;
    }
    worker.speed = 0.0f;
    PushCrate(i);
    return true;
}

bool CanWorkerMove()
{
    for (int i = 0; i < static_cast<int>(gs.crates.size()); ++i)
        if (SideContact(i)) return false;
    return true;
}

// A crate below the worker carries him; a falling crate that reaches his head
// kills him, unless he is rising in a jump: then the crate bursts and the jump
// ends at once.
bool TopContact(int i)
{
    const GameObject& crate = gs.crates[i];
    float cx = crate.x, cy = crate.y;
    float w = static_cast<float>(worker.width), h = static_cast<float>(worker.height);
    float v = worker.fallSpeed;
    float m = worker.facing == 2 ? 6.0f : 8.0f;
    bool overlap = cx < worker.x + m + w - 14.0f && worker.x + m < cx + kCrateSize;
    if (cy > worker.y + v && cy < worker.y + v + h && overlap) {
        worker.y = cy - h;
        return true;
    }
    if (crate.active && worker.y > cy + crate.speed && worker.y < cy + crate.speed + crate.height &&
        overlap) {
        if (worker.jumping) {
            ExplodeCrate(i);
            worker.jumping = false;
            worker.falling = true;
            worker.fallSpeed = 1.0f;
        } else {
            worker.active = false;
        }
        return true;
    }
    worker.falling = true;
    return false;
}

bool CanWorkerFall()
{
    for (int i = 0; i < static_cast<int>(gs.crates.size()); ++i)
        if (TopContact(i)) return false;
    return true;
}

// Rising, falling and landing: a jump rises 2 pixels, then 1 a tick, 30 in all;
// a fall drops a pixel a tick onto the floor or the crate below.
void UpdateWorkerMotion()
{
    if (worker.jumping && worker.y > static_cast<float>(worker.jumpBase - kJumpHeight)) {
        worker.falling = false;
        worker.y -= Truncated(worker.jumpSpeed);
        if (worker.jumpSpeed > -1.0f) worker.jumpSpeed -= kJumpSlowdown;
    } else if (worker.jumping || worker.falling) {
        worker.jumping = false;
        worker.falling = true;
        worker.fallSpeed = 1.0f;
    }
    if (CanWorkerFall()) {
        worker.y += Truncated(worker.fallSpeed);
        if (worker.fallSpeed < kMaxFallSpeed) worker.fallSpeed += kFallGain;
    }
    if (worker.y > kFloorY - 1.0f || !CanWorkerFall()) Land();
    if (worker.y > kFloorY) worker.y = kFloorY;
}
