// The real game from start to end: the logs, "config.ini" and the table a player finds after
// each way start-up can go, each way a run can end, and a whole visit; the faults it must come
// through (broken pictures, a lost display); and the game installed for players who each keep
// their own files without writing under the prefix.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "tests/support/GameProcess.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

// `mode`: full screen, then the colour depth.
std::string Config(const std::string& size, char smooth, char sound,
                   const std::string& mode = "0\n\n[ColorDepth]\n32")
{
    return "[Resolution]\n" + size + "\n\n[Fullscreen]\n" + mode + "\n\n" + "[Anti-aliasing]\n" +
           smooth + "\n\n[SoundEnabled]\n" + sound + "\n\n";
}

Lines operator+(Lines a, const Lines& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::string kDefaults = Config("640\n400", '0', '1');
const Lines kNoConfig = {"Init engine:", "   Reading config file...Failed!",
                         "      ...generating new default config file...Done!"};
const Lines kWithConfig = {"Init engine:", "   Reading config file...Done!"};
const Lines kScreen = {"   Setting up screen...Done!"};
const Lines kSound = {"   Initializing sound engine...Done!",
                      "      Searching for SFX/MUS files..."};
const Lines kGame = {"Init game:", "   Loading GFX...", "   Initializing timer...Done!"};
const Lines kTitle = {"Init intro:", "   Loading GFX...", "   Reading high score data...",
                      "   Playing intro!"};
const Lines kPlay = {"   Removing menu resources...Done!", "Game running!"};
const Lines kQuitSilent = {"Shutting down:", "   Freeing resources:",
                           "      Destroying bitmaps...Done!", "   Shutting down log system..."};
const Lines kQuit = {"Shutting down:", "   Freeing resources:", "      Destroying bitmaps...Done!",
                     "      Destroying sound system...Done!", "   Shutting down log system..."};
const Lines kNoScreen = {
    "   Setting up screen...Failed!", "      Reverting to default GFX mode...Failed!",
    "         Sorry! Seems to be no OpenGL support on this graphics card. You can blame the "
    "stupid programmer who made this game OpenGL only!",
    "   Shutting down log system..."};
const Lines kFirstRun = kNoConfig + kScreen + kSound + kGame + kTitle;
// The layer's log, but for its picture loads: its start, each screen it could not open, the
// pictures made before the screen loaded at once, and its clean-up at exit.
const Lines kLayerStart = {"OrthoLayer started up succesfully"};
const Lines kLayerScreen = {"",
                            "Auto Loader: Executing 30 pending loading commands",
                            "Auto Loader: Completed",
                            "",
                            "Screen set up succesfully",
                            ""};
const Lines kLayerEnd = {"Collecting garbage",
                         "",
                         "Garbage Collector: Destroying 30 items",
                         "Garbace Collector: Completed",
                         "",
                         "Destroying the framebuffer",
                         "Used framebuffer: Framebuffer emulation",
                         "OrthoLayer shutdown finished"};
std::string Refused(int width, int height, bool fullscreen, int depth)
{
    return "ERROR: Couldn't up the screen! (Width: " + std::to_string(width) +
           ", Height: " + std::to_string(height) + (fullscreen ? ", Fullscreen" : ", Windowed") +
           ", Color depth: " + std::to_string(depth) + ", Z Depth: 8)";
}

// Where a visit goes from the title, returning false when it does not get there.
using Reach = std::function<bool(const std::string& log)>;
const Reach kToPlay = [](const std::string& log) {
    HoldKey("Return");
    return WaitForLine(log, "Game running!", 10000);
};
// A game left with Escape, the worker turned left, back on the title.
const Reach kGameLeft = [](const std::string& log) {
    if (!kToPlay(log))
        return false;
    HoldKey("Left", 300);
    HoldKey("Escape");
    return WaitForLine(log, kTitle.back(), 10000, 2);
};

// The environment of a run: as the test's own, with no sound back-end, or with no display.
const GameProcess::Env kNoEnv;
const GameProcess::Env kNoSoundDriver = {{"ALSOFT_DRIVERS", "no-such-driver"}};
const GameProcess::Env kNoDisplay = {{"DISPLAY", ""}};

struct Case {
    std::string name;
    Lines body;
    std::string configAfter;
    Reach reach = nullptr;          // none: the run stays on the title
    std::string configBefore = "";  // "" for none
    // At the title: whether its pictures are filtered smoothly, and the window's size.
    bool smooth = false;
    std::string window = "640x400";
    GameProcess::Env env = kNoEnv;
    int status = 0;  // 0: played to the title, on to `reach`, and ended there by `end`
    bool withAudio = true;
    std::function<void(GameProcess&)> end = nullptr;  // none: Escape on the title
    std::function<void()> check = nullptr;  // what else is left to see; none: the table as it was
    Lines layer = kLayerStart + kLayerScreen + kLayerEnd;
};

// From the last key or signal to the exit, with room for a loaded machine; the sanitizer's leak
// check at exit takes time of its own.
#ifdef QM_SANITIZED
constexpr std::chrono::seconds kAtOnce{3};
#else
constexpr std::chrono::seconds kAtOnce{2};
#endif

// Failures name the case rather than dump its bytes.
void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.name;
}

