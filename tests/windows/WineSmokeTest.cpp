// The Windows game from its zip, run under Wine on the tests' Xvfb: the visit a Linux player
// makes gives the same log lines and the same settings, and replays cross between the systems
// both ways. tools/run-tests.sh unpacks the zip into QM_WINDOWS_GAME and
// makes a fresh Wine prefix for it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/GameProcess.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;

namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The Windows game as the tests start a program: one executable without arguments.
std::string WineLauncher(const std::string& dir)
{
    const std::string launcher = dir + "/play-under-wine";
    WriteFile(launcher, "#!/bin/sh\nexec wine quillemarch.exe\n");
    Shell("chmod +x " + launcher);
    return launcher;
}

// Each test plays the unpacked zip in its folder.
class Windows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(windows.empty()) << "QM_WINDOWS_GAME names no unpacked zip";
    }

    const std::string windows = Environment("QM_WINDOWS_GAME");
};

}  // namespace

TEST_F(Windows, VisitGivesTheLinuxLogAndSettings)
{
    ScratchDir linux;
    linux.CopyData();
    ASSERT_EQ(VisitGame(linux.Path()), 0) << ReadFile(linux.Path() + "/quillemarch.log");

    ASSERT_EQ(VisitGame(windows, {}, WineLauncher(windows)), 0)
        << ReadFile(windows + "/quillemarch.log");
    EXPECT_EQ(LogBody(windows + "/quillemarch.log"), LogBody(linux.Path() + "/quillemarch.log"));
    EXPECT_EQ(ReadLines(windows + "/config.ini"), ReadLines(linux.Path() + "/config.ini"));
    EXPECT_EQ(ReadLines(windows + "/config.ini").size(), 16u);
    // Windows' own text files end their lines with CR LF.
    EXPECT_EQ(ReadFile(windows + "/config.ini").substr(0, 14), "[Resolution]\r\n");
    EXPECT_NE(ReadFile(windows + "/quillemarch.log").find("\r\nInit engine:\r\n"),
              std::string::npos);
    EXPECT_TRUE(FileExists(windows + "/screenshot.png"));
    // The game left with Escape was recorded on Windows and plays the same on Linux.
    const std::string verified =
        Shell("env -u DISPLAY " + GameBinary() + " --verify " + windows + "/lastgame.qmr 2>&1");
    EXPECT_NE(verified.find(" verified\n"), std::string::npos) << verified;
    // The title music and the effects reached the sound card, not silence alone.
    const std::string sound = ReadFile(Environment("QM_WINDOWS_SOUND"));
    EXPECT_NE(sound.find_first_not_of('\0'), std::string::npos)
        << sound.size() << " bytes of silence";
}

TEST_F(Windows, GoldenReplayVerifiesWithTheConsoleBuild)
{
    const std::string replay = std::string(QM_SOURCE_DIR) + "/tests/replays/row-clear.qmr";
    const std::string out = Shell("cd " + windows + " && (timeout 60 wine quillemarch-cli.exe " +
                                  "--verify " + replay + "; echo status $?) 2>&1 | tr -d '\\r'");
    EXPECT_EQ(out, "score 500 ticks 3430 verified\nstatus 0\n");
}

// At the end of the session Windows may end the game as soon as it has answered, before the
// exit clean-up: the settings are on the disk by then.
TEST_F(Windows, SessionEndSavesTheSettingsFirst)
{
    std::remove((windows + "/config.ini").c_str());
    GameProcess game;
    ASSERT_TRUE(game.StartToTitle(windows, {}, WineLauncher(windows)));
    Shell("timeout 30 wineboot --end-session");
    EXPECT_NE(game.Wait(20000), -1) << "still running after the session ended";
    EXPECT_EQ(ReadLines(windows + "/config.ini").size(), 16u);
    const Lines log = ReadLines(windows + "/quillemarch.log");
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "      Destroying sound system...Done!");
}
