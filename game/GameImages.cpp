// The eighteen pictures of the game screen, loaded once after start-up into
// the frames of the sprites and the three single images.
#include "game/GameState.h"

namespace {

struct ImageSlot {
    const char* file;
    ol::Bitmap* image;
};

// In load order. A file named twice is loaded into two bitmaps of its own.
// The third frame of every sprite stays empty.
const ImageSlot kGameImages[] = {
    {"data\\gfx\\sprites\\player_still_1.png", &gameState.workerSprites[0].frames[0]},
    {"data\\gfx\\sprites\\player_still_3.png", &gameState.workerSprites[0].frames[1]},
    {"data\\gfx\\sprites\\player_move.png", &gameState.workerSprites[1].frames[0]},
    {"data\\gfx\\sprites\\player_still_1.png", &gameState.workerSprites[1].frames[1]},
    {"data\\gfx\\sprites\\player_move.png", &gameState.workerSprites[2].frames[0]},
    {"data\\gfx\\sprites\\player_move_push.png", &gameState.workerSprites[3].frames[0]},
    {"data\\gfx\\sprites\\player_still_push.png", &gameState.workerSprites[3].frames[1]},
    {"data\\gfx\\sprites\\crane_move1.png", &gameState.craneSprites[0].frames[0]},
    {"data\\gfx\\sprites\\crane_move2.png", &gameState.craneSprites[0].frames[1]},
    {"data\\gfx\\sprites\\crane_drop.png", &gameState.craneSprites[1].frames[0]},
    {"data\\gfx\\sprites\\crate.png", &gameState.crateImage},
    {"data\\gfx\\sprites\\explosion1.png", &gameState.explosionSprite.frames[0]},
    {"data\\gfx\\sprites\\explosion2.png", &gameState.explosionSprite.frames[1]},
    {"data\\gfx\\backgrounds\\bg_ingame.png", &gameState.backgroundImage},
    {"data\\gfx\\fonts\\font.png", &gameState.fontImage},
    {"data\\gfx\\sprites\\alarm_green.png", &gameState.alarmSprites[0].frames[0]},
    {"data\\gfx\\sprites\\alarm_red_1.png", &gameState.alarmSprites[1].frames[0]},
    {"data\\gfx\\sprites\\alarm_red_2.png", &gameState.alarmSprites[1].frames[1]},
};

// Only the frames the last game showed; the rest go at process exit.
void DestroyShownFrames(Sprite& sprite)
{
    for (int frame = 0; frame < sprite.frameCount && frame < 3; ++frame)
        sprite.frames[frame].Destroy(false);
}

}  // namespace

// LoadGame has already logged "Init game:" and "   Loading GFX..."; the
// game logs nothing per picture.
void LoadGameImages()
{
    // A missing picture leaves its slot empty; the layer's own log says so.
    for (const ImageSlot& entry : kGameImages)
        entry.image->Load(entry.file, 0);
}

void FreeGameImages()
{
    for (int sprite = 0; sprite < 3; ++sprite)
        DestroyShownFrames(gameState.workerSprites[sprite]);
    for (Sprite& crane : gameState.craneSprites)
        DestroyShownFrames(crane);
    gameState.crateImage.Destroy(false);
    gameState.backgroundImage.Destroy(false);
    gameState.fontImage.Destroy(false);
}
