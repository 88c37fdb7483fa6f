// The installed game: laid out under a prefix, started through its launcher
// by players who each keep their own settings, logs and table, without ever
// writing under the prefix; and the Debian package that carries it.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/GameProcess.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;

namespace {

std::string Shell(const std::string& command) {
    std::string out;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    char buffer[512];
    while (pipe && fgets(buffer, sizeof buffer, pipe)) out += buffer;
    if (pipe) pclose(pipe);
    return out;
}

// A fingerprint of every file and link under a directory.
std::string Fingerprint(const std::string& dir) {
    return Shell("cd '" + dir + "' && find . -printf '%p %l %s %T@\\n' | sort");
}

class Installed : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(getenv("DISPLAY"), nullptr) << "this test needs an X display (Xvfb)";
        prefix = dir.Path() + "/prefix";
        std::string out = Shell("cmake --install '" QM_BUILD_DIR "' --prefix '" + prefix + "'");
        ASSERT_TRUE(FileExists(prefix + "/games/quillemarch")) << out;
    }

    // Plays a short visit as the player whose home is `home`: title, a game
    // left with Escape, quit.
    void PlayAs(const std::string& home) {
        ASSERT_EQ(system(("mkdir -p '" + home + "'").c_str()), 0);
        GameProcess game;
        ASSERT_TRUE(game.Start(dir.Path(), {{"HOME", home}, {"XDG_DATA_HOME", ""}},
                               {}, prefix + "/games/quillemarch"));
        std::string log = home + "/.local/share/quillemarch/quillemarch.log";
        ASSERT_TRUE(WaitForLine(log, "   Playing intro!", 30000)) << ReadFile(log);
        ASSERT_TRUE(FocusGameWindow(10000));
        HoldKey("Return");
        ASSERT_TRUE(WaitForLine(log, "Game running!", 10000));
        HoldKey("Escape");
        Sleep(1500);
        HoldKey("Escape", 300);
        ASSERT_EQ(game.Wait(20000), 0) << ReadFile(log);
    }

    ScratchDir dir;
    std::string prefix;
};

TEST_F(Installed, EachPlayerKeepsTheirOwnFilesAndThePrefixStaysUntouched) {
    EXPECT_TRUE(FileExists(prefix + "/lib/games/quillemarch/data/gfx/sprites/crate.png"));
    EXPECT_TRUE(FileExists(prefix + "/share/games/quillemarch/data/scores.hst"));
    EXPECT_TRUE(FileExists(prefix + "/share/applications/quillemarch.desktop"));
    EXPECT_TRUE(FileExists(prefix + "/share/man/man6/quillemarch.6"));
    for (const char* size : {"32x32", "48x48", "64x64", "128x128"})
        EXPECT_TRUE(FileExists(prefix + "/share/icons/hicolor/" + size + "/apps/quillemarch.png"));
    std::string before = Fingerprint(prefix);

    std::string first = dir.Path() + "/home-ada", second = dir.Path() + "/home-bo";
    PlayAs(first);
    std::string own = first + "/.local/share/quillemarch/";
    for (const char* file : {"config.ini", "quillemarch.log", "ortholayer.log", "data/scores.hst",
                             "data/names.hst"})
        EXPECT_TRUE(FileExists(own + file)) << file;
    EXPECT_EQ(ReadFile(own + "data/scores.hst"),
              ReadFile(prefix + "/share/games/quillemarch/data/scores.hst"));

    // The first player's own settings and table survive the second player's
    // visit and a new start of their own.
    WriteFile(own + "config.ini", ReadFile(own + "config.ini").replace(
                                      ReadFile(own + "config.ini").find("[SoundEnabled]\n1"),
                                      16, "[SoundEnabled]\n0"));
    WriteFile(own + "data/names.hst", "ADA\r\nADA\r\nADA\r\nADA\r\nADA\r\n");
    PlayAs(second);
    EXPECT_NE(ReadFile(second + "/.local/share/quillemarch/config.ini").find("[SoundEnabled]\n1"),
              std::string::npos);
    PlayAs(first);
    EXPECT_NE(ReadFile(own + "config.ini").find("[SoundEnabled]\n0"), std::string::npos);
    EXPECT_EQ(ReadFile(own + "data/names.hst"), "ADA\r\nADA\r\nADA\r\nADA\r\nADA\r\n");

    EXPECT_EQ(Fingerprint(prefix), before) << "nothing may be written under the prefix";
}

TEST_F(Installed, TheLauncherAnswersHelpAndVersionAndRefusesOtherOptions) {
    std::string launcher = prefix + "/games/quillemarch";
    EXPECT_EQ(Shell(launcher + " --version; echo status $?"), "quillemarch 1.0.0\nstatus 0\n");
    EXPECT_NE(Shell(launcher + " --help; echo status $?").find("Usage: quillemarch"),
              std::string::npos);
    EXPECT_EQ(Shell(launcher + " --fullscreen 2>&1 >/dev/null; echo status $?"),
              "usage: quillemarch [--help | --version]\nstatus 2\n");
    EXPECT_FALSE(FileExists("quillemarch.log")) << "options must not start the game";
}

TEST(Package, TheDebianPackageCarriesTheGameAndItsLibraries) {
    ScratchDir dir;
    std::string out = Shell("cpack --config '" QM_BUILD_DIR "/CPackConfig.cmake' -B '" +
                          dir.Path() + "'");
    std::string deb = dir.Path() + "/quillemarch_1.0.0_amd64.deb";
    ASSERT_TRUE(FileExists(deb)) << out;
    std::string contents = Shell("dpkg-deb -c '" + deb + "'");
    for (const char* path : {"./usr/games/quillemarch", "./usr/lib/games/quillemarch/quillemarch",
                             "./usr/share/games/quillemarch/data/gfx/fonts/font.png",
                             "./usr/share/applications/quillemarch.desktop",
                             "./usr/share/man/man6/quillemarch.6",
                             "./usr/share/icons/hicolor/48x48/apps/quillemarch.png"})
        EXPECT_NE(contents.find(path), std::string::npos) << path;
    std::string depends = Shell("dpkg-deb -f '" + deb + "' Depends");
    for (const char* library : {"liballegro4.4", "liballeggl4.4", "libopenal1", "libsndfile1",
                                "libgl1", "libloadpng4.4"})
        EXPECT_NE(depends.find(library), std::string::npos) << library << " in " << depends;
}

}  // namespace
