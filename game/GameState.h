// The one record of game state. Every rule of the yard reads and writes it;
// it lives from static construction to process exit.
#pragma once

#include <errno.h>
#include <semaphore.h>

#include <atomic>
#include <functional>
#include <vector>

#include "engine/Log.h"
#include "engine/Settings.h"
#include "game/Animation.h"
#include "game/GameObject.h"
#include "game/Geometry.h"
#include "game/Text.h"
#include "ol/Bitmap.h"
#include "ol/Color.h"

// The keys the rules read, taken once at the start of each tick: from the
// keyboard in play, from the record when a game is replayed.
struct TickInput {
    bool left = false;
    bool right = false;
    bool jump = false;
};

struct GameState {
    // The 100 Hz logic clock, shared with the timer thread.
    sem_t tickSemaphore;
    std::atomic<int> tickCounter{0};

    // Declared first after the clock so that the log is open before anything
    // can write to it, and closed after the settings have been saved.
    Log log{"quillemarch.log"};
    Settings settings;

    // The animations of the game screen, loaded once after start-up.
    Sprite workerSprites[4];  // by WorkerState
    Sprite craneSprites[2];   // 0 carrying a crate, 1 empty
    Sprite explosionSprite;
    Sprite alarmSprites[2];  // by AlarmState

    // What the screens share: the HI-SCORE, the title's phase counter, and
    // the one text record the HUD, the title and the name entry draw with.
    int hiScore = 0;
    int titleTicks = 0;
    TextLine hudText{};

    // Everything that stands in the yard.
    GameObject worker;  // also holds the score
    GameObject cranes[3];
    GameObject alarms[2];
    GameObject explosionMarker;      // only a place to draw the explosion
    std::vector<GameObject> crates;  // in order of creation

    // The single pictures of the game screen.
    ol::Bitmap crateImage;
    ol::Bitmap backgroundImage;
    ol::Bitmap fontImage;

    // TIME: the one-second counter and the seconds it has counted.
    Animation timeAnimation;
    int columnHeights[COLUMN_COUNT] = {};  // landed crates per column
    int elapsedSeconds = 0;

    // The yard's moving parts: the sinking rows, the sliding crate, the
    // single explosion on screen.
    bool rowDropActive = false;
    bool pushLeftActive = false;
    bool pushRightActive = false;
    bool explosionActive = false;
    int explosionX = 0, explosionY = 0;

    ol::Color palette[16];  // the game's sixteen colours

    // This tick's keys, and the jump key at the last tick: a jump needs a fresh press.
    TickInput input;
    bool spaceHeld = false;

    // Step counters of the row drop, the push slide and the explosion display.
    int rowDropSteps = 0, pushSteps = 0, explosionFrames = 0;

    GameState();
};

extern GameState gameState;
extern bool gameRunning;      // the game loop runs while this holds
extern int pushedCrateIndex;  // crate in a push slide, -1 when none

// Program flow (game/Game.cpp).
struct GameStart;
void LoadGame();
// One game played from the keyboard, recorded and kept as "lastgame.qmr".
void RunGame();
// Where the keys of each tick come from: the keyboard, or a replay's record,
// which says false when it has no more.
using InputSource = std::function<bool(TickInput&)>;
// Ticks at the clock's pace and a frame after them, until the game ends,
// Escape is down, the program is asked to end or the input has run out.
void RunGameLoop(const InputSource& nextInput);
// The seed drawn for the next game, and what the last one left behind.
GameStart NextGameStart();
void NewGame();
void NewGame(const GameStart& start);
void UpdateTick();
void TimerTick();
// Sleeps until the clock posts its next tick; at once when one is waiting.
inline void WaitForTick()
{
    while (sem_wait(&gameState.tickSemaphore) != 0 && errno == EINTR) {
    }
}
// Runs the steps that are due, one per tick counted by the clock, unless a
// timer tick arrives during one (then the caller draws or polls first) or the
// step returns false.
template <typename Step>
void RunDueSteps(Step step)
{
    while (gameState.tickCounter > 0) {
        const int before = gameState.tickCounter;
        const bool goOn = step();
        gameState.tickCounter -= 1;
        if (gameState.tickCounter >= before || !goOn)
            break;
    }
}

// The high-score check and name entry that end a game after the countdown;
// the screens around the game stand above it, so main hands it down.
extern void (*enterHighScore)();
// The game screen's eighteen images (game/GameImages.cpp).
void LoadGameImages();
void FreeGameImages();
