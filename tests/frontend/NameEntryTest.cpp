// The name entry, driven through the keyboard buffer as a player's keys
// arrive: the grid, typing, erasing, and the END that needs a letter.
#include <allegro.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "frontend/Screens.h"
#include "game/GameState.h"
#include "tests/frontend/ScreenHarness.h"
#include "tests/support/TestSupport.h"

using namespace screens;
using testsupport::ReadFile;
using testsupport::ScratchDir;

namespace {

const char kTable[] = "A\r\nB\r\nC\r\nD\r\nE\r\n";

void WriteTable(std::initializer_list<int32_t> scores)
{
    mkdir("data", 0755);
    std::string bytes;
    for (int32_t s : scores)
        for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(s >> shift & 0xFF);
    testsupport::WriteFile("data/scores.hst", bytes);
    testsupport::WriteFile("data/names.hst", kTable);
}

// From wherever the marker is in the bottom row's left part: to END and select it.
void FinishFromCell(int cellInBottomRow)
{
    PressRepeatedly(KEY_RIGHT, 28 - cellInBottomRow);
    Press(KEY_ENTER, 13);
}

// Runs the entry on the queued keys. A sequence that never reaches END would
// wait for ever: after a few seconds a rescue types "z" and finishes.
std::string EnterName(int finalScore)
{
    gameState.worker.score = finalScore;
    gameState.titleTicks = 0;
    std::atomic<bool> done{false}, rescued{false};
    std::thread watchdog([&] {
        for (int waited = 0; waited < 5000 && !done; waited += 10)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (done) return;
        rescued = true;
        Type("z");
        PressRepeatedly(KEY_DOWN, 2);
        PressRepeatedly(KEY_RIGHT, 9);
        Press(KEY_ENTER, 13);
    });
    runHighScoreEntry();
    done = true;
    watchdog.join();
    EXPECT_FALSE(rescued) << "the keys never finished the entry";
    std::string names = ReadFile("data/names.hst");
    return rescued ? "" : names;
}

struct Case {
    const char* what;
    std::function<void()> keys;
    const char* savedName;
};

}  // namespace

