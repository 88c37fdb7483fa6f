// Replays are files players pass around: every kind of bad one gets a single line on stderr and
// exit status 2 before any window opens, and no run on a replay changes the player's files.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "game/ReplayModes.h"
#include "tests/support/GameProcess.h"
#include "tests/support/ReplayBytes.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

using Entries = std::map<std::string, std::string>;

const char kBadFile[] = "game/bad.qmr";
const char kGoodFile[] = "game/good.qmr";

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Every entry of the game directory: a file's bytes, or a mark for anything else.
Entries GameDirectory()
{
    Entries entries;
    for (const fs::directory_entry& entry : fs::directory_iterator("game")) {
        const bool file = entry.is_regular_file();
        entries[entry.path().filename()] = file ? ReadFile(entry.path()) : "(not a regular file)";
    }
    return entries;
}

// The game on `file` of the game directory, with no display unless asked; it must leave the
// directory as it was.
Outcome RunOnReplay(const std::string& mode, const std::string& file, bool display = false)
{
    const Entries before = GameDirectory();
    const std::string env = display ? "" : "env -u DISPLAY ";
    const std::string command = "cd game && " + env + GameBinary() + " " + mode + " " +
                                fs::path(file).filename().string() + " >../out 2>../err; echo $?";
    const Outcome run{std::atoi(Shell(command).c_str()), ReadFile("out"), ReadFile("err")};
    EXPECT_EQ(GameDirectory(), before) << mode << " changed the game directory";
    return run;
}

// A short golden game, recorded as the game records one: the worker walks to both walls.
Replay GoldenGame()
{
    Replay game;
    std::string error;
    EXPECT_TRUE(LoadReplayFile(QM_SOURCE_DIR "/tests/replays/walls.qmr", game, error)) << error;
    return game;
}

std::string WithByte(std::string bytes, std::size_t at, int value)
{
    bytes[at] = static_cast<char>(value);
    return bytes;
}

// The same game with its last input run's length in two bytes where one does.
std::string OverlongLastRun(const std::string& good)
{
    std::string bytes = good.substr(0, good.size() - 4);
    bytes.back() = static_cast<char>(bytes.back() | 0x80);
    bytes += std::string(5, '\0');
    return Resealed(bytes);
}

class ReplayFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directory("game");
        WriteFile("game/config.ini", "[Resolution]\n640\n400\n");
        WriteFile("game/quillemarch.log", "Init engine:\n");
        WriteFile("game/ortholayer.log", "OrthoLayer started up succesfully\n");
        WriteFile("game/lastgame.qmr", EncodeReplay(game));
    }
    ScratchDir scratch;
    const Replay game = GoldenGame();
};

enum class Kind { Missing, Bytes, Oversized, Fifo, Directory };

struct BadFile {
    const char* name;
    Kind kind;
    std::string bytes;
    std::string why;  // what the stderr line says is wrong
};

TEST_F(ReplayFiles, BadFilesAreRefusedInEveryModeBeforeAnythingOpens)
{
    const std::string good = EncodeReplay(game);
    const BadFile rows[] = {
        {"missing file", Kind::Missing, "", "No such file or directory"},
        {"empty", Kind::Bytes, "", "empty file"},
        {"truncated", Kind::Bytes, good.substr(0, good.size() - 5),
         "damaged or truncated (checksum does not match)"},
        {"oversized", Kind::Oversized, good, "larger than 16 MiB"},
        {"corrupted", Kind::Bytes, WithByte(good, good.size() / 2, good[good.size() / 2] ^ 0x10),
         "damaged or truncated (checksum does not match)"},
        {"other format version", Kind::Bytes, WithByte(good, 4, 2),
         "replay format version 2, this game reads version 1"},
        {"a run length written over-long", Kind::Bytes, OverlongLastRun(good), "damaged inputs"},
        {"a picture", Kind::Bytes, ReadFile(SourceData() + "/gfx/sprites/alarm_red_1.png"),
         "not a replay file"},
        {"a text file", Kind::Bytes, "[Resolution]\n640\n400\n", "not a replay file"},
        {"a FIFO", Kind::Fifo, "", "not a regular file"},
        {"a directory", Kind::Directory, "", "is a directory"},
    };
    for (const BadFile& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.kind == Kind::Fifo)
            ASSERT_EQ(mkfifo(kBadFile, 0644), 0);
        else if (row.kind == Kind::Directory)
            fs::create_directory(kBadFile);
        else if (row.kind != Kind::Missing)
            WriteFile(kBadFile, row.bytes);
        // A whole replay at the front, so a reader that cut the file would still find one.
        if (row.kind == Kind::Oversized)
            fs::resize_file(kBadFile, kReplayReadLimit + 1);
        for (const char* mode : {"--verify", "--replay", "--timedemo"}) {
            const Outcome run = RunOnReplay(mode, kBadFile);
            EXPECT_EQ(run.status, 2) << mode;
            EXPECT_EQ(run.err, "quillemarch: bad.qmr: " + row.why + "\n") << mode;
            EXPECT_EQ(run.out, "") << mode;
        }
        fs::remove_all(kBadFile);
    }
}

struct GoodFile {
    const char* name;
    Replay replay;
    int status;
    std::string out;
    std::string err;
};

TEST_F(ReplayFiles, GoodFilesAreCheckedByTheirRules)
{
    ASSERT_GT(game.ticks, 0u);
    const std::string played =
        "score " + std::to_string(game.score) + " ticks " + std::to_string(game.ticks);
    Replay otherScore = game;
    otherScore.score += 1000;
    Replay otherVersion = game;
    otherVersion.gameVersion = "0.9.0";
    const GoodFile rows[] = {
        {"as played", game, 0, played + " verified\n", ""},
        {"score altered", otherScore, 1,
         played + " differs: recorded score " + std::to_string(otherScore.score) + " ticks " +
             std::to_string(game.ticks) + ", first at checkpoint " +
             std::to_string(game.checkpoints.size()) + "\n",
         ""},
        {"other game version", otherVersion, 0, played + " verified\n",
         "quillemarch: good.qmr: recorded by quillemarch 0.9.0\n"},
    };
    for (const GoodFile& row : rows) {
        SCOPED_TRACE(row.name);
        WriteFile(kGoodFile, EncodeReplay(row.replay));
        const Outcome run = RunOnReplay("--verify", kGoodFile);
        EXPECT_EQ(run.status, row.status);
        EXPECT_EQ(run.out, row.out);
        EXPECT_EQ(run.err, row.err);
    }
}

// Shown to its GAME OVER, or timed a frame a tick, a replay plays in a window and still leaves
// the game directory as it was.
TEST_F(ReplayFiles, ShownOrTimedInAWindowTheGameDirectoryStays)
{
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "this test needs an X display (Xvfb)";
    WriteFile(kGoodFile, EncodeReplay(game));
    const Outcome shown = RunOnReplay("--replay", kGoodFile, true);
    EXPECT_EQ(shown.status, 0) << shown.err;
    const Outcome timed = RunOnReplay("--timedemo", kGoodFile, true);
    EXPECT_EQ(timed.status, 0) << timed.err;
    const std::string ticks = std::to_string(game.ticks);
    EXPECT_EQ(timed.out.rfind("ticks " + ticks + " frames " + ticks + " seconds ", 0), 0u)
        << timed.out;
}

}  // namespace
