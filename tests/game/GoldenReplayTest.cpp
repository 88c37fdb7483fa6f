// The golden replays under tests/replays: each still verifies through the real game, with no
// display, and still shows the events it is kept for.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "game/ReplayModes.h"
#include "tests/support/GameProcess.h"
#include "tests/support/TestSupport.h"
#include "tools/replaymaker/GamePlay.h"

namespace {

const std::string kReplayDir = std::string(QM_SOURCE_DIR) + "/tests/replays/";

TEST(GoldenReplayTest, EveryGoldenVerifiesAndShowsItsEvents)
{
    // The events as the maker prints them, in its order.
    const struct {
        const char* name;
        const char* events;
    } rows[] = {
        {"row-clear", "row-clear push escape"},
        {"push", "push escape"},
        {"burst", "burst crushed(TIME 5)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string file = kReplayDir + row.name + ".qmr";
        const std::string verify = "env -u DISPLAY " + testsupport::GameBinary() + " --verify ";
        // On a failure the line says at which checkpoint the game first went another way.
        const std::string line = testsupport::Shell(verify + file + " 2>&1");
        EXPECT_NE(line.find(" verified\n"), std::string::npos) << line;
        Replay replay;
        std::string error;
        ASSERT_TRUE(LoadReplayFile(file, replay, error)) << error;
        EXPECT_EQ(DescribeEvents(PlayGame(replay)), row.events);
    }
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kReplayDir)) {
        if (entry.path().extension() == ".qmr")
            files += 1;
    }
    EXPECT_EQ(files, static_cast<int>(std::size(rows))) << "a golden replay with no row";
}

}  // namespace
