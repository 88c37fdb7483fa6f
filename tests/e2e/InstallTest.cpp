// The installed game: laid out under a prefix, started through its launcher by players who each
// keep their own settings, logs and table without writing under the prefix.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/GameProcess.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;

namespace {

class Installed : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(getenv("DISPLAY"), nullptr) << "this test needs an X display (Xvfb)";
        const std::string out = Shell("cmake --install '" QM_BUILD_DIR "' --prefix " + prefix);
        ASSERT_TRUE(FileExists(prefix + "/games/quillemarch")) << out;
    }
    // Every file and link under the prefix.
    std::string Fingerprint() { return Shell("find " + prefix + " -printf '%p %l %s %T@\\n' | sort"); }
    // A visit with a game (and Print Screen in it) left with Escape, as the player whose home
    // is `home`.
    std::string PlayAs(const std::string& home) {
        const std::string own = home + "/.local/share/quillemarch/";
        EXPECT_EQ(VisitGame(dir.Path(), {{"HOME", home}, {"XDG_DATA_HOME", ""}},
                            prefix + "/games/quillemarch", own), 0) << ReadFile(own + "quillemarch.log");
        return own;
    }

    ScratchDir dir;
    const std::string prefix = dir.Path() + "/prefix";
};

TEST_F(Installed, EachPlayerKeepsTheirOwnFilesAndThePrefixStaysUntouched) {
    const std::string before = Fingerprint();
    const std::string own = PlayAs(dir.Path() + "/home-ada");
    // Print Screen in the game put its picture among them.
    for (const char* file : {"config.ini", "quillemarch.log", "ortholayer.log", "data/scores.hst",
                             "data/names.hst", "screenshot.png"})
        EXPECT_TRUE(FileExists(own + file)) << file;
    const std::string shipped = ReadFile(prefix + "/share/games/quillemarch/data/scores.hst");
    EXPECT_EQ(ReadFile(own + "data/scores.hst"), shipped);
    // A second player's visit starts afresh, and leaves the first player's files alone.
    WriteFile(own + "data/names.hst", "ADA\r\n");
    EXPECT_EQ(ReadFile(PlayAs(dir.Path() + "/home-bo") + "data/scores.hst"), shipped);
    EXPECT_EQ(ReadFile(own + "data/names.hst"), "ADA\r\n");
    EXPECT_EQ(Fingerprint(), before) << "nothing may be written under the prefix";
}

TEST_F(Installed, TheLauncherAnswersHelpAndVersionAndRefusesOtherOptions) {
    const std::string launcher = prefix + "/games/quillemarch";
    EXPECT_EQ(Shell(launcher + " --version; echo status $?"), "quillemarch " QM_VERSION "\nstatus 0\n");
    EXPECT_NE(Shell(launcher + " --help; echo status $?").find("Usage: quillemarch"),
              std::string::npos);
    EXPECT_EQ(Shell(launcher + " --fullscreen 2>&1 >/dev/null; echo status $?"),
              "usage: quillemarch [--help | --version]\nstatus 2\n");
    EXPECT_FALSE(FileExists("quillemarch.log")) << "options must not start the game";
}

}  // namespace
