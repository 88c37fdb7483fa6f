// What the screens share: waiting for a key, and the one way out of the program.
#include <allegro.h>

#include <cstdlib>

#include "engine/Engine.h"
#include "engine/Gamepad.h"
#include "engine/Platform.h"
#include "engine/Quit.h"
#include "engine/Settings.h"
#include "frontend/Screens.h"
#include "game/GameState.h"

namespace {

// The d-pad and the south button as the grid's arrows and Enter; 0 when
// none was just pressed.
int PadKeyPress()
{
    PollGamepad();
    const struct {
        PadRole role;
        int scancode;
    } keys[] = {{PadRole::Left, KEY_LEFT},
                {PadRole::Right, KEY_RIGHT},
                {PadRole::Up, KEY_UP},
                {PadRole::Down, KEY_DOWN},
                {PadRole::South, KEY_ENTER}};
    for (const auto& pressed : keys)
        if (PadJustPressed(pressed.role))
            return pressed.scancode << 8;
    return 0;
}

}  // namespace

int WaitForKey(bool withPad)
{
    while (!keypressed()) {
        if (QuitRequested())
            return -1;
        const int padKey = withPad ? PadKeyPress() : 0;
        if (padKey != 0)
            return padKey;
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
    // At the session's end the system may stop the process before the exit
    // clean-up writes the settings: they go to the disk now.
    if (QuitRequestedBySessionEnd()) {
        SaveSettings(gameState.settings);
        platform::PlayerFilesSafe();
    }
    std::exit(0);
}
