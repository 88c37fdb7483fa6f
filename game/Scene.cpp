// Drawing the game screen: every object at its logical place, scaled to the
// real screen, with animations that step once per draw.
#include "engine/Engine.h"
#include "game/Rules.h"
#include "ol/Canvas.h"
#include "ol/RenderModes.h"

namespace {

GameState& gs = gameState;

void Blit(const ol::Bitmap& image, float x, float y)
{
    image.BlitStretched(x * scaleX, y * scaleY, image.Width() * scaleX, image.Height() * scaleY, 1.0f);
}

void Blit(const ol::Bitmap& image, float x, float y, const ol::RenderMode& mode)
{
    image.BlitStretched(x * scaleX, y * scaleY, image.Width() * scaleX, image.Height() * scaleY, mode,
                        1.0f);
}

}  // namespace

// An object drawn with its sprite's current frame, the way its facing says;
// with no sprite it is a crate.
void DrawSprite(Sprite* sprite, const GameObject& object)
{
    if (!sprite) {
        Blit(gs.crateImage, object.x, object.y);
        return;
    }
    int frame = sprite->CurrentFrame();
    if (frame >= 0 && frame < 3) {
        const ol::Bitmap& image = sprite->frames[frame];
        switch (object.facing) {
        case 1:
        case 3: Blit(image, object.x, object.y); break;
        case 2: Blit(image, object.x, object.y, ol::FlippedMode(ol::FLIP_HORIZONTAL)); break;
        case 4: Blit(image, object.x, object.y, ol::FlippedMode(1)); break;
        default: break;
        }
    }
    // A dead worker freezes the whole scene.
    if (gs.worker.active) {
        sprite->Advance();
        sprite->Tick(1);
    }
}

// Shows the frame drawn last time (with whatever was drawn over it since) and
// draws the next one; the background covers the whole screen, so no clear.
void DrawFrame()
{
    ol::Canvas::Refresh();
    gs.backgroundImage.BlitStretched(0.0f, 0.0f, 320.0f * scaleX, 200.0f * scaleY, 1.0f);
    for (const GameObject& crate : gs.crates) DrawSprite(nullptr, crate);
    DrawSprite(&gs.workerSprites[gs.worker.state], gs.worker);
    for (const GameObject& crane : gs.cranes) {
        if (crane.unloaded == 0) Blit(gs.crateImage, crane.x + 2.0f, crane.y + 5.0f);
        DrawSprite(&gs.craneSprites[crane.unloaded != 0 ? 1 : 0], crane);
    }
    for (const GameObject& light : gs.alarms) DrawSprite(&gs.alarmSprites[light.state != 0 ? 1 : 0], light);
    if (gs.rowDropActive) {
        // The cleared row bursts in every cell while the rows above sink.
        gs.explosionMarker.y = kBottomRowY;
        for (int k = 0; k < COLUMN_COUNT; ++k) {
            gs.explosionMarker.x = static_cast<float>(20 * k + 26);
            DrawSprite(&gs.explosionSprite, gs.explosionMarker);
        }
    }
    if (gs.explosionActive) {
        gs.explosionFrames += 1;
        gs.explosionMarker.x = static_cast<float>(gs.explosionX);
        gs.explosionMarker.y = static_cast<float>(gs.explosionY);
        DrawSprite(&gs.explosionSprite, gs.explosionMarker);
        if (gs.explosionFrames > 10) {
            gs.explosionActive = false;
            gs.explosionFrames = 0;
        }
    }
    DrawHud();
}
