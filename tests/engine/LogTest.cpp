// The game log: its header, its message lines and their endings.
#include <gtest/gtest.h>

#include <ctime>
#include <regex>
#include <string>

#include "engine/Log.h"
#include "engine/Platform.h"
#include "tests/support/TestSupport.h"

using testsupport::ReadFile;
using testsupport::ReadLines;
using testsupport::ScratchDir;

TEST(GameLog, HeaderHoldsTheStartDateAndTime)
{
    ScratchDir scratch;
    const std::string dateBefore = platform::DateText();
    { Log log("quillemarch.log"); }
    const std::string dateAfter = platform::DateText();
    const std::string text = ReadFile("quillemarch.log");
    const std::string header = text.substr(0, text.find('\n') + 1);
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(header, parts,
                                 std::regex("----- (\\d\\d/\\d\\d/\\d\\d) (\\d\\d:\\d\\d:\\d\\d) ----- \n")))
        << header;
    EXPECT_TRUE(parts[1] == dateBefore || parts[1] == dateAfter) << parts[1];
}

TEST(GameLog, MessagesKeepTheirIndentationAndEndings)
{
    ScratchDir scratch;
    {
        Log log("quillemarch.log");
        log.WriteLine("Init engine:");
        log.WriteResult("   Setting up screen", true);
        log.WriteResult("   Initializing sound engine", false);
        log.WriteLine("         Couldn't find audio directory!");
        log.WriteLine("");
        // Each message is on disk as soon as it is written.
        const auto sofar = ReadLines("quillemarch.log");
        ASSERT_EQ(6u, sofar.size());
        EXPECT_EQ("         Couldn't find audio directory!", sofar[4]);
    }
    const auto lines = ReadLines("quillemarch.log");
    const std::vector<std::string> want = {
        "Init engine:",
        "   Setting up screen...Done!",
        "   Initializing sound engine...Failed!",
        "         Couldn't find audio directory!",
        "",
        "   Shutting down log system...",
    };
    ASSERT_EQ(want.size() + 1, lines.size());
    EXPECT_EQ(want, std::vector<std::string>(lines.begin() + 1, lines.end()));
    EXPECT_EQ('\n', ReadFile("quillemarch.log").back());
}

TEST(GameLog, EachRunStartsAFreshFile)
{
    ScratchDir scratch;
    {
        Log first("quillemarch.log");
        first.WriteLine("first run");
    }
    {
        Log second("quillemarch.log");
        second.WriteLine("second run");
    }
    const auto lines = ReadLines("quillemarch.log");
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(0u, lines[0].find("----- "));
    EXPECT_EQ("second run", lines[1]);
}

TEST(GameLog, UnnamedLogAndUnwritableLog)
{
    ScratchDir scratch;
    {
        Log unnamed;
        unnamed.WriteLine("hello");
        // A log that cannot be created swallows its messages.
        Log nowhere("missing-folder/quillemarch.log");
        nowhere.WriteLine("lost");
        nowhere.WriteResult("lost", true);
    }
    const auto lines = ReadLines("log.log");
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ("hello", lines[1]);
    EXPECT_FALSE(testsupport::FileExists("missing-folder"));
}
