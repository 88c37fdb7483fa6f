// Where drawing goes (back buffer, front buffer), its colour-write mode, the
// end of a frame, and the screenshot.
#pragma once

#include <string>

#include "ol/Color.h"

namespace ol {

constexpr int BITMAP_TARGET = 0;
constexpr int BACKBUFFER_TARGET = 1;
constexpr int FRONTBUFFER_TARGET = 2;

// Colour-write modes.
constexpr int COLOR_AND_ALPHA = 0;
constexpr int COLOR_ONLY = 1;
constexpr int ALPHA_ONLY = 2;

class Canvas {
public:
    // Selects a screen buffer as the active target.
    static void SetTo(int target);
    // Writes the active target's picture to an image file (type by its
    // extension; relative names against the executable's directory).
    // True when the file was written.
    static bool SaveImage(const std::string& filename);
    // Fills the active target; the write mode limits what is touched.
    static void Clear(const Color& color, int writeMode = COLOR_AND_ALPHA);
    // Presents the finished frame.
    static void Refresh();
    // The active target and its size.
    static int Target();
    static int Width();
    static int Height();
};

}  // namespace ol
