// Engine start-up before the first screen and the release of its resources
// when the player quits. Every step is reported to the game log.
#include "engine/Engine.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "engine/Gamepad.h"
#include "engine/Platform.h"
#include "engine/Quit.h"
#include "engine/Random.h"
#include "engine/Sound.h"
#include "ol/Startup.h"

float scaleX;
float scaleY;

// The mode every OpenGL machine should manage when the configured one fails.
constexpr int kFallbackWidth = 640;
constexpr int kFallbackHeight = 400;
constexpr int kFallbackColorDepth = 32;
constexpr int kZDepth = 8;
constexpr int kDefaultRefreshRate = 0;

static void ReadConfigFile(Log& log, Settings& settings)
{
    if (LoadSettings(settings)) {
        log.WriteResult("   Reading config file", true);
    } else {
        log.WriteResult("   Reading config file", false);
        // The file itself is written when the game ends.
        log.WriteResult("      ...generating new default config file", true);
    }
}

void EndFailedStart(const Log& log, const std::string& step)
{
    // A replay writes no log, so there is none to point to.
    if (platform::PlayerFilesLeftAlone()) {
        std::fprintf(stderr, "quillemarch: could not start: %s failed\n", step.c_str());
        std::exit(1);
    }
    const std::string where = platform::InWorkingDirectory(log.FileName());
    std::fprintf(stderr, "quillemarch: could not start: %s failed, see %s\n", step.c_str(),
                 where.c_str());
    std::exit(1);
}

// Opens the configured screen, or else the fall-back window; without either
// the game cannot run at all.
static void SetUpScreen(Log& log, const Settings& settings)
{
    if (ol::Startup::OpenScreen(settings.width, settings.height, settings.fullscreen,
                                settings.colorDepth, kZDepth, kDefaultRefreshRate)) {
        log.WriteResult("   Setting up screen", true);
        ol::Quality::SetAntialiasing(settings.antiAliasing != 0);
        return;
    }
    log.WriteResult("   Setting up screen", false);
    // The settings keep the refused mode, so the next start tries it again.
    if (ol::Startup::OpenScreen(kFallbackWidth, kFallbackHeight, false, kFallbackColorDepth,
                                kZDepth, kDefaultRefreshRate)) {
        log.WriteResult("      Reverting to default GFX mode", true);
        scaleX = kFallbackWidth / kLogicalWidth;
        scaleY = kFallbackHeight / kLogicalHeight;
        return;
    }
    log.WriteResult("      Reverting to default GFX mode", false);
    log.WriteLine("         Sorry! Seems to be no OpenGL support on this graphics card. "
                  "You can blame the stupid programmer who made this game OpenGL only!");
    EndFailedStart(log, "setting up screen");
}

// Sound on: a missing device ends the game, missing folders only silence it.
static void StartSound(Log& log, const Settings& settings, bool soundWanted)
{
    if (!settings.soundEnabled || !soundWanted) {
        log.WriteLine("   NO SOUND! Sound disabled in config.ini!");
        return;
    }
    if (!InitSound()) {
        log.WriteResult("   Initializing sound engine", false);
        EndFailedStart(log, "initializing sound engine");
    }
    log.WriteResult("   Initializing sound engine", true);
    log.WriteLine("      Searching for SFX/MUS files...");
    if (!FindAudioFiles("data\\audio\\sfx", "data\\audio\\mus"))
        log.WriteLine("         Couldn't find audio directory!");
}

static Log* runLog = nullptr;
static const Settings* runSettings = nullptr;

// The settings are saved now, as a normal end would; the high-score files
// are only ever replaced whole, so they need nothing.
static void SaveWhatTheDisplayTookAway()
{
    runLog->WriteLine("Lost the connection to the display! Shutting down.");
    SaveSettings(*runSettings);
}

void InitEngine(Log& log, Settings& settings, bool soundWanted)
{
    runLog = &log;
    runSettings = &settings;
    log.WriteLine("Init engine:");
    ReadConfigFile(log, settings);
    scaleX = static_cast<float>(settings.width) / kLogicalWidth;
    scaleY = static_cast<float>(settings.height) / kLogicalHeight;
    SeedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
    ol::Startup::StartProgram(true, true, true);
    SetUpScreen(log, settings);
    // This second seed is the one the game plays with.
    SeedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
    StartSound(log, settings, soundWanted);
    FindGamepad(log);
    ol::Desktop::OnDisplayLost(SaveWhatTheDisplayTookAway);
    ListenForQuitRequests();
}

void FreeResources(Log& log, const Settings& settings, void (*destroyImages)())
{
    log.WriteLine("   Freeing resources:");
    log.WriteResult("      Destroying bitmaps", true);
    destroyImages();
    if (settings.soundEnabled)
        log.WriteResult("      Destroying sound system", true);
    ShutdownSound();
}
