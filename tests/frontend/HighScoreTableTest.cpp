// The high-score files: what loads from good and broken files, where a new
// entry lands, and that a save never leaves a broken or half-written pair.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "frontend/HighScoreTable.h"
#include "tests/support/TestSupport.h"

using testsupport::ReadFile;
using testsupport::ScratchDir;
using testsupport::WriteFile;

namespace {

const char* const kNames = "data\\names.hst";
const char* const kScores = "data\\scores.hst";

std::string ScoreBytes(const std::vector<int32_t>& scores)
{
    std::string bytes;
    for (int32_t s : scores) {
        uint32_t v = static_cast<uint32_t>(s);
        bytes += {char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF), char(v >> 24 & 0xFF)};
    }
    return bytes;
}

std::string NameLines(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& n : names) text += n + "\r\n";
    return text;
}

void WriteTable(const std::vector<int32_t>& scores, const std::vector<std::string>& names)
{
    mkdir("data", 0755);
    WriteFile("data/scores.hst", ScoreBytes(scores));
    WriteFile("data/names.hst", NameLines(names));
}

struct Table {
    std::vector<int32_t> scores;
    std::vector<std::string> names;
};

Table Contents(const HighScoreTable& table)
{
    Table t;
    for (int i = 0; i < table.count(); ++i) t.scores.push_back(table.scoreAt(i));
    for (int i = 0; table.nameAt(i) != "-1"; ++i) t.names.push_back(table.nameAt(i));
    return t;
}

