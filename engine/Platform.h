// The few things the game needs from the operating system that Allegro does
// not give it on Linux.
#pragma once

#include <string>
#include <vector>

#include "ol/Path.h"

namespace platform {

// The game writes its file names with backslashes; Linux wants slashes. The
// rendering layer below maps the names of its pictures the same way.
using ol::NativePath;

// "MM/DD/YY" and "HH:MM:SS" from the local clock, as the log header shows them.
std::string DateText();
std::string TimeText();

// The entries of a directory without "." and "..", sorted by byte order so
// that sound number n is the same file on every machine. False when the
// directory cannot be opened.
bool ListDirectorySorted(const std::string& dir, std::vector<std::string>& names);

// The program's arguments, the program name first; readable before main runs.
std::vector<std::string> CommandLine();

}  // namespace platform
