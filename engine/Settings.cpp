// "config.ini": five sections of key line, value line(s) and an empty line.
#include "engine/Settings.h"

#include <sstream>
#include <string>

#include "engine/Platform.h"

static const char* const kConfigFile = "config.ini";

Settings::~Settings()
{
    SaveSettings(*this);
}

// A value is taken only when the whole number could be read; a bad value
// leaves the field as it was and the reader goes on with the next line.
template <typename T>
static bool ReadValue(std::istream& file, T& field)
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
    std::string bytes;
    if (!platform::ReadRegularFile(kConfigFile, bytes))
        return false;
    std::istringstream file(bytes);
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
    if (platform::PlayerFilesLeftAlone())
        return false;
    std::ostringstream file;
    file << "[Resolution]\n"
         << settings.width << "\n"
         << settings.height << "\n\n"
         << "[Fullscreen]\n"
         << (settings.fullscreen ? "1" : "0") << "\n\n"
         << "[ColorDepth]\n"
         << settings.colorDepth << "\n\n"
         << "[Anti-aliasing]\n"
         << settings.antiAliasing << "\n\n"
         << "[SoundEnabled]\n"
         << (settings.soundEnabled ? "1" : "0") << "\n\n";
    std::lock_guard<std::mutex> writing(platform::FileWriteLock());
    // Rewritten beside and renamed into place: a crash mid-write keeps the old settings.
    return platform::WriteFileWhole(kConfigFile, platform::TextModeLines(file.str()));
}
