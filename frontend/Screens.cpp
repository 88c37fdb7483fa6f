// What the screens share: waiting for a key, and the one way out of the program.
#include <allegro.h>

#include <cstdlib>

#include "engine/Engine.h"
#include "engine/Quit.h"
#include "frontend/Screens.h"
#include "game/GameState.h"

int WaitForKey()
{
    while (!keypressed()) {
        if (QuitRequested()) return -1;
        rest(10);
    }
    return readkey();
}

void QuitProgram()
{
    // The table is not written on the way out; the settings are, at exit.
    Log& log = gameState.log;
    log.WriteLine("Shutting down:");
    FreeResources(log, gameState.settings, FreeGameImages);
    std::exit(0);
}
