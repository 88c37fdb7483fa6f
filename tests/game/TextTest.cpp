// The game's bitmap-font text drawn through the real layer with a glyph
// sheet made here: every sheet column has its own colour, so the screen
// shows which column each pixel came from.
#include <gtest/gtest.h>

#include "engine/Engine.h"
#include "game/GameState.h"
#include "game/Text.h"
#include "tests/ol/LayerTestSupport.h"
#include "tests/support/TestSupport.h"

using oltest::Rgba;

namespace {

Rgba SheetColumn(int x)
{
    if (x % 7 == 6)
        return Rgba{255, 0, 255, 255};  // the gap between cells: never shown
    return Rgba{x & 0xFF, 100 + 100 * (x >> 8), 50, 255};
}

const Rgba kBlack{0, 0, 0, 255};

class Text : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(oltest::OpenTestScreen(640, 400));
        oltest::WritePicture(scratch.Path() + "/font.png", 329, 7, 24,
                             [](int x, int) { return SheetColumn(x); });
        ASSERT_TRUE(gameState.fontImage.Load((scratch.Path() + "/font.png").c_str(), 0));
        scaleX = 2.0f;
        scaleY = 2.0f;
    }
    void TearDown() override { gameState.fontImage.Destroy(false); }

    // The line in the sheet's own colours: a tint with alpha 0 changes nothing.
    static TextLine Line(int x, int y, const std::string& text, ol::Color colour = ol::Color())
    {
        TextLine line;
        line.x = x;
        line.y = y;
        line.colour = colour;
        line.text = text;
        return line;
    }
    testsupport::ScratchDir scratch;
};

}  // namespace

TEST(TextCells, EveryCharacterHasItsSheetCell)
{
    const struct { char c; int cell; } table[] = {
        {'0', 0},   {'9', 9},   {'A', 10},  {'Z', 35},  {'!', 36},  {'(', 38},
        {')', 39},  {':', 40},  {'-', 41},  {'"', 42},  {'.', 43},  {'<', 44},
        {'>', 45},  {' ', 46},  {'a', 37},  {'z', 37},  {'?', 37},  {',', 37},
        {'\n', 37}, {'\0', 37}, {'/', 37},  {'@', 37},  {'[', 37},  {static_cast<char>(200), 37},
    };
    for (const auto& entry : table)
        EXPECT_EQ(CharacterCell(entry.c), entry.cell) << "byte " << int(entry.c);
}

TEST_F(Text, LetterAndDigitLandOnTheirGridPlacesShowingTheirCells)
{
    DrawTextLine(Line(10, 5, "A1"));
    const oltest::ScreenPixels screen = oltest::ReadScreen();
    // The A (cell 10): 12 x 14 at (20, 10), sheet columns 70..75.
    // The 1 (cell 1): 12 x 14 at (34, 10), sheet columns 7..12.
    for (int y = 10; y < 24; ++y) {
        for (int j = 0; j < 12; ++j) {
            ASSERT_TRUE(oltest::Near(screen.At(20 + j, y), SheetColumn(70 + j / 2)))
                << "A at " << 20 + j << "," << y << " " << screen.At(20 + j, y);
            ASSERT_TRUE(oltest::Near(screen.At(34 + j, y), SheetColumn(7 + j / 2)))
                << "1 at " << 34 + j << "," << y << " " << screen.At(34 + j, y);
        }
        EXPECT_EQ(screen.At(19, y), kBlack);
        EXPECT_EQ(screen.At(32, y), kBlack);
        EXPECT_EQ(screen.At(33, y), kBlack);
        EXPECT_EQ(screen.At(46, y), kBlack);
    }
    EXPECT_EQ(screen.At(25, 9), kBlack);
    EXPECT_EQ(screen.At(25, 24), kBlack);
}

TEST_F(Text, OddCharactersShowTheUnknownCellAndSpaceItsOwn)
{
    DrawTextLine(Line(0, 0, "a?, "));
    const oltest::ScreenPixels screen = oltest::ReadScreen();
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(oltest::Near(screen.At(14 * i, 3), SheetColumn(7 * 37))) << "character " << i;
    EXPECT_TRUE(oltest::Near(screen.At(42, 3), SheetColumn(7 * 46)));
    EXPECT_TRUE(oltest::Near(screen.At(53, 3), SheetColumn(7 * 46 + 5)));
}

TEST_F(Text, ColouredTextIsPureColourWhateverTheSheet)
{
    DrawTextLine(Line(3, 4, "HI-SCORE", ol::Color::RED));
    const oltest::ScreenPixels screen = oltest::ReadScreen();
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 12; ++j)
            ASSERT_EQ(screen.At(6 + 14 * i + j, 12), (Rgba{255, 0, 0, 255})) << i << "," << j;
    EXPECT_FALSE(glIsEnabled(GL_FOG));
}

TEST_F(Text, EveryCharacterAdvancesSevenUnits)
{
    DrawTextLine(Line(20, 10, "WWW", ol::Color::WHITE));
    DrawTextLine(Line(20, 30, "...", ol::Color::WHITE));
    const oltest::ScreenPixels screen = oltest::ReadScreen();
    for (int y : {20, 60}) {
        for (int i = 0; i < 3; ++i) {
            const int left = 40 + 14 * i;
            EXPECT_EQ(screen.At(left, y).r, 255) << "glyph " << i << " row " << y;
            EXPECT_EQ(screen.At(left + 11, y).r, 255);
            EXPECT_EQ(screen.At(left + 12, y), kBlack) << "the gap after glyph " << i;
        }
        EXPECT_EQ(screen.At(82, y), kBlack);
    }
}

TEST_F(Text, NonIntegerScaleKeepsTheGrid)
{
    scaleX = 1.25f;
    scaleY = 1.25f;
    DrawTextLine(Line(10, 5, "A1"));
    const oltest::ScreenPixels screen = oltest::ReadScreen();
    // The A covers 12.5 .. 20, the 1 covers (10 + 7) x 1.25 = 21.25 .. 28.75.
    EXPECT_TRUE(oltest::Near(screen.At(13, 10), SheetColumn(70))) << screen.At(13, 10);
    EXPECT_TRUE(oltest::Near(screen.At(19, 10), SheetColumn(75))) << screen.At(19, 10);
    EXPECT_EQ(screen.At(20, 10), kBlack);
    EXPECT_TRUE(oltest::Near(screen.At(21, 10), SheetColumn(7))) << screen.At(21, 10);
    EXPECT_TRUE(oltest::Near(screen.At(28, 10), SheetColumn(12))) << screen.At(28, 10);
    EXPECT_EQ(screen.At(29, 10), kBlack);
}

TEST_F(Text, NothingIsDrawnForAnEmptyTextOrAMissingSheet)
{
    DrawTextLine(Line(0, 0, ""));
    gameState.fontImage.Destroy(false);
    DrawTextLine(Line(0, 0, "SCORE 000100", ol::Color::RED));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const oltest::ScreenPixels screen = oltest::ReadScreen();
    for (int x = 0; x < 200; ++x)
        ASSERT_EQ(screen.At(x, 5), kBlack) << x;
}
