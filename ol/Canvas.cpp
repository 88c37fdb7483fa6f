// The active drawing target, the end of a frame and the screenshot.
#include "ol/Canvas.h"

#include "ol/OpenGl.h"

#include <string>
#include <vector>

#include "ol/GlDriver.h"
#include "ol/LayerLog.h"
#include "ol/LayerState.h"

namespace ol {

namespace {

// The target being left keeps its record for when it is chosen again.
void ReleaseSurface()
{
    LayerState& layer = Layer();
    const int target = layer.activeCanvas.target;
    switch (target) {
    case BACKBUFFER_TARGET:
    case FRONTBUFFER_TARGET:
        layer.savedCanvas[target] = layer.activeCanvas;
        layer.hasSavedCanvas[target] = true;
        break;
    case BITMAP_TARGET:
        // Drawing into bitmaps is never used; without a bitmap there is nothing to let go.
        break;
    default:
        WriteError("Unknown rendering target in ReleaseSurface: " + std::to_string(target));
        break;
    }
}

void SelectBuffer(int target)
{
    switch (target) {
    case BACKBUFFER_TARGET:
        glDrawBuffer(GL_BACK);
        glReadBuffer(GL_BACK);
        break;
    case FRONTBUFFER_TARGET:
        glDrawBuffer(GL_FRONT);
        glReadBuffer(GL_FRONT);
        break;
    default:
        WriteError("Unknown buffer in SelectBuffer: " + std::to_string(target));
        break;
    }
}

// The picture of a screen buffer, rows tightly packed whatever the width.
std::vector<unsigned char> ReadScreenPixels(int width, int height)
{
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 3);
    GLint oldAlignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &oldAlignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, oldAlignment);
    return pixels;
}

}  // namespace

void Canvas::SetTo(int target)
{
    if (target == BITMAP_TARGET) {
        WriteError("Can't select BITMAP_TARGET as the active rendering target without using "
                   "the overloaded version of Canvas::SetTo");
        return;
    }
    if (!GlReady())
        return;
    LayerState& layer = Layer();
    ReleaseSurface();
    SelectBuffer(target);
    if (target == BACKBUFFER_TARGET || target == FRONTBUFFER_TARGET) {
        if (layer.hasSavedCanvas[target]) {
            layer.activeCanvas = layer.savedCanvas[target];
        } else {
            CanvasRecord fresh;
            fresh.width = layer.screenWidth;
            fresh.height = layer.screenHeight;
            fresh.target = target;
            layer.activeCanvas = fresh;
        }
    }
    ApplyCanvas();
}

bool Canvas::SaveImage(const std::string& filename)
{
    if (!GlReady())
        return false;
    LayerState& layer = Layer();
    const CanvasRecord& canvas = layer.activeCanvas;
    if (canvas.target == BITMAP_TARGET) {
        WriteError("The saved Canvas with Bitmap information is incorrect - No Bitmap found");
        SetTo(BACKBUFFER_TARGET);
        return false;
    }
    if (canvas.target != BACKBUFFER_TARGET && canvas.target != FRONTBUFFER_TARGET) {
        WriteError("Unknown render target: " + std::to_string(canvas.target));
        return false;
    }
    if (canvas.width <= 0 || canvas.height <= 0)
        return false;
    GlDriver& driver = Driver();
    BITMAP* picture;
    {
        std::vector<unsigned char> pixels = ReadScreenPixels(canvas.width, canvas.height);
        picture = driver.GetMemoryBitmap(canvas.width, canvas.height, 3, pixels.data());
    }
    if (!picture)
        return false;
    const bool saved = driver.SaveMemoryBitmap(picture, driver.ToAbsolutePathname(filename));
    driver.DestroyMemoryBitmap(picture);
    return saved;
}

void Canvas::Clear(const Color& color, int writeMode)
{
    if (!GlReady())
        return;
    CanvasRecord& canvas = Layer().activeCanvas;
    const int remembered = canvas.writeMode;
    SetColorWriteMode(writeMode);
    glClearColor(color.red, color.green, color.blue, color.alpha);
    glClear(GL_COLOR_BUFFER_BIT);
    SetColorWriteMode(remembered);
}

void Canvas::Refresh()
{
    if (!GlReady())
        return;
    LayerState& layer = Layer();
    if (layer.screenTint.alpha > 0.0f) {
        const Color tint = layer.screenTint * layer.colorChannels;
        const float w = static_cast<float>(Driver().ScreenWidth());
        const float h = static_cast<float>(Driver().ScreenHeight());
        glColor4f(tint.red, tint.green, tint.blue, tint.alpha);
        glDisable(GL_TEXTURE_2D);
        glBegin(GL_QUADS);
        glVertex2f(0, h);
        glVertex2f(w, h);
        glVertex2f(w, 0);
        glVertex2f(0, 0);
        glEnd();
        glEnable(GL_TEXTURE_2D);
    }
    switch (layer.activeCanvas.target) {
    case BACKBUFFER_TARGET:
        Driver().FlipBuffers();
        break;
    case FRONTBUFFER_TARGET:
        glFlush();
        glFinish();
        break;
    case BITMAP_TARGET:
        break;
    default:
        WriteError("Unknown rendering target in Canvas::Refresh: " +
                   std::to_string(layer.activeCanvas.target));
        return;
    }
    ApplyBlender(layer.blender);
}

int Canvas::Target()
{
    return Layer().activeCanvas.target;
}

int Canvas::Width()
{
    return Layer().activeCanvas.width;
}

int Canvas::Height()
{
    return Layer().activeCanvas.height;
}

}  // namespace ol
