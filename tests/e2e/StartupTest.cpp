// Start-up and shutdown of the real game: the logs and "config.ini" a player finds after a
// normal run and after each way start-up can go wrong.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <regex>
#include <set>
#include <string>

#include "tests/support/GameProcess.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;

namespace {

// `mode`: full screen, then the colour depth.
std::string Config(const std::string& size, char smooth, char sound,
                   const std::string& mode = "0\n\n[ColorDepth]\n32", const char* eol = "\n") {
    const std::string s = "[Resolution]\n" + size + "\n\n[Fullscreen]\n" + mode + "\n\n" +
                          "[Anti-aliasing]\n" + smooth + "\n\n[SoundEnabled]\n" + sound + "\n\n";
    return std::regex_replace(s, std::regex("\n"), eol);
}

Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::string kDefaults = Config("640\n400", '0', '1');
const Lines kNoConfig = {"Init engine:", "   Reading config file...Failed!",
                         "      ...generating new default config file...Done!"};
const Lines kWithConfig = {"Init engine:", "   Reading config file...Done!"};
const Lines kScreen = {"   Setting up screen...Done!"};
const Lines kSound = {"   Initializing sound engine...Done!", "      Searching for SFX/MUS files..."};
const Lines kGame = {"Init game:", "   Loading GFX...", "   Initializing timer...Done!"};
const Lines kTitle = {"Init intro:", "   Loading GFX...", "   Reading high score data...",
                      "   Playing intro!"};
const Lines kQuitSilent = {"Shutting down:", "   Freeing resources:",
                           "      Destroying bitmaps...Done!", "   Shutting down log system..."};
const Lines kQuit = {"Shutting down:", "   Freeing resources:", "      Destroying bitmaps...Done!",
                     "      Destroying sound system...Done!", "   Shutting down log system..."};
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
    int status;  // 0: played to the title (and a game if asked) and quit with Escape
    Lines body;
    std::string configAfter;
    bool playAGame = false;
    // At the title: the window's size and whether its pictures are filtered smoothly.
    std::string window = "640x400";
    bool smooth = false;
};

// Failures name the case rather than dump its bytes.
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class Startup : public ::testing::TestWithParam<Case> {};

