// The platform layer: file names, the log's clock texts, sorted listings.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>

#include "engine/Platform.h"
#include "engine/Sound.h"
#include "tests/support/TestSupport.h"

using testsupport::ScratchDir;
using testsupport::WriteFile;
using Names = std::vector<std::string>;

TEST(Platform, NativePathTurnsEveryBackslashIntoASlash)
{
    EXPECT_EQ("data/gfx/sprites/crate.png", platform::NativePath("data\\gfx\\sprites\\crate.png"));
    EXPECT_EQ("data/audio/sfx//", platform::NativePath("data\\audio/sfx\\\\"));
    EXPECT_EQ("config.ini", platform::NativePath("config.ini"));
}

// With the zone set 14 hours ahead, the texts must show UTC plus 14 hours.
TEST(Platform, ClockTextsAreLocalWithLeadingZeros)
{
    setenv("TZ", "<+14>-14", 1);
    tzset();
    std::string date, time;
    std::time_t now;
    do {
        now = std::time(nullptr);
        date = platform::DateText();
        time = platform::TimeText();
    } while (std::time(nullptr) != now);  // both texts from the same second
    unsetenv("TZ");
    tzset();

    std::time_t ahead = now + 14 * 3600;
    std::tm utc{};
    gmtime_r(&ahead, &utc);
    char want[2][32];
    std::snprintf(want[0], 32, "%02d/%02d/%02d", utc.tm_mon + 1, utc.tm_mday, utc.tm_year % 100);
    std::snprintf(want[1], 32, "%02d:%02d:%02d", utc.tm_hour, utc.tm_min, utc.tm_sec);
    EXPECT_EQ(want[0], date);
    EXPECT_EQ(want[1], time);
}

TEST(Platform, ListingDropsOnlyTheDotEntriesAndSortsByBytes)
{
    ScratchDir scratch;
    ASSERT_EQ(0, mkdir("sfx", 0755));
    // Created in shuffled order, so the file system's own order is no help.
    for (const char* name : {"crate.wav", "\xc3\xa9t\xc3\xa9.wav", "B.wav", "...", "10.wav", ".hidden",
                             "2.wav", "a", "..x"})
        WriteFile(std::string("sfx/") + name, "x");
    ASSERT_EQ(0, mkdir("sfx/music", 0755));

    Names names = {"kept"};
    ASSERT_TRUE(platform::ListDirectorySorted("sfx", names));
    EXPECT_EQ(Names({"kept", "...", "..x", ".hidden", "10.wav", "2.wav", "B.wav", "a", "crate.wav",
                     "music", "\xc3\xa9t\xc3\xa9.wav"}),
              names);
    Names none = {"untouched"};
    EXPECT_FALSE(platform::ListDirectorySorted("no-such-folder", none));
    EXPECT_EQ(Names{"untouched"}, none);
}

// Effect n and music n are the n-th entries of their folders, named the
// game's way.
TEST(Platform, SoundNumbersFollowTheSortedListing)
{
    ScratchDir scratch;
    for (const char* dir : {"data", "data/audio", "data/audio/sfx", "data/audio/mus"})
        mkdir(dir, 0755);
    for (const char* name : {"sfx/land.wav", "sfx/die.wav", "sfx/boom.wav", "mus/title.ogg", "mus/game.ogg"})
        WriteFile(std::string("data/audio/") + name, "x");
    ASSERT_TRUE(FindAudioFiles("data\\audio\\sfx", "data\\audio\\mus"));
    EXPECT_EQ(Names({"data\\audio\\sfx\\boom.wav", "data\\audio\\sfx\\die.wav", "data\\audio\\sfx\\land.wav"}),
              effectFiles);
    EXPECT_EQ(Names({"data\\audio\\mus\\game.ogg", "data\\audio\\mus\\title.ogg"}), musicFiles);

    // Without the effects folder the music folder is not even looked at.
    effectFiles.clear(), musicFiles.clear();
    EXPECT_FALSE(FindAudioFiles("data\\audio\\none", "data\\audio\\mus"));
    EXPECT_TRUE(effectFiles.empty() && musicFiles.empty());
    EXPECT_FALSE(FindAudioFiles("data\\audio\\sfx", "data\\audio\\none"));
    EXPECT_EQ(3u, effectFiles.size());
}
