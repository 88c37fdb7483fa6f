// The part of the platform layer that reads the same on every system.
#include "engine/Platform.h"

#include <algorithm>

#include "engine/PlatformSystem.h"
#include "ol/LayerLog.h"

namespace platform {

namespace {

// Set before the game state is built, so a plain flag with no constructor.
bool playerFilesLeftAlone = false;

}  // namespace

// The local clock, formatted the way the log header has always shown it.
static std::string LocalClockText(const char* format, const char* unknown)
{
    std::tm local{};
    char text[32] = "";
    if (!system::LocalTimeNow(local) || std::strftime(text, sizeof text, format, &local) == 0)
        return unknown;
    return text;
}

std::string DateText()
{
    return LocalClockText("%m/%d/%y", "00/00/00");
}

std::string TimeText()
{
    return LocalClockText("%H:%M:%S", "00:00:00");
}

std::string StampText()
{
    return LocalClockText("%Y-%m-%d-%H%M%S", "0000-00-00-000000");
}

bool ListDirectorySorted(const std::string& dir, std::vector<std::string>& names)
{
    std::vector<std::string> found;
    if (!system::ListEntries(dir, found))
        return false;
    found.erase(std::remove_if(found.begin(), found.end(),
                               [](const std::string& name) {
                                   return name == "." || name == "..";
                               }),
                found.end());
    // std::string compares as unsigned bytes, so the order does not depend
    // on the locale or on the file system's own order.
    std::sort(found.begin(), found.end());
    names.insert(names.end(), found.begin(), found.end());
    return true;
}

bool WriteFileWhole(const std::string& path, const std::string& bytes)
{
    const std::string temporary = path + ".new";
    if (!WriteFlushed(temporary, bytes) || !MoveIntoPlace(temporary, path)) {
        RemoveFile(temporary);
        return false;
    }
    FlushDirectoryOf(path);
    return true;
}

void LeavePlayerFilesAlone()
{
    playerFilesLeftAlone = true;
    ol::SilenceLog();
}

bool PlayerFilesLeftAlone()
{
    return playerFilesLeftAlone;
}

std::mutex& FileWriteLock()
{
    static std::mutex lock;
    return lock;
}

}  // namespace platform
