// The one record of game state. Every rule of the yard reads and writes it;
// it lives from static construction to process exit.
#pragma once

#include <semaphore.h>

#include <atomic>
#include <vector>

#include "engine/Log.h"
#include "engine/Settings.h"
#include "game/Animation.h"
#include "game/GameObject.h"
#include "game/Text.h"
#include "ol/Bitmap.h"
#include "ol/Color.h"

constexpr int COLUMN_COUNT = 13;

struct GameState {
    // The 100 Hz logic clock, shared with the timer thread.
    sem_t tickSemaphore;
    std::atomic<int> tickCounter{0};

    // Declared first after the clock so that the log is open before anything
    // can write to it, and closed after the settings have been saved.
    Log log{"quillemarch.log"};
    Settings settings;

    Sprite workerSprites[4];  // 0 idle, 1 walking, 2 airborne, 3 pushing
    Sprite craneSprites[2];   // 0 carrying a crate, 1 empty
    Sprite explosionSprite;
    Sprite alarmSprites[2];   // 0 green, 1 red

    int hiScore = 0;
    int titleTicks = 0;
    TextLine hudText{};

    GameObject worker;
    GameObject cranes[3];
    GameObject alarms[2];
    GameObject explosionMarker;
    std::vector<GameObject> crates;  // in order of creation

    ol::Bitmap crateImage;
    ol::Bitmap backgroundImage;
    ol::Bitmap fontImage;

    Animation timeAnimation;
    int columnHeights[COLUMN_COUNT] = {};
    int elapsedSeconds = 0;
    bool rowDropActive = false;
    bool pushLeftActive = false;
    bool pushRightActive = false;
    bool explosionActive = false;
    int explosionX = 0, explosionY = 0;
    ol::Color palette[16];
    bool spaceHeld = false;
    int rowDropSteps = 0, pushSteps = 0, explosionFrames = 0;

    GameState();
};

extern GameState gameState;
extern bool gameRunning;        // the game loop runs while this holds
extern int pushedCrateIndex;    // crate in a push slide, -1 when none

// Program flow (game/Game.cpp).
void LoadGame();
void RunGame();
void NewGame();
void UpdateTick();
void TimerTick();
// The high-score check and name entry that end a game after the countdown;
// the screens around the game stand above it, so main hands it down.
extern void (*enterHighScore)();
// The game screen's eighteen images (game/GameImages.cpp).
void LoadGameImages();
void FreeGameImages();
// Scene (game/Scene.cpp).
void DrawFrame();
