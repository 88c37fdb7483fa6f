// The game's program flow: loading, the 100 Hz logic clock, the loop that runs
// one game, the reset that starts it, and the logic tick.
#include <allegro.h>
#include <errno.h>

#include <cstdlib>

#include "engine/Engine.h"
#include "engine/Sound.h"
#include "game/Rules.h"
#include "ol/Canvas.h"

static_assert(KEY_ESC == 59 && KEY_PRTSCR == 92, "the game loop's keys");

namespace {

constexpr long kTickPeriod = 11931;  // Allegro timer units: 10 ms, 100 ticks a second
constexpr int kDeathSound = 2;

GameState& gs = gameState;

// The worker and the score as a new game finds them; the jump and fall of the
// last game end here too, so a game never starts in mid-air.
void ResetWorker()
{
    GameObject& worker = gs.worker;
    worker.score = 0;
    worker.active = true;
    worker.x = 150.0f;
    worker.y = 151.0f;
    worker.speed = 0.0f;
    worker.maxSpeed = 1.5f;
    worker.acceleration = 0.05f;
    worker.deceleration = 0.05f;
    worker.jumping = false;
    worker.falling = false;
    worker.jumpSpeed = 2.0f;
    worker.fallSpeed = 0.0f;
}

void ShapeAnimations()
{
    gs.workerSprites[0].Set(2, 500);
    gs.workerSprites[0].SetCycleLength(530);
    gs.workerSprites[1].Set(2, 10);
    gs.workerSprites[2].Set(1, 250);
    gs.workerSprites[3].Set(1, 30);
    gs.craneSprites[0].Set(2, 50);
    gs.craneSprites[1].Set(1, 200);
    gs.explosionSprite.Set(2, 8);
    gs.alarmSprites[0].SetFrameCount(1);
    gs.alarmSprites[1].Set(2, 20);
    gs.timeAnimation.Set(1, 100);
}

// Cranes 0 and 1 wait beyond the right edge, crane 2 just inside the left.
void ResetCranesAndLights()
{
    static const float kCraneStartX[3] = {400.0f, 340.0f, -20.0f};
    for (GameObject& crane : gs.cranes) crane = GameObject();
    for (GameObject& light : gs.alarms) light = GameObject();
    for (int i = 0; i < 3; ++i) {
        gs.cranes[i].x = kCraneStartX[i];
        gs.cranes[i].y = 37.0f;
        gs.cranes[i].column = std::rand() % COLUMN_COUNT;
    }
    gs.alarms[0].x = 48.0f;
    gs.alarms[0].y = 37.0f;
    gs.alarms[1].x = 260.0f;
    gs.alarms[1].y = 37.0f;
}

}  // namespace

void TimerTick()
{
    sem_post(&gs.tickSemaphore);
    gs.tickCounter += 1;
}

// The pictures, then the clock. The clock's semaphore exists before the
// first tick can post it; a game cannot run without the clock.
void LoadGame()
{
    gs.log.WriteLine("Init game:");
    gs.log.WriteLine("   Loading GFX...");
    LoadGameImages();
    gs.worker.width = gs.workerSprites[1].frames[0].Width();   // "player_move.png"
    gs.worker.height = gs.workerSprites[1].frames[0].Height();
    crateWidth = gs.crateImage.Width();
    crateHeight = gs.crateImage.Height();

    bool ok = install_timer() == 0;
    ok = ok && sem_init(&gs.tickSemaphore, 0, 1) == 0;
    ok = ok && install_int_ex(TimerTick, kTickPeriod) == 0;
    gs.log.WriteResult("   Initializing timer", ok);
    if (!ok) std::exit(1);
}

void NewGame()
{
    gameRunning = true;
    gs.tickCounter = 0;
    ResetCranesAndLights();
    gs.crates.clear();
    for (int& height : gs.columnHeights) height = 0;
    gs.elapsedSeconds = 0;
    gs.rowDropActive = false;
    gs.pushLeftActive = false;
    gs.pushRightActive = false;
    pushedCrateIndex = -1;
    // A game ended in mid-drop or mid-slide must not shorten the next one's.
    gs.rowDropSteps = 0;
    gs.pushSteps = 0;
    ShapeAnimations();
    ResetWorker();
}

// Every tick that is due, unless a timer tick arrives during one (then a frame
// is drawn first) or the game has just ended.
void RunDueTicks()
{
    while (gs.tickCounter > 0) {
        int before = gs.tickCounter;
        UpdateTick();
        gs.tickCounter -= 1;
        if (gs.tickCounter >= before || !gameRunning) break;
    }
}

void RunGame()
{
    NewGame();
    gs.log.WriteLine("Game running!");
    while (!key[KEY_ESC] && gameRunning) {
        while (sem_wait(&gs.tickSemaphore) != 0 && errno == EINTR) {
        }
        RunDueTicks();
        DrawFrame();
    }
}

// Print Screen held: the picture on the back buffer goes to "screenshot.png"
// on every tick.
void SaveScreenshotWhileHeld()
{
    if (!key[KEY_PRTSCR]) return;
    ol::Canvas::SetTo(ol::BACKBUFFER_TARGET);
    ol::Canvas::SaveImage("screenshot.png");
}

void EndGameIfWorkerDead()
{
    if (gs.worker.active) return;
    PlaySoundEffect(kDeathSound);
    runEndOfGame();
}

// One logic tick: 10 ms of game time. The order of the steps is part of the
// rules: the worker moves before crates fall, and the end of a game is decided
// after every crate has moved.
void UpdateTick()
{
    ResetIdleAnimation();
    SaveScreenshotWhileHeld();
    HandleWorkerInput();
    ClearFullBottomRow();
    UpdateRowDrop();
    UpdatePushSlide();
    UpdateWorkerMotion();
    ReleaseOffscreenCranes();
    if (!gs.rowDropActive) UpdateCrateFall();
    UpdateAlarmLights();
    ChooseCraneTargets();
    MoveCranes();
    AlignCrates();
    EndGameIfWorkerDead();
    CountTime();
}
