// The player's settings, read from "config.ini" at start-up and written back
// when the process ends.
#pragma once

struct Settings {
    int width = 640;
    int height = 400;
    int antiAliasing = 0;
    int colorDepth = 32;
    bool fullscreen = false;
    bool soundEnabled = true;

    Settings() = default;
    ~Settings();  // saves; a failure is not reported
    // Every record writes "config.ini" when it goes: there is only ever the one.
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;
    Settings(Settings&&) = delete;
    Settings& operator=(Settings&&) = delete;
};

// True when "config.ini" was opened, whatever it held; the record is left
// untouched when it could not be.
bool LoadSettings(Settings& settings);
// True when every byte reached the file; a run that leaves the player's files
// alone writes nothing.
bool SaveSettings(const Settings& settings);
