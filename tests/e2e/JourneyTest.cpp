// A whole visit on the real binary with real key presses: title, a game played until a crate
// falls on the worker, the countdown, the name entry, the title with the new table, the options
// screen, and quitting; then the files the player keeps and both logs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/GameProcess.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;

namespace {

TEST(Journey, TitleGameNameEntryTableOptionsAndQuit) {
    ScratchDir dir;
    dir.CopyData({"audio"});
    // A weak table, so that any game of a few seconds earns a place.
    std::vector<int32_t> scores = {50, 40, 30, 20, 10};
    WriteFile("data/scores.hst", std::string(reinterpret_cast<char*>(scores.data()), 20));
    WriteFile("data/names.hst", "ANNA\r\nBEN\r\nCARL\r\nDORA\r\nEMIL\r\n");

    GameProcess game;
    ASSERT_TRUE(game.StartToTitle(dir.Path())) << ReadFile("quillemarch.log");
    ASSERT_TRUE(PlayUntilDeath("quillemarch.log", true)) << "no crate fell on the worker";
    // Typed letters ("7" is not one), then the marker from "A" to END (row 2, column 8).
    for (const char* key : {"q", "a", "7", "Right", "Right", "Right", "Right", "Right", "Right",
                            "Right", "Right", "Down", "Down"})
        TapKey(key);
    HoldKey("Return");
    ASSERT_TRUE(WaitForLine("quillemarch.log", "   Saving score...", 10000));
    // Back on the title, whose attract phase opens the options with O: next resolution,
    // smoothing on, sound off; Escape leaves them, and Escape on the title quits.
    ASSERT_TRUE(WaitForLine("quillemarch.log", "   Playing intro!", 10000));
    Sleep(6000);
    HoldKey("o", 200);
    Sleep(500);
    for (const char* key : {"r", "a", "s"}) TapKey(key);
    HoldKey("Escape", 150);
    Sleep(1500);
    if (game.Running()) HoldKey("Escape", 300);
    ASSERT_EQ(game.Wait(20000), 0) << ReadFile("quillemarch.log");

    // The new entry went in at its place and the 10 dropped out.
    const std::string bytes = ReadFile("data/scores.hst");
    ASSERT_EQ(bytes.size(), 20u);
    std::memcpy(scores.data(), bytes.data(), 20);
    const Lines names = ReadLines("data/names.hst");
    const size_t place = std::find(names.begin(), names.end(), "QA\r") - names.begin();
    ASSERT_LT(place, 5u) << ReadFile("data/names.hst");
    std::vector<int32_t> expected = {50, 40, 30, 20};
    Lines expectedNames = {"ANNA\r", "BEN\r", "CARL\r", "DORA\r"};
    EXPECT_GT(scores[place], place < 4 ? expected[place] : 10);
    expected.insert(expected.begin() + place, scores[place]);
    expectedNames.insert(expectedNames.begin() + place, "QA\r");
    EXPECT_EQ(scores, expected);
    EXPECT_EQ(names, expectedNames);
    EXPECT_EQ(ReadFile("data/names.hst").back(), '\n');
    EXPECT_EQ(ReadFile("config.ini"),
              "[Resolution]\n640\n480\n\n[Fullscreen]\n0\n\n[ColorDepth]\n32\n\n"
              "[Anti-aliasing]\n1\n\n[SoundEnabled]\n0\n\n");

    const Lines title = {"Init intro:", "   Loading GFX...", "   Reading high score data...",
                         "   Playing intro!"};
    Lines log = {"Init engine:", "   Reading config file...Failed!",
                 "      ...generating new default config file...Done!",
                 "   Setting up screen...Done!", "   Initializing sound engine...Done!",
                 "      Searching for SFX/MUS files...", "Init game:", "   Loading GFX...",
                 "   Initializing timer...Done!"};
    log.insert(log.end(), title.begin(), title.end());
    log.insert(log.end(), {"   Removing menu resources...Done!", "Game running!",
                           "   Saving score..."});
    log.insert(log.end(), title.begin(), title.end());
    // Sound played all along, but the shutdown goes by the setting just switched off.
    log.insert(log.end(), {"Shutting down:", "   Freeing resources:",
                           "      Destroying bitmaps...Done!", "   Shutting down log system..."});
    EXPECT_EQ(LogBody("quillemarch.log"), log);

    // Every picture of every screen loaded, in the order the screens need them.
    Lines loads;
    for (const auto& line : ReadLines("ortholayer.log"))
        if (line.rfind("Loading bitmap: ", 0) == 0) loads.push_back(line.substr(16));
    ASSERT_EQ(loads.size(), 18u + 4u + 2u + 4u);
    EXPECT_EQ(loads[10], "data\\gfx\\sprites\\crate.png");
    EXPECT_EQ(Lines(loads.begin() + 18, loads.begin() + 22),
              (Lines{"data\\gfx\\fonts\\quillemarch.png", "data\\gfx\\backgrounds\\menu_scroll.png",
                     "data\\gfx\\sprites\\head.png", "data\\gfx\\backgrounds\\score_table.png"}));
    EXPECT_EQ(loads[22], "data\\gfx\\backgrounds\\score_table.png");
    EXPECT_EQ(loads[23], "data\\gfx\\sprites\\marker.png");
    EXPECT_EQ(ReadFile("ortholayer.log").find("ERROR"), std::string::npos);
}

}  // namespace
