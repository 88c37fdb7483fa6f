// The game's text: one tinted, clipped blit of the font sheet per character,
// on a fixed grid of 7 logical units.
#include "game/Text.h"

#include "engine/Engine.h"
#include "game/GameState.h"
#include "ol/RenderModes.h"

namespace {

// The font sheet: one row of cells, 6 x 7 pixels each, a 1-pixel gap after.
constexpr int kCellStride = 7;
constexpr float kCellWidth = 6.0f;
constexpr float kCellHeight = 7.0f;
constexpr int kAdvance = 7;  // logical units per character

}  // namespace

void DrawTextLine(const TextLine& line)
{
    if (watchText)
        watchText(line);
    const ol::Bitmap& font = gameState.fontImage;
    const float sheetWidth = static_cast<float>(font.Width()) * scaleX;
    const float sheetHeight = static_cast<float>(font.Height()) * scaleY;
    for (std::size_t i = 0; i < line.text.size(); ++i) {
        const int cell = CharacterCell(line.text[i]);
        ol::TintMode tint(line.colour);
        ol::ClippedMode clip(static_cast<float>(kCellStride * cell), 0.0f, kCellWidth, kCellHeight);
        ol::MultiMode both(clip, tint);
        // The clip's offset into the sheet is added unscaled, so it is taken
        // off here once: the glyph lands on its grid place at any scale.
        const float x = static_cast<float>(kAdvance * static_cast<int>(i)) * scaleX +
                        static_cast<float>(line.x) * scaleX -
                        static_cast<float>(kCellStride * cell);
        const float y = static_cast<float>(line.y) * scaleY;
        font.BlitStretched(x, y, sheetWidth, sheetHeight, both, 1.0f);
    }
}

void DrawText(int x, int y, const ol::Color& colour, const std::string& text)
{
    TextLine& line = gameState.hudText;
    line.x = x;
    line.y = y;
    line.colour = colour;
    line.text = text;
    DrawTextLine(line);
}
