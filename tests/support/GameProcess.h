// Runs the real game binary in a scratch directory and plays it from outside with xdotool,
// the way a player at the keyboard would.
#pragma once

#include <signal.h>
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace testsupport {

using Lines = std::vector<std::string>;

class GameProcess {
public:
    using Env = std::map<std::string, std::string>;  // a value of "" unsets the variable

    GameProcess() = default;
    ~GameProcess();  // kills the game if it still runs
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    // Starts `binary` (default: the built game) in the working directory `dir`.
    bool Start(const std::string& dir, const Env& env = {}, const std::string& binary = "");
    // Starts the game, waits for its title and gives its window the keyboard; `home` holds the
    // log and settings (default: `dir`).
    bool StartToTitle(const std::string& dir, const Env& env = {}, const std::string& binary = "",
                      const std::string& home = "");
    // The exit status, -1 while it still runs after the timeout, or 128 + signal.
    int Wait(int timeoutMs);
    void Kill(int signal)
    {
        if (pid > 0)
            kill(pid, signal);
    }
    bool Running();
    // The game's process, for the benchmark that measures its CPU use.
    pid_t Pid() const
    {
        return pid;
    }

private:
    pid_t pid = -1;
    int status = -1;
};

// The title, a game with Print Screen in it left with Escape, and Escape on the title again: the
// exit status, or a negative number for the step that did not come.
int VisitGame(const std::string& dir, const GameProcess::Env& env = {},
              const std::string& binary = "", const std::string& home = "");

std::string Shell(const std::string& command);  // its standard output
// Waits until the file holds `count` lines equal to `line`.
bool WaitForLine(const std::string& file, const std::string& line, int timeoutMs, long count = 1);
// Held long enough for the game's key-state poll to see it (keysym names like "Return").
void HoldKey(const std::string& keysym, int ms = 150);
void TapKey(const std::string& keysym);  // enough for keys read from the keyboard buffer
void Sleep(int ms);
// Checks `done` every `stepMs` until it holds (true) or `timeoutMs` have passed (false).
bool Poll(int timeoutMs, int stepMs, const std::function<bool()>& done);
Lines LogBody(const std::string& file);  // the log lines after the header
// The screen's top-left corner, where the game's window opens, as 0xRRGGBB row by row.
std::vector<uint32_t> GrabScreen(int width, int height);
// In the 640 x 400 window: the end of a game, and the name entry after it.
bool GameOverShown();
bool NameEntryShown();
// Starts a game from the title and waits, up to four minutes, for a crate to fall on the
// worker, who stands still; then, if asked, hurries the countdown into the name entry.
bool PlayUntilDeath(const std::string& log, bool toNameEntry);
// The game window's close button, as a window manager passes it on: a WM_DELETE_WINDOW message.
bool RequestClose();
// The game window's size as "640x400", "" when there is none.
std::string GameWindowSize();

}  // namespace testsupport
