// The game's program flow: loading, the 100 Hz logic clock, the loop that runs
// one game, the reset that starts it, and the logic tick.
#include <allegro.h>
#include <errno.h>

#include <cstdlib>
#include <functional>

#include "engine/Engine.h"
#include "engine/Gamepad.h"
#include "engine/Platform.h"
#include "engine/Quit.h"
#include "engine/Random.h"
#include "engine/Sound.h"
#include "game/Rules.h"
#include "ol/Canvas.h"
#include "ol/LayerLog.h"

static_assert(KEY_ESC == 59 && KEY_PRTSCR == 92, "the game loop's keys");
static_assert(KEY_LEFT == 82 && KEY_RIGHT == 83 && KEY_SPACE == 75, "the worker's keys");

namespace {

constexpr long kTickPeriod = 11931;  // Allegro timer units: 10 ms, 100 ticks a second

// Where a new game puts everyone, and how the worker walks in it. Cranes 0 and
// 1 wait beyond the right edge, crane 2 just inside the left.
constexpr float kWorkerStartX = 150.0f;
constexpr float kWorkerTopSpeed = 1.5f;
constexpr float kWorkerAcceleration = 0.05f;
constexpr float kWorkerDeceleration = 0.05f;
constexpr float kCraneStartX[3] = {400.0f, 340.0f, -20.0f};
constexpr float kCraneY = 37.0f;
constexpr float kAlarmX[2] = {48.0f, 260.0f};
constexpr float kAlarmY = 37.0f;

GameState& gs = gameState;

// The worker and the score as a new game finds them; the jump and fall of the
// last game end here too, so a game never starts in mid-air.
void ResetWorker()
{
    GameObject& worker = gs.worker;
    worker.score = 0;
    worker.active = true;
    worker.x = kWorkerStartX;
    worker.y = kFloorY;
    worker.speed = 0.0f;
    worker.maxSpeed = kWorkerTopSpeed;
    worker.acceleration = kWorkerAcceleration;
    worker.deceleration = kWorkerDeceleration;
    worker.jumping = false;
    worker.falling = false;
    worker.jumpSpeed = 2.0f;
    worker.fallSpeed = 0.0f;
    worker.jumpBase = 0;
}

// Frame counts and periods (in draws) of every animation of the game screen.
void ShapeAnimations()
{
    gs.workerSprites[kWorkerIdle].Set(2, 500);
    gs.workerSprites[kWorkerIdle].SetCycleLength(530);
    gs.workerSprites[kWorkerWalking].Set(2, 10);
    gs.workerSprites[kWorkerAirborne].Set(1, 250);
    gs.workerSprites[kWorkerPushing].Set(1, 30);
    gs.craneSprites[0].Set(2, 50);
    gs.craneSprites[1].Set(1, 200);
    gs.explosionSprite.Set(2, 8);
    gs.alarmSprites[kAlarmGreen].SetFrameCount(1);
    gs.alarmSprites[kAlarmRed].Set(2, 20);
    gs.timeAnimation.Set(1, 100);
}

// Each crane takes a random first column, in the order 0, 1, 2.
void ResetCranesAndLights()
{
    for (GameObject& crane : gs.cranes)
        crane = GameObject();
    for (GameObject& light : gs.alarms)
        light = GameObject();
    for (int i = 0; i < 3; ++i) {
        gs.cranes[i].x = kCraneStartX[i];
        gs.cranes[i].y = kCraneY;
        gs.cranes[i].column = Random() % COLUMN_COUNT;
    }
    for (int i = 0; i < 2; ++i) {
        gs.alarms[i].x = kAlarmX[i];
        gs.alarms[i].y = kAlarmY;
    }
}

// The keys the worker obeys, read once for the whole tick, from the keyboard
// and the gamepad alike.
bool ReadKeyboardAndPad(TickInput& input)
{
    PollGamepad();
    input.left = key[KEY_LEFT] != 0 || PadHeld(PadRole::Left);
    input.right = key[KEY_RIGHT] != 0 || PadHeld(PadRole::Right);
    input.jump = key[KEY_SPACE] != 0 || PadPressed(PadRole::South);
    return true;
}

// How a game left by the loop ended, when no crate ended it.
GameEnding EndingOfPlay()
{
    if (!QuitRequested())
        return GameEnding::Escape;
    return QuitRequestedByCloseButton() ? GameEnding::CloseButton : GameEnding::Signal;
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
    gs.worker.width = gs.workerSprites[kWorkerWalking].frames[0].Width();  // "player_move.png"
    gs.worker.height = gs.workerSprites[kWorkerWalking].frames[0].Height();
    crateWidth = gs.crateImage.Width();
    crateHeight = gs.crateImage.Height();

    bool ok = install_timer() == 0;
    ok = ok && sem_init(&gs.tickSemaphore, 0, 1) == 0;
    ok = ok && install_int_ex(TimerTick, kTickPeriod) == 0;
    gs.log.WriteResult("   Initializing timer", ok);
    if (!ok)
        EndFailedStart(gs.log, "initializing timer");
}

GameStart NextGameStart()
{
    GameStart start;
    start.seed = static_cast<std::uint32_t>(Random());
    start.facing = gs.worker.facing;
    start.spaceHeld = gs.spaceHeld;
    start.timePhase = gs.timeAnimation.Elapsed();
    return start;
}

void NewGame()
{
    NewGame(NextGameStart());
}

void NewGame(const GameStart& start)
{
    SeedRandom(start.seed);
    gs.worker.facing = start.facing;
    gs.spaceHeld = start.spaceHeld;
    gs.timeAnimation.SetElapsed(start.timePhase);
    gameRunning = true;
    gs.tickCounter = 0;
    ResetCranesAndLights();
    gs.crates.clear();
    for (int& height : gs.columnHeights)
        height = 0;
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
    BeginRecord(start);
}

// Every tick that is due, unless a timer tick arrives during one (then a frame
// is drawn first), the game has just ended or the input has run out.
void RunDueTicks(const InputSource& nextInput)
{
    RunDueSteps([&nextInput] {
        TickInput input;
        if (!nextInput(input)) {
            gameRunning = false;
            return false;
        }
        PlayTick(input);
        return gameRunning;
    });
}

void RunGameLoop(const InputSource& nextInput)
{
    while (!key[KEY_ESC] && !PadPressed(PadRole::Back) && gameRunning && !QuitRequested()) {
        WaitForTick();
        RunDueTicks(nextInput);
        DrawFrame();
    }
}

// A game ended by Escape, a signal or the close button is kept too; one
// under a crate was kept before its name entry.
void RunGame()
{
    NewGame();
    gs.log.WriteLine("Game running!");
    // The button that started the game is no jump until pressed again.
    ArmPadPresses();
    RunGameLoop(ReadKeyboardAndPad);
    if (RecordEnded())
        return;
    EndRecord(EndingOfPlay());
    SaveLastGame();
}

// Print Screen held: the picture on the back buffer goes to "screenshot.png"
// on every tick. It lands among the player's own files in the working
// directory, never beside an installed program; a failure is reported once a
// press.
void SaveScreenshotWhileHeld()
{
    static bool failedThisPress = false;
    if (!key[KEY_PRTSCR]) {
        failedThisPress = false;
        return;
    }
    ol::Canvas::SetTo(ol::BACKBUFFER_TARGET);
    const std::string file = platform::InWorkingDirectory("screenshot.png");
    if (ol::Canvas::SaveImage(file) || failedThisPress)
        return;
    failedThisPress = true;
    ol::WriteError("Couldn't save the screenshot to " + file);
}

void EndGameIfWorkerDead()
{
    if (gs.worker.active)
        return;
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
    if (!gs.rowDropActive)
        UpdateCrateFall();
    UpdateAlarmLights();
    ChooseCraneTargets();
    MoveCranes();
    AlignCrates();
    EndGameIfWorkerDead();
    CountTime();
    WrapCounters();
}
