#include "ol/LayerState.h"

namespace ol {

LayerState& Layer()
{
    // Never destroyed: static destructors of the game's bitmaps still read it.
    static LayerState* state = new LayerState;
    return *state;
}

void ApplyBlender(const Blender& blender)
{
    if (blender.source == GL_ONE && blender.destination == GL_ZERO) {
        glDisable(GL_BLEND);
        return;
    }
    glBlendFunc(blender.source, blender.destination);
    glEnable(GL_BLEND);
}

void SetColorWriteMode(int writeMode)
{
    switch (writeMode) {
    case COLOR_AND_ALPHA:
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        break;
    case COLOR_ONLY:
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
        break;
    case ALPHA_ONLY:
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
        break;
    default:
        return;
    }
    Layer().activeCanvas.writeMode = writeMode;
}

void ApplyCanvas()
{
    const CanvasRecord& canvas = Layer().activeCanvas;
    if (canvas.clipStack.empty()) {
        glDisable(GL_SCISSOR_TEST);
    } else {
        const ClipRect& clip = canvas.clipStack.back();
        glScissor(clip.x, canvas.height - (clip.y + clip.height), clip.width, clip.height);
        glEnable(GL_SCISSOR_TEST);
    }
    SetColorWriteMode(canvas.writeMode);
}

}  // namespace ol
