// Bringing the engine up before the first screen and down when the player quits.
#pragma once

// Screen pixels per logical pixel of the 320 x 200 play screen.
extern float scaleX;
extern float scaleY;

// Returns only when the engine is usable; otherwise ends the process with status 1.
void InitEngine();
// Called by the title screen just before exit(0).
void FreeResources();

// The game screen's eighteen images (engine/GameImages.cpp).
void LoadGameImages();
void FreeGameImages();