std::string Table()
{
    return ReadFile("data/scores.hst") + ReadFile("data/names.hst");
}

class Startup : public ::testing::TestWithParam<Case> {};

// A weak table, so that any game earns a place in it; under the address sanitizer, any memory
// of the game's own left unfreed.
TEST_P(Startup, LogsConfigAndTableAsThePlayerFindsThem)
{
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "these tests need an X display (Xvfb)";
    const Case& c = GetParam();
    ScratchDir dir;
    WriteTable(ScoreBytes({50, 40, 30, 20, 10}), NameLines("ANNA,BEN,CARL,DORA,EMIL"));
    const std::string table = Table();
    if (c.withAudio)
        dir.CopyData({"audio"});
    // Each run starts its logs afresh.
    for (const char* log : {"quillemarch.log", "ortholayer.log"})
        WriteFile(log, "an earlier run\n");
    // A FIFO in the settings' place must not block the start.
    // Root reads any file, so a directory stands for one that can be neither read nor written.
    if (c.configBefore == "<fifo>")
        ASSERT_EQ(mkfifo("config.ini", 0644), 0);
    else if (c.configBefore == "<directory>")
        ASSERT_TRUE(fs::create_directory("config.ini"));
    else if (!c.configBefore.empty())
        WriteFile("config.ini", c.configBefore);
    GameProcess::Env env = c.env;
#ifdef QM_SANITIZED
    // Libraries unloaded at exit leave leaks that name no file: only the game's own frames count.
    env["ASAN_OPTIONS"] = "detect_leaks=1:log_path=" + dir.Path() + "/asan";
    env["LSAN_OPTIONS"] = "exitcode=0:suppressions=" QM_SOURCE_DIR "/tests/e2e/lsan.supp";
#endif
    GameProcess game;
    if (c.status == 0) {
        ASSERT_TRUE(game.StartToTitle(dir.Path(), env)) << ReadFile("quillemarch.log");
        // Nearest filtering shows only the palette's colours; smooth filtering mixes them.
        const std::string window = GameWindowSize();
        const std::vector<uint32_t> pixels =
            GrabScreen(std::stoi(window), std::stoi(window.substr(window.find('x') + 1)));
        EXPECT_EQ(window, c.window);
        EXPECT_EQ(std::set<uint32_t>(pixels.begin(), pixels.end()).size() > 64, c.smooth);
        ASSERT_TRUE(!c.reach || c.reach("quillemarch.log")) << ReadFile("quillemarch.log");
        const auto start = std::chrono::steady_clock::now();
        if (c.end)
            c.end(game);
        else
            HoldKey("Escape", 300);
        EXPECT_EQ(game.Wait(20000), 0) << ReadFile("quillemarch.log");
        EXPECT_LT(std::chrono::steady_clock::now() - start, kAtOnce) << "at once";
    } else {
        ASSERT_TRUE(game.Start(dir.Path(), env));
        EXPECT_EQ(game.Wait(30000), c.status) << "the game must end as it says, never crash";
    }

    EXPECT_EQ(LogBody("quillemarch.log"), c.body);
    EXPECT_EQ(ReadFile("config.ini"), c.configAfter);
    if (c.check)
        c.check();
    else
        EXPECT_EQ(Table(), table);
    Lines layer;
    for (const std::string& line : ReadLines("ortholayer.log"))
        if (line.rfind("Loading bitmap: ", 0))
            layer.push_back(line);
    EXPECT_EQ(layer, c.layer);
    const std::string leaks = Shell("cat " + dir.Path() + "/asan.* 2>/dev/null");
    for (const char* own : {QM_SOURCE_DIR, QM_BIN_DIR})
        EXPECT_EQ(leaks.find(own), std::string::npos) << leaks;
}