// Two files of five places each: 20 bytes of scores, five CR LF lines.
void ExpectWellFormedPair()
{
    EXPECT_EQ(ReadFile("data/scores.hst").size(), 20u);
    std::string names = ReadFile("data/names.hst");
    int lines = 0;
    for (std::size_t at = 0; (at = names.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
    EXPECT_EQ(lines, 5) << names;
    EXPECT_EQ(names.substr(names.size() - 2), "\r\n");
    EXPECT_EQ(names.find('\n'), names.find("\r\n") + 1) << "a bare line feed";
}

const std::vector<int32_t> kFiveScores = {9000, 4200, 700, -5, -2000000000};
const std::vector<std::string> kFiveNames = {"ANNA", "BO", "CECILIAX", "D", "EVE"};

}  // namespace

TEST(HighScoreFiles, FiveEntriesRoundTripByteForByte)
{
    ScratchDir dir;
    WriteTable(kFiveScores, kFiveNames);
    const std::string scoresBefore = ReadFile("data/scores.hst");
    const std::string namesBefore = ReadFile("data/names.hst");
    // Little-endian: 9000 is 0x2328.
    ASSERT_EQ(scoresBefore.substr(0, 4), std::string("\x28\x23\0\0", 4));
    {
        HighScoreTable table(kNames, kScores);
        Table t = Contents(table);
        EXPECT_EQ(t.scores, kFiveScores);
        EXPECT_EQ(t.names, kFiveNames);
        EXPECT_TRUE(table.save());
        EXPECT_EQ(ReadFile("data/scores.hst"), scoresBefore);
        EXPECT_EQ(ReadFile("data/names.hst"), namesBefore);
    }
    // The release writes them once more, unchanged, and leaves no temporary file.
    EXPECT_EQ(ReadFile("data/scores.hst"), scoresBefore);
    EXPECT_EQ(ReadFile("data/names.hst"), namesBefore);
    EXPECT_FALSE(testsupport::FileExists("data/scores.hst.tmp"));
    EXPECT_FALSE(testsupport::FileExists("data/names.hst.tmp"));
}

TEST(HighScoreFiles, LineEndsAndTrailingBytes)
{
    ScratchDir dir;
    mkdir("data", 0755);
    // 22 bytes: the two after the fifth score are dropped. Unix line ends
    // load like the game's own; a last line without a line end is lost.
    WriteFile("data/scores.hst", ScoreBytes({5, 4, 3, 2, 1}) + "\x07\x07");
    WriteFile("data/names.hst", "AL\nBEA\r\nCY");
    {
        HighScoreTable table(kNames, kScores);
        Table t = Contents(table);
        EXPECT_EQ(t.scores, (std::vector<int32_t>{5, 4, 3, 2, 1}));
        EXPECT_EQ(t.names, (std::vector<std::string>{"AL", "BEA"}));
    }
    EXPECT_EQ(ReadFile("data/scores.hst"), ScoreBytes({5, 4, 3, 2, 1}));
    EXPECT_EQ(ReadFile("data/names.hst"), "AL\r\nBEA\r\n-\r\n-\r\n-\r\n");
}

TEST(HighScoreFiles, PlacesOutsideTheTableReadAsMinusOne)
{
    ScratchDir dir;
    WriteTable({30, 20}, {"A", "B"});
    HighScoreTable table(kNames, kScores);
    ASSERT_EQ(table.count(), 2);
    for (int place : {-1, 2, 5, 1000}) {
        EXPECT_EQ(table.scoreAt(place), -1) << place;
        EXPECT_EQ(table.nameAt(place), "-1") << place;
    }
}

TEST(HighScoreFiles, InsertFindsItsPlace)
{
    struct Case {
        int score;
        std::vector<int32_t> before;
        std::vector<std::string> beforeNames;
        std::vector<int32_t> after;
        std::vector<std::string> afterNames;
    };
    const std::vector<Case> cases = {
        // Equal to the third: the new entry goes below it.
        {300, {500, 400, 300, 200, 100}, {"A", "B", "C", "D", "E"},
         {500, 400, 300, 300, 200}, {"A", "B", "C", "NEW", "D"}},
        // Lower than every entry: it still takes the fifth place.
        {7, {500, 400, 300, 200, 100}, {"A", "B", "C", "D", "E"},
         {500, 400, 300, 200, 7}, {"A", "B", "C", "D", "NEW"}},
        // The exchange sort swaps the two equal 40s on the way.
        {45, {50, 40, 40, 20, 10}, {"T", "A", "B", "U", "V"},
         {50, 45, 40, 40, 20}, {"T", "NEW", "B", "A", "U"}},
        // Above everything: first place.
        {9999, {500, 400, 300, 200, 100}, {"A", "B", "C", "D", "E"},
         {9999, 500, 400, 300, 200}, {"NEW", "A", "B", "C", "D"}},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        WriteTable(c.before, c.beforeNames);
        HighScoreTable table(kNames, kScores);
        table.insert(c.score, "NEW");
        Table t = Contents(table);
        EXPECT_EQ(t.scores, c.after) << "inserting " << c.score;
        EXPECT_EQ(t.names, c.afterNames) << "inserting " << c.score;
        // insert saves at once.
        EXPECT_EQ(ReadFile("data/scores.hst"), ScoreBytes(c.after));
        EXPECT_EQ(ReadFile("data/names.hst"), NameLines(c.afterNames));
    }
}

// Broken and foreign files: the table shows what is sane, insert has five
// places to work on, and the next save writes two five-place files.
TEST(HighScoreFiles, BrokenFilesGiveASaneTableAndAWellFormedSave)
{
    const std::string bigName(300, 'Q');
    struct Case {
        const char* what;
        bool scoresPresent;
        std::string scores;
        bool namesPresent;
        std::string names;
        std::vector<int32_t> shownScores;
        std::vector<std::string> shownNames;
    };
    const std::vector<Case> cases = {
        {"both missing", false, "", false, "", {}, {}},
        {"names missing", true, ScoreBytes({10, 9}), false, "", {10, 9}, {}},
        {"scores missing", false, "", true, NameLines({"A"}), {}, {}},
        {"both empty", true, "", true, "", {}, {}},
        {"more names than scores", true, ScoreBytes({10, 9}), true,
         NameLines({"A", "B", "C", "D", "E"}), {10, 9}, {"A", "B", "C", "D", "E"}},
        {"a 3-byte scores file", true, "\x01\x02\x03", true, NameLines({"A"}), {}, {"A"}},
        {"a 300-byte name", true, ScoreBytes({3, 2, 1}), true, NameLines({bigName, "ZED"}),
         {3, 2, 1}, {"QQQQQQQQ", "ZED"}},
        {"bytes above 127", true, ScoreBytes({3}), true, "\xC3\xA9\xFF\r\n", {3}, {"\xC3\xA9\xFF"}},
        {"seven entries", true, ScoreBytes({70, 60, 50, 40, 30, 20, 10}), true,
         NameLines({"A", "B", "C", "D", "E", "F", "G"}),
         {70, 60, 50, 40, 30}, {"A", "B", "C", "D", "E"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        mkdir("data", 0755);
        if (c.scoresPresent) WriteFile("data/scores.hst", c.scores);
        if (c.namesPresent) WriteFile("data/names.hst", c.names);
        {
            HighScoreTable table(kNames, kScores);
            Table t = Contents(table);
            EXPECT_EQ(t.scores, c.shownScores);
            EXPECT_EQ(t.names, c.shownNames);
        }
        ExpectWellFormedPair();

        // The next game's entry lands among five places, never past them.
        HighScoreTable table(kNames, kScores);
        ASSERT_EQ(table.count(), 5);
        table.insert(35, "NEW");
        EXPECT_EQ(table.count(), 5);
        ExpectWellFormedPair();
        bool found = false;
        for (int i = 0; i < 5; ++i) found = found || (table.scoreAt(i) == 35 && table.nameAt(i) == "NEW");
        EXPECT_TRUE(found);
        if (c.shownScores.size() == 5) {
            EXPECT_EQ(table.scoreAt(4), 35) << "the fifth place was 30";
        }
    }
}

TEST(HighScoreFiles, DirectoryInPlaceOfTheNamesFileDoesNotHang)
{
    ScratchDir dir;
    mkdir("data", 0755);
    WriteFile("data/scores.hst", ScoreBytes({10, 9, 8, 7, 6}));
    ASSERT_EQ(mkdir("data/names.hst", 0755), 0);
    HighScoreTable table(kNames, kScores);
    EXPECT_EQ(table.count(), 5);
    EXPECT_EQ(table.nameAt(0), "-1");
    // The directory cannot be replaced: the save says so.
    EXPECT_FALSE(table.save());
}

TEST(HighScoreFiles, FailedSaveKeepsTheOldFilesWhole)
{
    ScratchDir dir;
    WriteTable(kFiveScores, kFiveNames);
    const std::string scoresBefore = ReadFile("data/scores.hst");
    const std::string namesBefore = ReadFile("data/names.hst");
    HighScoreTable table(kNames, kScores);
    table.insert(100000, "WINNER");

    // Put the old pair back; a names file that cannot be written must not
    // leave the new scores beside the old names.
    WriteFile("data/scores.hst", scoresBefore);
    WriteFile("data/names.hst", namesBefore);
    ASSERT_EQ(mkdir("data/names.hst.tmp", 0755), 0);
    EXPECT_FALSE(table.save());
    EXPECT_EQ(ReadFile("data/scores.hst"), scoresBefore);
    EXPECT_EQ(ReadFile("data/names.hst"), namesBefore);
    EXPECT_FALSE(testsupport::FileExists("data/scores.hst.tmp"));
    EXPECT_EQ(table.scoreAt(0), 100000) << "the table in memory is kept";
    rmdir("data/names.hst.tmp");

    // A read-only directory refuses both files (root ignores the mode).
    if (geteuid() != 0) {
        ASSERT_EQ(chmod("data", 0555), 0);
        EXPECT_FALSE(table.save());
        EXPECT_EQ(ReadFile("data/scores.hst"), scoresBefore);
        EXPECT_EQ(ReadFile("data/names.hst"), namesBefore);
        chmod("data", 0755);
    }
    EXPECT_TRUE(table.save());
    EXPECT_EQ(ReadFile("data/names.hst").substr(0, 8), "WINNER\r\n");
}

TEST(HighScoreFiles, MissingDataDirectoryIsAFailedSave)
{
    ScratchDir dir;
    HighScoreTable table(kNames, kScores);
    EXPECT_EQ(table.count(), 0);
    EXPECT_FALSE(table.save());
    EXPECT_FALSE(testsupport::FileExists("data"));
}
