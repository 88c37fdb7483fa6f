// The real game played with a gamepad through Allegro's own Linux driver: a preloaded shim
// answers for /dev/input/js0 with a FIFO this test writes the pad's events into. What the pad
// made the worker do is read from the recorded game.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/joystick.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/Replay.h"
#include "tests/support/GameProcess.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;

namespace {

// A pad whose driver orders its parts its own way: the d-pad is neither the first stick nor
// the last (a lone axis follows it), and the south button, Back and Start are buttons 1, 8, 9.
// Its d-pad is also buttons, as some drivers give it.
const char kAxes[] = "0,1,3,4,16,17,2";
const char kButtons[] = "305,304,307,308,310,311,312,313,314,315,544,545,546,547";
const Lines kPadFound = {"      Searching for SFX/MUS files...",
                         "   Gamepad found: 4 sticks, 14 buttons"};
constexpr int kStickX = 0, kDpadX = 4, kDpadY = 5;
constexpr int kSouth = 1, kBack = 8, kStart = 9, kDpadRightButton = 13;
constexpr int kFull = 32767;
const char kLog[] = "quillemarch.log";

// The test's end of the FIFO the game opens as the pad; removing it unplugs the pad. A game
// played with it lasts less than the two seconds the first crate needs to reach the worker.
class ScriptedPad {
public:
    explicit ScriptedPad(const std::string& dir) : path(dir + "/js0")
    {
        Plug();
    }
    ~ScriptedPad()
    {
        close(fd);
    }

