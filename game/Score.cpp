// The score and TIME, the heads-up display, and the end of a game: the waving
// "GAME OVER!", TIME turned into points, then the high-score table.
#include <allegro.h>

#include <cmath>
#include <string>

#include "engine/Gamepad.h"
#include "engine/Quit.h"
#include "engine/Sound.h"
#include "game/Rules.h"

static_assert(KEY_ENTER == 67, "Enter hurries the end of a game");

void (*runEndOfGame)() = EndOfGame;
void (*enterHighScore)() = nullptr;

namespace {

constexpr int kTicksPerSecond = 100;  // with the counter's extra tick, TIME steps every 101 ticks
constexpr int kPointsPerSecond = 10;
constexpr int kLastCountedStep = 1;  // below 30 seconds TIME counts down one by one
constexpr int kBigStep = 10;
constexpr int kBigStepFrom = 30;
// SCORE has five places and TIME four; a number that outgrows them starts again from 0.
constexpr int kMaxScore = 99999;
constexpr int kMaxTime = 9999;

// Digit-dependent x of each HUD number, so that the numbers end under their labels.
constexpr int kScoreX[] = {40, 33, 26, 19, 12};
constexpr int kHiScoreX[] = {180, 173, 166, 160, 152};
constexpr int kTimeX[] = {292, 285, 278, 272};

const char kHudLabels[] = "SCORE:           HI-SCORE:           TIME:";
const char kGameOver[] = "GAME OVER!";

GameState& gs = gameState;

// 1 for a value below 10, 2 below 100, and so on.
int Digits(int value)
{
    int digits = 1;
    for (int limit = 10; value >= limit && digits < 9; limit *= 10)
        digits += 1;
    return digits;
}

// What a HUD place shows: HI-SCORE comes from the table and SCORE grows
// during the countdown, so either may have outgrown its place.
int Shown(int value, int limit)
{
    return value > limit ? 0 : value;
}

int XForDigits(const int* table, int entries, int value)
{
    int digits = Digits(value);
    return table[(digits > entries ? entries : digits) - 1];
}

// The letters of "GAME OVER!" ride a wave around y = 111, a radian apart.
void DrawWavingGameOver(int angle)
{
    for (int k = 0; k < 10; ++k) {
        if (k == 4)
            continue;
        double y = 111.0 + 5.0 * std::sin(k + angle * 0.017453292519943295);
        DrawText(125 + 7 * k, static_cast<int>(y), gs.palette[15], std::string(1, kGameOver[k]));
    }
}

}  // namespace

// TIME grows by one each time its counter completes a cycle.
void CountTime()
{
    gs.timeAnimation.Tick(1);
    if (gs.timeAnimation.Elapsed() > kTicksPerSecond - 1)
        gs.elapsedSeconds += 1;
}

void WrapCounters()
{
    if (gs.worker.score > kMaxScore)
        gs.worker.score = 0;
    if (gs.elapsedSeconds > kMaxTime)
        gs.elapsedSeconds = 0;
}

void CountDownTimeStep()
{
    if (gs.elapsedSeconds <= 0)
        return;
    int seconds = gs.elapsedSeconds < kBigStepFrom ? kLastCountedStep : kBigStep;
    gs.elapsedSeconds -= seconds;
    gs.worker.score += seconds * kPointsPerSecond;
    PlaySoundEffect(gs.elapsedSeconds == 0 ? kRowClearedSound : kTickSound);
}

void ConvertRemainingTime()
{
    while (gs.elapsedSeconds > 0) {
        gs.elapsedSeconds -= 1;
        gs.worker.score += kPointsPerSecond;
    }
}

int HudScoreX(int value)
{
    return XForDigits(kScoreX, 5, value);
}
int HudHiScoreX(int value)
{
    return XForDigits(kHiScoreX, 5, value);
}
int HudTimeX(int value)
{
    return XForDigits(kTimeX, 4, value);
}

// The labels, then SCORE, HI-SCORE and TIME; a number too long for its place
// shows 0.
void DrawHud()
{
    DrawText(12, 5, gs.palette[2], kHudLabels);
    const int hiScore = Shown(gs.hiScore, kMaxScore);
    const int score = Shown(gs.worker.score, kMaxScore);
    const int time = Shown(gs.elapsedSeconds, kMaxTime);
    const ol::Color& number = gs.palette[10];
    DrawText(HudHiScoreX(hiScore), 15, number, std::to_string(hiScore));
    DrawText(HudScoreX(score), 15, number, std::to_string(score));
    DrawText(HudTimeX(time), 15, number, std::to_string(time));
}

// Sleeps until the next tick, then runs a pass for every tick that has come
// since the last: the wave and the countdown keep the clock's pace whatever
// the display's. Only the last pass is drawn. The tick the worker died in is
// still the game loop's to count, so one stays on the clock.
static void RunDueGameOverPasses(int& angle)
{
    WaitForTick();
    while (gs.tickCounter > 1) {
        const bool drawn = --gs.tickCounter == 1;
        if (drawn)
            DrawWavingGameOver(angle);
        angle = angle == 360 ? 0 : angle + 5;
        if (angle % 30 == 0)
            CountDownTimeStep();
        if (drawn) {
            DrawFrame();
            return;  // Enter is looked at before the next pass
        }
    }
}

bool WaveGameOver(bool (*over)())
{
    int angle = 0;
    while (!over()) {
        if (QuitRequested())
            return false;
        RunDueGameOverPasses(angle);
    }
    return true;
}

void EndGameUnderCrate()
{
    ConvertRemainingTime();
    WrapCounters();
    EndRecord(GameEnding::Crate);
    gameRunning = false;
}

// Runs inside the tick in which the worker died, one pass per tick of the
// clock, until Enter: TIME counts down into points while the scene stands
// frozen. The game is kept as "lastgame.qmr" before the name entry, which may
// take long.
void EndOfGame()
{
    // The jump held at death does not hurry the countdown.
    ArmPadPresses();
    const bool cutShort = !WaveGameOver([] {
        return key[KEY_ENTER] != 0 || PadConfirms();
    });
    EndGameUnderCrate();
    SaveLastGame();
    if (cutShort)
        return;  // the program ends; no name entry
    clear_keybuf();
    if (enterHighScore)
        enterHighScore();
}