// A size that cannot be opened is kept to be tried again next time; the fall-back window opens
// each time, and filters smoothly whatever the setting says.
Case FallBack(const char* name, int width, int height, bool fullscreen, int depth)
{
    const std::string size = std::to_string(width) + "\n" + std::to_string(height);
    const std::string mode = std::string(fullscreen ? "1" : "0") + "\n\n[ColorDepth]\n";
    const std::string config = Config(size, '0', '1', mode + std::to_string(depth));
    const Lines failed = {"   Setting up screen...Failed!",
                          "      Reverting to default GFX mode...Done!"};
    Case c{name, kWithConfig + failed + kSound + kGame + kTitle + kQuit, config, nullptr, config,
           true};
    c.layer =
        kLayerStart + Lines{Refused(width, height, fullscreen, depth)} + kLayerScreen + kLayerEnd;
    return c;
}

// A whole visit with real key presses: a game left with Escape, a game until a crate falls on
// the worker, the name entry, the title with the new table, the options; every picture of every
// screen loads (the layer's log shows no error).
Case WholeVisit()
{
    const Reach visit = [](const std::string& log) {
        if (!kGameLeft(log))
            return false;
        if (!PlayUntilDeath(log, true))
            return false;
        // Typed letters ("7" is not one), then the marker from "A" to END (row 2, column 8).
        for (const char* key : {"q", "a", "7", "Right", "Right", "Right", "Right", "Right", "Right",
                                "Right", "Right", "Down", "Down"})
            TapKey(key);
        HoldKey("Return");
        if (!WaitForLine(log, "   Saving score...", 10000))
            return false;
        if (!WaitForLine(log, kTitle.back(), 10000, 2))
            return false;
        // The title opens on the table; its attract phase opens the options with O: next
        // resolution, smoothing on, sound off; Escape leaves them.
        Sleep(6000);
        HoldKey("o", 200);
        Sleep(500);
        for (const char* key : {"r", "a", "s"})
            TapKey(key);
        HoldKey("Escape", 150);
        Sleep(1500);
        return true;
    };
    // The new entry went in at its place above the score it passed; the rest of the weak table
    // stayed as it was, but for the 10 at its end. The second game of the run, kept as the last
    // game and as the table's, verifies in the other build with the score the table got.
    const auto check = [] {
        std::string names = ReadFile("data/names.hst");
        std::string scores = ReadFile("data/scores.hst");
        const std::size_t at = std::min(names.find("QA\r\n"), names.size());
        const long place = std::count(names.begin(), names.begin() + long(at), '\n');
        ASSERT_TRUE(at < names.size() && scores.size() == 20) << names;
        int32_t score = 0;
        std::memcpy(&score, &scores[4 * place], 4);
        const int32_t weak[] = {50, 40, 30, 20, 10};
        EXPECT_TRUE(score > weak[place] && (place == 0 || score <= weak[place - 1])) << score;
        const std::string verified =
            Shell("env -u DISPLAY " + OtherBuildBinary() + " --verify lastgame.qmr 2>&1");
        EXPECT_EQ(verified.substr(0, verified.find(" ticks")), "score " + std::to_string(score));
        EXPECT_NE(verified.find(" verified\n"), std::string::npos) << verified;
        const auto kept = fs::directory_iterator("replays");
        ASSERT_NE(kept, fs::directory_iterator()) << "the table's game is kept";
        const std::string name = kept->path().filename();
        EXPECT_EQ(name.substr(name.size() - 7), "-QA.qmr");
        EXPECT_EQ(ReadFile(kept->path()), ReadFile("lastgame.qmr"));
        names.erase(at, 4);
        scores.erase(4 * place, 4);
        EXPECT_EQ(names + scores, NameLines("ANNA,BEN,CARL,DORA") + ScoreBytes({50, 40, 30, 20}));
    };
    // Sound played all along, but the shutdown goes by the setting just switched off.
    const Lines body =
        kFirstRun + kPlay + kTitle + kPlay + Lines{"   Saving score..."} + kTitle + kQuitSilent;
    Case c{"WholeVisit", body, Config("640\n480", '1', '0'), visit};
    c.check = check;
    return c;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, Startup,
    ::testing::Values(
        Case{"FirstRun", kFirstRun + kQuit, kDefaults},
        // Escape in a game goes back to the title and does not quit the program.
        Case{"GameLeftWithEscape", kFirstRun + kPlay + kTitle + kQuit, kDefaults, kGameLeft},
        // A game that cannot be kept is one line in the log, and the game goes on.
        Case{"LastGameCannotBeKept",
             kFirstRun + kPlay + Lines{"   Saving replay...Failed!"} + kTitle + kQuit, kDefaults,
             [](const std::string& log) {
                 fs::create_directory("lastgame.qmr");
                 return kGameLeft(log);
             }},
        WholeVisit(),
        Case{"SoundOffSmooth",
             kWithConfig + kScreen + Lines{"   NO SOUND! Sound disabled in config.ini!"} + kGame +
                 kTitle + kQuitSilent,
             Config("640\n400", '1', '0'), nullptr, Config("640\n400", '1', '0'), true},
        // No OpenAL back-end opens: a machine without a sound card.
        Case{"NoSoundDevice",
             kNoConfig + kScreen +
                 Lines{"   Initializing sound engine...Failed!", "   Shutting down log system..."},
             kDefaults, nullptr, "", false, "", kNoSoundDriver, 1},
        Case{"NoDisplay", kNoConfig + kNoScreen, kDefaults, nullptr, "", false, "", kNoDisplay, 1,
             true, nullptr, nullptr,
             kLayerStart + Lines(2, Refused(640, 400, false, 32)) + kLayerEnd},
        Case{"ConfigIsAFifo", kFirstRun + kQuit, kDefaults, nullptr, "<fifo>"},
        FallBack("RefusedSize", 0, 400, false, 32),
        FallBack("HugeWindow", 100000, 100000, false, 32),
        FallBack("HugeFullScreen", 100000, 100000, true, 32), FallBack("Tiny", 1, 1, false, 32),
        FallBack("UnknownDepth", 800, 500, true, 7),
        Case{"ConfigIsADirectory", kFirstRun + kQuit, "", nullptr, "<directory>"},
        Case{"NoAudio",
             kNoConfig + kScreen + kSound + Lines{"         Couldn't find audio directory!"} +
                 kGame + kTitle + kQuit,
             kDefaults, nullptr, "", false, "640x400", kNoEnv, 0, false},
        Case{"SizeAndSmoothingRead", kWithConfig + kScreen + kSound + kGame + kTitle + kQuit,
             Config("800\n500", '1', '1'), nullptr, Config("800\n500", '1', '1'), true, "800x500"}),
    [](const auto& info) {
        return info.param.name;
    });

