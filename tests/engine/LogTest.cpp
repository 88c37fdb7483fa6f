// The game log: its header, its message lines and their endings.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "engine/Log.h"
#include "engine/Platform.h"
#include "tests/support/TestSupport.h"

using testsupport::ReadLines;
using testsupport::ScratchDir;

TEST(GameLog, HeaderThenMessagesWithTheirIndentationAndEndings)
{
    ScratchDir scratch;
    const std::string dateBefore = platform::DateText();
    {
        Log log("quillemarch.log");
        log.WriteLine("Init engine:");
        log.WriteResult("   Setting up screen", true);
        log.WriteResult("   Initializing sound engine", false);
        log.WriteLine("         Couldn't find audio directory!");
        // Each message is on disk as soon as it is written.
        EXPECT_EQ(5u, ReadLines("quillemarch.log").size());
    }
    const std::string dateAfter = platform::DateText();
    const std::string text = testsupport::ReadFile("quillemarch.log");
    EXPECT_EQ("\nInit engine:\n   Setting up screen...Done!\n   Initializing sound engine...Failed!\n"
              "         Couldn't find audio directory!\n   Shutting down log system...\n",
              text.substr(text.find('\n')));

    const std::string header = text.substr(0, text.find('\n'));
    const std::string shape = "----- 99/99/99 99:99:99 ----- ";
    ASSERT_EQ(shape.size(), header.size()) << header;
    for (size_t i = 0; i < shape.size(); ++i)
        EXPECT_TRUE(shape[i] == '9' ? std::isdigit(static_cast<unsigned char>(header[i])) != 0
                                    : shape[i] == header[i]) << header;
    const std::string date = header.substr(6, 8);
    EXPECT_TRUE(date == dateBefore || date == dateAfter) << date;
}

TEST(GameLog, EachRunStartsAFreshFileAndAFailedFileIsSilent)
{
    ScratchDir scratch;
    { Log("quillemarch.log").WriteLine("first run"); }
    { Log("quillemarch.log").WriteLine("second run"); }
    const auto lines = ReadLines("quillemarch.log");
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ("second run", lines[1]);
    {
        Log unnamed;
        Log nowhere("missing-folder/quillemarch.log");
        nowhere.WriteResult("lost", true);
    }
    EXPECT_EQ(2u, ReadLines("log.log").size());
    EXPECT_FALSE(testsupport::FileExists("missing-folder"));
}
