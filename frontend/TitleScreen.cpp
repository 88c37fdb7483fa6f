// The title screen: the attract phase (bobbing logo, credits scrolling on
// their bar with two heads circling it, the colour-cycling prompt) and the
// high-score phase take turns every fifteen seconds until Enter or Escape.
#include <allegro.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "engine/Engine.h"
#include "engine/Gamepad.h"
#include "engine/Quit.h"
#include "engine/Sound.h"
#include "frontend/HighScoreTable.h"
#include "frontend/Screens.h"
#include "game/GameState.h"
#include "game/Scene.h"
#include "ol/Bitmap.h"
#include "ol/RenderModes.h"

namespace {

// Title cycle, in steps of 10 ms.
constexpr int kLastAttractStep = 899;
constexpr int kHighScorePhaseStart = 900;
constexpr int kLastHighScoreStep = 1500;
// How long the screen waits for the key that brought the player here to be let go.
constexpr int kKeyReleaseWaitMs = 1000;

// Logical positions.
constexpr int kScrollerStartX = 320;
constexpr int kScrollerY = 181;
constexpr int kPromptX = 90, kPromptY = 120;
constexpr int kTableRowsX = 95, kTableRowsY = 80, kTableRowStep = 10;
constexpr int kRowWidth = 18;  // characters of one table row, dots included
constexpr int kGlyphAdvance = 7, kGlyphWidth = 6;
constexpr double kPi = 3.14159265358979323846;

const char* const kPrompt = "PRESS ENTER TO START";
const char* const kHeading = "HIGH SCORES";
// Only characters the glyph sheet has.
const char* const kCredits =
    "QUILLEMARCH  -  CODE GRAPHICS AND SOUND BY THE QUILLEMARCH TEAM  -  "
    "< > WALK   SPACE JUMP   ENTER START   O OPTIONS   H HIGH SCORES   ESC QUIT";

struct TitleVisit {
    ol::Bitmap logo, scrollBar, head, tableFrame;
    std::string nameText[HighScoreTable::kPlaces];
    std::string scoreText[HighScoreTable::kPlaces];
    int angle = 0;
    int colourStep = 0;
    int headX = 0;    // screen pixels
    int headY = 173;  // logical units
    int headSide = 0;
    TextLine scroller{};
    // False for a step that only catches up with the clock: it moves
    // everything as a step does but draws nothing.
    bool drawn = true;
};

double Radians(int degrees)
{
    return degrees * kPi / 180.0;
}

void Draw(const TitleVisit& visit, const TextLine& line)
{
    if (visit.drawn)
        DrawTextLine(line);
}

void Draw(const TitleVisit& visit, const ol::Bitmap& picture, float x, float y)
{
    if (visit.drawn)
        DrawPicture(picture, x, y);
}

// The head as it is, or mirrored so that it looks the other way.
void DrawHead(const TitleVisit& visit, bool mirrored)
{
    if (!visit.drawn)
        return;
    const float width = visit.head.Width() * scaleX, height = visit.head.Height() * scaleY;
    const float y = visit.headY * scaleY;
    if (mirrored)
        visit.head.BlitStretched(kLogicalWidth * scaleX - visit.headX, y, width, height,
                                 ol::FlippedMode(ol::FLIP_HORIZONTAL), 1.0f);
    else
        visit.head.BlitStretched(static_cast<float>(visit.headX), y, width, height, 1.0f);
}

// The heads travel right, wrap round past the right edge, and bob out of
// phase with the logo.
void MoveHeads(TitleVisit& visit)
{
    if (visit.headX > 335 * scaleX)
        visit.headX = static_cast<int>(-10 * scaleX);
    visit.headY = static_cast<int>(180 + 10 * std::sin(Radians(visit.angle) + 180));
    visit.headX = static_cast<int>(visit.headX + scaleX);
}

// The credits crawl left one unit a step and come round again from the
// right edge once their last letter has left the screen.
void ScrollCredits(TitleVisit& visit)
{
    TextLine& scroller = visit.scroller;
    scroller.text = kCredits;
    Draw(visit, scroller);
    scroller.x -= 1;
    const int letters = static_cast<int>(scroller.text.size());
    const int lastLetterRight = scroller.x + kGlyphAdvance * (letters - 1) + kGlyphWidth;
    if (lastLetterRight <= 0)
        scroller.x = kScrollerStartX;
}

void DrawAttractPhase(TitleVisit& visit)
{
    visit.scroller.colour = gameState.palette[7];
    Draw(visit, visit.logo, 0, 35 + 20 * static_cast<float>(std::sin(Radians(visit.angle))));
    DrawHead(visit, visit.headSide == 0);  // the one behind the bar
    if (visit.drawn)
        visit.scrollBar.BlitStretched(0, kScrollerY * scaleY, kLogicalWidth * scaleX,
                                      visit.scrollBar.Height() * scaleY, 1.0f);
    MoveHeads(visit);
    ScrollCredits(visit);
    Draw(visit, gameState.hudText);
    DrawHead(visit, visit.headSide == 1);  // the one in front of it
    // The heads swap places behind and before the bar as they bob.
    if (visit.headY > 188 && visit.headSide == 0)
        visit.headSide = 1;
    if (visit.headY < 173)
        visit.headSide = 0;
    if (key[KEY_H])
        gameState.titleTicks = kHighScorePhaseStart;
    if (key[KEY_O])
        runOptionsScreen();
}

void DrawHighScorePhase(TitleVisit& visit)
{
    Draw(visit, visit.tableFrame, 78, 65);
    // The heading waves letter by letter.
    TextLine& letter = visit.scroller;
    letter.colour = gameState.palette[15];
    const std::string heading = kHeading;
    for (int i = 0; i < static_cast<int>(heading.size()); ++i) {
        if (heading[i] == ' ')
            continue;
        letter.text = std::string(1, heading[i]);
        letter.x = 120 + kGlyphAdvance * i;
        letter.y = static_cast<int>(40 + 5 * std::sin(Radians(visit.angle) + i));
        Draw(visit, letter);
    }
    TextLine& row = gameState.hudText;
    for (int i = 0; i < HighScoreTable::kPlaces; ++i) {
        const int used = static_cast<int>(visit.nameText[i].size() + visit.scoreText[i].size());
        const int dots = kRowWidth - used;
        row.text = visit.nameText[i] + std::string(dots > 0 ? dots : 0, '.') + visit.scoreText[i];
        row.x = kTableRowsX;
        row.y = kTableRowsY + kTableRowStep * i;
        Draw(visit, row);
    }
    if (gameState.titleTicks > kLastHighScoreStep) {
        gameState.titleTicks = 0;
        visit.scroller.x = kScrollerStartX;
        visit.scroller.y = kScrollerY;
        // The prompt stays where the last row stood.
        row.text = kPrompt;
    }
}

// The prompt changes colour every ten steps, the third colour for eleven.
void CyclePromptColour(int& colourStep)
{
    if (colourStep == 10)
        gameState.hudText.colour = gameState.palette[6];
    if (colourStep == 20)
        gameState.hudText.colour = gameState.palette[10];
    if (colourStep == 30)
        gameState.hudText.colour = gameState.palette[11];
    if (++colourStep > 30)
        colourStep = 0;
}

void RunTitleStep(TitleVisit& visit)
{
    visit.angle += 5;
    if (gameState.titleTicks <= kLastAttractStep)
        DrawAttractPhase(visit);
    else
        DrawHighScorePhase(visit);
    CyclePromptColour(visit.colourStep);
    if (visit.angle == 360)
        visit.angle = 0;
    if (visit.drawn)
        PresentAndClear();
}

void LoadPicture(ol::Bitmap& picture, const char* file)
{
    picture.Load(file, 0);
}

void ReleasePictures(TitleVisit& visit)
{
    for (ol::Bitmap* picture : {&visit.logo, &visit.scrollBar, &visit.head, &visit.tableFrame})
        picture->Destroy(true);
}

// Enter, Escape or one of the pad's buttons for them.
bool StartOrQuitHeld()
{
    PollGamepad();
    return key[KEY_ENTER] || key[KEY_ESC] || PadHeld(PadRole::Start) || PadHeld(PadRole::South) ||
           PadHeld(PadRole::Back);
}

// The Escape that left a game or the Enter that ended a name entry may still
// be held: it must not quit the program or start the next game at once.
void WaitForEnterAndEscapeUp()
{
    for (int waited = 0; StartOrQuitHeld() && waited < kKeyReleaseWaitMs && !QuitRequested();
         waited += 10)
        rest(10);
}

}  // namespace

