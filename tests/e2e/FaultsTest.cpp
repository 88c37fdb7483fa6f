// The real game under Xvfb fed broken files: settings, pictures, sounds and the
// high-score table. It must start, run and quit with status 0, say what failed
// in its logs, and never lose or mangle the player's table.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <random>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/GameProcess.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

const std::string kDefaultConfig =
    "[Resolution]\n640\n400\n\n[Fullscreen]\n0\n\n[ColorDepth]\n32\n\n"
    "[Anti-aliasing]\n0\n\n[SoundEnabled]\n1\n\n";

// The scratch directory as a player's install: sounds and the shipped table.
void CopyPlayerData(const ScratchDir& dir) {
    for (const char* part : {"audio", "scores.hst", "names.hst"}) dir.CopyData(part);
}

bool WaitForCount(const std::string& line, long count, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 50, Sleep(50)) {
        auto lines = ReadLines("quillemarch.log");
        if (std::count(lines.begin(), lines.end(), line) >= count) return true;
    }
    return false;
}

// Starts the game and waits for its title. Allegro now and then fails to start (status 1
// with the no-display lines) when one run follows another; that start is tried again.
bool StartToTitle(GameProcess& game, const std::string& binary = "") {
    for (int attempt = 0; attempt < 3; ++attempt) {
        fs::remove("quillemarch.log");
        if (!game.Start(fs::current_path(), {}, {}, binary)) return false;
        for (int waited = 0; waited < 30000 && game.Running(); waited += 50, Sleep(50))
            if (WaitForCount("   Playing intro!", 1, 0)) return FocusGameWindow(10000);
        if (game.Wait(0) != 1) return false;
    }
    return false;
}

// The title, optionally a game left with Escape, then Escape: gives the exit status.
int VisitTitle(bool playAGame, const std::string& binary = "") {
    GameProcess game;
    if (!StartToTitle(game, binary)) return -2;
    if (playAGame) {
        HoldKey("Return");
        if (!WaitForCount("Game running!", 1, 10000)) return -4;
        Sleep(300);
        HoldKey("Escape");
        if (!WaitForCount("   Playing intro!", 2, 10000)) return -5;
    }
    HoldKey("Escape", 300);
    return game.Wait(20000);
}

// A table the game can read back whole: five scores and five CR LF lines.
void ExpectWholeTable() {
    EXPECT_EQ(ReadFile("data/scores.hst").size(), 20u);
    const std::string names = ReadFile("data/names.hst");
    EXPECT_TRUE(std::regex_match(names, std::regex("([^\r\n]*\r\n){5}"))) << names;
}

