// "config.ini": what the reader keeps from good, odd and broken files, and
// what the writer leaves on disk.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <tuple>

#include "engine/Settings.h"
#include "tests/support/TestSupport.h"

using testsupport::ReadFile;
using testsupport::ScratchDir;

namespace {

// width, height, antiAliasing, colorDepth, fullscreen, soundEnabled
using Fields = std::tuple<int, int, int, int, bool, bool>;
const Fields kDefaults{640, 400, 0, 32, false, true};

Fields FieldsOf(const Settings& s)
{
    return {s.width, s.height, s.antiAliasing, s.colorDepth, s.fullscreen, s.soundEnabled};
}

// Reads a config.ini of the given bytes in a fresh folder. A reader stuck
// in a loop would hang the suite, so it gets ten seconds.
Fields ReadConfig(const std::string& bytes)
{
    ScratchDir scratch;
    testsupport::WriteFile("config.ini", bytes);
    Settings settings;
    auto reading = std::async(std::launch::async, [&settings] { return LoadSettings(settings); });
    if (reading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ADD_FAILURE() << "LoadSettings never returned";
        _exit(1);
    }
    EXPECT_TRUE(reading.get()) << "an existing file counts as read";
    return FieldsOf(settings);
}

}  // namespace

TEST(SettingsFile, WritesTheFiveSectionsAndReportsFailedWrites)
{
    ScratchDir scratch;
    {
        Settings settings;  // saves itself when destroyed
    }
    EXPECT_EQ("[Resolution]\n640\n400\n\n[Fullscreen]\n0\n\n[ColorDepth]\n32\n\n"
              "[Anti-aliasing]\n0\n\n[SoundEnabled]\n1\n\n",
              ReadFile("config.ini"));

    Settings changed;
    changed.width = 1024, changed.height = 768, changed.antiAliasing = 1;
    changed.colorDepth = 16, changed.fullscreen = true, changed.soundEnabled = false;
    ASSERT_TRUE(SaveSettings(changed));
    Settings read;
    ASSERT_TRUE(LoadSettings(read));
    EXPECT_EQ(Fields(1024, 768, 1, 16, true, false), FieldsOf(read));

    ASSERT_EQ(0, unlink("config.ini"));
    ASSERT_EQ(0, mkdir("config.ini", 0755));  // cannot be opened
    EXPECT_FALSE(SaveSettings(changed));
    ASSERT_EQ(0, rmdir("config.ini"));
    ASSERT_EQ(0, symlink("/dev/full", "config.ini"));  // opens, but the disk is full
    EXPECT_FALSE(SaveSettings(changed));
    ASSERT_EQ(0, unlink("config.ini"));

    // No file at all: false, and the record is left as it was.
    read.width = 123;
    EXPECT_FALSE(LoadSettings(read));
    EXPECT_EQ(123, read.width);
}

TEST(SettingsFile, ReadsWhatTheFileNamesAndKeepsTheRest)
{
    EXPECT_EQ(Fields(640, 400, 0, 32, false, false), ReadConfig("[SoundEnabled]\n0\n"));
    EXPECT_EQ(Fields(800, 600, 2, 24, true, false),
              ReadConfig("[SoundEnabled]\n0\n\n[Anti-aliasing]\n2\n\n[ColorDepth]\n24\n\n"
                         "[Fullscreen]\n1\n\n[Resolution]\n800\n600\n\n"));
    EXPECT_EQ(Fields(1280, 1024, 0, 32, false, true), ReadConfig("[Resolution]\n1280 1024\n"));
    EXPECT_EQ(Fields(640, 400, 0, 24, false, true), ReadConfig("[ColorDepth]\n16\n\n[ColorDepth]\n24\n"));
    EXPECT_EQ(Fields(800, 600, 1, 16, true, false),
              ReadConfig("[Resolution]\r\n800\r\n600\r\n\r\n[Fullscreen]\r\n1\r\n\r\n[ColorDepth]\r\n"
                         "16\r\n\r\n[Anti-aliasing]\r\n1\r\n\r\n[SoundEnabled]\r\n0\r\n\r\n"))
        << "Windows line ends";
    EXPECT_EQ(kDefaults, ReadConfig("[ColorDepth] \n16\n[colordepth]\n16\n[SOUNDENABLED]\n0\n"))
        << "a key with a trailing blank or in other case is not a key";
    EXPECT_EQ(Fields(-5, 0, 0, -1, false, true), ReadConfig("[Resolution]\n-5\n0\n[ColorDepth]\n-1\n"))
        << "values are not range-checked";
}

TEST(SettingsFile, BadValuesAreSkippedAndTheRestIsRead)
{
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 131 + 7) % 256);
    std::string huge(20 * 1024 * 1024, 'x');
    for (size_t i = 80; i < huge.size(); i += 81)
        huge[i] = '\n';

    EXPECT_EQ(Fields(640, 400, 0, 32, false, false), ReadConfig("[ColorDepth]\nthirty\n\n[SoundEnabled]\n0\n"));
    EXPECT_EQ(Fields(640, 400, 0, 16, false, true), ReadConfig("[Fullscreen]\n2\n\n[ColorDepth]\n16\n"));
    EXPECT_EQ(Fields(800, 400, 1, 32, false, true), ReadConfig("[Resolution]\n800\nhigh\n[Anti-aliasing]\n1\n"));
    EXPECT_EQ(Fields(640, 400, 1, 32, false, true), ReadConfig("[Resolution]\nwide\n600\n[Anti-aliasing]\n1\n"));
    EXPECT_EQ(Fields(640, 400, 0, 32, false, false), ReadConfig("[ColorDepth]\n99999999999999\n[SoundEnabled]\n0\n"));
    EXPECT_EQ(Fields(640, 400, 1, 32, false, true), ReadConfig("[Anti-aliasing]\n1\n[ColorDepth]\n"));
    EXPECT_EQ(kDefaults, ReadConfig(""));
    EXPECT_EQ(kDefaults, ReadConfig(binary));
    EXPECT_EQ(Fields(640, 400, 0, 16, false, true), ReadConfig(huge + "\n[ColorDepth]\n16\n"));
    EXPECT_EQ(Fields(640, 400, 0, 24, false, false), ReadConfig("[SoundEnabled]\n0\n[ColorDepth]\n24"))
        << "no line end after the last value";
    EXPECT_EQ(Fields(640, 400, 0, 24, false, true), ReadConfig("[ColorDepth]\n24\n[SoundEnabled]"));
}
