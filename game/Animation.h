// Frame counters for the game's animations. They count draws, not ticks, so
// an animation runs at the frame rate.
#pragma once

#include "ol/Bitmap.h"

struct Animation {
    int frameCount = 0;
    int currentFrame = 0;
    int elapsed = 0;
    int cycleLength = 0;
    int period = 1;

    // Gives the animation its shape: `frames` images of `period` draws each.
    void Set(int frames, int framePeriod);
    void SetFrameCount(int n);
    void SetPeriod(int p);  // also makes the cycle frameCount x p long
    void SetCycleLength(int n);
    // Counts d steps; at the end of the cycle it starts again at frame 0.
    void Tick(int d);
    // Moves to the next frame when a whole period has passed.
    void Advance();
    void Reset();
    int Elapsed() const
    {
        return elapsed;
    }
    int CurrentFrame() const
    {
        return currentFrame;
    }
    void SetElapsed(int n)
    {
        elapsed = n;
    }
};

// An animation with up to three frame images.
struct Sprite : Animation {
    ol::Bitmap frames[3];
};
