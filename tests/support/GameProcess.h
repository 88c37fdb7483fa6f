// Runs the real game binary in a scratch directory and plays it from outside
// with xdotool, the way a player at the keyboard would.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace testsupport {

class GameProcess {
public:
    // Environment changes for the child: a value of "" unsets the variable.
    using Env = std::map<std::string, std::string>;

    GameProcess() = default;
    ~GameProcess();  // kills the game if it still runs
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    // Starts the game with the working directory `dir`; `binary` replaces the
    // built game (a copy elsewhere finds its pictures beside itself).
    bool Start(const std::string& dir, const Env& env = {},
               const std::vector<std::string>& args = {}, const std::string& binary = "");
    // The exit status, or -1 after the timeout (the game is then still running),
    // or 128 + signal when it was killed.
    int Wait(int timeoutMs);
    void Kill(int signal);
    bool Running();
    pid_t Pid() const { return pid; }

private:
    pid_t pid = -1;
    int status = -1;
};

// Waits until the file holds a line equal to `line`.
bool WaitForLine(const std::string& file, const std::string& line, int timeoutMs);
// Waits until the game's window is mapped and puts the pointer over it, so it
// has the keyboard focus (Xvfb has no window manager).
bool FocusGameWindow(int timeoutMs);
// Presses and releases a key (an X keysym name such as "Return" or "Left"),
// holding it long enough for the game's key-state poll to see it.
void HoldKey(const std::string& keysym, int ms = 150);
// Presses and releases at once: enough for keys read from the keyboard buffer.
void TapKey(const std::string& keysym);
void Sleep(int ms);

// The log lines after the header, for comparing with the expected sequence.
std::vector<std::string> LogBody(const std::string& file);

}  // namespace testsupport
