// Quillemarch: the engine comes up, the game's pictures and clock are made,
// then the title screen and a game take turns for ever. The program ends on
// the title screen, or wherever a signal or the close button finds it. Given
// a replay, it shows, times or checks that one game instead.
#include <allegro.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/Engine.h"
#include "engine/Platform.h"
#include "engine/Quit.h"
#include "frontend/Screens.h"
#include "game/GameState.h"
#include "game/Record.h"
#include "game/ReplayModes.h"

#ifndef QM_VERSION
#define QM_VERSION "unknown"
#endif

namespace {

enum class RunMode { Play, ShowReplay, Timedemo, Verify };

// What the command line asked for. Filled before the game state is built,
// so it lives in a function's static, made on first use.
struct Request {
    RunMode mode = RunMode::Play;
    std::string file;
    Replay replay;
};

Request& CommandLineRequest()
{
    static Request request;
    return request;
}

const char kUsage[] =
    "usage: quillemarch [--help | --version | --replay FILE | --timedemo FILE | --verify FILE]\n";

[[noreturn]] void Refuse(const std::string& file, const std::string& why)
{
    std::fprintf(stderr, "quillemarch: %s: %s\n", file.c_str(), why.c_str());
    _exit(2);
}

void PrintHelp()
{
    std::printf("Usage: quillemarch [--help | --version | --replay FILE | --timedemo FILE | "
                "--verify FILE]\n"
                "Quillemarch: dodge and stack the crates the cranes drop; a full row "
                "explodes.\n"
                "Reads and writes config.ini, quillemarch.log, ortholayer.log and "
                "data/*.hst in the working directory.\n"
                "Every game is kept in lastgame.qmr there, and a game that enters the "
                "high-score table in replays/.\n"
                "  --replay FILE    show a recorded game at its own pace (Escape stops it)\n"
                "  --timedemo FILE  draw a recorded game as fast as possible and print the "
                "frame rate\n"
                "  --verify FILE    check a recorded game's score, without a window\n"
                "Replays leave every file of the working directory as it was.\n");
}

// The replay is read and checked now, so a bad file is refused before
// anything of the game's is written.
void TakeReplay(RunMode mode, const std::string& file)
{
    Request& request = CommandLineRequest();
    request.mode = mode;
    request.file = file;
    std::string error;
    if (!LoadReplayFile(file, request.replay, error))
        Refuse(file, error);
    if (request.replay.gameVersion != QM_VERSION)
        std::fprintf(stderr, "quillemarch: %s: recorded by quillemarch %s\n", file.c_str(),
                     request.replay.gameVersion.c_str());
    platform::LeavePlayerFilesAlone();
}

// Answered before the game state is built, so asking for help never
// truncates the log or rewrites the player's "config.ini".
__attribute__((constructor(101))) void AnswerCommandLine()
{
    std::vector<std::string> args = platform::CommandLine();
    if (args.size() < 2)
        return;
    const std::string& option = args[1];
    if (option == "--help" && args.size() == 2) {
        PrintHelp();
        std::fflush(stdout);
        _exit(0);
    }
    if (option == "--version" && args.size() == 2) {
        std::printf("quillemarch %s\n", QM_VERSION);
        std::fflush(stdout);
        _exit(0);
    }
    const struct {
        const char* option;
        RunMode mode;
    } replayModes[] = {{"--replay", RunMode::ShowReplay},
                       {"--timedemo", RunMode::Timedemo},
                       {"--verify", RunMode::Verify}};
    for (const auto& replayMode : replayModes) {
        if (option == replayMode.option && args.size() == 3) {
            TakeReplay(replayMode.mode, args[2]);
            return;
        }
    }
    std::fputs(kUsage, stderr);
    _exit(2);
}

// The pictures just loaded must be the ones the replay's rules measured.
void RefuseOtherPictures(const Request& request)
{
    const RuleSizes want = request.replay.sizes;
    const RuleSizes have = CurrentRuleSizes();
    if (want.workerWidth == have.workerWidth && want.workerHeight == have.workerHeight &&
        want.crateWidth == have.crateWidth && want.crateHeight == have.crateHeight)
        return;
    Refuse(request.file, "recorded with pictures of other sizes than these");
}

// A replay shown or timed, then the way out every screen takes.
[[noreturn]] void RunReplayMode(const Request& request)
{
    RefuseOtherPictures(request);
    if (request.mode == RunMode::Timedemo)
        RunTimedemo(request.replay);
    else
        ShowReplay(request.replay);
    QuitProgram();
}

}  // namespace

int main(int, char**)
{
    const Request& request = CommandLineRequest();
    if (request.mode == RunMode::Verify)
        return VerifyReplay(request.replay);
    InitEngine(gameState.log, gameState.settings, request.mode != RunMode::Timedemo);
    enterHighScore = runHighScoreEntry;
    LoadGame();
    if (request.mode != RunMode::Play)
        RunReplayMode(request);
    for (;;) {
        runTitleScreen();
        RunGame();
        if (QuitRequested())
            QuitProgram();
    }
}
END_OF_MAIN()
