// The real game fed broken files: pictures, sounds and the high-score table. It must
// start, run and quit with status 0, say what failed in its logs, and never lose or mangle the
// player's table.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/GameProcess.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

// A table the game can read back whole: five scores and five CR LF lines.
void ExpectWholeTable() {
    EXPECT_EQ(ReadFile("data/scores.hst").size(), 20u);
    const std::string names = ReadFile("data/names.hst");
    EXPECT_TRUE(std::regex_match(names, std::regex("([^\r\n]*\r\n){5}"))) << names;
}

TEST(Faults, EachMissingOrDamagedPictureIsLoggedAndTheGameRuns) {
    ScratchDir dir;
    dir.CopyData({"audio", "scores.hst", "names.hst", "gfx"});
    // A copy of the game beside this data/ loads its pictures from here.
    const std::string binary = dir.Path() + "/quillemarch";
    fs::copy_file(GameBinary(), binary);
    // Each picture of the game and the title missing in turn (the name entry's marker loads
    // only after a good game), then a truncated PNG and a text file.
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
        EXPECT_EQ(VisitTitle(dir.Path(), false, {}, binary), 0) << ReadFile("quillemarch.log");
        const std::string name = std::regex_replace(file, std::regex("/"), "\\");
        const std::string layer = ReadFile("ortholayer.log");
        EXPECT_NE(layer.find("Loading bitmap: " + name + "\nERROR: No such bitmap!\n"), layer.npos)
            << layer;
        WriteFile(file, good);
    }
    // A whole game drawn with every picture gone.
    for (const auto& damage : damages) fs::remove(damage.first);
    EXPECT_EQ(VisitTitle(dir.Path(), true, {}, binary), 0) << ReadFile("quillemarch.log");
    ExpectWholeTable();
}

TEST(Faults, EmptyOrBrokenSoundFilesLeaveTheGameRunning) {
    // Every sound file removed, replaced by text, or emptied.
    for (const std::string damage : {"removed", "not a sound\n", ""}) {
        SCOPED_TRACE(damage);
        ScratchDir dir;
        dir.CopyData();
        for (const char* d : {"data/audio/sfx", "data/audio/mus"})
            for (const auto& entry : fs::directory_iterator(d))
                if (damage == "removed") fs::remove(entry.path());
                else WriteFile(entry.path(), damage);
        // The title plays music 0 and Enter plays effect 3.
        EXPECT_EQ(VisitTitle(dir.Path(), true), 0) << ReadFile("quillemarch.log");
        const Lines body = LogBody("quillemarch.log");
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
        // The table is saved under a temporary name first; when that cannot be written the old
        // files must stay as they were. A directory in the way (kept by what it holds, so the
        // clearing of leftovers cannot remove it) stops root as well as a player.
        {"cannot be written", [] {
             fs::create_directory("data/scores.hst.tmp");
             WriteFile("data/scores.hst.tmp/kept", "");
         }, shipped}};
    for (const auto& [name, prepare, expected] : cases) {
        SCOPED_TRACE(name);
        ScratchDir dir;
        dir.CopyData();
        prepare();
        EXPECT_EQ(VisitTitle(dir.Path(), true), 0) << ReadFile("quillemarch.log");
        ExpectWholeTable();
        EXPECT_EQ(ReadFile("data/scores.hst") + "\n" + ReadFile("data/names.hst"), expected);
        EXPECT_EQ(ReadFile("quillemarch.log").find(failed) != std::string::npos,
                  name == "cannot be written");
    }
}

}  // namespace
