// The golden replays under tests/replays: each still verifies through the real game, with no
// display, and still shows the events it is kept for.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "game/Record.h"
#include "game/ReplayModes.h"
#include "tests/support/GameProcess.h"
#include "tests/support/TestSupport.h"
#include "tools/replaymaker/GamePlay.h"

namespace {

const std::string kReplayDir = std::string(QM_SOURCE_DIR) + "/tests/replays/";

// How often each sound was played, in the order of their names: "sfx0 x7, sfx3 x1".
std::string SoundCounts(const std::vector<std::string>& played)
{
    std::map<std::string, int> counts;
    for (const std::string& sound : played)
        counts[sound] += 1;
    std::string line;
    for (const auto& [sound, count] : counts)
        line += ", " + sound + " x" + std::to_string(count);
    return line.empty() ? "none" : line.substr(2);
}

TEST(GoldenReplayTest, EveryGoldenVerifiesAndShowsItsEvents)
{
    // The events as the maker prints them, in its order, and the sounds the game played. Played
    // here one after another, as a player's games follow each other: the walls end in mid-jump,
    // the push mid-slide and the row clear mid-drop, and the next game must not feel it.
    const struct {
        const char* name;
        const char* events;
        const char* sounds;
    } rows[] = {
        {"walls", "push burst left-wall right-wall escape in-the-air", "sfx0 x1, sfx4 x1"},
        {"push", "push escape", "sfx0 x1"},
        {"stack", "push right-wall escape", "sfx0 x3"},
        {"crowded", "burst crowded escape", "sfx0 x60, sfx4 x9"},
        {"row-clear", "row-clear push escape in-the-air", "sfx0 x35, sfx3 x1"},
        {"burst", "burst crushed(TIME 5)", "sfx0 x3, sfx2 x1, sfx4 x1"},
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
        testsupport::SoundRecorder sound;
        EXPECT_EQ(DescribeEvents(PlayGame(replay)), row.events);
        EXPECT_EQ(SoundCounts(sound.Take()), row.sounds);
        EXPECT_EQ(ThisGame().checkpoints, replay.checkpoints) << "after the game before it";
    }
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kReplayDir)) {
        if (entry.path().extension() == ".qmr")
            files += 1;
    }
    EXPECT_EQ(files, static_cast<int>(std::size(rows))) << "a golden replay with no row";
}

}  // namespace
