// The steps of a logic tick and the rules behind them, one group per part of
// the yard. UpdateTick calls the steps in its fixed order; tests call them too.
#pragma once

#include "game/GameState.h"

// Yard geometry, in logical pixels.
constexpr int kCrateSize = 20;      // crates stack in rows and columns of this size
constexpr float kBottomRowY = 152.0f;
constexpr int kLastColumn = COLUMN_COUNT - 1;

// Yard and crates (game/Yard.cpp).
inline int ColumnX(int c) { return 20 * c + 28; }
// y at which the next crate of column c comes to rest.
inline int LandingY(int c) { return 152 - 20 * gameState.columnHeights[c]; }
extern int crateWidth, crateHeight;  // the crate picture's size, taken when it is loaded
void SpawnCrate(float craneX, float craneY);
void UpdateCrateFall();
bool IsBottomRowFull();
void ClearFullBottomRow();
void UpdateRowDrop();
bool CanPushCrate(int i);
void PushCrate(int i);
void UpdatePushSlide();
void AlignCrates();
void ExplodeCrate(int i);

// Cranes and alarm lights (game/Cranes.cpp).
bool IsOffscreen(const GameObject& crane);
void ReleaseOffscreenCranes();
void UpdateAlarmLights();
bool IsTargetAcceptable(int c, int i);
void ChooseCraneTargets();
void MoveCranes();

// Worker (game/Worker.cpp).
void ResetIdleAnimation();
void HandleWorkerInput();
void MoveWorker(int cmd);
bool SideContact(int i);
bool CanWorkerMove();
bool TopContact(int i);
bool CanWorkerFall();
void UpdateWorkerMotion();

// Score, HUD and end of game (game/Score.cpp).
void CountTime();
void CountDownTimeStep();      // one step of turning TIME into points
void ConvertRemainingTime();   // the rest at once, when Enter hurries it
int HudScoreX(int value);
int HudHiScoreX(int value);
int HudTimeX(int value);
void DrawHud();
void EndOfGame();
// The sequence run by a tick in which the worker died; the real game runs
// EndOfGame, a test may put a recorder in its place.
extern void (*runEndOfGame)();

// Scene (game/Scene.cpp): with no sprite the object is drawn as a crate.
void DrawSprite(Sprite* sprite, const GameObject& object);

// Program flow (game/Game.cpp).
void SaveScreenshotWhileHeld();
void EndGameIfWorkerDead();
void RunDueTicks();
