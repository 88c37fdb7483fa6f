// Start-up and shutdown of the real game under Xvfb: what the player sees in
// the logs and in "config.ini" for a normal run and for each way start-up can
// go wrong.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "tests/support/GameProcess.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;

namespace {

const std::vector<std::string> kDefaultConfig = {
    "[Resolution]", "640", "400", "", "[Fullscreen]", "0", "", "[ColorDepth]", "32", "",
    "[Anti-aliasing]", "0", "", "[SoundEnabled]", "1", ""};

const std::vector<std::string> kEngineStart = {
    "Init engine:",
    "   Reading config file...Failed!",
    "      ...generating new default config file...Done!",
    "   Setting up screen...Done!",
    "   Initializing sound engine...Done!",
    "      Searching for SFX/MUS files...",
};

const std::vector<std::string> kGameAndTitle = {
    "Init game:",
    "   Loading GFX...",
    "   Initializing timer...Done!",
    "Init intro:",
    "   Loading GFX...",
    "   Reading high score data...",
    "   Playing intro!",
};

const std::vector<std::string> kQuit = {
    "Shutting down:",
    "   Freeing resources:",
    "      Destroying bitmaps...Done!",
    "      Destroying sound system...Done!",
    "   Shutting down log system...",
};

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(getenv("DISPLAY"), nullptr) << "these tests need an X display (Xvfb)";
        dir.CopyData("audio");
        dir.CopyData("scores.hst");
        dir.CopyData("names.hst");
    }

    // Starts the game and waits for the title screen to run.
    void StartToTitle(const GameProcess::Env& env = {}) {
        ASSERT_TRUE(game.Start(dir.Path(), env));
        ASSERT_TRUE(WaitForLine("quillemarch.log", "   Playing intro!", 30000))
            << ReadFile("quillemarch.log");
        ASSERT_TRUE(FocusGameWindow(10000));
    }

    // Escape on the title screen: the one way the game ends normally.
    void QuitFromTitle() {
        HoldKey("Escape", 300);
        EXPECT_EQ(game.Wait(20000), 0) << ReadFile("quillemarch.log");
    }

    ScratchDir dir;
    GameProcess game;
};

TEST_F(Startup, FirstRunWritesTheExpectedLogsAndADefaultConfig) {
    StartToTitle();
    QuitFromTitle();

    auto lines = ReadLines("quillemarch.log");
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(std::regex_match(lines[0],
                                 std::regex(R"(----- \d\d/\d\d/\d\d \d\d:\d\d:\d\d ----- )")))
        << lines[0];
    EXPECT_EQ(LogBody("quillemarch.log"), Join({kEngineStart, kGameAndTitle, kQuit}));
    EXPECT_EQ(ReadFile("config.ini"),
              "[Resolution]\n640\n400\n\n[Fullscreen]\n0\n\n[ColorDepth]\n32\n\n"
              "[Anti-aliasing]\n0\n\n[SoundEnabled]\n1\n\n");

    // The layer's log: started, screen up, every picture loaded, and the exit
    // clean-up in its order at the end.
    auto layer = ReadLines("ortholayer.log");
    ASSERT_GE(layer.size(), 8u);
    EXPECT_EQ(layer.front(), "OrthoLayer started up succesfully");
    std::string all = ReadFile("ortholayer.log");
    EXPECT_NE(all.find("Screen set up succesfully\n\n"), std::string::npos);
    EXPECT_NE(all.find("Loading bitmap: data\\gfx\\sprites\\crate.png\n"), std::string::npos);
    EXPECT_EQ(all.find("ERROR"), std::string::npos) << all;
    EXPECT_EQ(layer.back(), "OrthoLayer shutdown finished");
    EXPECT_EQ(layer[layer.size() - 2], "Used framebuffer: Framebuffer emulation");
    EXPECT_EQ(layer[layer.size() - 3], "Destroying the framebuffer");
}

TEST_F(Startup, SoundSwitchedOffSkipsTheSoundEngine) {
    WriteFile("config.ini",
              "[Resolution]\n640\n400\n\n[Fullscreen]\n0\n\n[ColorDepth]\n32\n\n"
              "[Anti-aliasing]\n1\n\n[SoundEnabled]\n0\n\n");
    StartToTitle();
    QuitFromTitle();
    EXPECT_EQ(LogBody("quillemarch.log"),
              Join({{"Init engine:", "   Reading config file...Done!",
                     "   Setting up screen...Done!", "   NO SOUND! Sound disabled in config.ini!"},
                    kGameAndTitle,
                    {"Shutting down:", "   Freeing resources:", "      Destroying bitmaps...Done!",
                     "   Shutting down log system..."}}));
    EXPECT_NE(ReadFile("config.ini").find("[Anti-aliasing]\n1\n\n[SoundEnabled]\n0\n"),
              std::string::npos);
}

