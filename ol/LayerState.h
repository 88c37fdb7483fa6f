// The layer-wide state: one record per process, made on first use and never
// destroyed, so bitmaps of the game state can reach it from their static
// constructors and destructors alike.
#pragma once

#include "ol/OpenGl.h"

#include <vector>

#include "ol/Canvas.h"
#include "ol/Color.h"

namespace ol {

class Bitmap;

// Source and destination factors of GL blending.
struct Blender {
    GLenum source;
    GLenum destination;
};

constexpr Blender ALPHA_BLENDER{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA};

struct ClipRect {
    int x, y, width, height;
};

// Where drawing goes and how.
struct CanvasRecord {
    int width = 0, height = 0;
    std::vector<ClipRect> clipStack;
    int writeMode = COLOR_AND_ALPHA;
    int target = BACKBUFFER_TARGET;
    Bitmap* targetBitmap = nullptr;
};

// The whole picture's placement; the game never moves it.
struct Placement {
    float x = 0.0f, y = 0.0f;
    float rotation = 0.0f;
    float stretchX = 1.0f, stretchY = 1.0f;
    float pivotX = 0.0f, pivotY = 0.0f;
};

struct LayerState {
    bool librariesStarted = false;  // Allegro and AllegroGL are up
    bool exitCleanupRegistered = false;
    bool exitCleanupDone = false;  // after it, nothing may call GL or Allegro
    bool screenSetUp = false;
    int screenWidth = 0, screenHeight = 0;
    bool firstLogLine = true;
    bool logSilenced = false;
    bool antialiasing = true;
    // Set by tests only: textures are padded to powers of two as on a GL
    // without "GL_ARB_texture_non_power_of_two".
    bool powerOfTwoTexturesOnly = false;

    CanvasRecord activeCanvas;
    CanvasRecord savedCanvas[3];
    bool hasSavedCanvas[3] = {false, false, false};

    Blender blender = ALPHA_BLENDER;
    Color colorChannels = Color::WHITE;
    Color screenTint = Color::INVISIBLE;
    Placement screenPlacement;
};

LayerState& Layer();

// GL may be called: the screen is open and the exit clean-up has not run.
inline bool GlReady()
{
    const LayerState& layer = Layer();
    return layer.screenSetUp && !layer.exitCleanupDone;
}

// Blending as the pair says; (GL_ONE, GL_ZERO) is no blending at all.
void ApplyBlender(const Blender& blender);
// Scissor and colour-write mask of the active canvas.
void ApplyCanvas();
void SetColorWriteMode(int writeMode);

}  // namespace ol
