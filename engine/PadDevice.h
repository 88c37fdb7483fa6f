// What the kernel tells about the gamepad Allegro reads: which of its axes
// and buttons are the d-pad, the left stick and the face buttons the game
// uses, and whether the pad is still plugged in.
#pragma once

#include <string>
#include <vector>

// The kernel's index of the axis or button that plays each part; -1 where
// the pad has none. Without the kernel's maps, the first two axes are the
// d-pad and button 0 is the south button; Start and Back are not known.
struct PadLayout {
    bool mapped = false;
    int dpadX = 0, dpadY = 1;
    int stickX = -1, stickY = -1;
    int dpadLeft = -1, dpadRight = -1, dpadUp = -1, dpadDown = -1;  // d-pads made of buttons
    int south = 0, start = -1, back = -1;
};

// Opens the first of `paths` that opens, read-only and without blocking,
// as Allegro's driver does; false when none does.
bool OpenPadDevice(const std::vector<std::string>& paths);
// The parts, from the kernel's maps where they can be read.
PadLayout ReadPadLayout();
// False once the pad is unplugged or failing: its device no longer answers.
bool PadDeviceAnswers();
void ClosePadDevice();
