// Quillemarch: the engine comes up, the game's pictures and clock are made,
// then the title screen and a game take turns for ever. The title screen is
// where the program ends.
#include <allegro.h>

#include "engine/Engine.h"
#include "frontend/Screens.h"
#include "game/GameState.h"

int main(int, char**)
{
    InitEngine();
    LoadGame();
    for (;;) {
        runTitleScreen();
        RunGame();
    }
}
END_OF_MAIN()