TEST_P(Startup, LogsAndConfigAsThePlayerFindsThem) {
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "these tests need an X display (Xvfb)";
    const Case& c = GetParam();
    ScratchDir dir;
    dir.CopyData({"scores.hst", "names.hst"});
    if (c.withAudio) dir.CopyData({"audio"});
    // A FIFO or an endless stream in the settings' place must neither block nor flood the start.
    // Root reads any file, so a directory stands for one that can be neither read nor written.
    if (c.configBefore == "<fifo>")
        ASSERT_EQ(mkfifo("config.ini", 0644), 0);
    else if (c.configBefore == "<endless>")
        ASSERT_EQ(symlink("/dev/zero", "config.ini"), 0);
    else if (c.configBefore == "<directory>")
        ASSERT_TRUE(std::filesystem::create_directory("config.ini"));
    else if (!c.configBefore.empty())
        WriteFile("config.ini", c.configBefore);
    GameProcess game;
    if (c.status == 0) {
        // Nearest filtering shows only the palette's colours; smooth filtering mixes them.
        std::string window;
        size_t colours = 0;
        EXPECT_EQ(VisitTitle(dir.Path(), c.playAGame, c.env, "", "", [&] {
                      window = GameWindowSize();
                      const int w = std::stoi(window), h = std::stoi(window.substr(window.find('x') + 1));
                      const std::vector<uint32_t> pixels = GrabScreen(w, h);
                      colours = std::set<uint32_t>(pixels.begin(), pixels.end()).size();
                  }), 0) << ReadFile("quillemarch.log");
        EXPECT_EQ(window, c.window);
        EXPECT_EQ(colours > 64, c.smooth) << colours << " colours";
    } else {
        ASSERT_TRUE(game.Start(dir.Path(), c.env));
        EXPECT_EQ(game.Wait(30000), c.status) << "the game must end as it says, never crash";
    }

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

const Lines kFirstRun = kNoConfig + kScreen + kSound + kGame + kTitle;
const Lines kFallBack = kWithConfig + Lines{"   Setting up screen...Failed!",
                                            "      Reverting to default GFX mode...Done!"} +
                        kSound + kGame + kTitle + kQuit;
const Lines kConfigRead = kWithConfig + kScreen + kSound + kGame + kTitle + kQuit;

std::string Noise() {
    std::mt19937 random(7);
    std::string noise(4096, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    return noise;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, Startup,
    ::testing::Values(
        Case{"FirstRun", "", {}, true, 0, kFirstRun + kQuit, kDefaults},
        // Escape in a game goes back to the title and does not quit the program.
        Case{"GameLeftWithEscape", "", {}, true, 0,
             kFirstRun + Lines{"   Removing menu resources...Done!", "Game running!"} + kTitle +
                 kQuit,
             kDefaults, true},
        Case{"SoundOffSmooth", Config("640\n400", '1', '0'), {}, true, 0,
             kWithConfig + kScreen + Lines{"   NO SOUND! Sound disabled in config.ini!"} + kGame +
                 kTitle + kQuitSilent,
             Config("640\n400", '1', '0'), false, "640x400", true},
        // No OpenAL back-end opens: a machine without a sound card.
        Case{"NoSoundDevice", "", {{"ALSOFT_DRIVERS", "no-such-driver"}}, true, 1,
             kNoConfig + kScreen +
                 Lines{"   Initializing sound engine...Failed!", "   Shutting down log system..."},
             kDefaults},
        Case{"NoDisplay", "", {{"DISPLAY", ""}}, true, 1, kNoConfig + kNoScreen, kDefaults},
        Case{"ConfigIsAFifo", "<fifo>", {}, true, 0, kFirstRun + kQuit, kDefaults},
        Case{"ConfigIsEndless", "<endless>", {}, true, 0, kFirstRun + kQuit, kDefaults},
        // Sizes that cannot be opened are kept to be tried again next time; the fall-back
        // window opens each time, and filters smoothly whatever the setting says.
        Case{"RefusedSize", Config("0\n400", '0', '1'), {}, true, 0, kFallBack,
             Config("0\n400", '0', '1'), false, "640x400", true},
        Case{"HugeWindow", Config("100000\n100000", '0', '1'), {}, true, 0, kFallBack,
             Config("100000\n100000", '0', '1'), false, "640x400", true},
        Case{"HugeFullScreen", Config("100000\n100000", '0', '1', "1\n\n[ColorDepth]\n32"), {},
             true, 0, kFallBack, Config("100000\n100000", '0', '1', "1\n\n[ColorDepth]\n32"),
             false, "640x400", true},
        Case{"TinyAtSixteenBits", Config("1\n1", '0', '1', "0\n\n[ColorDepth]\n16"), {}, true, 0,
             kFallBack, Config("1\n1", '0', '1', "0\n\n[ColorDepth]\n16"), false, "640x400", true},
        Case{"UnknownDepth", Config("800\n500", '0', '1', "1\n\n[ColorDepth]\n7"), {}, true, 0,
             kFallBack, Config("800\n500", '0', '1', "1\n\n[ColorDepth]\n7"), false, "640x400",
             true},
        // Broken settings files: the defaults fill in what they lack.
        Case{"RandomBytes", Noise(), {}, true, 0, kConfigRead, kDefaults},
        Case{"OvergrownOnlyItsFirstPartCounts",
             "[SoundEnabled]\n0\n" + std::string(10 << 20, 'x') + "\n[Fullscreen]\n1\n", {}, true, 0,
             kWithConfig + kScreen + Lines{"   NO SOUND! Sound disabled in config.ini!"} + kGame +
                 kTitle + kQuitSilent,
             Config("640\n400", '0', '0')},
        Case{"EverySectionTwiceTheLaterWins", Config("1\n1", '1', '0', "1\n\n[ColorDepth]\n16") +
             kDefaults, {}, true, 0, kConfigRead, kDefaults},
        Case{"ConfigIsADirectory", "<directory>", {}, true, 0, kFirstRun + kQuit, ""},
        Case{"NoAudio", "", {}, false, 0,
             kNoConfig + kScreen + kSound + Lines{"         Couldn't find audio directory!"} +
                 kGame + kTitle + kQuit,
             kDefaults},
        Case{"WindowsLineEnds", Config("800\n500", '1', '1', "0\n\n[ColorDepth]\n32", "\r\n"), {},
             true, 0, kConfigRead, Config("800\n500", '1', '1'), false, "800x500", true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