TEST(Faults, BrokenSettingsFileStillStartsAndQuits) {
    std::mt19937 random(7);
    std::string noise(4096, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    const std::string other = std::regex_replace(kDefaultConfig, std::regex("\n0\n|640"), "\n1\n");
    // Root reads any file, so a directory (no contents given) stands for a
    // file that can be neither read nor written.
    const std::vector<std::array<std::string, 3>> cases = {
        {"random bytes", noise, kDefaultConfig},
        {"10 MB, the last section counts", std::string(10 << 20, 'x') + "\n[SoundEnabled]\n0\n",
         kDefaultConfig.substr(0, kDefaultConfig.size() - 3) + "0\n\n"},
        {"every section twice, the later wins", other + kDefaultConfig, kDefaultConfig},
        {"a directory", "", ""}};
    for (const auto& [name, contents, expected] : cases) {
        SCOPED_TRACE(name);
        ScratchDir dir;
        CopyPlayerData(dir);
        if (contents.empty()) fs::create_directory("config.ini");
        else WriteFile("config.ini", contents);
        EXPECT_EQ(VisitTitle(false), 0) << ReadFile("quillemarch.log");
        auto body = LogBody("quillemarch.log");
        ASSERT_GE(body.size(), 2u);
        EXPECT_EQ(body[1], expected.empty() ? "   Reading config file...Failed!"
                                            : "   Reading config file...Done!");
        EXPECT_EQ(ReadFile("config.ini"), expected);
        EXPECT_EQ(body.back(), "   Shutting down log system...");
    }
}

TEST(Faults, EachMissingOrDamagedPictureIsLoggedAndTheGameRuns) {
    ScratchDir dir;
    CopyPlayerData(dir);
    dir.CopyData("gfx");
    // A copy of the game beside this data/ loads its pictures from here.
    const std::string binary = dir.Path() + "/quillemarch";
    fs::copy_file(GameBinary(), binary);
    // The game's and the title's pictures, each missing in turn, then a
    // truncated PNG and a text file; the name entry's marker is only loaded
    // after a game good enough for the table.
    std::vector<std::pair<std::string, std::string>> damages;
    for (const auto& entry : fs::recursive_directory_iterator("data/gfx"))
        if (entry.path().extension() == ".png" && entry.path().filename() != "marker.png")
            damages.push_back({entry.path(), ""});
    ASSERT_EQ(damages.size(), 20u);
    damages.push_back({"data/gfx/sprites/crate.png", "half"});
    damages.push_back({"data/gfx/fonts/font.png", "This is not a picture.\n"});
    for (const auto& [file, damage] : damages) {
        SCOPED_TRACE(file + " " + damage);
        const std::string good = ReadFile(file);
        if (damage.empty()) fs::remove(file);
        else WriteFile(file, damage == "half" ? good.substr(0, good.size() / 2) : damage);
        EXPECT_EQ(VisitTitle(false, binary), 0) << ReadFile("quillemarch.log");
        std::string name = std::regex_replace(file, std::regex("/"), "\\");
        const std::string layer = ReadFile("ortholayer.log");
        EXPECT_NE(layer.find("Loading bitmap: " + name + "\nERROR: No such bitmap!\n"), layer.npos)
            << layer;
        WriteFile(file, good);
    }

    // A whole game drawn with every picture gone.
    for (const auto& damage : damages) fs::remove(damage.first);
    EXPECT_EQ(VisitTitle(true, binary), 0) << ReadFile("quillemarch.log");
    ExpectWholeTable();
}

TEST(Faults, EmptyOrBrokenSoundFilesLeaveTheGameRunning) {
    // Every sound file removed, replaced by text, or emptied.
    for (const char* damage : {"", "not a sound\n", "0 bytes"}) {
        SCOPED_TRACE(damage);
        ScratchDir dir;
        CopyPlayerData(dir);
        for (const char* d : {"data/audio/sfx", "data/audio/mus"})
            for (const auto& entry : fs::directory_iterator(d))
                if (*damage == '\0') fs::remove(entry.path());
                else WriteFile(entry.path(), std::string(damage) == "0 bytes" ? "" : damage);
        // The title plays music 0 and Enter plays effect 3.
        EXPECT_EQ(VisitTitle(true), 0) << ReadFile("quillemarch.log");
        auto body = LogBody("quillemarch.log");
        EXPECT_EQ(std::count(body.begin(), body.end(), "      Searching for SFX/MUS files..."), 1);
        EXPECT_EQ(std::count(body.begin(), body.end(), "         Couldn't find audio directory!"),
                  0);
    }
}

TEST(Faults, BrokenHighScoreFilesAreWrittenBackWhole) {
    const std::string scores = ReadFile(SourceData() + "/scores.hst");
    const std::string names = ReadFile(SourceData() + "/names.hst");
    const std::string shipped = scores + "\n" + names, blank = "-\r\n-\r\n-\r\n-\r\n-\r\n";
    const std::string empty = std::string(20, '\0') + "\n" + blank;
    const std::string failed = "   Saving high score data...Failed!\n         Couldn't write "
                               "data\\scores.hst and data\\names.hst!\n";
    auto write = [](const std::string& s, const std::string& n) {
        WriteFile("data/scores.hst", s), WriteFile("data/names.hst", n);
    };
    // Each pair of files and what a title visit and a game write back.
    const std::vector<std::tuple<std::string, std::function<void()>, std::string>> cases = {
        {"missing", [] { fs::remove("data/scores.hst"), fs::remove("data/names.hst"); }, empty},
        {"empty", [&] { write("", ""); }, empty},
        {"truncated", [&] { write(scores.substr(0, 3), names.substr(0, 3)); }, empty},
        {"seven entries", [&] { write(scores + scores.substr(0, 8), names + "EXTRA\r\nMORE\r\n"); },
         shipped},
        // Binary scores hold no line end, so no name survives.
        {"swapped", [&] { write(names, scores); }, names.substr(0, 20) + "\n" + blank},
        // The table is saved under a temporary name first; when that cannot
        // be written the old files must stay as they were.
        {"cannot be written", [] { fs::create_directory("data/scores.hst.tmp"); }, shipped}};
    for (const auto& [name, prepare, expected] : cases) {
        SCOPED_TRACE(name);
        ScratchDir dir;
        CopyPlayerData(dir);
        prepare();
        EXPECT_EQ(VisitTitle(true), 0) << ReadFile("quillemarch.log");
        ExpectWholeTable();
        EXPECT_EQ(ReadFile("data/scores.hst") + "\n" + ReadFile("data/names.hst"), expected);
        EXPECT_EQ(ReadFile("quillemarch.log").find(failed) != std::string::npos,
                  name == "cannot be written");
    }
}

TEST(Faults, KilledWhileSavingTheTableLeavesItWhole) {
    ScratchDir dir;
    CopyPlayerData(dir);
    const std::string before = ReadFile("data/scores.hst") + ReadFile("data/names.hst");
    std::mt19937 random(1);
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        GameProcess game;
        ASSERT_TRUE(StartToTitle(game)) << ReadFile("quillemarch.log");
        // Enter leaves the title, which saves the table it read: killed
        // before, during or after, the files hold one whole table.
        ASSERT_EQ(system("xdotool keydown Return"), 0);
        Sleep(static_cast<int>(random() % 40));
        game.Kill(SIGKILL);
        EXPECT_EQ(game.Wait(5000), 128 + SIGKILL);
        ASSERT_EQ(system("xdotool keyup Return"), 0);
        ExpectWholeTable();
        EXPECT_EQ(ReadFile("data/scores.hst") + ReadFile("data/names.hst"), before);
    }
}

}  // namespace
