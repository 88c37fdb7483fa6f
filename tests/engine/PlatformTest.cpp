// The platform layer: file names, the log's clock texts, sorted listings.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "engine/Platform.h"
#include "tests/support/TestSupport.h"

using testsupport::ScratchDir;
using testsupport::WriteFile;

TEST(Platform, NativePathTurnsEveryBackslashIntoASlash)
{
    const std::pair<std::string, std::string> cases[] = {
        {"data\\gfx\\sprites\\crate.png", "data/gfx/sprites/crate.png"},
        {"data\\audio\\sfx\\", "data/audio/sfx/"},
        {"config.ini", "config.ini"},
        {"already/native", "already/native"},
        {"\\\\", "//"},
        {"", ""},
    };
    for (const auto& [game, native] : cases)
        EXPECT_EQ(native, platform::NativePath(game)) << game;
}

// The texts follow the local clock, not UTC: with the zone set 14 hours
// ahead, they must show UTC plus 14 hours.
TEST(Platform, ClockTextsAreLocalWithLeadingZeros)
{
    const char* oldZone = std::getenv("TZ");
    const std::string saved = oldZone ? oldZone : "";
    setenv("TZ", "<+14>-14", 1);
    tzset();
    std::string date, time;
    std::time_t now;
    do {
        now = std::time(nullptr);
        date = platform::DateText();
        time = platform::TimeText();
    } while (std::time(nullptr) != now);  // both texts from the same second
    if (oldZone) setenv("TZ", saved.c_str(), 1); else unsetenv("TZ");
    tzset();

    std::time_t ahead = now + 14 * 3600;
    std::tm utc{};
    gmtime_r(&ahead, &utc);
    char want[32];
    std::snprintf(want, sizeof want, "%02d/%02d/%02d", utc.tm_mon + 1, utc.tm_mday, utc.tm_year % 100);
    EXPECT_EQ(want, date);
    std::snprintf(want, sizeof want, "%02d:%02d:%02d", utc.tm_hour, utc.tm_min, utc.tm_sec);
    EXPECT_EQ(want, time);
}

TEST(Platform, ListingDropsOnlyTheDotEntriesAndSortsByBytes)
{
    ScratchDir scratch;
    ASSERT_EQ(0, mkdir("sfx", 0755));
    // Created in shuffled order, so the file system's own order is no help.
    const char* created[] = {"sfx/crate.wav", "sfx/\xc3\xa9t\xc3\xa9.wav", "sfx/B.wav", "sfx/...",
                             "sfx/10.wav", "sfx/.hidden", "sfx/2.wav", "sfx/a", "sfx/..x"};
    for (const char* name : created)
        WriteFile(name, "x");
    ASSERT_EQ(0, mkdir("sfx/music", 0755));

    std::vector<std::string> names = {"kept"};
    ASSERT_TRUE(platform::ListDirectorySorted("sfx", names));
    const std::vector<std::string> want = {"kept",  "...",    "..x",       ".hidden",
                                           "10.wav", "2.wav", "B.wav",     "a",
                                           "crate.wav", "music", "\xc3\xa9t\xc3\xa9.wav"};
    EXPECT_EQ(want, names);

    // The game's own spelling of a folder works as well.
    ASSERT_EQ(0, mkdir("sfx/deep", 0755));
    WriteFile("sfx/deep/one", "x");
    std::vector<std::string> deep;
    ASSERT_TRUE(platform::ListDirectorySorted("sfx\\deep", deep));
    EXPECT_EQ(std::vector<std::string>{"one"}, deep);

    std::vector<std::string> none = {"untouched"};
    EXPECT_FALSE(platform::ListDirectorySorted("no-such-folder", none));
    EXPECT_EQ(std::vector<std::string>{"untouched"}, none);
}
