// The game's bitmap-font text: every character is one tinted, clipped
// stretched blit of a cell of the glyph sheet.
#pragma once

#include <functional>
#include <string>

#include "ol/Color.h"

struct TextLine {
    int x;  // left edge of the first character, logical units
    int y;  // top edge, logical units
    ol::Color colour;
    std::string text;
};

// Which sheet cell draws byte c: 0-9 digits, 10-35 letters, 37 for anything
// the sheet has no glyph for, 46 the space.
int CharacterCell(char c);

// Draws the line now into the active target with the game's font sheet.
void DrawTextLine(const TextLine& line);
// Sees each line as it is drawn, when set: the screens' texts as the player reads them.
inline std::function<void(const TextLine&)> watchText;
// Puts the text into the shared hudText at (x, y) in that colour and draws it.
void DrawText(int x, int y, const ol::Color& colour, const std::string& text);
