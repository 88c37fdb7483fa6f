// The high-score files: what loads from good and broken files, where entries land, and safe saves.
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "frontend/HighScoreTable.h"
#include "tests/frontend/TableFiles.h"

using namespace testsupport;

namespace {
HighScoreTable Table() { return HighScoreTable("data\\names.hst", "data\\scores.hst"); }

// "score name" per place as the title screen lists them ("-1" when absent), to the first gap.
std::string Shown(const HighScoreTable& table)
{
    std::string shown;
    for (int i = 0; table.scoreAt(i) != -1 || table.nameAt(i) != "-1"; ++i)
        shown += (i ? "," : "") + std::to_string(table.scoreAt(i)) + " " + table.nameAt(i);
    return shown;
}
}  // namespace

// A whole table loads and is written back byte for byte, with no temporary left; a 22-byte
// scores file and LF line ends load, and are saved as five places in CR LF lines.
TEST(HighScoreFiles, RoundTripByteForByteAndLineEnds)
{
    ScratchDir dir;
    const std::string scores = ScoreBytes({9000, 4200, 700, -5, -2000000000});
    WriteTable(scores, NameLines("ANNA,BO,CECILIAX,D,EVE"));
    EXPECT_EQ(Shown(Table()), "9000 ANNA,4200 BO,700 CECILIAX,-5 D,-2000000000 EVE");
    EXPECT_EQ(ReadFile("data/scores.hst"), scores);  // saved when the table goes
    EXPECT_EQ(ReadFile("data/names.hst"), NameLines("ANNA,BO,CECILIAX,D,EVE"));
    EXPECT_FALSE(FileExists("data/scores.hst.tmp") || FileExists("data/names.hst.tmp"));
    EXPECT_EQ(Table().scoreAt(-1), -1);

    WriteTable(ScoreBytes({5, 4, 3, 2, 1}) + "\x07\x07", "AL\nBEA\r\nCY");
    EXPECT_EQ(Shown(Table()), "5 AL,4 BEA,3 -1,2 -1,1 -1") << "a last line without its end is lost";
    EXPECT_EQ(ReadFile("data/scores.hst"), ScoreBytes({5, 4, 3, 2, 1}));
    EXPECT_EQ(ReadFile("data/names.hst"), NameLines("AL,BEA,-,-,-"));
}

