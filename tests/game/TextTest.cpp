// The game's bitmap-font text through the real layer, with a glyph sheet whose
// every column has its own colour, so each pixel tells which column it shows.
#include <gtest/gtest.h>

#include "engine/Engine.h"
#include "game/GameState.h"
#include "game/Text.h"
#include "tests/ol/LayerTestSupport.h"
#include "tests/support/TestSupport.h"

using oltest::kBlack;
using oltest::Rgba;

// Lower case, '?', ',' and every byte without a glyph show cell 37, a space cell 46.
TEST(TextCells, EveryCharacterHasItsSheetCell)
{
    const struct { char c; int cell; } table[] = {
        {'0', 0},  {'9', 9},  {'A', 10}, {'Z', 35}, {'!', 36}, {'(', 38}, {')', 39},  {':', 40},
        {'-', 41}, {'"', 42}, {'.', 43}, {'<', 44}, {'>', 45}, {' ', 46}, {'a', 37},  {'z', 37},
        {'?', 37}, {',', 37}, {'/', 37}, {'@', 37}, {'[', 37}, {'\0', 37}, {char(200), 37}};
    for (const auto& entry : table)
        EXPECT_EQ(CharacterCell(entry.c), entry.cell) << "byte " << int(entry.c);
}

// "A1" at (10, 5) on 640 x 400: two 12 x 14 quads at (20, 10) and (34, 10) showing
// only sheet columns 70..75 (cell 10) and 7..12 (cell 1). A tint paints glyphs pure
// red, and every character advances 7 units whatever its cell.
TEST(Text, CharactersLandOnTheirGridPlacesShowingTheirCells)
{
    testsupport::ScratchDir scratch;
    ASSERT_TRUE(oltest::OpenTestScreen(640, 400)) << "pixel tests need Xvfb";
    auto SheetColumn = [](int x) {
        return x % 7 == 6 ? Rgba{255, 0, 255, 255} : Rgba{x & 0xFF, 100 + 100 * (x >> 8), 50, 255};
    };
    oltest::WritePicture(scratch.Path() + "/font.png", 329, 7, 24,
                         [&](int x, int) { return SheetColumn(x); });
    ASSERT_TRUE(gameState.fontImage.Load((scratch.Path() + "/font.png").c_str(), 0));
    scaleX = scaleY = 2.0f;
    DrawTextLine({10, 5, ol::Color(), "A1"});  // colour alpha 0: the sheet's own colours
    DrawTextLine({20, 30, ol::Color::RED, "W.W"});
    EXPECT_FALSE(glIsEnabled(GL_FOG)) << "the tint must switch its fog off again";
    gameState.fontImage.Destroy(false);
    const oltest::ScreenPixels screen = oltest::ReadScreen();
    for (int y = 8; y < 26; ++y)
        for (int x = 18; x < 48; ++x) {
            const bool row = y >= 10 && y < 24;
            const Rgba want = row && x >= 20 && x < 32   ? SheetColumn(70 + (x - 20) / 2)
                              : row && x >= 34 && x < 46 ? SheetColumn(7 + (x - 34) / 2)
                                                         : kBlack;
            ASSERT_TRUE(oltest::Near(screen.At(x, y), want)) << x << "," << y << " " << screen.At(x, y);
        }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(screen.At(40 + 14 * i, 62), (Rgba{255, 0, 0, 255})) << "glyph " << i;
        EXPECT_EQ(screen.At(51 + 14 * i, 62), (Rgba{255, 0, 0, 255})) << "glyph " << i;
        EXPECT_EQ(screen.At(52 + 14 * i, 62), kBlack) << "the gap after glyph " << i;
    }
}
