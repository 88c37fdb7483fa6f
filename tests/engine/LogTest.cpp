// The game log: its header with the local date and time, its message lines and their endings.
#include <gtest/gtest.h>

#include <ctime>

#include "engine/Log.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;

// Each run starts a fresh file with the local clock in MM/DD/YY HH:MM:SS (here a zone 14 hours
// ahead of UTC); every message is on disk at once; a log that cannot be made is silent.
TEST(GameLog, HeaderThenMessagesWithTheirEndings)
{
    ScratchDir scratch;
    { Log("quillemarch.log").WriteLine("an earlier run"); }
    setenv("TZ", "<+14>-14", 1), tzset();
    const std::time_t before = std::time(nullptr) + 14 * 3600;
    {
        Log log("quillemarch.log");
        log.WriteLine("Init engine:"), log.WriteResult("   Setting up screen", true);
        log.WriteResult("   Initializing sound engine", false);
        EXPECT_EQ(ReadLines("quillemarch.log").size(), 4u);
    }
    unsetenv("TZ"), tzset();
    const std::string text = ReadFile("quillemarch.log"), header = text.substr(0, text.find('\n'));
    char want[2][40];
    for (std::time_t t : {before, before + 1}) {
        std::tm utc{};
        std::strftime(want[t - before], 40, "----- %m/%d/%y %H:%M:%S ----- ", gmtime_r(&t, &utc));
    }
    EXPECT_TRUE(header == want[0] || header == want[1]) << header;
    EXPECT_EQ(text.substr(header.size()), "\nInit engine:\n   Setting up screen...Done!\n"
              "   Initializing sound engine...Failed!\n   Shutting down log system...\n");
    { Log("missing-folder/quillemarch.log").WriteResult("lost", true); }
    EXPECT_FALSE(FileExists("missing-folder"));
}
