// "config.ini": five sections of key line, value line(s) and an empty line.
#include "engine/Settings.h"

#include <filesystem>
#include <fstream>
#include <string>

static const char* const kConfigFile = "config.ini";

Settings::~Settings() { SaveSettings(*this); }

// A value is taken only when the whole number could be read; a bad value
// leaves the field as it was and the reader goes on with the next line.
template <typename T>
static bool ReadValue(std::ifstream& file, T& field)
{
    T value{};
    if (file >> value) {
        field = value;
        return true;
    }
    file.clear();
    return false;
}

// A file written on Windows ends its lines with CR LF.
static void DropCarriageReturn(std::string& line)
{
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
}

bool LoadSettings(Settings& settings)
{
    std::ifstream file(kConfigFile);
    // A directory of that name opens here but holds no line to read.
    std::error_code error;
    if (!file.good() || std::filesystem::is_directory(kConfigFile, error))
        return false;
    file >> std::noboolalpha;
    std::string line;
    while (std::getline(file, line)) {
        DropCarriageReturn(line);
        if (line == "[Resolution]") {
            if (ReadValue(file, settings.width))
                ReadValue(file, settings.height);
        } else if (line == "[Fullscreen]") {
            ReadValue(file, settings.fullscreen);
        } else if (line == "[ColorDepth]") {
            ReadValue(file, settings.colorDepth);
        } else if (line == "[Anti-aliasing]") {
            ReadValue(file, settings.antiAliasing);
        } else if (line == "[SoundEnabled]") {
            ReadValue(file, settings.soundEnabled);
        }
        // Anything else (empty lines, the rest of a value line, comments,
        // unknown keys) is passed over.
    }
    return true;
}

bool SaveSettings(const Settings& settings)
{
    std::ofstream file(kConfigFile, std::ios::out | std::ios::trunc);
    if (!file.good())
        return false;
    file << "[Resolution]\n" << settings.width << "\n" << settings.height << "\n\n"
         << "[Fullscreen]\n" << (settings.fullscreen ? "1" : "0") << "\n\n"
         << "[ColorDepth]\n" << settings.colorDepth << "\n\n"
         << "[Anti-aliasing]\n" << settings.antiAliasing << "\n\n"
         << "[SoundEnabled]\n" << (settings.soundEnabled ? "1" : "0") << "\n\n";
    // A full disk shows only when the last bytes are flushed on closing.
    file.close();
    return !file.fail();
}
