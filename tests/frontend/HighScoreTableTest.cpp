// The high-score files: what loads from good and broken files, where entries land, and safe saves.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "frontend/HighScoreTable.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;

namespace {
HighScoreTable Table()
{
    return HighScoreTable("data\\names.hst", "data\\scores.hst");
}

// "score name" per place as the title screen lists them ("-1" when absent), to the first gap.
std::string Shown(const HighScoreTable& table)
{
    std::string shown;
    for (int i = 0; table.scoreAt(i) != -1 || table.nameAt(i) != "-1"; ++i)
        shown += (i ? "," : "") + std::to_string(table.scoreAt(i)) + " " + table.nameAt(i);
    return shown;
}

// Whole, short, broken and foreign files give a sane table, written back as five places in each
// file (a whole one byte for byte, with no temporary left); a new entry lands below equal
// scores, by the exchange sort that is not stable.
TEST(HighScoreFiles, LoadSaveAndInsert)
{
    const char* const kMissing = "(missing)";
    const std::string q(255, 'Q');
    // The table shown, the names saved, and the table after 35 NEW went in.
    const struct {
        std::string what, scores, names, shown, saved, after;
    } cases[] = {
        {"a whole table", ScoreBytes({9000, 4200, 700, -5, -2000000000}),
         NameLines("ANNA,BO,CECILIAX,D,EVE"), "9000 ANNA,4200 BO,700 CECILIAX,-5 D,-2000000000 EVE",
         "ANNA,BO,CECILIAX,D,EVE", "9000 ANNA,4200 BO,700 CECILIAX,35 NEW,-5 D"},
        {"22 bytes, LF ends, the last line lost", ScoreBytes({5, 4, 3, 2, 1}) + "\x07\x07",
         "AL\nBEA\r\nCY", "5 AL,4 BEA,3 -1,2 -1,1 -1", "AL,BEA,-,-,-", "35 NEW,5 AL,4 BEA,3 -,2 -"},
        {"both missing", kMissing, kMissing, "", "-,-,-,-,-", "35 NEW,0 -,0 -,0 -,0 -"},
        {"a 3-byte scores file", "\x01\x02\x03", NameLines("A"), "-1 A", "A,-,-,-,-",
         "35 NEW,0 -,0 -,0 -,0 A"},
        {"a 300-byte name", ScoreBytes({3}), NameLines(std::string(300, 'Q') + ",ZED"),
         "3 " + q + ",-1 ZED", q + ",ZED,-,-,-", "35 NEW,3 " + q + ",0 -,0 -,0 ZED"},
        {"bytes above 127", ScoreBytes({3}), NameLines("\xC3\xA9\xFF"), "3 \xC3\xA9\xFF",
         "\xC3\xA9\xFF,-,-,-,-", "35 NEW,3 \xC3\xA9\xFF,0 -,0 -,0 -"},
        {"seven entries", ScoreBytes({70, 60, 50, 40, 30, 20, 10}), NameLines("A,B,C,D,E,F,G"),
         "70 A,60 B,50 C,40 D,30 E", "A,B,C,D,E", "70 A,60 B,50 C,40 D,35 NEW"},
        {"equal scores", ScoreBytes({50, 40, 35, 20, 10}), NameLines("T,A,B,U,V"),
         "50 T,40 A,35 B,20 U,10 V", "T,A,B,U,V", "50 T,40 A,35 B,35 NEW,20 U"},
        {"the exchange sort", ScoreBytes({50, 34, 34, 20, 10}), NameLines("T,A,B,U,V"),
         "50 T,34 A,34 B,20 U,10 V", "T,A,B,U,V", "50 T,35 NEW,34 B,34 A,20 U"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        WriteTable(c.scores, c.names);
        if (c.scores == kMissing)
            unlink("data/scores.hst");
        if (c.names == kMissing)
            unlink("data/names.hst");
        EXPECT_EQ(Shown(Table()), c.shown);  // and saved when the table goes
        const std::string scores = ReadFile("data/scores.hst");
        EXPECT_TRUE(scores.size() == 20 && (c.scores.size() < 20 || c.scores.find(scores) == 0));
        EXPECT_EQ(ReadFile("data/names.hst"), NameLines(c.saved));
        EXPECT_FALSE(FileExists("data/scores.hst.tmp") || FileExists("data/names.hst.tmp"));
        Table().insert(35, "NEW");  // saves at once
        EXPECT_EQ(Shown(Table()), c.after);
    }
}

// A save that cannot replace both files says so and keeps the old pair whole; a kill between
// the save's two renames must not pair new scores with old names.
TEST(HighScoreFiles, SavesKeepThePairWhole)
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

    WriteTable(ScoreBytes({9, 8, 7, 6, 5}), names);
    WriteFile("data/names.hst.tmp", NameLines("NEW,B,C,D,E"));
    EXPECT_EQ(Shown(Table()), "9 NEW,8 B,7 C,6 D,5 E");
    WriteFile("data/scores.hst.tmp", ScoreBytes({1, 1, 1, 1, 1}));
    WriteFile("data/names.hst.tmp", "X\r\n");
    EXPECT_EQ(Shown(Table()), "9 NEW,8 B,7 C,6 D,5 E");
    EXPECT_FALSE(FileExists("data/scores.hst.tmp") || FileExists("data/names.hst.tmp"));
    ASSERT_EQ(mkfifo("data/names.hst.tmp", 0644), 0);
    EXPECT_EQ(Shown(Table()), "9 NEW,8 B,7 C,6 D,5 E") << "a FIFO left behind must not block";
}
}  // namespace