TEST(NameEntry, KeysSpellTheName)
{
    if (!OpenScreen()) return;
    const Case cases[] = {
        {"typing: lower case only, shifted letters and digits ignored",
         [] { Type("q"); Press(KEY_Q, 'Q'); Press(KEY_7, '7'); PressRepeatedly(KEY_DOWN, 2); FinishFromCell(20); },
         "Q"},
        {"nine letters keep eight",
         [] { Type("abcdefghi"); PressRepeatedly(KEY_DOWN, 2); FinishFromCell(20); }, "ABCDEFGH"},
        {"Enter on a letter with eight letters adds none",
         [] { Type("abcdefgh"); Press(KEY_ENTER, 13); PressRepeatedly(KEY_DOWN, 2); FinishFromCell(20); }, "ABCDEFGH"},
        {"Right stops at J, Down stops at the bottom row",
         [] {
             PressRepeatedly(KEY_RIGHT, 10); Press(KEY_ENTER, 13);
             PressRepeatedly(KEY_LEFT, 10); PressRepeatedly(KEY_DOWN, 3); Press(KEY_ENTER, 13);
             PressRepeatedly(KEY_UP, 3); Press(KEY_DOWN); Press(KEY_ENTER, 13);
             Press(KEY_DOWN); FinishFromCell(20);
         },
         "JUK"},
        {"Backspace and the < cell erase; on an empty name they do nothing",
         [] {
             Press(KEY_BACKSPACE, 8); Type("abc"); Press(KEY_BACKSPACE, 8);
             PressRepeatedly(KEY_DOWN, 2); PressRepeatedly(KEY_RIGHT, 7); Press(KEY_ENTER, 13);
             Press(KEY_ENTER, 13); Press(KEY_ENTER, 13); Type("m"); FinishFromCell(27);
         },
         "M"},
        {"END with no letters and the blank cell do nothing; the second END cell finishes",
         [] {
             PressRepeatedly(KEY_DOWN, 2); PressRepeatedly(KEY_RIGHT, 8); Press(KEY_ENTER, 13);
             PressRepeatedly(KEY_LEFT, 2); Press(KEY_ENTER, 13); Press(KEY_ESC, 27);
             Type("x"); PressRepeatedly(KEY_RIGHT, 3); Press(KEY_ENTER, 13);
         },
         "X"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        WriteTable({500, 400, 300, 200, 100});
        DrainKeyboard();
        c.keys();
        const std::string names = EnterName(1000);
        EXPECT_EQ(names, std::string(c.savedName) + "\r\nA\r\nB\r\nC\r\nD\r\n");
        EXPECT_EQ(gameState.titleTicks, 1100) << "the next title visit opens on the table";
        EXPECT_FALSE(keypressed()) << "keys were left in the buffer";
    }
}

TEST(NameEntry, OnlyAScoreAboveTheFifthPlaceIsEntered)
{
    if (!OpenScreen()) return;
    {
        SCOPED_TRACE("equal to the fifth: no entry, the keys stay in the buffer");
        ScratchDir dir;
        WriteTable({500, 400, 300, 200, 100});
        const std::string scoresBefore = ReadFile("data/scores.hst");
        DrainKeyboard();
        Type("a");
        gameState.worker.score = 100;
        gameState.titleTicks = 7;
        runHighScoreEntry();
        EXPECT_TRUE(keypressed());
        EXPECT_EQ(gameState.titleTicks, 7);
        EXPECT_EQ(ReadFile("data/scores.hst"), scoresBefore);
        EXPECT_EQ(ReadFile("data/names.hst"), kTable);
    }
    struct Case {
        const char* what;
        std::initializer_list<int32_t> before;
        int score;
        const char* headline;
        std::string scores, names;
    };
    auto bytes = [](std::initializer_list<int32_t> scores) {
        std::string b;
        for (int32_t s : scores)
            for (int shift = 0; shift < 32; shift += 8) b += static_cast<char>(s >> shift & 0xFF);
        return b;
    };
    const Case cases[] = {
        {"one point more: fifth place", {500, 400, 300, 200, 100}, 101, "YOU ENTERED THE 5TH PLACE!",
         bytes({500, 400, 300, 200, 101}), "A\r\nB\r\nC\r\nD\r\nN\r\n"},
        {"between third and fourth", {500, 400, 300, 200, 100}, 250, "YOU ENTERED THE 4TH PLACE!",
         bytes({500, 400, 300, 250, 200}), "A\r\nB\r\nC\r\nN\r\nD\r\n"},
        {"above all", {500, 400, 300, 200, 100}, 501, "YOU ENTERED THE 1ST PLACE!",
         bytes({501, 500, 400, 300, 200}), "N\r\nA\r\nB\r\nC\r\nD\r\n"},
        {"second", {500, 400, 300, 200, 100}, 450, "YOU ENTERED THE 2ND PLACE!",
         bytes({500, 450, 400, 300, 200}), "A\r\nN\r\nB\r\nC\r\nD\r\n"},
        {"a short table has free places", {500, 400}, 10, "YOU ENTERED THE 3RD PLACE!",
         bytes({500, 400, 10, 0, 0}), "A\r\nB\r\nN\r\nD\r\nC\r\n"},  // the sort swaps the zeros
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        WriteTable(c.before);
        DrainKeyboard();
        Type("n");
        PressRepeatedly(KEY_DOWN, 2);
        FinishFromCell(20);
        EXPECT_EQ(EnterName(c.score), c.names);
        EXPECT_EQ(ReadFile("data/scores.hst"), c.scores);
        // The last frame shown before END was taken.
        ExpectShownText(68, 20, gameState.palette[10], c.headline);
        ExpectShownText(130, 54, gameState.palette[15], "N");
    }
}
