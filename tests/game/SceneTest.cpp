// The game screen and its text drawn through the real layer under Xvfb and read back.
#include <cctype>
#include <chrono>
#include <cmath>
#include <functional>
#include <thread>

#include "engine/Engine.h"
#include "game/Text.h"
#include "tests/game/YardFixture.h"
#include "tests/ol/LayerTestSupport.h"
#include "tests/support/TestSupport.h"

namespace yardtest {
namespace {

using namespace std::chrono_literals;
using oltest::kBlack;
using oltest::Rgba;
const Rgba kRed{255, 0, 0, 255}, kBlue{0, 0, 255, 255}, kGreen{0, 255, 0, 255};

// Loads a picture whose every column x has colour(x); depth 24 masks magenta.
void LoadPicture(ol::Bitmap& slot, int width, int height, int depth,
                 const std::function<Rgba(int)>& colour)
{
    testsupport::ScratchDir scratch;
    const std::string path = scratch.Path() + "/picture.png";  // relative names are the game's own
    oltest::WritePicture(path, width, height, depth, [&](int x, int) {
        return colour(x);
    });
    ASSERT_TRUE(slot.Load(path.c_str(), 0));
}

// The scene draws what stands in the yard: the worker (red left half, blue right) mirrored facing
// left and not at all when hidden, a crate at its column, the crate under a loaded crane and none
// under an empty one, and the lamp of each alarm's colour.
TEST_F(YardTest, SceneDrawsWhatStandsInTheYard)
{
    ASSERT_TRUE(oltest::OpenTestScreen(640, 400));
    scaleX = scaleY = 2.0f;
    const Rgba kWhite{255, 255, 255, 255}, kYellow{255, 255, 0, 255}, kCyan{0, 255, 255, 255};
    LoadPicture(gs.backgroundImage, 32, 20, 32, [](int) {
        return kBlack;
    });  // over the last frame
    LoadPicture(gs.workerSprites[0].frames[0], 20, 21, 32, [](int x) {
        return x < 10 ? kRed : kBlue;
    });
    const std::pair<ol::Bitmap*, Rgba> pictures[] = {{&gs.crateImage, kGreen},
                                                     {&gs.craneSprites[0].frames[0], kWhite},
                                                     {&gs.craneSprites[1].frames[0], kYellow},
                                                     {&gs.alarmSprites[0].frames[0], kCyan},
                                                     {&gs.alarmSprites[1].frames[0], kRed},
                                                     {&gs.alarmSprites[1].frames[1], kRed}};
    for (const auto& [slot, colour] : pictures)
        LoadPicture(*slot, slot == &gs.crateImage ? 20 : 4, slot == &gs.crateImage ? 20 : 4, 32,
                    [c = colour](int) {
                        return c;
                    });
    const int x = ColumnX(4);
    // The worker's facing, crane 0's load and alarm 0's light; what logical (x, y) shows.
    const struct {
        const char* name;
        int facing, unloaded, alarm, x, y;
        Rgba colour;
    } rows[] = {
        {"his left half", 1, 0, 0, 102, 70, kRed},   {"his right half", 1, 0, 0, 117, 70, kBlue},
        {"mirrored, left", 2, 0, 0, 102, 70, kBlue}, {"mirrored, right", 2, 0, 0, 117, 70, kRed},
        {"beside him", 2, 0, 0, 98, 70, kBlack},     {"hidden", 5, 0, 0, 102, 70, kBlack},
        {"crate corner", 1, 0, 0, x, 152, kGreen},   {"far corner", 1, 0, 0, x + 19, 171, kGreen},
        {"left of it", 1, 0, 0, x - 1, 160, kBlack}, {"right of it", 1, 0, 0, x + 20, 160, kBlack},
        {"carried crate", 1, 0, 0, 202, 42, kGreen}, {"over it", 1, 0, 0, 202, 41, kBlack},
        {"beside it", 1, 0, 0, 201, 50, kBlack},     {"none if empty", 1, 1, 0, 202, 42, kBlack},
        {"loaded crane", 1, 0, 0, 201, 38, kWhite},  {"empty crane", 1, 1, 0, 201, 38, kYellow},
        {"green lamp", 1, 0, 0, 49, 38, kCyan},      {"red lamp", 1, 0, 1, 49, 38, kRed},
    };
    EachRow(rows, [&](const auto& r) {
        AddCrate(4);
        worker.active = false;  // the scene stands still
        worker.x = 100.0f;
        worker.y = 60.0f;
        worker.facing = static_cast<Facing>(r.facing);
        gs.cranes[0].x = 200.0f;
        gs.cranes[0].unloaded = r.unloaded;
        gs.alarms[0].state = r.alarm;
        DrawFrame();
        const Rgba seen = oltest::ScreenPixels().At(2 * r.x + 1, 2 * r.y + 1);  // logical (x, y)
        EXPECT_TRUE(oltest::Near(seen, r.colour, 8)) << seen;
    });
}

// Watches the end of a game at each of its sounds: how many passes were drawn, TIME, and where
// the letters of "GAME OVER!" were drawn in the last pass; Enter goes down at the 20th sound.
class WaveWatch : public SoundOutput {
public:
    int sounds = 0;
    testsupport::TextSeen text;  // the last pass's letters are the last lines drawn
    void Play(const std::string& path, bool) override
    {
        const int n = ++sounds;
        const int pass = gameState.workerSprites[0].Elapsed() + 1;
        SCOPED_TRACE(n);
        EXPECT_EQ(pass, n <= 12 ? 6 * n : 6 * n - 5);  // 5 degrees a pass, and 360 comes back to 0
        EXPECT_EQ(gameState.elapsedSeconds, n == 1 ? 32 : n == 2 ? 22 : 24 - n);
        EXPECT_EQ(path, "sfx\\sfx5");
        const std::vector<std::string> lines = text.Lines();
        ASSERT_GE(lines.size(), 9u);
        const int angle = 5 * ((pass - 1) % 73);
        const auto y = [angle](int k) {
            return int(111 + 5 * std::sin(k + angle * M_PI / 180));
        };
        std::vector<std::string> want;
        for (int k = 0; k < 10; ++k)  // the space is not drawn
            if (k != 4)
                want.push_back(testsupport::Said(
                    {125 + 7 * k, y(k), gameState.palette[15], {"GAME OVER!"[k]}}));
        EXPECT_EQ(std::vector<std::string>(lines.end() - 9, lines.end()), want);
        if (n == 20)
            key[KEY_ENTER] = 1;
    }
    void StopAll() override
    {
    }
};

// The end of a game waves "GAME OVER!" one pass a tick of the clock, each drawn when the ticks
// come one at a time, and counts TIME down every 30 degrees with a tick sound, until Enter turns
// the rest into points, keeps the game with its final score and hands over to the high-score
// entry.
TEST_F(YardTest, EndOfGameWavesAndCountsDownUntilEnter)
{
    testsupport::ScratchDir scratch;
    ASSERT_TRUE(oltest::OpenTestScreen(640, 400));
    WaveWatch* seen = new WaveWatch;
    UseSoundOutput(std::unique_ptr<SoundOutput>(seen));
    static int entries = 0;
    enterHighScore = [] {
        entries += 1;
    };
    gs.elapsedSeconds = 42;
    gs.workerSprites[0].Reset();  // alive: his sprite counts the frames
    sem_init(&gs.tickSemaphore, 0, 0);
    std::thread clock([] {
        while (!key[KEY_ENTER]) {
            gameState.tickCounter = 2;  // one pass due beyond the tick the worker died in
            sem_post(&gameState.tickSemaphore);
            std::this_thread::sleep_for(1ms);
        }
    });
    EndOfGame();
    clock.join();
    enterHighScore = nullptr;
    EXPECT_TRUE(seen->sounds == 20 && entries == 1 && !gameRunning);
    EXPECT_TRUE(worker.score == 420 && gs.elapsedSeconds == 0);
    Replay kept;
    std::string error;
    ASSERT_TRUE(DecodeReplay(testsupport::ReadFile("lastgame.qmr"), kept, error)) << error;
    EXPECT_EQ(kept.score, 420);
    EXPECT_EQ(kept.ending, GameEnding::Crate);
}

// Digits are cells 0-9 and capitals 10-35 in order, the marks ! ( ) : - " . < > 36 and 38-45,
// a space 46; lower case and every other byte show cell 37, the '?'.
TEST(TextCells, EveryByteHasItsSheetCell)
{
    const std::string marks = "!?():-\".<> ";
    for (int c = 0; c < 256; ++c) {
        const int mark = int(marks.find(char(c)));  // -1 when none
        EXPECT_EQ(CharacterCell(char(c)), std::isdigit(c)   ? c - '0'
                                          : std::isupper(c) ? 10 + c - 'A'
                                          : mark >= 0       ? 36 + mark
                                                            : 37)
            << c;
    }
}

// "A1" at (10, 5) on 640 x 400: 12 x 14 quads at (20, 10) and (34, 10) showing only sheet
// columns 70..75 (cell 10) and 7..12 (cell 1), each character 7 units on whatever its cell;
// a tinted line leaves no fog behind (the layer's tests check the tint's colours).
TEST(Text, CharactersLandOnTheirGridPlacesShowingTheirCells)
{
    ASSERT_TRUE(oltest::OpenTestScreen(640, 400)) << "pixel tests need Xvfb";
    const auto sheetColumn = [](int x) {  // each column its own colour, the gaps magenta
        return x % 7 == 6 ? Rgba{255, 0, 255, 255} : Rgba{x & 0xFF, 100 + 100 * (x >> 8), 50, 255};
    };
    LoadPicture(gameState.fontImage, 329, 7, 24, sheetColumn);
    scaleX = scaleY = 2.0f;
    DrawTextLine({10, 5, ol::Color(), "A1"});  // colour alpha 0: the sheet's own colours
    DrawTextLine({20, 30, ol::Color::RED, "W.W"});
    gameState.fontImage.Destroy(false);
    EXPECT_FALSE(glIsEnabled(GL_FOG)) << "the tint must switch its fog off again";
    const oltest::ScreenPixels screen;
    for (int y = 8; y < 26; ++y)
        for (int x = 18; x < 48; ++x) {
            const bool row = y >= 10 && y < 24;
            const Rgba want = row && x >= 20 && x < 32   ? sheetColumn(70 + (x - 20) / 2)
                              : row && x >= 34 && x < 46 ? sheetColumn(7 + (x - 34) / 2)
                                                         : kBlack;
            ASSERT_TRUE(oltest::Near(screen.At(x, y), want)) << x << "," << y;
        }
}

}  // namespace
}  // namespace yardtest
