// The Linux side of the few things the game takes from its platform: file
// names, the log header's clock texts and the listing of the sound folders.
#include "engine/Platform.h"

#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace platform {

// The local clock, formatted the way the log header has always shown it.
static std::string LocalClockText(const char* format, const char* unknown)
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[16] = "";
    if (localtime_r(&now, &local) == nullptr ||
        std::strftime(text, sizeof text, format, &local) == 0)
        return unknown;
    return text;
}

std::string DateText() { return LocalClockText("%m/%d/%y", "00/00/00"); }
std::string TimeText() { return LocalClockText("%H:%M:%S", "00:00:00"); }

bool ListDirectorySorted(const std::string& dir, std::vector<std::string>& names)
{
    DIR* listing = opendir(NativePath(dir).c_str());
    if (listing == nullptr)
        return false;
    std::vector<std::string> found;
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            found.push_back(name);
    }
    closedir(listing);
    // std::string compares as unsigned bytes, so the order does not depend
    // on the locale or on the file system's own order.
    std::sort(found.begin(), found.end());
    names.insert(names.end(), found.begin(), found.end());
    return true;
}

std::vector<std::string> CommandLine()
{
    std::vector<std::string> args;
    std::FILE* file = std::fopen("/proc/self/cmdline", "rb");
    if (!file) return args;
    std::string arg;
    for (int c; (c = std::fgetc(file)) != EOF;) {
        if (c == '\0') {
            args.push_back(arg);
            arg.clear();
        } else {
            arg += static_cast<char>(c);
        }
    }
    std::fclose(file);
    return args;
}

}  // namespace platform
