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
    const std::time_t before = std::time(nullptr);
    {
        Log log("quillemarch.log");
        log.WriteLine("Init engine:"), log.WriteResult("   Setting up screen", true);
        log.WriteResult("   Initializing sound engine", false);
        EXPECT_EQ(ReadLines("quillemarch.log").size(), 4u);
    }
    const std::time_t after = std::time(nullptr);
    unsetenv("TZ"), tzset();
    auto headerAt = [](std::time_t t) {
        t += 14 * 3600;
        std::tm utc{};
        char text[40];
        std::strftime(text, sizeof text, "----- %m/%d/%y %H:%M:%S ----- ", gmtime_r(&t, &utc));
        return std::string(text);
    };
    const std::string text = ReadFile("quillemarch.log"), header = text.substr(0, text.find('\n'));
    EXPECT_TRUE(header == headerAt(before) || header == headerAt(after)) << header;
    EXPECT_EQ(text.substr(header.size()), "\nInit engine:\n   Setting up screen...Done!\n"
              "   Initializing sound engine...Failed!\n   Shutting down log system...\n");
    { Log("missing-folder/quillemarch.log").WriteResult("lost", true); }
    EXPECT_FALSE(FileExists("missing-folder"));
}
