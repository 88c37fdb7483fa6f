// "config.ini": what the reader keeps from good, odd and broken files, and
// what the writer leaves on disk.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <string>

#include "engine/Settings.h"
#include "tests/support/TestSupport.h"

using testsupport::ReadFile;
using testsupport::ScratchDir;
using testsupport::WriteFile;

namespace {

const char* const kDefaultFile =
    "[Resolution]\n640\n400\n\n[Fullscreen]\n0\n\n[ColorDepth]\n32\n\n"
    "[Anti-aliasing]\n0\n\n[SoundEnabled]\n1\n\n";

struct Fields {
    int width, height, antiAliasing, colorDepth;
    bool fullscreen, soundEnabled;
};

const Fields kDefaults{640, 400, 0, 32, false, true};

Fields FieldsOf(const Settings& s)
{
    return {s.width, s.height, s.antiAliasing, s.colorDepth, s.fullscreen, s.soundEnabled};
}

void ExpectFields(const Fields& want, const Settings& got, const std::string& what)
{
    const Fields have = FieldsOf(got);
    EXPECT_EQ(want.width, have.width) << what;
    EXPECT_EQ(want.height, have.height) << what;
    EXPECT_EQ(want.antiAliasing, have.antiAliasing) << what;
    EXPECT_EQ(want.colorDepth, have.colorDepth) << what;
    EXPECT_EQ(want.fullscreen, have.fullscreen) << what;
    EXPECT_EQ(want.soundEnabled, have.soundEnabled) << what;
}

// Reads config.ini holding the given bytes. A reader stuck in a loop would
// hang the whole suite, so it gets a few seconds and the test ends there.
void LoadFrom(const std::string& bytes, Settings& settings)
{
    WriteFile("config.ini", bytes);
    auto reading = std::async(std::launch::async, [&settings] { return LoadSettings(settings); });
    if (reading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ADD_FAILURE() << "LoadSettings never returned";
        _exit(1);
    }
    EXPECT_TRUE(reading.get()) << "an existing file counts as read";
}

}  // namespace

TEST(SettingsFile, DefaultRecordWritesTheSixteenLines)
{
    ScratchDir scratch;
    {
        Settings settings;
        EXPECT_TRUE(SaveSettings(settings));
        EXPECT_EQ(kDefaultFile, ReadFile("config.ini"));
        unlink("config.ini");
    }
    // The record saves itself when it is destroyed.
    EXPECT_EQ(kDefaultFile, ReadFile("config.ini"));
}

TEST(SettingsFile, ChangedValuesSurviveARoundTrip)
{
    ScratchDir scratch;
    Settings written;
    written.width = 1024;
    written.height = 768;
    written.antiAliasing = 1;
    written.colorDepth = 16;
    written.fullscreen = true;
    written.soundEnabled = false;
    ASSERT_TRUE(SaveSettings(written));
    Settings read;
    ASSERT_TRUE(LoadSettings(read));
    ExpectFields({1024, 768, 1, 16, true, false}, read, "round trip");
}

TEST(SettingsFile, WellFormedVariantsAreRead)
{
    struct Case {
        const char* what;
        const char* file;
        Fields want;
    } cases[] = {
        {"sound only", "[SoundEnabled]\n0\n", {640, 400, 0, 32, false, false}},
        {"reverse order",
         "[SoundEnabled]\n0\n\n[Anti-aliasing]\n2\n\n[ColorDepth]\n24\n\n[Fullscreen]\n1\n\n"
         "[Resolution]\n800\n600\n\n",
         {800, 600, 2, 24, true, false}},
        {"size on one line", "[Resolution]\n1280 1024\n", {1280, 1024, 0, 32, false, true}},
        {"later key wins", "[ColorDepth]\n16\n\n[ColorDepth]\n24\n", {640, 400, 0, 24, false, true}},
        {"Windows line ends",
         "[Resolution]\r\n800\r\n600\r\n\r\n[Fullscreen]\r\n1\r\n\r\n[ColorDepth]\r\n16\r\n\r\n"
         "[Anti-aliasing]\r\n1\r\n\r\n[SoundEnabled]\r\n0\r\n\r\n",
         {800, 600, 1, 16, true, false}},
        {"key with trailing blank", "[ColorDepth] \n16\n", kDefaults},
        {"key in other case", "[colordepth]\n16\n[SOUNDENABLED]\n0\n", kDefaults},
        {"values out of range kept", "[Resolution]\n-5\n0\n[ColorDepth]\n-1\n",
         {-5, 0, 0, -1, false, true}},
    };
    for (const Case& c : cases) {
        ScratchDir scratch;
        Settings settings;
        LoadFrom(c.file, settings);
        ExpectFields(c.want, settings, c.what);
    }
}

TEST(SettingsFile, BadValuesAreSkippedAndTheRestIsRead)
{
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 131 + 7) % 256);
    std::string huge(20 * 1024 * 1024, 'x');
    for (size_t i = 80; i < huge.size(); i += 81)
        huge[i] = '\n';
    huge += "\n[ColorDepth]\n16\n";

    struct Case {
        const char* what;
        std::string file;
        Fields want;
    } cases[] = {
        {"letters after [ColorDepth]", "[ColorDepth]\nthirty\n\n[SoundEnabled]\n0\n",
         {640, 400, 0, 32, false, false}},
        {"2 after [Fullscreen]", "[Fullscreen]\n2\n\n[ColorDepth]\n16\n",
         {640, 400, 0, 16, false, true}},
        {"bad height", "[Resolution]\n800\nhigh\n[Anti-aliasing]\n1\n", {800, 400, 1, 32, false, true}},
        {"bad width", "[Resolution]\nwide\n600\n[Anti-aliasing]\n1\n", {640, 400, 1, 32, false, true}},
        {"number too big", "[ColorDepth]\n99999999999999\n[SoundEnabled]\n0\n",
         {640, 400, 0, 32, false, false}},
        {"value missing at the end", "[Anti-aliasing]\n1\n[ColorDepth]\n", {640, 400, 1, 32, false, true}},
        {"empty file", "", kDefaults},
        {"binary file", binary, kDefaults},
        {"huge file", huge, {640, 400, 0, 16, false, true}},
        {"no line end on the last line", "[SoundEnabled]\n0\n[ColorDepth]\n24", {640, 400, 0, 24, false, false}},
        {"key on the last line without a line end", "[ColorDepth]\n24\n[SoundEnabled]", {640, 400, 0, 24, false, true}},
    };
    for (const Case& c : cases) {
        ScratchDir scratch;
        Settings settings;
        LoadFrom(c.file, settings);
        ExpectFields(c.want, settings, c.what);
    }
}

TEST(SettingsFile, MissingFileLeavesTheRecordUntouched)
{
    ScratchDir scratch;
    Settings settings;
    settings.width = 123;
    EXPECT_FALSE(LoadSettings(settings));
    ExpectFields({123, 400, 0, 32, false, true}, settings, "no file");
}

TEST(SettingsFile, FailedWritesAreReported)
{
    ScratchDir scratch;
    Settings settings;
    // Cannot be opened for writing.
    ASSERT_EQ(0, mkdir("config.ini", 0755));
    EXPECT_FALSE(SaveSettings(settings));
    ASSERT_EQ(0, rmdir("config.ini"));
    // Opens, but the disk is full.
    ASSERT_EQ(0, symlink("/dev/full", "config.ini"));
    EXPECT_FALSE(SaveSettings(settings));
    ASSERT_EQ(0, unlink("config.ini"));
    EXPECT_TRUE(SaveSettings(settings));
}
