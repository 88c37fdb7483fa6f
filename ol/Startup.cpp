// Starting the libraries, opening the screen with the GL state every draw
// relies on, running the loads queued before it, and the clean-up at exit.
#include "ol/Startup.h"

#include "ol/OpenGl.h"

#include <cstdlib>
#include <string>

#include "ol/GarbageCollector.h"
#include "ol/GlDriver.h"
#include "ol/LayerLog.h"
#include "ol/LayerState.h"

namespace ol {

namespace {

// Runs once at process exit, while the GL context is still current.
void ExitCleanup()
{
    LayerState& layer = Layer();
    if (layer.exitCleanupDone)
        return;
    WriteLog("Collecting garbage");
    GarbageCollector::DestroyAll();
    WriteLog("Destroying the framebuffer");
    // Render-to-bitmap is never used: its emulation is chosen only to be let go.
    WriteLog("Used framebuffer: Framebuffer emulation");
    layer.exitCleanupDone = true;
    WriteLog("OrthoLayer shutdown finished");
}

// One-unit-per-pixel projection with the origin top-left and y downwards.
void SetUpProjection(int width, int height)
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1000);
    glScalef(1, -1, 1);
    glTranslatef(0, static_cast<GLfloat>(-height), 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
}

// The whole picture's placement, below all drawing; the game never moves it.
void ApplyScreenPlacement(int width, int height)
{
    Placement& placement = Layer().screenPlacement;
    placement.pivotX = static_cast<float>(width / 2);
    placement.pivotY = static_cast<float>(height / 2);
    glPushMatrix();
    glTranslatef(placement.x, placement.y, 0);
    if (placement.rotation != 0.0f || placement.stretchX != 1.0f || placement.stretchY != 1.0f) {
        glTranslatef(placement.pivotX, placement.pivotY, 0);
        glRotatef(placement.rotation * 57.2957795f, 0, 0, 1);
        glScalef(placement.stretchX, placement.stretchY, 1);
        glTranslatef(-placement.pivotX, -placement.pivotY, 0);
    }
}

// Bitmaps loaded before the screen was open load now, pass after pass.
void RunAutoLoader()
{
    std::vector<GarbageCollected*> pending = GarbageCollector::Snapshot();
    WriteLog("\nAuto Loader: Executing " + std::to_string(pending.size()) +
             " pending loading commands");
    while (!pending.empty()) {
        std::vector<GarbageCollected*> stillPending;
        for (GarbageCollected* resource : pending) {
            switch (resource->ExecuteQueuedLoad()) {
            case OL_LOAD_DONE:
                break;
            case OL_LOAD_NOT_YET:
                stillPending.push_back(resource);
                break;
            case OL_LOAD_FAILED:
                WriteError("Auto Loader: Couldn't load a resource!");
                break;
            default:
                WriteError("Auto Loader: Unknown OlLoadResult enumeration!");
                break;
            }
        }
        if (stillPending.size() == pending.size()) {
            WriteError("Auto Loader: Circular dependancy detected! Bailing out!");
            return;
        }
        pending.swap(stillPending);
    }
    WriteLog("Auto Loader: Completed\n");
}

}  // namespace

bool Startup::StartProgram(bool keyboard, bool mouse, bool timer)
{
    LayerState& layer = Layer();
    // A failed start shows later: the screen will not open.
    Driver().InitLibraries(keyboard, mouse, timer);
    if (!layer.exitCleanupRegistered) {
        layer.exitCleanupRegistered = true;
        std::atexit(ExitCleanup);
    }
    if (layer.librariesStarted)
        Driver().RegisterPngType();
    WriteLog("OrthoLayer started up succesfully");
    return true;
}

bool Startup::OpenScreen(int width, int height, bool fullscreen, int colorDepth, int zDepth,
                         int refreshRate)
{
    if (!Driver().OpenScreen(width, height, fullscreen, colorDepth, zDepth, refreshRate))
        return false;
    LayerState& layer = Layer();
    layer.screenSetUp = true;
    layer.screenWidth = width;
    layer.screenHeight = height;

    const int screenW = Driver().ScreenWidth();
    const int screenH = Driver().ScreenHeight();
    SetUpProjection(screenW, screenH);
    layer.blender = ALPHA_BLENDER;
    ApplyBlender(layer.blender);
    ApplyScreenPlacement(screenW, screenH);
    layer.colorChannels = Color::WHITE;
    Quality::SetAntialiasing(true);

    layer.activeCanvas.width = width;
    layer.activeCanvas.height = height;
    for (CanvasRecord& saved : layer.savedCanvas) {
        saved.width = width;
        saved.height = height;
    }
    Canvas::SetTo(BACKBUFFER_TARGET);
    // Both buffers start with full alpha, their colour untouched.
    Canvas::Clear(Color::BLACK, ALPHA_ONLY);
    Canvas::Refresh();
    Canvas::Clear(Color::BLACK, ALPHA_ONLY);

    RunAutoLoader();
    WriteLog("Screen set up succesfully\n");
    return true;
}

void Quality::SetAntialiasing(bool on)
{
    Layer().antialiasing = on;
    if (!GlReady())
        return;
    if (on) {
        glEnable(GL_LINE_SMOOTH);
    } else {
        glDisable(GL_LINE_SMOOTH);
        glDisable(GL_POINT_SMOOTH);
    }
}

bool Quality::Antialiasing()
{
    return Layer().antialiasing;
}

}  // namespace ol
