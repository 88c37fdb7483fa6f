// Drawing the game screen: every object at its logical place, scaled to the
// real screen, with animations that step once per draw.
#include "game/Scene.h"

#include "engine/Engine.h"
#include "game/Rules.h"
#include "ol/Canvas.h"

namespace {

GameState& gs = gameState;

}  // namespace

void DrawPicture(const ol::Bitmap& picture, float x, float y)
{
    picture.BlitStretched(x * scaleX, y * scaleY, picture.Width() * scaleX,
                          picture.Height() * scaleY, 1.0f);
}

void DrawPicture(const ol::Bitmap& picture, float x, float y, const ol::RenderMode& mode)
{
    picture.BlitStretched(x * scaleX, y * scaleY, picture.Width() * scaleX,
                          picture.Height() * scaleY, mode, 1.0f);
}

void PresentAndClear()
{
    ol::Canvas::Refresh();
    ol::Canvas::Clear(ol::Color(0, 0, 0, 255));
}

void DrawSprite(Sprite* sprite, const GameObject& object)
{
    if (!sprite) {
        DrawPicture(gs.crateImage, object.x, object.y);
        return;
    }
    int frame = sprite->CurrentFrame();
    if (frame >= 0 && frame < 3) {
        const ol::Bitmap& image = sprite->frames[frame];
        switch (object.facing) {
        case Facing::Right:
        case Facing::Leaving:
            DrawPicture(image, object.x, object.y);
            break;
        case Facing::Left:
            DrawPicture(image, object.x, object.y, ol::FlippedMode(ol::FLIP_HORIZONTAL));
            break;
        case Facing::Flipped:
            DrawPicture(image, object.x, object.y, ol::FlippedMode(1));
            break;
        default:
            break;
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
    gs.backgroundImage.BlitStretched(0.0f, 0.0f, kLogicalWidth * scaleX, kLogicalHeight * scaleY,
                                     1.0f);
    for (const GameObject& crate : gs.crates)
        DrawSprite(nullptr, crate);
    DrawSprite(&gs.workerSprites[gs.worker.state], gs.worker);
    for (const GameObject& crane : gs.cranes) {
        if (crane.unloaded == 0)
            DrawPicture(gs.crateImage, crane.x + kCraneToCrateX, crane.y + kCarriedCrateY);
        DrawSprite(&gs.craneSprites[crane.unloaded != 0 ? 1 : 0], crane);
    }
    for (const GameObject& light : gs.alarms)
        DrawSprite(&gs.alarmSprites[light.state != kAlarmGreen ? kAlarmRed : kAlarmGreen], light);
    if (gs.rowDropActive) {
        // The cleared row bursts in every cell while the rows above sink.
        gs.explosionMarker.y = kBottomRowY;
        for (int k = 0; k < COLUMN_COUNT; ++k) {
            gs.explosionMarker.x = static_cast<float>(CraneX(k));
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
