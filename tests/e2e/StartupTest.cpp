// Start-up and shutdown of the real game under Xvfb: what the player finds in
// the logs and in "config.ini" after a normal run and after each way start-up
// can go wrong.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "tests/support/GameProcess.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;
using Lines = std::vector<std::string>;

namespace {

std::string Config(const char* width, const char* height, const char* smooth, const char* sound,
                   const char* eol = "\n") {
    std::string s;
    for (std::string line : {"[Resolution]", width, height, "", "[Fullscreen]", "0", "",
                             "[ColorDepth]", "32", "", "[Anti-aliasing]", smooth, "",
                             "[SoundEnabled]", sound, ""})
        s += line + eol;
    return s;
}

Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::string kDefaults = Config("640", "400", "0", "1");
const Lines kNoConfig = {"Init engine:", "   Reading config file...Failed!",
                         "      ...generating new default config file...Done!"};
const Lines kWithConfig = {"Init engine:", "   Reading config file...Done!"};
const Lines kScreen = {"   Setting up screen...Done!"};
const Lines kSound = {"   Initializing sound engine...Done!", "      Searching for SFX/MUS files..."};
const Lines kGameAndTitle = {"Init game:", "   Loading GFX...", "   Initializing timer...Done!",
                             "Init intro:", "   Loading GFX...", "   Reading high score data...",
                             "   Playing intro!"};
const Lines kQuit = {"Shutting down:", "   Freeing resources:", "      Destroying bitmaps...Done!",
                     "      Destroying sound system...Done!", "   Shutting down log system..."};
const Lines kQuitSilent = {"Shutting down:", "   Freeing resources:",
                           "      Destroying bitmaps...Done!", "   Shutting down log system..."};
const Lines kNoScreen = {
    "   Setting up screen...Failed!", "      Reverting to default GFX mode...Failed!",
    "         Sorry! Seems to be no OpenGL support on this graphics card. You can blame the "
    "stupid programmer who made this game OpenGL only!",
    "   Shutting down log system..."};

struct Case {
    const char* name;
    std::string configBefore;  // "" for none
    GameProcess::Env env;
    bool withAudio;
    int status;  // 0: played to the title and quit with Escape
    Lines body;
    std::string configAfter;
};

class Startup : public ::testing::TestWithParam<Case> {};

TEST_P(Startup, LogsAndConfigAsThePlayerFindsThem) {
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "these tests need an X display (Xvfb)";
    const Case& c = GetParam();
    ScratchDir dir;
    dir.CopyData("scores.hst");
    dir.CopyData("names.hst");
    if (c.withAudio) dir.CopyData("audio");
    if (!c.configBefore.empty()) WriteFile("config.ini", c.configBefore);

    GameProcess game;
    ASSERT_TRUE(game.Start(dir.Path(), c.env));
    if (c.status == 0) {
        ASSERT_TRUE(WaitForLine("quillemarch.log", "   Playing intro!", 30000))
            << ReadFile("quillemarch.log");
        ASSERT_TRUE(FocusGameWindow(10000));
        HoldKey("Escape", 300);
    }
    EXPECT_EQ(game.Wait(30000), c.status) << "the game must end as it says, never crash";

    Lines lines = ReadLines("quillemarch.log");
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(----- \d\d/\d\d/\d\d \d\d:\d\d:\d\d ----- )")))
        << lines[0];
    EXPECT_EQ(LogBody("quillemarch.log"), c.body);
    EXPECT_EQ(ReadFile("config.ini"), c.configAfter);

    // The layer's log opens with its start and ends with its exit clean-up.
    Lines layer = ReadLines("ortholayer.log");
    ASSERT_GE(layer.size(), 4u);
    EXPECT_EQ(layer.front(), "OrthoLayer started up succesfully");
    EXPECT_EQ(Lines(layer.end() - 3, layer.end()),
              (Lines{"Destroying the framebuffer", "Used framebuffer: Framebuffer emulation",
                     "OrthoLayer shutdown finished"}));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, Startup,
    ::testing::Values(
        Case{"FirstRun", "", {}, true, 0, kNoConfig + kScreen + kSound + kGameAndTitle + kQuit,
             kDefaults},
        Case{"SoundOff", Config("640", "400", "1", "0"), {}, true, 0,
             kWithConfig + kScreen + Lines{"   NO SOUND! Sound disabled in config.ini!"} +
                 kGameAndTitle + kQuitSilent,
             Config("640", "400", "1", "0")},
        // No OpenAL back-end opens: a machine without a sound card.
        Case{"NoSoundDevice", "", {{"ALSOFT_DRIVERS", "no-such-driver"}}, true, 1,
             kNoConfig + kScreen +
                 Lines{"   Initializing sound engine...Failed!", "   Shutting down log system..."},
             kDefaults},
        Case{"NoDisplay", "", {{"DISPLAY", ""}}, true, 1, kNoConfig + kNoScreen, kDefaults},
        // A zero width (what an unreadable number leaves) cannot be opened; the
        // refused size is kept to be tried again next time.
        Case{"RefusedSize", Config("0", "400", "0", "1"), {}, true, 0,
             kWithConfig + Lines{"   Setting up screen...Failed!",
                                 "      Reverting to default GFX mode...Done!"} +
                 kSound + kGameAndTitle + kQuit,
             Config("0", "400", "0", "1")},
        Case{"NoAudio", "", {}, false, 0,
             kNoConfig + kScreen + kSound + Lines{"         Couldn't find audio directory!"} +
                 kGameAndTitle + kQuit,
             kDefaults},
        Case{"WindowsLineEnds", Config("800", "500", "1", "1", "\r\n"), {}, true, 0,
             kWithConfig + kScreen + kSound + kGameAndTitle + kQuit,
             Config("800", "500", "1", "1")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Startup, EnterStartsAGameAndEscapeLeavesItForTheTitle) {
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "this test needs an X display (Xvfb)";
    ScratchDir dir;
    dir.CopyData("audio");
    GameProcess game;
    ASSERT_TRUE(game.Start(dir.Path()));
    ASSERT_TRUE(WaitForLine("quillemarch.log", "   Playing intro!", 30000));
    ASSERT_TRUE(FocusGameWindow(10000));
    HoldKey("Return");
    ASSERT_TRUE(WaitForLine("quillemarch.log", "Game running!", 10000));
    Sleep(500);
    HoldKey("Escape");
    // The title waits for Escape to be let go before it listens again.
    Sleep(1500);
    ASSERT_TRUE(game.Running()) << "Escape in a game must not quit the program";
    HoldKey("Escape", 300);
    EXPECT_EQ(game.Wait(20000), 0);
    Lines body = LogBody("quillemarch.log");
    EXPECT_EQ(std::count(body.begin(), body.end(), "   Playing intro!"), 2);
    EXPECT_EQ(std::count(body.begin(), body.end(), "   Removing menu resources...Done!"), 1);
}

}  // namespace
