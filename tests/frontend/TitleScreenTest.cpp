// The title screen: the key that brought the player here must be let go
// before it counts.
#include <allegro.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "frontend/Screens.h"
#include "game/GameState.h"
#include "tests/frontend/ScreenHarness.h"
#include "tests/support/TestSupport.h"

using namespace screens;
using Clock = std::chrono::steady_clock;

TEST(TitleScreen, HeldEnterMustBeLetGoFirst)
{
    if (!OpenScreen()) return;
    testsupport::ScratchDir dir;
    mkdir("data", 0755);
    DrainKeyboard();
    gameState.titleTicks = 0;
    // The Enter that ended the name entry is still down when the title opens.
    key[KEY_ENTER] = 1;
    std::thread player([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        key[KEY_ENTER] = 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        key[KEY_ENTER] = 1;
    });
    const Clock::time_point start = Clock::now();
    runTitleScreen();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    player.join();
    key[KEY_ENTER] = 0;
    EXPECT_GE(ms, 750) << "the held Enter started a game";
    EXPECT_EQ(gameState.hiScore, -1) << "an empty table";
    // Leaving with Enter writes the table.
    EXPECT_EQ(testsupport::ReadFile("data/scores.hst").size(), 20u);
}
