// A whole visit as a player makes it, on the real binary with real key
// presses: title, a game played until a crate falls on the worker, the
// countdown, the name entry, the title with the new table, the options
// screen, and quitting. Checks the files the player keeps and both logs.
#include <gtest/gtest.h>
// After gtest: Xlib's macros (None, Bool) would break its templates.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/GameProcess.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;

namespace {

// Reads screen pixels of the game's window, which opens at the top-left
// corner of the Xvfb screen.
class Screen {
public:
    Screen() : display(XOpenDisplay(nullptr)) {}
    ~Screen() {
        if (display) XCloseDisplay(display);
    }
    bool Open() const { return display != nullptr; }
    // True when the logical point (x, y) of the 640 x 400 window is black.
    bool Black(int x, int y) const {
        XImage* image = XGetImage(display, DefaultRootWindow(display), x * 2, y * 2, 1, 1,
                                  AllPlanes, ZPixmap);
        if (!image) return false;
        unsigned long pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        return (pixel & 0xFFFFFF) == 0;
    }

private:
    Display* display;
};

std::string Scores(std::vector<int32_t> scores) {
    return std::string(reinterpret_cast<const char*>(scores.data()), scores.size() * 4);
}

std::vector<int32_t> ReadScores(const std::string& bytes) {
    std::vector<int32_t> scores(bytes.size() / 4);
    std::memcpy(scores.data(), bytes.data(), scores.size() * 4);
    return scores;
}

TEST(Journey, TitleGameNameEntryTableOptionsAndQuit) {
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "this test needs an X display (Xvfb)";
    Screen screen;
    ASSERT_TRUE(screen.Open());
    ScratchDir dir;
    dir.CopyData("audio");
    // A weak table, so that any game of a few seconds earns a place.
    ASSERT_EQ(system("mkdir -p data"), 0);
    WriteFile("data/scores.hst", Scores({50, 40, 30, 20, 10}));
    WriteFile("data/names.hst", "ANNA\r\nBEN\r\nCARL\r\nDORA\r\nEMIL\r\n");

    GameProcess game;
    ASSERT_TRUE(game.Start(dir.Path()));
    ASSERT_TRUE(WaitForLine("quillemarch.log", "   Playing intro!", 30000));
    ASSERT_TRUE(FocusGameWindow(10000));
    HoldKey("Return");
    ASSERT_TRUE(WaitForLine("quillemarch.log", "Game running!", 10000));

    // The worker stands still until a crate falls on him. Enter, pressed now
    // and then, hurries the countdown once the game is over; the name entry
    // shows on a black screen where the yard had its walls and floor.
    auto nameEntryShown = [&] {
        return screen.Black(10, 150) && screen.Black(310, 150) && screen.Black(160, 190);
    };
    bool entry = false;
    for (int second = 0; second < 240 && !entry; ++second) {
        HoldKey("Return", 100);
        Sleep(900);
        entry = nameEntryShown();
    }
    ASSERT_TRUE(entry) << "no crate fell on the worker in four minutes";

    // Typed letters, then the marker from "A" to END (row 2, column 8).
    TapKey("q");
    TapKey("a");
    TapKey("7");  // not a letter: ignored
    for (int i = 0; i < 8; ++i) TapKey("Right");
    TapKey("Down");
    TapKey("Down");
    HoldKey("Return");
    ASSERT_TRUE(WaitForLine("quillemarch.log", "   Saving score...", 10000));

    // Back on the title, which shows the table and then the attract phase,
    // where O opens the options: next resolution, smoothing on, sound off.
    ASSERT_TRUE(WaitForLine("quillemarch.log", "   Playing intro!", 10000));
    Sleep(6000);
    HoldKey("o", 200);
    Sleep(500);
    TapKey("r");
    TapKey("a");
    TapKey("s");
    HoldKey("Escape", 150);  // leaves the options screen
    Sleep(1500);
    if (game.Running()) HoldKey("Escape", 300);  // quits from the title
    ASSERT_EQ(game.Wait(20000), 0) << ReadFile("quillemarch.log");

    // The new entry went in at its place; the 10 dropped out.
    std::vector<int32_t> scores = ReadScores(ReadFile("data/scores.hst"));
    ASSERT_EQ(scores.size(), 5u);
    std::vector<std::string> names = ReadLines("data/names.hst");
    ASSERT_EQ(names.size(), 5u);
    std::vector<int32_t> before = {50, 40, 30, 20};
    std::vector<std::string> beforeNames = {"ANNA\r", "BEN\r", "CARL\r", "DORA\r"};
    int place = 0;
    while (place < 4 && scores[place] == before[place] && names[place] == beforeNames[place])
        ++place;
    ASSERT_GT(scores[place], place < 4 ? before[place] : 10);
    EXPECT_EQ(names[place], "QA\r");
    before.insert(before.begin() + place, scores[place]);
    beforeNames.insert(beforeNames.begin() + place, "QA\r");
    EXPECT_EQ(scores, before);
    EXPECT_EQ(names, beforeNames);
    EXPECT_EQ(ReadFile("data/names.hst").back(), '\n');

    EXPECT_EQ(ReadFile("config.ini"),
              "[Resolution]\n640\n480\n\n[Fullscreen]\n0\n\n[ColorDepth]\n32\n\n"
              "[Anti-aliasing]\n1\n\n[SoundEnabled]\n0\n\n");

    std::vector<std::string> title = {"Init intro:", "   Loading GFX...",
                                      "   Reading high score data...", "   Playing intro!"};
    std::vector<std::string> expected = {
        "Init engine:", "   Reading config file...Failed!",
        "      ...generating new default config file...Done!", "   Setting up screen...Done!",
        "   Initializing sound engine...Done!", "      Searching for SFX/MUS files...",
        "Init game:", "   Loading GFX...", "   Initializing timer...Done!"};
    expected.insert(expected.end(), title.begin(), title.end());
    expected.insert(expected.end(), {"   Removing menu resources...Done!", "Game running!",
                                     "   Saving score..."});
    expected.insert(expected.end(), title.begin(), title.end());
    // Sound played all along, but the shutdown reports by the setting just
    // switched off, so it names no sound system.
    expected.insert(expected.end(), {"Shutting down:", "   Freeing resources:",
                                     "      Destroying bitmaps...Done!",
                                     "   Shutting down log system..."});
    EXPECT_EQ(LogBody("quillemarch.log"), expected);

    // Every picture of every screen loaded, in the order the screens need them.
    std::vector<std::string> loads;
    for (const auto& line : ReadLines("ortholayer.log"))
        if (line.rfind("Loading bitmap: ", 0) == 0) loads.push_back(line.substr(16));
    std::vector<std::string> titlePictures = {
        "data\\gfx\\fonts\\quillemarch.png", "data\\gfx\\backgrounds\\menu_scroll.png",
        "data\\gfx\\sprites\\head.png", "data\\gfx\\backgrounds\\score_table.png"};
    ASSERT_EQ(loads.size(), 18u + 4u + 2u + 4u);
    EXPECT_EQ(loads[10], "data\\gfx\\sprites\\crate.png");
    EXPECT_EQ(std::vector<std::string>(loads.begin() + 18, loads.begin() + 22), titlePictures);
    EXPECT_EQ(loads[22], "data\\gfx\\backgrounds\\score_table.png");
    EXPECT_EQ(loads[23], "data\\gfx\\sprites\\marker.png");
    EXPECT_EQ(ReadFile("ortholayer.log").find("ERROR"), std::string::npos);
}

}  // namespace
