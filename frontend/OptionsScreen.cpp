// The options screen: R, M, A and S change resolution, screen mode,
// anti-aliasing and sound at once; Enter or Escape goes back to the title.
// The changes reach "config.ini" when the program ends and take effect at
// the next start.
#include <allegro.h>

#include <string>

#include "frontend/Screens.h"
#include "game/GameState.h"
#include "game/Scene.h"

const Resolution resolutions[kResolutionCount] = {
    {320, 200},  {640, 400},   {640, 480},  {800, 600},  {1024, 768},
    {1280, 800}, {1280, 1024}, {1366, 768}, {1600, 900}, {1600, 1200},
};

int resolutionIndex = 0;

int FindResolutionIndex(int width, int height)
{
    for (int i = 0; i < kResolutionCount; ++i)
        if (resolutions[i].width == width && resolutions[i].height == height)
            return i;
    return 0;
}

namespace {

const char* Switch(bool on, const char* onText, const char* offText)
{
    return on ? onText : offText;
}

// The four settings as the screen shows them, then the prompt.
void DrawOptions(const Settings& settings)
{
    const ol::Color& value = gameState.palette[6];
    const std::string size = std::to_string(settings.width) + "X" + std::to_string(settings.height);
    DrawTextLine({77, 40, value, "(R)ESOLUTION: " + size});
    const std::string mode = Switch(settings.fullscreen, "FULL SCREEN", "WINDOWED");
    const std::string smoothing = Switch(settings.antiAliasing != 0, "ENABLED", "DISABLED");
    const std::string sound = Switch(settings.soundEnabled, "ENABLED", "DISABLED");
    DrawTextLine({70, 50, value, "SCREEN (M)ODE: " + mode});
    DrawTextLine({56, 60, value, "(A)NTI-ALIASING: " + smoothing});
    DrawTextLine({112, 70, value, "(S)OUND: " + sound});
    DrawTextLine({30, 150, gameState.palette[2], "PRESS ENTER TO ACCEPT THESE SETTINGS"});
}

void ChangeSetting(int scancode, Settings& settings)
{
    switch (scancode) {
    case KEY_R:
        resolutionIndex = (resolutionIndex + 1) % kResolutionCount;
        settings.width = resolutions[resolutionIndex].width;
        settings.height = resolutions[resolutionIndex].height;
        break;
    case KEY_M:
        settings.fullscreen = !settings.fullscreen;
        break;
    case KEY_A:
        settings.antiAliasing = settings.antiAliasing == 0 ? 1 : 0;
        break;
    case KEY_S:
        settings.soundEnabled = !settings.soundEnabled;
        break;
    default:
        break;
    }
}

}  // namespace

void runOptionsScreen()
{
    Settings& settings = gameState.settings;
    // The keyboard buffer is not emptied: the O that opened the screen, and
    // any R, M, A or S pressed on the title screen, are read first.
    int k = 0;
    while (!key[KEY_ENTER] && !key[KEY_ESC]) {
        ChangeSetting(k >> 8, settings);
        DrawOptions(settings);
        PresentAndClear();
        k = WaitForKey();
        if (k < 0)
            return;
    }
    rest(100);
}
