// One record for everything that stands in the yard: the worker, the cranes,
// the alarm lights, the crates and the explosion marker. Each kind uses the
// members it needs; the rest keep these defaults.
#pragma once

// How an object's sprite is drawn: plain, mirrored left-right, plain, or
// flipped upside down; any other value is not drawn. The worker and the
// cranes face the way they move; a crane leaving the screen is Leaving.
enum class Facing : int { Right = 1, Left = 2, Leaving = 3, Flipped = 4 };

// What the worker is doing, which picks his animation; pushing has an
// animation but no state that shows it.
enum WorkerState : int {
    kWorkerIdle = 0,
    kWorkerWalking = 1,
    kWorkerAirborne = 2,
    kWorkerPushing = 3,
};

// The colour of an alarm light, which picks its sprite.
enum AlarmState : int { kAlarmGreen = 0, kAlarmRed = 1 };

struct GameObject {
    bool active = false;       // crate: falling; crane: heading for its column; worker: alive
    bool falling = false;      // worker: dropping after a jump or off a stack
    bool jumping = false;      // worker: rising in a jump
    float x = 0.0f, y = 0.0f;  // top-left corner, logical pixels
    Facing facing = Facing::Right;
    int unloaded = 0;  // crane: 1 once it has dropped its crate
    int height = 0, width = 0;
    int state = 0;       // alarm: AlarmState; worker: WorkerState
    float speed = 0.0f;  // worker: walking speed; crate: fall speed
    float fallSpeed = 0.0f;
    float maxSpeed = 3.0f;
    float acceleration = 0.046875f;
    int column = 0;  // crate: its column; crane: the column it heads for
    float deceleration = 0.0625f;
    int jumpBase = 0;  // worker: y where the jump began
    float jumpSpeed = 2.0f;
    int score = 0;  // worker: the player's score
};
