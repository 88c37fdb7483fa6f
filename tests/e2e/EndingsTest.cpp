// The desktop ending the real game: a signal or the close button on each screen, the display
// going away in play, and kills in the middle of a save. The player's settings and table must
// come through each whole, and the game must end at once, never hang or dump core.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "tests/support/GameProcess.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;

namespace {

const std::string kDefaults =
    "[Resolution]\n640\n400\n\n[Fullscreen]\n0\n\n[ColorDepth]\n32\n\n"
    "[Anti-aliasing]\n0\n\n[SoundEnabled]\n1\n\n";
const Lines kShutdown = {"Shutting down:", "   Freeing resources:",
                         "      Destroying bitmaps...Done!",
                         "      Destroying sound system...Done!", "   Shutting down log system..."};

// A weak table, so that any game earns a place in it.
class Endings : public ::testing::Test {
protected:
    void SetUp() override {
        dir.CopyData({"audio"});
        WriteWeakTable();
        table = Table();
    }
    static std::string Table() { return ReadFile("data/scores.hst") + ReadFile("data/names.hst"); }
    // Ends the game with `end` and returns its status; `ms` is how long it took to go.
    int EndAndTime(const std::function<void()>& end, long& ms) {
        const auto start = std::chrono::steady_clock::now();
        end();
        const int status = game.Wait(10000);
        ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                 std::chrono::steady_clock::now() - start).count();
        return status;
    }

    ScratchDir dir;
    GameProcess game;
    std::string table;
};

// Each screen, reached from the title; the settings it leaves behind.
struct Screen {
    const char* name;
    std::function<bool(const std::string& log)> reach;
    bool soundSwitchedOff = false;
};

const Screen kScreens[] = {
    {"Title", [](const std::string&) { return true; }},
    // O opens the options; S switches sound off, which must reach "config.ini".
    {"Options", [](const std::string&) { HoldKey("o", 200); Sleep(300); TapKey("s"); return true; },
     true},
    {"Play", [](const std::string& log) {
         HoldKey("Return");
         return WaitForLine(log, "Game running!", 10000);
     }},
    {"GameOver", [](const std::string& log) { return PlayUntilDeath(log, false); }},
    // A letter typed, then the entry cut short: the table must stay as it was.
    {"NameEntry", [](const std::string& log) { return PlayUntilDeath(log, true) && (TapKey("q"), true); }},
};

struct Way {
    const char* name;
    std::function<void(GameProcess&)> end;
};
const Way kWays[] = {
    {"SIGTERM", [](GameProcess& game) { game.Kill(SIGTERM); }},
    {"SIGINT", [](GameProcess& game) { game.Kill(SIGINT); }},
    {"SIGHUP", [](GameProcess& game) { game.Kill(SIGHUP); }},
    {"CloseButton", [](GameProcess&) { EXPECT_TRUE(RequestClose()); }},
};

TEST_F(Endings, EachWayOnEachScreenQuitsAsEscapeOnTheTitleDoes) {
    for (const Screen& screen : kScreens) {
        for (const Way& way : kWays) {
            SCOPED_TRACE(std::string(way.name) + " on " + screen.name);
            std::filesystem::remove("config.ini");
            ASSERT_TRUE(game.StartToTitle(dir.Path())) << ReadFile("quillemarch.log");
            ASSERT_TRUE(screen.reach("quillemarch.log")) << ReadFile("quillemarch.log");
            long ms = 0;
            EXPECT_EQ(EndAndTime([&] { way.end(game); }, ms), 0);
            EXPECT_LT(ms, 1000);
            Lines tail = kShutdown;
            if (screen.soundSwitchedOff) tail.erase(tail.begin() + 3);
            const Lines body = LogBody("quillemarch.log");
            ASSERT_GE(body.size(), tail.size());
            EXPECT_EQ(Lines(body.end() - tail.size(), body.end()), tail);
            EXPECT_EQ(ReadLines("ortholayer.log").back(), "OrthoLayer shutdown finished");
            std::string config = kDefaults;
            if (screen.soundSwitchedOff) config.replace(config.size() - 3, 1, "0");
            EXPECT_EQ(ReadFile("config.ini"), config);
            EXPECT_EQ(Table(), table);
        }
    }
}

// The game on a display of its own, whose server goes away in the middle of a game.
TEST_F(Endings, ALostDisplayEndsTheGameWithItsSettingsSaved) {
    const std::string ownDisplay = ":" + std::to_string(150 + getpid() % 100);
    const std::string server = Shell("Xvfb " + ownDisplay + " -screen 0 800x600x24 -nolisten tcp "
                                     ">/dev/null 2>&1 & echo $!");
    const std::string testDisplay = getenv("DISPLAY");
    setenv("DISPLAY", ownDisplay.c_str(), 1);
    Sleep(1000);
    const bool started = game.StartToTitle(dir.Path()) && (HoldKey("Return"), Sleep(1000), true);
    long ms = 0;
    const int status = EndAndTime([&] { Shell("kill " + server); }, ms);
    setenv("DISPLAY", testDisplay.c_str(), 1);
    ASSERT_TRUE(started) << ReadFile("quillemarch.log");
    EXPECT_EQ(status, 1);
    EXPECT_LT(ms, 1000);
    EXPECT_EQ(LogBody("quillemarch.log").back(), "Lost the connection to the display! Shutting down.");
    EXPECT_EQ(ReadFile("config.ini"), kDefaults);
    EXPECT_EQ(Table(), table);
}

// Killed at a random moment of a save, many times: each file is the old one or the new one,
// whole. Enter on the title saves the table it read; a quit saves the settings just changed.
TEST_F(Endings, KilledWhileSavingLeavesEachFileWhole) {
    WriteFile("config.ini", kDefaults);
    std::mt19937 random(1);
    for (int round = 0; round < 16; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::string settings = ReadFile("config.ini"), changed = settings;
        changed.replace(changed.size() - 3, 1, changed[changed.size() - 3] == '1' ? "0" : "1");
        ASSERT_TRUE(game.StartToTitle(dir.Path())) << ReadFile("quillemarch.log");
        if (round % 2) {
            HoldKey("o", 200);
            TapKey("s");
            game.Kill(SIGTERM);
        } else {
            Shell("xdotool keydown Return");
        }
        Sleep(static_cast<int>(random() % 60));
        game.Kill(SIGKILL);
        game.Wait(5000);
        Shell("xdotool keyup Return");
        EXPECT_EQ(Table(), table);
        const std::string after = ReadFile("config.ini");
        EXPECT_TRUE(after == settings || (round % 2 && after == changed)) << after;
    }
}

}  // namespace
