// What each system's side of the platform layer gives its shared part:
// PlatformPosix.cpp on Linux, PlatformWindows.cpp on Windows.
#pragma once

#include <ctime>
#include <string>
#include <vector>

namespace platform::system {

// The local time now; false when the system cannot tell it.
bool LocalTimeNow(std::tm& local);
// Every entry of the directory, "." and ".." included, in the system's
// order; false when the directory cannot be opened.
bool ListEntries(const std::string& dir, std::vector<std::string>& entries);

}  // namespace platform::system