// A signal or the close button on each screen ends the game at once, as Escape on the title
// does: the shutdown lines, the layer's clean-up, the settings (the options row switches sound
// off), and a name entry cut short leaves the table as it was.
std::vector<Case> Endings()
{
    const struct {
        const char* name;
        Lines body;
        std::string config;
        Reach reach;
    } screens[] = {
        {"Title", kFirstRun + kQuit, kDefaults, nullptr},
        {"Options", kFirstRun + kQuitSilent, Config("640\n400", '0', '0'),
         [](const std::string&) {
             HoldKey("o", 200);
             Sleep(300);
             TapKey("s");
             return true;
         }},
        {"Play", kFirstRun + kPlay + kQuit, kDefaults, kToPlay},
        {"GameOver", kFirstRun + kPlay + kQuit, kDefaults,
         [](const std::string& log) {
             return PlayUntilDeath(log, false);
         }},
        {"NameEntry", kFirstRun + kPlay + kQuit, kDefaults,
         [](const std::string& log) {
             if (!PlayUntilDeath(log, true))
                 return false;
             TapKey("q");
             return true;
         }},
    };
    const std::pair<const char*, int> ways[] = {
        {"SIGTERM", SIGTERM}, {"SIGINT", SIGINT}, {"SIGHUP", SIGHUP}, {"CloseButton", 0}};
    std::vector<Case> cases;
    for (const auto& on : screens)
        for (const auto& [way, signal] : ways) {
            cases.push_back({way + std::string("On") + on.name, on.body, on.config, on.reach});
            cases.back().end = [signal = signal](GameProcess& game) {
                if (signal)
                    game.Kill(signal);
                else
                    EXPECT_TRUE(RequestClose());
            };
        }
    return cases;
}
INSTANTIATE_TEST_SUITE_P(Endings, Startup, ::testing::ValuesIn(Endings()), [](const auto& info) {
    return info.param.name;
});

