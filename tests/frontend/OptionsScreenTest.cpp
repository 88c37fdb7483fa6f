// The options screen: every key changes its setting and the line that shows
// it at once; Escape and Enter leave it keeping every change.
#include <allegro.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "frontend/Screens.h"
#include "game/GameState.h"
#include "tests/frontend/ScreenHarness.h"

using namespace screens;

namespace {

// Opens the screen on the queued keys; once they are read, the player
// presses the leaving key and holds it, as readkey returns it still down.
void RunOptions(int leavingScancode, int leavingCharacter)
{
    std::thread player([&] {
        while (keypressed()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        key[leavingScancode] = 1;
        Press(leavingScancode, leavingCharacter);
    });
    runOptionsScreen();
    player.join();
    key[leavingScancode] = 0;
}

struct Shown {
    int x, y;
    std::string text;
};

}  // namespace

TEST(OptionsScreen, EachKeyChangesItsSettingAndItsLine)
{
    if (!OpenScreen()) return;
    struct Case {
        const char* what;
        Settings before;
        std::string keys;  // lower-case letters
        Settings after;
        Shown shown;
    };
    Settings start;
    start.width = 640, start.height = 400, start.fullscreen = false, start.antiAliasing = 0, start.soundEnabled = true;
    auto with = [&](auto change) { Settings s = start; change(s); return s; };
    const Case cases[] = {
        {"R: the next size", start, "r", with([](Settings& s) { s.width = 640, s.height = 480; }),
         {77, 40, "(R)ESOLUTION: 640X480"}},
        {"R ten times: back where it was", start, "rrrrrrrrrr", start, {77, 40, "(R)ESOLUTION: 640X400"}},
        {"R after 1600 x 1200: 320 x 200", with([](Settings& s) { s.width = 1600, s.height = 1200; }), "r",
         with([](Settings& s) { s.width = 320, s.height = 200; }), {77, 40, "(R)ESOLUTION: 320X200"}},
        {"a size not offered: R gives the second", with([](Settings& s) { s.width = 1000, s.height = 10; }), "r",
         start, {77, 40, "(R)ESOLUTION: 640X400"}},
        {"M: full screen", start, "m", with([](Settings& s) { s.fullscreen = true; }),
         {70, 50, "SCREEN (M)ODE: FULL SCREEN"}},
        {"M twice: windowed", start, "mm", start, {70, 50, "SCREEN (M)ODE: WINDOWED"}},
        {"A: anti-aliasing on", start, "a", with([](Settings& s) { s.antiAliasing = 1; }),
         {56, 60, "(A)NTI-ALIASING: ENABLED"}},
        {"A on a value of 4: off", with([](Settings& s) { s.antiAliasing = 4; }), "a", start,
         {56, 60, "(A)NTI-ALIASING: DISABLED"}},
        {"S: sound off", start, "s", with([](Settings& s) { s.soundEnabled = false; }),
         {112, 70, "(S)OUND: DISABLED"}},
        {"other keys change nothing", start, "xqz", start, {112, 70, "(S)OUND: ENABLED"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DrainKeyboard();
        gameState.settings = c.before;
        resolutionIndex = FindResolutionIndex(c.before.width, c.before.height);
        Type(c.keys);
        RunOptions(KEY_ESC, 27);
        const Settings& s = gameState.settings;
        EXPECT_EQ(s.width, c.after.width);
        EXPECT_EQ(s.height, c.after.height);
        EXPECT_EQ(s.fullscreen, c.after.fullscreen);
        EXPECT_EQ(s.antiAliasing, c.after.antiAliasing);
        EXPECT_EQ(s.soundEnabled, c.after.soundEnabled);
        ExpectShownText(c.shown.x, c.shown.y, gameState.palette[6], c.shown.text);
        ExpectShownText(30, 150, gameState.palette[2], "PRESS ENTER TO ACCEPT THESE SETTINGS");
    }
}

TEST(OptionsScreen, EnterLeavesLikeEscapeAndRContinuesFromTheLastChoice)
{
    if (!OpenScreen()) return;
    DrainKeyboard();
    gameState.settings.width = 640, gameState.settings.height = 400;
    resolutionIndex = 1;
    Type("r");
    RunOptions(KEY_ENTER, 13);
    EXPECT_EQ(gameState.settings.width, 640);
    EXPECT_EQ(gameState.settings.height, 480);
    // Reopened in the same title visit, R goes on from 640 x 480.
    Type("r");
    RunOptions(KEY_ESC, 27);
    EXPECT_EQ(gameState.settings.width, 800);
    EXPECT_EQ(gameState.settings.height, 600);
    EXPECT_FALSE(keypressed());
}