// Broken and foreign files give a sane table, every later save writes two five-place files,
// and a new entry lands below equal scores, by the exchange sort that is not stable.
TEST(HighScoreFiles, BrokenFilesGiveASaneTableAndInsertFindsItsPlace)
{
    const char* const kMissing = "(missing)";
    const std::string longName = std::string(300, 'Q') + ",ZED", kept(255, 'Q');
    const std::string longShown = "3 " + kept + ",-1 ZED";
    const std::string longAfter = "35 NEW,3 " + kept + ",0 -,0 -,0 ZED";
    const struct {
        const char* what;
        std::string scores, names;
        const char *shown, *after;  // after inserting 35 NEW
    } cases[] = {
        {"both missing", kMissing, kMissing, "", "35 NEW,0 -,0 -,0 -,0 -"},
        {"names missing", ScoreBytes({10, 9}), kMissing, "10 -1,9 -1", "35 NEW,10 -,9 -,0 -,0 -"},
        {"both empty", "", "", "", "35 NEW,0 -,0 -,0 -,0 -"},
        {"more names than scores", ScoreBytes({10, 9}), NameLines("A,B,C"), "10 A,9 B,-1 C",
         "35 NEW,10 A,9 B,0 -,0 C"},
        {"a 3-byte scores file", "\x01\x02\x03", NameLines("A"), "-1 A", "35 NEW,0 -,0 -,0 -,0 A"},
        {"a 300-byte name", ScoreBytes({3}), NameLines(longName), longShown.c_str(),
         longAfter.c_str()},
        {"bytes above 127", ScoreBytes({3}), NameLines("\xC3\xA9\xFF"), "3 \xC3\xA9\xFF",
         "35 NEW,3 \xC3\xA9\xFF,0 -,0 -,0 -"},
        {"seven entries", ScoreBytes({70, 60, 50, 40, 30, 20, 10}), NameLines("A,B,C,D,E,F,G"),
         "70 A,60 B,50 C,40 D,30 E", "70 A,60 B,50 C,40 D,35 NEW"},
        {"equal scores", ScoreBytes({50, 40, 35, 20, 10}), NameLines("T,A,B,U,V"),
         "50 T,40 A,35 B,20 U,10 V", "50 T,40 A,35 B,35 NEW,20 U"},
        {"the exchange sort", ScoreBytes({50, 34, 34, 20, 10}), NameLines("T,A,B,U,V"),
         "50 T,34 A,34 B,20 U,10 V", "50 T,35 NEW,34 B,34 A,20 U"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        WriteTable(c.scores, c.names);
        if (c.scores == kMissing) unlink("data/scores.hst");
        if (c.names == kMissing) unlink("data/names.hst");
        EXPECT_EQ(Shown(Table()), c.shown);  // saved as 20 bytes and five CR LF lines
        EXPECT_EQ(ReadFile("data/scores.hst").size(), 20u);
        const std::string n = ReadFile("data/names.hst");
        const auto counted = [&n](char c) { return std::count(n.begin(), n.end(), c); };
        const bool crLfEnded = n.size() >= 2 && n.compare(n.size() - 2, 2, "\r\n") == 0;
        EXPECT_TRUE(counted('\n') == 5 && counted('\r') == 5 && crLfEnded) << n;
        Table().insert(35, "NEW");  // saves at once
        EXPECT_EQ(Shown(Table()), c.after);
    }
}

// A save that cannot replace both files says so and keeps the old pair whole; a directory
// named names.hst, which fails every read, does not hang the loading.
TEST(HighScoreFiles, FailedSaveKeepsTheOldFilesWhole)
{
    ScratchDir dir;
    const std::string scores = ScoreBytes({5, 4, 3, 2, 1});
    const std::string names = NameLines("A,B,C,D,E");
    WriteTable(scores, names);
    HighScoreTable table = Table();
    table.insert(100000, "WINNER");
    WriteTable(scores, names);
    ASSERT_EQ(mkdir("data/names.hst.tmp", 0755), 0);
    EXPECT_FALSE(table.save());
    EXPECT_EQ(ReadFile("data/scores.hst"), scores) << "new scores beside the old names";
    EXPECT_EQ(ReadFile("data/names.hst"), names);
    EXPECT_FALSE(FileExists("data/scores.hst.tmp"));
    EXPECT_TRUE(table.save()) << "the table in memory is kept; the blocking temporary has gone";
    EXPECT_EQ(ReadFile("data/names.hst").substr(0, 8), "WINNER\r\n");

    ASSERT_EQ(unlink("data/names.hst") | mkdir("data/names.hst", 0755), 0);
    HighScoreTable blocked = Table();
    EXPECT_EQ(Shown(blocked), "100000 -1,5 -1,4 -1,3 -1,2 -1");
    EXPECT_FALSE(blocked.save());
}

// A kill between the save's two renames must not pair new scores with old names.
TEST(HighScoreFiles, SaveCutShortIsFinishedOrUndoneAtTheNextLoad)
{
    ScratchDir dir;
    WriteTable(ScoreBytes({9, 8, 7, 6, 5}), NameLines("A,B,C,D,E"));
    WriteFile("data/names.hst.tmp", NameLines("NEW,B,C,D,E"));
    EXPECT_EQ(Shown(Table()), "9 NEW,8 B,7 C,6 D,5 E");
    WriteFile("data/scores.hst.tmp", ScoreBytes({1, 1, 1, 1, 1}));
    WriteFile("data/names.hst.tmp", "X\r\n");
    EXPECT_EQ(Shown(Table()), "9 NEW,8 B,7 C,6 D,5 E");
    EXPECT_FALSE(FileExists("data/scores.hst.tmp") || FileExists("data/names.hst.tmp"));
}
