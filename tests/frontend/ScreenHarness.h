// The screens under test run on a real 640 x 400 window (scale 2) with the
// game's font, and read their keys from Allegro's keyboard buffer.
#pragma once

#include <initializer_list>
#include <string>

#include "ol/Color.h"

namespace screens {

// Opens the layer once per process; false (with a test failure) without a display.
bool OpenScreen();
// Queues key presses in the keyboard buffer as the keyboard driver would:
// scancode in the high byte, character in the low byte.
void Press(int scancode, int character = 0);
void Type(const std::string& lowerCaseLetters);
void PressRepeatedly(int scancode, int times);
void DrainKeyboard();

// Reads a screen rectangle (pixels from the top-left) as RGB bytes, from the
// frame last presented or from the frame being drawn.
std::string FrontPixels(int x, int y, int width, int height);
std::string BackPixels(int x, int y, int width, int height);

// The text stands in the frame last presented exactly as the font draws it.
void ExpectShownText(int x, int y, const ol::Color& colour, const std::string& text);

}  // namespace screens
