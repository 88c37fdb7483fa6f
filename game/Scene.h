// Drawing on the logical play screen: the game scene, its sprites, and the
// pictures and frame ending that every screen shares.
#pragma once

#include "game/Animation.h"
#include "game/GameObject.h"
#include "ol/Bitmap.h"
#include "ol/RenderModes.h"

// Shows the frame drawn last time and draws the next one of the game screen.
void DrawFrame();
// An object with its sprite's current frame, the way its facing says; with
// no sprite it is a crate.
void DrawSprite(Sprite* sprite, const GameObject& object);
// A picture at its own size, top-left at logical (x, y), scaled to the screen.
void DrawPicture(const ol::Bitmap& picture, float x, float y);
void DrawPicture(const ol::Bitmap& picture, float x, float y, const ol::RenderMode& mode);
// Shows the finished frame and starts the next on black: the end of every
// frame of the screens around the game.
void PresentAndClear();
