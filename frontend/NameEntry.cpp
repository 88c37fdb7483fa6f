// The end of a game: a score that beats the fifth place is entered into the
// table with a name of up to eight letters, spelt on the letter grid with
// the arrows and Enter (or a gamepad's d-pad and south button), or typed.
#include <allegro.h>

#include <string>

#include "engine/Gamepad.h"
#include "engine/Sound.h"
#include "frontend/HighScoreTable.h"
#include "frontend/Screens.h"
#include "game/GameState.h"
#include "game/Record.h"
#include "game/Scene.h"
#include "ol/Bitmap.h"

namespace {

// The next title visit opens on the table, about four seconds before its end.
constexpr int kTitleTicksAfterEntry = 1100;

// The letter grid: 3 rows of 10 cells. Cells 0-25 are A-Z, 26 is blank,
// 27 erases the last letter and 28 and 29 both finish.
constexpr int kGridColumns = 10;
constexpr int kBlankCell = 26, kEraseCell = 27, kEndCell = 28;
constexpr int kGridLeft = 97, kGridTop = 82;  // the marker on "A"
constexpr int kCellWidth = 12, kCellHeight = 15;
constexpr int kMarkerRightmost = 199, kMarkerLowest = 99;

struct NameEntry {
    std::string name;
    int cell = 0;
    int markerX = kGridLeft, markerY = kGridTop;
    bool running = true;
};

void Erase(NameEntry& entry)
{
    if (entry.name.empty())
        return;
    entry.name.pop_back();
    PlaySoundEffect(kExplosionSound);
}

void Append(NameEntry& entry, char letter)
{
    if (entry.name.size() >= HighScoreTable::kMaxNameLength)
        return;
    entry.name += letter;
    PlaySoundEffect(kTickSound);
}

// Enter selects the cell under the marker.
void SelectCell(NameEntry& entry)
{
    if (entry.cell >= kEndCell) {
        // At least one letter is needed.
        if (entry.name.empty())
            return;
        PlaySoundEffect(kRowClearedSound);
        entry.running = false;
    } else if (entry.cell == kEraseCell) {
        Erase(entry);
    } else if (entry.cell < kBlankCell) {
        Append(entry, static_cast<char>('A' + entry.cell));
    }
}

// One key from the keyboard buffer: the scancode moves the marker or acts on
// the grid; otherwise a lower-case letter is typed. A move at the edge of the
// grid does nothing.
void ActOnKey(int k, NameEntry& entry)
{
    const int scancode = k >> 8;
    const int character = k & 0xFF;
    if (scancode == KEY_RIGHT && entry.markerX <= kMarkerRightmost) {
        entry.markerX += kCellWidth;
        entry.cell += 1;
    } else if (scancode == KEY_LEFT && entry.markerX > kGridLeft) {
        entry.markerX -= kCellWidth;
        entry.cell -= 1;
    } else if (scancode == KEY_DOWN && entry.markerY <= kMarkerLowest) {
        entry.markerY += kCellHeight;
        entry.cell += kGridColumns;
    } else if (scancode == KEY_UP && entry.markerY > kGridTop) {
        entry.markerY -= kCellHeight;
        entry.cell -= kGridColumns;
    } else if (scancode == KEY_ENTER) {
        SelectCell(entry);
    } else if (scancode == KEY_BACKSPACE) {
        Erase(entry);
    } else if (character >= 'a' && character <= 'z') {
        // Shifted letters, digits and the rest are not taken.
        Append(entry, static_cast<char>(character - 'a' + 'A'));
    }
}

// "YOU ENTERED THE 2ND PLACE!" and so on.
std::string Headline(int place)
{
    const char* suffix = place == 1 ? "ST" : place == 2 ? "ND" : place == 3 ? "RD" : "TH";
    return "YOU ENTERED THE " + std::to_string(place) + suffix + " PLACE!";
}

void DrawEntry(const NameEntry& entry, const std::string& headline, const ol::Bitmap& frame,
               const ol::Bitmap& marker)
{
    const ol::Color* palette = gameState.palette;
    DrawText(68, 20, palette[10], headline);
    DrawText(105, 40, palette[6], "INPUT YOUR NAME:");
    DrawText(130, 54, palette[15], entry.name);
    for (int cell = 0; cell < kBlankCell; ++cell) {
        const int column = cell % kGridColumns, row = cell / kGridColumns;
        DrawText(kGridLeft + 3 + kCellWidth * column, kGridTop + 3 + kCellHeight * row, palette[11],
                 std::string(1, static_cast<char>('A' + cell)));
    }
    DrawText(195, 115, palette[11], "END");
    DrawText(184, 115, palette[11], "<");
    DrawPicture(frame, 78, 65);
    DrawPicture(marker, entry.markerX, entry.markerY);
}

// The place the score will take, counted from 1.
int PlaceOf(const HighScoreTable& table, int score)
{
    int below = 0;
    for (int i = 0; i < table.count(); ++i)
        if (table.scoreAt(i) < score)
            ++below;
    return table.count() + 1 - below;
}

// A score qualifies when it beats the last place; a table with a free place
// (missing or short files) takes any score.
bool Qualifies(const HighScoreTable& table, int score)
{
    if (table.count() < HighScoreTable::kPlaces)
        return true;
    return score > table.scoreAt(table.count() - 1);
}

}  // namespace

void runHighScoreEntry()
{
    PresentAndClear();
    HighScoreTable table(kHighScoreNamesFile, kHighScoreScoresFile);
    const int finalScore = gameState.worker.score;
    if (!Qualifies(table, finalScore))
        return;

    ol::Bitmap frame, marker;
    frame.Load("data\\gfx\\backgrounds\\score_table.png", 0);
    marker.Load("data\\gfx\\sprites\\marker.png", 0);
    const std::string headline = Headline(PlaceOf(table, finalScore));

    // One redraw per key; Escape is ignored, only END (or a quit request) leaves.
    NameEntry entry;
    int k = 0;
    // The button that ended GAME OVER selects nothing until pressed again.
    ArmPadPresses();
    for (;;) {
        ActOnKey(k, entry);
        if (!entry.running)
            break;
        DrawEntry(entry, headline, frame, marker);
        PresentAndClear();
        k = WaitForKey(true);
        if (k < 0)
            break;
    }

    frame.Destroy(true);
    marker.Destroy(true);
    // An entry cut short by a quit request leaves the table as it was.
    if (entry.running)
        return;
    table.insert(finalScore, entry.name);
    gameState.log.WriteLine("   Saving score...");
    KeepHighScoreReplay(entry.name);
    gameState.titleTicks = kTitleTicksAfterEntry;
}