TEST_F(Startup, NoSoundDeviceEndsWithStatusOneAndStillWritesTheConfig) {
    // No OpenAL back-end can open: the same as a machine without a sound card.
    ASSERT_TRUE(game.Start(dir.Path(), {{"ALSOFT_DRIVERS", "no-such-driver"}}));
    EXPECT_EQ(game.Wait(30000), 1);
    EXPECT_EQ(LogBody("quillemarch.log"),
              (std::vector<std::string>{"Init engine:", "   Reading config file...Failed!",
                                        "      ...generating new default config file...Done!",
                                        "   Setting up screen...Done!",
                                        "   Initializing sound engine...Failed!",
                                        "   Shutting down log system..."}));
    EXPECT_EQ(ReadLines("config.ini"), kDefaultConfig);
}

TEST_F(Startup, NoDisplayEndsWithTheApologyAndStatusOne) {
    ASSERT_TRUE(game.Start(dir.Path(), {{"DISPLAY", ""}}));
    EXPECT_EQ(game.Wait(30000), 1) << "the game must not crash without a display";
    EXPECT_EQ(LogBody("quillemarch.log"),
              (std::vector<std::string>{
                  "Init engine:", "   Reading config file...Failed!",
                  "      ...generating new default config file...Done!",
                  "   Setting up screen...Failed!", "      Reverting to default GFX mode...Failed!",
                  "         Sorry! Seems to be no OpenGL support on this graphics card. You can "
                  "blame the stupid programmer who made this game OpenGL only!",
                  "   Shutting down log system..."}));
    EXPECT_EQ(ReadLines("config.ini"), kDefaultConfig);
    std::string layer = ReadFile("ortholayer.log");
    EXPECT_NE(layer.find("ERROR: Couldn't up the screen! (Width: 640, Height: 400, Windowed, "
                         "Color depth: 32, Z Depth: 8)"),
              std::string::npos)
        << layer;
}

TEST_F(Startup, ARefusedScreenSizeFallsBackAndIsKeptForTheNextStart) {
    // A zero width (also what an unreadable number leaves) cannot be opened.
    WriteFile("config.ini",
              "[Resolution]\n0\n400\n\n[Fullscreen]\n0\n\n[ColorDepth]\n32\n\n"
              "[Anti-aliasing]\n0\n\n[SoundEnabled]\n1\n\n");
    StartToTitle();
    QuitFromTitle();
    auto body = LogBody("quillemarch.log");
    ASSERT_GE(body.size(), 4u);
    EXPECT_EQ(body[2], "   Setting up screen...Failed!");
    EXPECT_EQ(body[3], "      Reverting to default GFX mode...Done!");
    EXPECT_EQ(ReadLines("config.ini")[1], "0") << "the refused size is tried again next time";
}

TEST_F(Startup, MissingAudioDirectoryIsLoggedAndTheGameRunsSilent) {
    ASSERT_EQ(system(("rm -rf '" + dir.Path() + "/data/audio'").c_str()), 0);
    StartToTitle();
    QuitFromTitle();
    auto body = LogBody("quillemarch.log");
    ASSERT_GE(body.size(), 7u);
    EXPECT_EQ(body[5], "      Searching for SFX/MUS files...");
    EXPECT_EQ(body[6], "         Couldn't find audio directory!");
}

TEST_F(Startup, WindowsLineEndsInTheConfigKeepTheSettings) {
    WriteFile("config.ini",
              "[Resolution]\r\n800\r\n500\r\n\r\n[Fullscreen]\r\n0\r\n\r\n[ColorDepth]\r\n32\r\n"
              "\r\n[Anti-aliasing]\r\n1\r\n\r\n[SoundEnabled]\r\n1\r\n\r\n");
    StartToTitle();
    QuitFromTitle();
    EXPECT_EQ(ReadFile("config.ini"),
              "[Resolution]\n800\n500\n\n[Fullscreen]\n0\n\n[ColorDepth]\n32\n\n"
              "[Anti-aliasing]\n1\n\n[SoundEnabled]\n1\n\n");
}

TEST_F(Startup, EnterStartsAGameAndEscapeLeavesItForTheTitle) {
    StartToTitle();
    HoldKey("Return");
    ASSERT_TRUE(WaitForLine("quillemarch.log", "Game running!", 10000))
        << ReadFile("quillemarch.log");
    Sleep(500);
    HoldKey("Escape");
    // Back on the title screen, which waits for Escape to be let go before it
    // listens again; a second press quits.
    Sleep(1500);
    ASSERT_TRUE(game.Running()) << "Escape in a game must not quit the program";
    QuitFromTitle();
    auto body = LogBody("quillemarch.log");
    int intros = 0;
    for (const auto& l : body) intros += (l == "   Playing intro!");
    EXPECT_EQ(intros, 2);
    EXPECT_EQ(std::count(body.begin(), body.end(), "   Removing menu resources...Done!"), 1);
}

}  // namespace