void runTitleScreen()
{
    Log& log = gameState.log;
    resolutionIndex = FindResolutionIndex(gameState.settings.width, gameState.settings.height);
    log.WriteLine("Init intro:");
    FindGamepad(log);
    log.WriteLine("   Loading GFX...");
    TitleVisit visit;
    LoadPicture(visit.logo, "data\\gfx\\fonts\\quillemarch.png");
    LoadPicture(visit.scrollBar, "data\\gfx\\backgrounds\\menu_scroll.png");
    LoadPicture(visit.head, "data\\gfx\\sprites\\head.png");
    LoadPicture(visit.tableFrame, "data\\gfx\\backgrounds\\score_table.png");
    log.WriteLine("   Reading high score data...");
    HighScoreTable table(kHighScoreNamesFile, kHighScoreScoresFile);
    gameState.hiScore = table.scoreAt(0);
    PlayMusic(kTitleMusic, true);

    visit.scroller = {kScrollerStartX, kScrollerY, gameState.palette[6], ""};
    gameState.hudText = {kPromptX, kPromptY, gameState.palette[10], kPrompt};
    rest(100);
    WaitForEnterAndEscapeUp();
    ArmPadPresses();
    for (int i = 0; i < HighScoreTable::kPlaces; ++i) {
        visit.nameText[i] = table.nameAt(i);
        visit.scoreText[i] = std::to_string(table.scoreAt(i));
    }
    log.WriteLine("   Playing intro!");

    // Keys are polled only when no tick is waiting or one arrived during the
    // last step. Between ticks the screen sleeps; of the steps that are due,
    // only the last is drawn, so the picture keeps the clock's pace on a
    // display that makes every frame wait for its refresh.
    bool quit = false;
    for (;;) {
        const bool escape = key[KEY_ESC] != 0 || PadPressed(PadRole::Back) || QuitRequested();
        if (escape || key[KEY_ENTER] || PadConfirms()) {
            quit = escape;
            break;
        }
        WaitForTick();
        RunDueSteps([&visit] {
            visit.drawn = gameState.tickCounter == 1;
            RunTitleStep(visit);
            ++gameState.titleTicks;
            return true;
        });
    }

    ReleasePictures(visit);
    StopAllSounds();
    if (quit)
        QuitProgram();
    PlaySoundEffect(kRowClearedSound);
    log.WriteResult("   Removing menu resources", true);
}
