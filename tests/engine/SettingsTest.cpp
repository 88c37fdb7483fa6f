// "config.ini": what the reader keeps from good, odd and broken files, and
// what the writer leaves on disk.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <future>

#include "engine/Settings.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;

namespace {

// Width, height, anti-aliasing, colour depth, full screen, sound.
std::string Fields(const Settings& s)
{
    std::string out;
    for (int v : {s.width, s.height, s.antiAliasing, s.colorDepth, int(s.fullscreen),
                  int(s.soundEnabled)})
        out += (out.empty() ? "" : " ") + std::to_string(v);
    return out;
}

// Reads a config.ini of the given bytes in a fresh folder; a reader stuck in a loop gets 10 s.
std::string ReadConfig(const std::string& bytes)
{
    ScratchDir scratch;
    WriteFile("config.ini", bytes);
    Settings settings;
    auto reading = std::async(std::launch::async, [&settings] { return LoadSettings(settings); });
    if (reading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ADD_FAILURE() << "LoadSettings never returned";
        _exit(1);
    }
    EXPECT_TRUE(reading.get()) << "an existing file counts as read";
    return Fields(settings);
}

}  // namespace

// The exact sixteen lines; a write that fails on a full disk is reported.
TEST(SettingsFile, WritesTheFiveSectionsAndReportsFailedWrites)
{
    ScratchDir scratch;
    { Settings defaults; }  // saves itself when destroyed
    EXPECT_EQ(ReadFile("config.ini"), "[Resolution]\n640\n400\n\n[Fullscreen]\n0\n\n"
              "[ColorDepth]\n32\n\n[Anti-aliasing]\n0\n\n[SoundEnabled]\n1\n\n");
    Settings changed, read;
    changed.width = 1024, changed.height = 768, changed.antiAliasing = 1;
    changed.colorDepth = 16, changed.fullscreen = true, changed.soundEnabled = false;
    ASSERT_TRUE(SaveSettings(changed) && LoadSettings(read));
    EXPECT_EQ(Fields(read), "1024 768 1 16 1 0");

    // The new file goes beside the old one first: a full disk leaves the old settings whole.
    const std::string before = ReadFile("config.ini");
    ASSERT_EQ(symlink("/dev/full", "config.ini.new"), 0);
    EXPECT_FALSE(SaveSettings(changed)) << "the disk is full";
    EXPECT_EQ(ReadFile("config.ini"), before);
}

// What the reader keeps: named values in any order, Windows line ends; a bad value is skipped
// and the reading goes on with the next line.
TEST(SettingsFile, ReadsWhatTheFileNamesAndSkipsBadValues)
{
    const std::string kDefaults = "640 400 0 32 0 1";
    std::string binary, huge(20 * 1024 * 1024, 'x');
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 131 + 7) % 256);
    for (size_t i = 80; i < huge.size(); i += 81) huge[i] = '\n';
    const struct { const char* what; std::string bytes, fields; } cases[] = {
        {"any order", "[SoundEnabled]\n0\n[Anti-aliasing]\n2\n[ColorDepth]\n24\n[Fullscreen]\n1\n"
                      "[Resolution]\n800\n600\n", "800 600 2 24 1 0"},
        {"CR LF", "[Resolution]\r\n800\r\n600\r\n\r\n[Fullscreen]\r\n1\r\n\r\n[SoundEnabled]\r\n0"
                  "\r\n\r\n", "800 600 0 32 1 0"},
        {"not keys", "[ColorDepth] \n16\n[colordepth]\n16\n[SOUNDENABLED]\n0\n", kDefaults},
        {"letters", "[ColorDepth]\nthirty\n\n[SoundEnabled]\n0\n", "640 400 0 32 0 0"},
        {"2 for a switch", "[Fullscreen]\n2\n\n[ColorDepth]\n16\n", "640 400 0 16 0 1"},
        {"bad height", "[Resolution]\n800\nhigh\n[Anti-aliasing]\n1\n", "800 400 1 32 0 1"},
        {"bad width", "[Resolution]\nwide\n600\n[Anti-aliasing]\n1\n", "640 400 1 32 0 1"},
        {"too big", "[ColorDepth]\n99999999999999\n[SoundEnabled]\n0\n", "640 400 0 32 0 0"},
        {"no value", "[Anti-aliasing]\n1\n[ColorDepth]\n", "640 400 1 32 0 1"},
        {"empty", "", kDefaults},
        {"binary", binary, kDefaults},
        {"huge, its first part", "[ColorDepth]\n16\n" + huge, "640 400 0 16 0 1"},
        {"huge, beyond what is read", huge + "\n[ColorDepth]\n16\n", kDefaults},
        {"no final line end", "[SoundEnabled]\n0\n[ColorDepth]\n24", "640 400 0 24 0 0"},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadConfig(c.bytes), c.fields) << c.what;
}
