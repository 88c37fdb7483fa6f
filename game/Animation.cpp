// The frame counter behind every animation of the game screen.
#include "game/Animation.h"

void Animation::Set(int frames, int framePeriod)
{
    SetFrameCount(frames);
    SetPeriod(framePeriod);
}

void Animation::SetFrameCount(int n)
{
    frameCount = n;
}

void Animation::SetPeriod(int p)
{
    period = p;
    cycleLength = frameCount * p;
}

void Animation::SetCycleLength(int n)
{
    cycleLength = n;
}

void Animation::Tick(int d)
{
    if (elapsed < cycleLength) {
        elapsed += d;
    } else {
        elapsed = 0;
        currentFrame = 0;
    }
}

void Animation::Advance()
{
    // A period of 0 would never end a frame; it is never given, but must not divide.
    if (period > 0 && elapsed != 0 && elapsed % period == 0)
        currentFrame += 1;
}

void Animation::Reset()
{
    elapsed = 0;
    currentFrame = 0;
}