    void Plug()
    {
        mkfifo(path.c_str(), 0600);
        fd = open(path.c_str(), O_RDWR | O_NONBLOCK);
    }
    void Unplug()
    {
        unlink(path.c_str());
        close(fd);
        fd = -1;
    }
    // One event, then `ms` of waiting.
    void Send(int type, int number, int value, int ms)
    {
        js_event event{};
        event.type = static_cast<__u8>(type);
        event.number = static_cast<__u8>(number);
        event.value = static_cast<__s16>(value);
        EXPECT_EQ(write(fd, &event, sizeof event), static_cast<ssize_t>(sizeof event));
        Sleep(ms);
    }
    void Axis(int axis, int value, int ms = 200)
    {
        Send(JS_EVENT_AXIS, axis, value, ms);
    }
    void Hold(int button, bool down, int ms = 80)
    {
        Send(JS_EVENT_BUTTON, button, down, ms);
    }
    void Press(int button)
    {
        Hold(button, true);
        Hold(button, false);
    }
    // A press each of the d-pad ("L", "R", "U", "D", its right button "r") or the south
    // button ("S").
    void Steps(const std::string& steps)
    {
        for (char step : steps) {
            const int axis = step == 'L' || step == 'R' ? kDpadX : kDpadY;
            if (step == 'r' || step == 'S') {
                Press(step == 'S' ? kSouth : kDpadRightButton);
                continue;
            }
            Axis(axis, step == 'L' || step == 'U' ? -kFull : kFull, 100);
            Axis(axis, 0, 100);
        }
    }
    // The game with this pad in place of the device; without maps the kernel cannot say
    // which part is which.
    GameProcess::Env Env(const std::string& axes, const std::string& buttons, bool maps) const
    {
        // In the sanitizer build the shim comes before the sanitizer's runtime.
        return {{"LD_PRELOAD", QM_PAD_SHIM},
                {"QM_PAD", path},
                {"QM_PAD_AXES", axes},
                {"QM_PAD_BUTTONS", buttons},
                {"QM_PAD_NO_MAPS", maps ? "" : "1"},
                {"ASAN_OPTIONS", "detect_leaks=0:verify_asan_link_order=0"}};
    }

private:
    std::string path;
    int fd = -1;
};

// The keys of the last game's input runs that hold any ("R", "L", "J", "RJ"), in order, and
// the length of its last run when that holds none.
struct Moves {
    std::vector<std::string> keys;
    std::uint32_t idleAtEnd = 0;
};

Moves RecordedMoves()
{
    Replay replay;
    std::string error;
    EXPECT_TRUE(DecodeReplay(ReadFile("lastgame.qmr"), replay, error)) << error;
    Moves moves;
    for (const InputRun& run : replay.inputs) {
        const TickInput input = UnpackKeys(run.keys);
        const std::string keys =
            std::string(input.left ? "L" : "") + (input.right ? "R" : "") + (input.jump ? "J" : "");
        moves.idleAtEnd = keys.empty() ? run.ticks : 0;
        if (!keys.empty())
            moves.keys.push_back(keys);
    }
    return moves;
}

// The south button held from the title into the game makes no jump until pressed again; the
// d-pad walks both ways; the left stick walks only beyond half its travel; each press of the
// south button is one jump; Back held from the game into the title does not quit. In the next
// game, the south button held when a crate ends it does not hurry GAME OVER; pressed again, it
// does, and the name is spelt and saved with the d-pad and the south button alone.
TEST(Gamepad, PlaysFromTheTitleToTheTableAsTheKeysDo)
{
    ScratchDir dir;
    dir.CopyData({"audio"});
    WriteTable(ScoreBytes({50, 40, 30, 20, 10}), NameLines("ANNA,BEN,CARL,DORA,EMIL"));
    ScriptedPad pad(dir.Path());
    GameProcess game;
    ASSERT_TRUE(game.StartToTitle(dir.Path(), pad.Env(kAxes, kButtons, true)));
    const Lines log = LogBody(kLog);
    EXPECT_NE(std::search(log.begin(), log.end(), kPadFound.begin(), kPadFound.end()), log.end());
    pad.Hold(kSouth, true);
    ASSERT_TRUE(WaitForLine(kLog, "Game running!", 10000, 1));
    pad.Hold(kSouth, false);
    pad.Axis(kDpadX, kFull);
    pad.Axis(kDpadX, -kFull);
    pad.Axis(kDpadX, 0, 100);
    pad.Axis(kStickX, -16000);
    pad.Axis(kStickX, 20000);
    pad.Axis(kStickX, 0, 100);
    pad.Press(kSouth);
    pad.Press(kSouth);
    pad.Hold(kBack, true, 1500);
    ASSERT_TRUE(WaitForLine(kLog, "   Playing intro!", 10000, 2));
    pad.Hold(kBack, false, 500);
    ASSERT_TRUE(game.Running()) << "a Back held from the game must not quit";
    EXPECT_EQ(RecordedMoves().keys, Lines({"R", "L", "R", "J", "J"}));

    pad.Press(kStart);
    ASSERT_TRUE(WaitForLine(kLog, "Game running!", 10000, 2));
    pad.Hold(kSouth, true);
    ASSERT_TRUE(Poll(240000, 100, [] {
        return GameOverShown() || NameEntryShown();
    }));
    Sleep(1500);
    EXPECT_FALSE(NameEntryShown()) << "the jump held at death hurried GAME OVER";
    pad.Hold(kSouth, false);
    pad.Hold(kSouth, true);
    ASSERT_TRUE(Poll(5000, 100, NameEntryShown));
    pad.Hold(kSouth, false);
    // B, then K (down twice, up, left), then END (down, right eight times).
    pad.Steps("RSDDULSDRRRRrrrrS");
    EXPECT_TRUE(WaitForLine(kLog, "   Saving score...", 10000));
    EXPECT_NE(ReadFile("data/names.hst").find("BK\r\n"), std::string::npos);
    ASSERT_TRUE(WaitForLine(kLog, "   Playing intro!", 10000, 3));
    pad.Press(kBack);
    EXPECT_EQ(game.Wait(10000), 0);
}

// Without the kernel's maps the first stick steers and button 0 jumps. A pad unplugged while
// it walks lets the worker stop within a second; plugged in again, the next title finds it.
TEST(Gamepad, WithoutMapsAndUnpluggedInPlay)
{
    ScratchDir dir;
    dir.CopyData();
    ScriptedPad pad(dir.Path());
    GameProcess game;
    ASSERT_TRUE(game.StartToTitle(dir.Path(), pad.Env("0,1", "304,305", false)));
    pad.Press(0);
    ASSERT_TRUE(WaitForLine(kLog, "Game running!", 10000, 1));
    pad.Axis(0, kFull);
    pad.Press(0);
    pad.Unplug();
    Sleep(1000);
    pad.Plug();
    HoldKey("Escape");
    ASSERT_TRUE(WaitForLine(kLog, "   Playing intro!", 10000, 2));
    const Lines log = LogBody(kLog);
    EXPECT_EQ(std::count(log.begin(), log.end(), "   Gamepad found: 1 sticks, 2 buttons"), 2);
    pad.Press(0);
    EXPECT_TRUE(WaitForLine(kLog, "Game running!", 10000, 2)) << "plugged in again, it starts";
    const Moves moves = RecordedMoves();
    EXPECT_EQ(moves.keys, Lines({"R", "RJ", "R"}));
    EXPECT_GT(moves.idleAtEnd, 40u) << "stopped well within a second of the unplug";
}

}  // namespace
