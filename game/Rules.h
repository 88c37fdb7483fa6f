// The steps of a logic tick and the rules behind them, one group per part of
// the yard. UpdateTick calls the steps in its fixed order; tests call them too.
#pragma once

#include "game/GameState.h"
#include "game/Record.h"
#include "game/Scene.h"

// Yard and crates (game/Yard.cpp).
// y at which the next crate of column c comes to rest.
inline int LandingY(int c)
{
    return static_cast<int>(kBottomRowY) - kCrateSize * gameState.columnHeights[c];
}
// y of the top crate of column c's stack.
inline int TopCrateY(int c)
{
    return LandingY(c) + kCrateSize;
}
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
enum class WalkCommand { WalkRight, WalkLeft, GlideRight, GlideLeft };
// One step sideways: walking speeds up to the top speed, gliding slows down.
void MoveWorker(WalkCommand command);
// A crate on the side he faces and walks into stops him and is pushed if it
// may go; true when he was stopped.
bool StopAtCrateAhead();
// A crate below carries him; a falling one at his head kills him or bursts
// in his jump. True when a crate held or met him, false when he may fall.
bool MeetCratesAboveAndBelow();
void UpdateWorkerMotion();

// Score, HUD and end of game (game/Score.cpp).
void CountTime();
// The last step of every tick, and the end of the TIME conversion.
void WrapCounters();
void CountDownTimeStep();     // one step of turning TIME into points
void ConvertRemainingTime();  // the rest at once, when Enter hurries it
int HudScoreX(int value);
int HudHiScoreX(int value);
int HudTimeX(int value);
void DrawHud();
// The waving "GAME OVER!" while TIME counts down into points, one pass per
// tick of the clock, until `over` says so; false when a quit request cut it
// short.
bool WaveGameOver(bool (*over)());
// What every game under a crate ends with, however its end is shown: the
// rest of TIME in points, the counters wrapped, the record closed.
void EndGameUnderCrate();
void EndOfGame();
// The sequence run by a tick in which the worker died; the real game runs
// EndOfGame, a test may put a recorder in its place.
extern void (*runEndOfGame)();

// Program flow (game/Game.cpp).
void SaveScreenshotWhileHeld();
void EndGameIfWorkerDead();
void RunDueTicks(const InputSource& nextInput);
