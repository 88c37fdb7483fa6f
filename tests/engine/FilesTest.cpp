// The engine's files: "config.ini", what the reader keeps from good, odd and broken files and
// what the writer leaves on disk; and the game's log, its header and its lines.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "engine/Log.h"
#include "engine/Settings.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;

namespace {

// Width, height, anti-aliasing, colour depth, full screen, sound.
std::string Fields(const Settings& s)
{
    char out[80];
    std::snprintf(out, sizeof out, "%d %d %d %d %d %d", s.width, s.height, s.antiAliasing,
                  s.colorDepth, s.fullscreen, s.soundEnabled);
    return out;
}

}  // namespace

// The new file goes beside the old one first, so a full disk is reported and leaves the old
// settings whole. (What is written, the start-up table holds line by line.)
TEST(SettingsFile, AFailedWriteIsReportedAndLeavesTheOldSettingsWhole)
{
    ScratchDir scratch;
    Settings settings;
    ASSERT_TRUE(SaveSettings(settings));
    const std::string before = ReadFile("config.ini");
    settings.width = 1024;
    ASSERT_EQ(symlink("/dev/full", "config.ini.new"), 0);
    EXPECT_FALSE(SaveSettings(settings)) << "the disk is full";
    EXPECT_EQ(ReadFile("config.ini"), before);
}

// What the reader keeps: named values in any order, Windows line ends; a bad value is skipped
// and the reading goes on with the next line; only the first 64 kB are read.
TEST(SettingsFile, ReadsWhatTheFileNamesAndSkipsBadValues)
{
    const std::string kDefaults = "640 400 0 32 0 1";
    std::string binary, huge(20 * 1024 * 1024, 'x');
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 131 + 7) % 256);
    for (size_t i = 80; i < huge.size(); i += 81)
        huge[i] = '\n';
    const struct {
        const char* what;
        std::string bytes, fields;
    } cases[] = {
        {"any order",
         "[SoundEnabled]\n0\n[Anti-aliasing]\n2\n[ColorDepth]\n24\n[Fullscreen]\n1\n"
         "[Resolution]\n800\n600\n",
         "800 600 2 24 1 0"},
        {"CR LF", "[Resolution]\r\n800\r\n600\r\n\r\n[SoundEnabled]\r\n0\r\n", "800 600 0 32 0 0"},
        {"not keys", "[ColorDepth] \n16\n[colordepth]\n16\n[SOUNDENABLED]\n0\n", kDefaults},
        {"letters, too big, 2",
         "[ColorDepth]\nthirty\n[Anti-aliasing]\n99999999999999\n"
         "[Fullscreen]\n2\n[SoundEnabled]\n0\n",
         "640 400 0 32 0 0"},
        {"bad width, bad height",
         "[Resolution]\nwide\n600\n[Anti-aliasing]\n1\n[Resolution]\n"
         "800\nhigh\n",
         "800 400 1 32 0 1"},
        {"no value", "[Anti-aliasing]\n1\n[ColorDepth]\n", "640 400 1 32 0 1"},
        {"binary", binary, kDefaults},
        {"huge, its first part", "[ColorDepth]\n16\n" + huge, "640 400 0 16 0 1"},
        {"huge, beyond what is read", huge + "\n[ColorDepth]\n16\n", kDefaults},
        {"no final line end", "[SoundEnabled]\n0\n[ColorDepth]\n24", "640 400 0 24 0 0"},
    };
    for (const auto& c : cases) {
        ScratchDir scratch;
        WriteFile("config.ini", c.bytes);
        Settings settings;
        EXPECT_TRUE(LoadSettings(settings)) << "an existing file counts as read";
        EXPECT_EQ(Fields(settings), c.fields) << c.what;
    }
}

// Each run starts a fresh file with the local clock in MM/DD/YY HH:MM:SS (here a zone 14 hours
// ahead of UTC); every message is on disk at once; a log that cannot be made is silent.
TEST(GameLog, HeaderThenMessagesWithTheirEndings)
{
    ScratchDir scratch;
    setenv("TZ", "<+14>-14", 1);
    tzset();
    const std::time_t before = std::time(nullptr) + 14 * 3600;
    {
        Log log("quillemarch.log");
        log.WriteLine("Init engine:");
        log.WriteResult("   Setting up screen", true);
        log.WriteResult("   Initializing sound engine", false);
        EXPECT_EQ(ReadLines("quillemarch.log").size(), 4u);
    }
    unsetenv("TZ");
    tzset();
    const std::string text = ReadFile("quillemarch.log");
    const std::string header = text.substr(0, text.find('\n'));
    char want[2][40];
    for (std::time_t t : {before, before + 1}) {
        std::tm utc{};
        std::strftime(want[t - before], 40, "----- %m/%d/%y %H:%M:%S ----- ", gmtime_r(&t, &utc));
    }
    EXPECT_TRUE(header == want[0] || header == want[1]) << header;
    EXPECT_EQ(text.substr(header.size()),
              "\nInit engine:\n   Setting up screen...Done!\n"
              "   Initializing sound engine...Failed!\n   Shutting down log system...\n");
    {
        Log("missing-folder/quillemarch.log").WriteResult("lost", true);
    }
    EXPECT_FALSE(FileExists("missing-folder"));
}
