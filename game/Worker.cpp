// The worker: walks with the arrow keys, glides when they are let go, jumps
// with Space, stands on crates, pushes them, and dies under a falling one.
// He reads the keys from the tick's input record, never from the keyboard.
#include "game/Rules.h"

namespace {

constexpr float kGlideSpeed = 0.5f;  // a glide slows down to this and keeps it
constexpr int kJumpHeight = 30;
constexpr float kJumpSlowdown = 0.035f;  // rise lost per tick of a jump
constexpr float kFallGain = 0.035f;      // fall speed gained per tick
constexpr float kMaxFallSpeed = 3.0f;
constexpr float kRestingJumpSpeed = 2.0f;
// The body is narrower than its picture: 6 pixels on the side he walks to,
// and over a crate his feet cover x + 8 (x + 6 facing left) to x + w - 6.
constexpr float kBodyInset = 6.0f;
constexpr float kFeetLeftFacingRight = 8.0f, kFeetLeftFacingLeft = 6.0f;
constexpr float kFeetNarrowing = 14.0f;

GameState& gs = gameState;
GameObject& worker = gs.worker;

float Truncated(float v)
{
    return static_cast<float>(static_cast<int>(v));
}

// Whether the worker, stepping on at his speed, walks into the side of crate i.
bool SideContact(int i)
{
    const GameObject& crate = gs.crates[i];
    const float cx = crate.x, cy = crate.y;
    const float w = static_cast<float>(worker.width), h = static_cast<float>(worker.height);
    const bool level = worker.y < cy + kCrateSize && cy < worker.y + h;
    if (worker.facing == Facing::Right) {
        const float front = worker.x + worker.speed - kBodyInset;
        return cx - w < front && front < cx && level;
    }
    if (worker.facing == Facing::Left) {
        const float front = worker.x - worker.speed + kBodyInset;
        return front < cx + crate.width && cx < front && level;
    }
    return false;
}

// He stops against crate i, and it is pushed if it may go.
void StopAgainstCrate(int i)
{
    const GameObject& crate = gs.crates[i];
    if (worker.facing == Facing::Right)
        worker.x = crate.x - static_cast<float>(worker.width) + kBodyInset;
    else
        worker.x = crate.x + crate.width - kBodyInset;
    worker.speed = 0.0f;
    PushCrate(i);
}

// What a crate does to the worker from above or below.
enum class TopContact { None, CarriesHim, MeetsHisHead };

TopContact TopContactWith(int i)
{
    const GameObject& crate = gs.crates[i];
    const float cx = crate.x, cy = crate.y;
    const float w = static_cast<float>(worker.width), h = static_cast<float>(worker.height);
    const float v = worker.fallSpeed;
    const float feet = worker.facing == Facing::Left ? kFeetLeftFacingLeft : kFeetLeftFacingRight;
    const bool overlap =
        cx < worker.x + feet + w - kFeetNarrowing && worker.x + feet < cx + kCrateSize;
    if (cy > worker.y + v && cy < worker.y + v + h && overlap)
        return TopContact::CarriesHim;
    if (crate.active && worker.y > cy + crate.speed && worker.y < cy + crate.speed + crate.height &&
        overlap)
        return TopContact::MeetsHisHead;
    return TopContact::None;
}

// A falling crate that reaches his head kills him, unless he is rising in a
// jump: then the crate bursts and the jump ends at once.
void MeetCrateWithHead(int i)
{
    if (!worker.jumping) {
        worker.active = false;
        return;
    }
    ExplodeCrate(i);
    worker.jumping = false;
    worker.falling = true;
    worker.fallSpeed = 1.0f;
}

// He turns the way he walks and steps on, unless a crate stops him.
void Walk(Facing facing, WalkCommand command)
{
    worker.facing = facing;
    if (StopAtCrateAhead()) {
        worker.state = kWorkerIdle;
        return;
    }
    MoveWorker(command);
    worker.state = kWorkerWalking;
}

// Walking or gliding steps while the arrow keys say so. Every look ahead is
// made again: a step may have brought him against a crate.
void WalkOrGlide()
{
    const bool left = gs.input.left;
    const bool right = gs.input.right;
    if (left && worker.x > kLeftWall)
        Walk(Facing::Left, WalkCommand::WalkLeft);
    if (right && worker.x < kRightWall)
        Walk(Facing::Right, WalkCommand::WalkRight);
    // Let go, he glides on the way he faces until he is slow.
    if (!left && worker.facing == Facing::Left && !StopAtCrateAhead() &&
        worker.speed > kGlideSpeed && worker.x > kLeftWall + 1.0f) {
        MoveWorker(WalkCommand::GlideLeft);
    } else if (!right && worker.facing == Facing::Right && !StopAtCrateAhead() &&
               worker.speed > kGlideSpeed && worker.x < kRightWall + 1.0f) {
        MoveWorker(WalkCommand::GlideRight);
    } else if (StopAtCrateAhead()) {
        worker.state = kWorkerIdle;
    }
}

// A jump starts on a fresh press of Space, never in mid-fall.
void StartJumpOnFreshPress()
{
    const bool space = gs.input.jump;
    if (space && !worker.falling && !gs.spaceHeld) {
        worker.state = kWorkerAirborne;
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
    worker.jumpSpeed = kRestingJumpSpeed;
    worker.fallSpeed = 0.0f;
}

}  // namespace

void ResetIdleAnimation()
{
    if (!worker.jumping)
        worker.state = kWorkerIdle;
}

void HandleWorkerInput()
{
    WalkOrGlide();
    if ((worker.x > kRightWall && worker.facing == Facing::Right) ||
        (worker.x < kLeftWall + 1.0f && worker.facing == Facing::Left)) {
        worker.speed = 0.0f;
        worker.state = kWorkerIdle;
    }
    StartJumpOnFreshPress();
    if (worker.jumping || worker.falling)
        worker.state = kWorkerAirborne;
}

void MoveWorker(WalkCommand command)
{
    const bool rightwards = command == WalkCommand::WalkRight || command == WalkCommand::GlideRight;
    worker.x += rightwards ? worker.speed : -worker.speed;
    if (command == WalkCommand::WalkRight || command == WalkCommand::WalkLeft) {
        if (worker.speed < worker.maxSpeed)
            worker.speed += worker.acceleration;
    } else if (worker.speed > kGlideSpeed) {
        worker.speed -= worker.deceleration;
    } else {
        worker.speed = kGlideSpeed;
    }
}

// The first crate in list order that he walks into stops him.
bool StopAtCrateAhead()
{
    for (int i = 0; i < static_cast<int>(gs.crates.size()); ++i) {
        if (SideContact(i)) {
            StopAgainstCrate(i);
            return true;
        }
    }
    return false;
}

// The first crate in list order that carries him or meets his head acts on
// him. Every crate passed over before it finds him without a hold, falling.
bool MeetCratesAboveAndBelow()
{
    for (int i = 0; i < static_cast<int>(gs.crates.size()); ++i) {
        switch (TopContactWith(i)) {
        case TopContact::CarriesHim:
            worker.y = gs.crates[i].y - static_cast<float>(worker.height);
            return true;
        case TopContact::MeetsHisHead:
            MeetCrateWithHead(i);
            return true;
        case TopContact::None:
            worker.falling = true;
            break;
        }
    }
    return false;
}

// Rising, falling and landing: a jump rises 2 pixels, then 1 a tick, 30 in all;
// a fall drops a pixel a tick onto the floor or the crate below.
void UpdateWorkerMotion()
{
    if (worker.jumping && worker.y > static_cast<float>(worker.jumpBase - kJumpHeight)) {
        worker.falling = false;
        worker.y -= Truncated(worker.jumpSpeed);
        if (worker.jumpSpeed > -1.0f)
            worker.jumpSpeed -= kJumpSlowdown;
    } else if (worker.jumping || worker.falling) {
        worker.jumping = false;
        worker.falling = true;
        worker.fallSpeed = 1.0f;
    }
    if (!MeetCratesAboveAndBelow()) {
        worker.y += Truncated(worker.fallSpeed);
        if (worker.fallSpeed < kMaxFallSpeed)
            worker.fallSpeed += kFallGain;
    }
    if (worker.y > kFloorY - 1.0f || MeetCratesAboveAndBelow())
        Land();
    if (worker.y > kFloorY)
        worker.y = kFloorY;
}
