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
    Settings(const Settings&) = default;
    Settings& operator=(const Settings&) = default;
};

// True when "config.ini" was opened, whatever it held; the record is left
// untouched when it could not be.
bool LoadSettings(Settings& settings);
// True when every byte reached the file.
bool SaveSettings(const Settings& settings);
