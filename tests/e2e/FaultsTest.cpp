// The real game fed broken pictures, and losing its display: it must say what failed in its
// log, and never lose or mangle the player's settings or table.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "tests/support/GameProcess.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

// Every picture of the game and the title gone but two, one cut short and one not a picture at
// all (the name entry's marker loads only after a good game): each is logged as it fails, and
// a whole game is played without them.
TEST(Faults, EveryPictureMissingOrDamagedIsLoggedAndTheGameRuns) {
    ScratchDir dir;
    dir.CopyData({"audio", "scores.hst", "names.hst", "gfx"});
    // A copy of the game beside this data/ loads its pictures from here.
    const std::string binary = dir.Path() + "/quillemarch";
    fs::copy_file(GameBinary(), binary);
    std::vector<std::string> pictures;
    for (const auto& entry : fs::recursive_directory_iterator("data/gfx"))
        if (entry.path().extension() == ".png" && entry.path().filename() != "marker.png")
            pictures.push_back(entry.path());
    ASSERT_EQ(pictures.size(), 20u);
    const std::string crate = ReadFile("data/gfx/sprites/crate.png");
    for (const std::string& file : pictures) fs::remove(file);
    WriteFile("data/gfx/sprites/crate.png", crate.substr(0, crate.size() / 2));
    WriteFile("data/gfx/fonts/font.png", "This is not a picture.\n");
    EXPECT_EQ(VisitGame(dir.Path(), {}, binary), 0) << ReadFile("quillemarch.log");
    const std::string layer = ReadFile("ortholayer.log");
    for (const std::string& file : pictures) {
        const std::string name = std::regex_replace(file, std::regex("/"), "\\");
        EXPECT_NE(layer.find("Loading bitmap: " + name + "\nERROR: No such bitmap!\n"), layer.npos)
            << name;
    }
    EXPECT_EQ(ReadFile("data/scores.hst").size(), 20u) << "a table the game can read back whole";
    EXPECT_TRUE(std::regex_match(ReadFile("data/names.hst"), std::regex("([^\r\n]*\r\n){5}")));
}

const std::string kDefaults = "[Resolution]\n640\n400\n\n[Fullscreen]\n0\n\n[ColorDepth]\n32\n\n"
                              "[Anti-aliasing]\n0\n\n[SoundEnabled]\n1\n\n";
std::string Table() { return ReadFile("data/scores.hst") + ReadFile("data/names.hst"); }

// The game on a display of its own, whose server goes away in the middle of a game.
TEST(Faults, ALostDisplayEndsTheGameAtOnceWithItsSettingsSaved) {
    ScratchDir dir;
    dir.CopyData();
    const std::string table = Table(), ownDisplay = ":" + std::to_string(150 + getpid() % 100);
    const std::string server = Shell("Xvfb " + ownDisplay + " -screen 0 800x600x24 -nolisten tcp "
                                     ">/dev/null 2>&1 & echo $!");
    const std::string testDisplay = getenv("DISPLAY");
    setenv("DISPLAY", ownDisplay.c_str(), 1), Sleep(1000);
    GameProcess game;
    const bool started = game.StartToTitle(dir.Path()) && (HoldKey("Return"), Sleep(1000), true);
    const auto start = std::chrono::steady_clock::now();
    Shell("kill " + server);
    const int status = game.Wait(10000);
    setenv("DISPLAY", testDisplay.c_str(), 1);
    ASSERT_TRUE(started) << ReadFile("quillemarch.log");
    EXPECT_EQ(status, 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(LogBody("quillemarch.log").back(), "Lost the connection to the display! Shutting down.");
    EXPECT_TRUE(ReadFile("config.ini") == kDefaults && Table() == table);
}

}  // namespace
