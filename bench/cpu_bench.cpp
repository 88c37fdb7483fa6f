// The real game's use of the processor on each of its screens, as a share of one core, all
// measured in one run: the title (on a first visit and after the options screen), the options
// screen, play, GAME OVER and the name entry. The game is played as the end-to-end tests play
// it: the worker stands still until a crate falls on him.
//   cpu_bench [seconds per screen] [game binary]   (default 10, the game built beside it)
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/support/GameProcess.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;
using Clock = std::chrono::steady_clock;

namespace {

// The process's user and system time so far, in seconds.
double CpuSeconds(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string field;
    // Fields 14 and 15; the program's name, field 2, holds no blank.
    for (int i = 1; i < 14; ++i)
        stat >> field;
    long user = 0, system = 0;
    stat >> user >> system;
    return static_cast<double>(user + system) / sysconf(_SC_CLK_TCK);
}

// Samples the game for up to `seconds`, a second at a time, until `over` holds.
void Report(const char* screen, pid_t pid, int seconds, bool (*over)() = nullptr)
{
    const double before = CpuSeconds(pid);
    const Clock::time_point start = Clock::now();
    for (int s = 0; s < seconds && !(over && over()); ++s)
        Sleep(1000);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("%s: %.1f%% of a core over %.1f s\n", screen,
                100.0 * (CpuSeconds(pid) - before) / wall, wall);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    const std::string binary = argc > 2 ? argv[2] : "";
    ScratchDir dir;
    dir.CopyData();
    // A weak table: any game earns a place, so the name entry follows.
    WriteTable(ScoreBytes({5, 4, 3, 2, 1}), NameLines("A,B,C,D,E"));
    const std::string log = dir.Path() + "/quillemarch.log";
    GameProcess game;
    if (!game.StartToTitle(dir.Path(), {}, binary))
        return 1;
    // O opens the options only in the attract phase, the title's first nine seconds.
    Report("title, first visit", game.Pid(), std::min(seconds, 6));
    HoldKey("o", 200);
    Report("options screen", game.Pid(), seconds);
    // Long enough for the options to see it, let go before the title looks.
    HoldKey("Escape", 50);
    Report("title, after the options screen", game.Pid(), seconds);
    HoldKey("Return");
    if (!WaitForLine(log, "Game running!", 10000))
        return 1;
    // Play until the worker dies, at most so long.
    Report("play", game.Pid(), seconds, GameOverShown);
    if (!Poll(240000, 100, GameOverShown))
        return 1;
    Report("GAME OVER", game.Pid(), seconds);
    for (int tries = 0; tries < 20 && !NameEntryShown(); ++tries)
        HoldKey("Return", 100);
    Report("name entry", game.Pid(), seconds);
    game.Kill(SIGTERM);
    return game.Wait(10000);
}
