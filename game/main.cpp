// Quillemarch: the engine comes up, the game's pictures and clock are made,
// then the title screen and a game take turns for ever. The program ends on
// the title screen, or wherever a signal or the close button finds it.
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

#ifndef QM_VERSION
#define QM_VERSION "unknown"
#endif

// The game takes no options but the two every program answers. They are
// answered before the game state is built, so asking for help never truncates
// the log or rewrites the player's "config.ini".
__attribute__((constructor(101))) static void AnswerCommandLine()
{
    std::vector<std::string> args = platform::CommandLine();
    if (args.size() < 2) return;
    if (args[1] == "--help" && args.size() == 2) {
        std::printf("Usage: quillemarch [--help | --version]\n"
                    "Quillemarch: dodge and stack the crates the cranes drop; a full row "
                    "explodes.\n"
                    "Reads and writes config.ini, quillemarch.log, ortholayer.log and "
                    "data/*.hst in the working directory.\n");
        std::fflush(stdout);
        _exit(0);
    }
    if (args[1] == "--version" && args.size() == 2) {
        std::printf("quillemarch %s\n", QM_VERSION);
        std::fflush(stdout);
        _exit(0);
    }
    std::fprintf(stderr, "usage: quillemarch [--help | --version]\n");
    _exit(2);
}

int main(int, char**)
{
    InitEngine(gameState.log, gameState.settings);
    enterHighScore = runHighScoreEntry;
    LoadGame();
    for (;;) {
        runTitleScreen();
        RunGame();
        if (QuitRequested()) QuitProgram();
    }
}
END_OF_MAIN()
