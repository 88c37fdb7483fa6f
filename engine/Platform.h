// The few things the game needs from the operating system that Allegro does
// not give it: the same calls on Linux and on Windows.
#pragma once

#include <mutex>
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
// "YYYY-MM-DD-HHMMSS" from the local clock, for file names that sort by date.
std::string StampText();

// The entries of a directory without "." and "..", sorted by byte order so
// that sound number n is the same file on every machine. False when the
// directory cannot be opened.
bool ListDirectorySorted(const std::string& dir, std::vector<std::string>& names);

// The file's absolute name in the working directory, where the player's own
// files are; the name itself when the directory cannot be told.
std::string InWorkingDirectory(const std::string& name);

// Far more than any of the game's own files holds; the rest of a larger file is ignored.
constexpr std::size_t kFileReadLimit = 64 * 1024;
// Reads at most `limit` bytes of a regular file. False, with nothing read,
// for a missing file and for anything that is not a regular file (a FIFO, a
// device, a directory), which could block the game or never end.
bool ReadRegularFile(const std::string& path, std::string& bytes,
                     std::size_t limit = kFileReadLimit);

// Writes the bytes and flushes them to the disk; true when all of them are there.
bool WriteFlushed(const std::string& path, const std::string& bytes);
// Flushes the directory that holds the file, so that a rename into it lasts.
void FlushDirectoryOf(const std::string& path);
// Puts the flushed file `from` in the place of `to` in one step: at every
// moment `to` names the old file or the new one, whole. True when it moved.
bool MoveIntoPlace(const std::string& from, const std::string& to);
void RemoveFile(const std::string& path);
// Writes the bytes to a temporary file beside the target, flushes it, renames
// it into place and flushes the directory: a crash or a power cut at any
// moment leaves the old file or the new one whole. True when the new file is
// in place.
bool WriteFileWhole(const std::string& path, const std::string& bytes);

// A text written with "\n" as the system's text files end their lines:
// CR LF on Windows.
std::string TextModeLines(const std::string& text);

// Makes the directory unless it is there; true when it is there now.
bool MakeDirectory(const std::string& dir);

// Runs that show or check a replay leave the player's files as they are:
// from this call on no log is written and the settings are not saved.
void LeavePlayerFilesAlone();
bool PlayerFilesLeftAlone();

// Why a file could not be read as a regular file, in a few words.
std::string UnreadableReason(const std::string& path);

// Held by every write of the game log and of "config.ini": the main thread
// writes both, and so does whichever thread finds the display gone.
std::mutex& FileWriteLock();

// The program's arguments in UTF-8, the program name first; readable before main runs.
std::vector<std::string> CommandLine();

// Calls `request` when the system asks the program to end, from a signal
// handler or a thread of the system's, so it may only set a flag: SIGTERM,
// SIGINT and SIGHUP on Linux; Ctrl+C, Ctrl+Break and the console's close on
// Windows. `sessionEnds` is called when the user's session is ending: the
// system then ends the process soon after it is told the player's files are
// safe, or after a few seconds.
void OnEndRequests(void (*request)(), void (*sessionEnds)());
// Tells the system that the player's files are on the disk.
void PlayerFilesSafe();

}  // namespace platform
