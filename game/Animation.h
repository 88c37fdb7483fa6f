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
    // One draw has passed: move on, and start the cycle again at its end.
    void Advance();
};

// An animation with up to three frame images.
struct Sprite : Animation {
    ol::Bitmap frames[3];
};