// Every picture of the game and the title gone but two, one cut short and one not a picture at
// all (the name entry's marker loads only after a good game): each is logged as it fails, and
// a whole game is played without them.
TEST(Faults, EveryPictureMissingOrDamagedIsLoggedAndTheGameRuns)
{
    ScratchDir dir;
    dir.CopyData({"audio", "scores.hst", "names.hst", "gfx"});
    // A copy of the game beside this data/ loads its pictures from here.
    const std::string binary = dir.Path() + "/quillemarch";
    fs::copy_file(GameBinary(), binary);
    std::vector<std::string> pictures;
    for (const auto& entry : fs::recursive_directory_iterator("data/gfx"))
        if (entry.path().extension() == ".png" && entry.path().filename() != "marker.png")
            pictures.push_back(entry.path());
    ASSERT_EQ(pictures.size(), 20u);
    const std::string crate = ReadFile("data/gfx/sprites/crate.png");
    for (const std::string& file : pictures)
        fs::remove(file);
    WriteFile("data/gfx/sprites/crate.png", crate.substr(0, crate.size() / 2));
    WriteFile("data/gfx/fonts/font.png", "This is not a picture.\n");
    EXPECT_EQ(VisitGame(dir.Path(), {}, binary), 0) << ReadFile("quillemarch.log");
    const std::string layer = ReadFile("ortholayer.log");
    for (const std::string& file : pictures) {
        std::string name = file;
        std::replace(name.begin(), name.end(), '/', '\\');
        EXPECT_NE(layer.find("Loading bitmap: " + name + "\nERROR: No such bitmap!\n"), layer.npos)
            << name;
    }
    for (const char* file : {"/scores.hst", "/names.hst"})
        EXPECT_EQ(ReadFile("data" + std::string(file)), ReadFile(SourceData() + file)) << file;
}

// The game on a display of its own, whose server goes away in the middle of a game.
TEST(Faults, ALostDisplayEndsTheGameAtOnceWithItsSettingsSaved)
{
    ScratchDir dir;
    dir.CopyData();
    const std::string table = Table();
    const std::string ownDisplay = ":" + std::to_string(150 + getpid() % 100);
    const std::string server = Shell(
        "Xvfb " + ownDisplay + " -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 & echo $!");
    const std::string testDisplay = getenv("DISPLAY");
    setenv("DISPLAY", ownDisplay.c_str(), 1);
    Sleep(1000);
    GameProcess game;
    const bool started = game.StartToTitle(dir.Path());
    if (started) {
        HoldKey("Return");
        Sleep(1000);
    }
    const auto start = std::chrono::steady_clock::now();
    Shell("kill " + server);
    const int status = game.Wait(10000);
    setenv("DISPLAY", testDisplay.c_str(), 1);
    ASSERT_TRUE(started) << ReadFile("quillemarch.log");
    EXPECT_TRUE(status == 1 && std::chrono::steady_clock::now() - start < std::chrono::seconds(1));
    EXPECT_EQ(LogBody("quillemarch.log").back(),
              "Lost the connection to the display! Shutting down.");
    EXPECT_TRUE(ReadFile("config.ini") == kDefaults && Table() == table);
}

