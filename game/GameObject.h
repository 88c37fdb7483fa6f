// One record for everything that stands in the yard: the worker, the cranes,
// the alarm lights, the crates and the explosion marker. Each kind uses the
// members it needs; the rest keep these defaults.
#pragma once

struct GameObject {
    bool active = false;    // crate: falling; crane: heading for its column; worker: alive
    bool falling = false;   // worker: dropping after a jump or off a stack
    bool jumping = false;   // worker: rising in a jump
    float x = 0.0f, y = 0.0f;  // top-left corner, logical pixels
    int facing = 1;         // 1 plain, 2 mirrored, 3 plain, 4 flipped; crane 3 = leaving
    int unloaded = 0;       // crane: 1 once it has dropped its crate
    int height = 0, width = 0;
    int state = 0;          // alarm: 0 green, 1 red; worker: 0 idle, 1 walking, 2 airborne
    float speed = 0.0f;     // worker: walking speed; crate: fall speed
    float fallSpeed = 0.0f;
    float maxSpeed = 3.0f;
    float acceleration = 0.046875f;
    int column = 0;         // crate: its column; crane: the column it heads for
    float deceleration = 0.0625f;
    int jumpBase = 0;       // worker: y where the jump began
    float jumpSpeed = 2.0f;
    int score = 0;          // worker: the player's score
};
