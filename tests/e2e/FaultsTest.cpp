// The real game fed broken pictures: it must start, run and quit with status 0, say what
// failed in its log, and never lose or mangle the player's table.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
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

}  // namespace