class Installed : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(getenv("DISPLAY"), nullptr) << "this test needs an X display (Xvfb)";
        const std::string out = Shell("cmake --install '" QM_BUILD_DIR "' --prefix " + prefix);
        ASSERT_TRUE(FileExists(prefix + "/games/quillemarch")) << out;
    }
    // Every file and link under the prefix.
    std::string Fingerprint()
    {
        return Shell("find " + prefix + " -printf '%p %l %s %T@\\n' | sort");
    }
    // A visit with a game (and Print Screen in it) left with Escape, as the player whose home
    // is `home`.
    std::string PlayAs(const std::string& home)
    {
        const std::string own = home + "/.local/share/quillemarch/";
        EXPECT_EQ(VisitGame(dir.Path(), {{"HOME", home}, {"XDG_DATA_HOME", ""}},
                            prefix + "/games/quillemarch", own),
                  0)
            << own;
        return own;
    }

    ScratchDir dir;
    const std::string prefix = dir.Path() + "/prefix";
};

TEST_F(Installed, EachPlayerKeepsTheirOwnFilesAndThePrefixStaysUntouched)
{
    const std::string before = Fingerprint();
    const std::string own = PlayAs(dir.Path() + "/home-ada");
    // Print Screen in the game put its picture among them.
    for (const char* file : {"config.ini", "quillemarch.log", "ortholayer.log", "data/scores.hst",
                             "data/names.hst", "screenshot.png", "lastgame.qmr"})
        EXPECT_TRUE(FileExists(own + file)) << file;
    const std::string shipped = ReadFile(prefix + "/share/games/quillemarch/data/scores.hst");
    EXPECT_EQ(ReadFile(own + "data/scores.hst"), shipped);
    // A second player's visit starts afresh, and leaves the first player's files alone.
    WriteFile(own + "data/names.hst", "ADA\r\n");
    EXPECT_EQ(ReadFile(PlayAs(dir.Path() + "/home-bo") + "data/scores.hst"), shipped);
    EXPECT_EQ(ReadFile(own + "data/names.hst"), "ADA\r\n");
    EXPECT_EQ(Fingerprint(), before) << "nothing may be written under the prefix";
    // The launcher answers --help and --version, and refuses other options, without a game.
    const std::string launcher = prefix + "/games/quillemarch";
    EXPECT_EQ(Shell(launcher + " --version; echo status $?"),
              "quillemarch " QM_VERSION "\nstatus 0\n");
    EXPECT_NE(Shell(launcher + " --help").find("Usage: quillemarch"), std::string::npos);
    EXPECT_EQ(Shell(launcher + " --fullscreen 2>&1 >/dev/null; echo status $?"),
              "usage: quillemarch [--help | --version | --replay FILE | --timedemo FILE | "
              "--verify FILE]\nstatus 2\n");
    // A replay named from elsewhere is found where it was named, and checked in the player's
    // own directory.
    const std::string verify = "cd " + dir.Path() + " && HOME=" + dir.Path() + "/home-ada " +
                               "XDG_DATA_HOME= " + launcher +
                               " --verify home-ada/.local/share/quillemarch/lastgame.qmr";
    EXPECT_NE(Shell(verify).find(" verified\n"), std::string::npos) << verify;
    EXPECT_FALSE(FileExists("quillemarch.log")) << "options must not start the game";
    // A start that cannot succeed says why on stderr too, for a player who sees no window.
    const std::string log = dir.Path() + "/.local/share/quillemarch/quillemarch.log";
    EXPECT_EQ(Shell("env -u DISPLAY HOME=" + dir.Path() + " XDG_DATA_HOME= " + launcher + " 2>&1"),
              "quillemarch: could not start: setting up screen failed, see " + log + "\n");
}

}  // namespace
