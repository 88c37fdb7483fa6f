#include "tests/support/GameProcess.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "tests/support/TestSupport.h"

namespace testsupport {

bool Poll(int timeoutMs, int stepMs, const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        Sleep(stepMs);
    }
    return true;
}

namespace {

// Puts the pointer over the game's window (the only one named after the program), which gives
// it the keyboard: Xvfb has no window manager.
bool FocusGameWindow()
{
    const auto shown = [] {
        return !Shell("xdotool search --onlyvisible --name quillemarch 2>/dev/null").empty();
    };
    if (!Poll(10000, 100, shown))
        return false;
    Shell("xdotool mousemove 200 200");
    Sleep(200);
    return true;
}

}  // namespace

GameProcess::~GameProcess()
{
    if (Running()) {
        Kill(SIGKILL);
        Wait(5000);
    }
}

bool GameProcess::Start(const std::string& dir, const Env& env, const std::string& path)
{
    const std::string binary = path.empty() ? GameBinary() : path;
    pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0)
            _exit(126);
        for (const auto& [name, value] : env)
            value.empty() ? unsetenv(name.c_str()) : setenv(name.c_str(), value.c_str(), 1);
        execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    status = -1;
    return true;
}

bool GameProcess::StartToTitle(const std::string& dir, const Env& env, const std::string& binary,
                               const std::string& home)
{
    const std::string own = home.empty() ? dir : home;
    const std::string log = own + "/quillemarch.log";
    const std::string config = own + "/config.ini";
    const bool fresh = !FileExists(config);
    const bool regular = std::filesystem::is_regular_file(config);
    const std::string settings = regular ? ReadFile(config) : "";  // a FIFO would never end
    // Allegro now and then fails to start (status 1) when one run follows another: that start
    // is tried again, with the settings file as it was.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (fresh)
            std::filesystem::remove(config);
        else if (regular)
            WriteFile(config, settings);
        std::filesystem::remove(log);
        if (!Start(dir, env, binary))
            return false;
        const bool title = Poll(30000, 50, [&] {
            return WaitForLine(log, "   Playing intro!", 0) || !Running();
        });
        if (Running())
            return title && FocusGameWindow();
        if (Wait(0) != 1)
            return false;
    }
    return false;
}

int GameProcess::Wait(int timeoutMs)
{
    int raw = 0;
    if (pid > 0 && Poll(timeoutMs, 20, [&] {
            return waitpid(pid, &raw, WNOHANG) == pid;
        })) {
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : WIFSIGNALED(raw) ? 128 + WTERMSIG(raw) : -1;
        pid = -1;
    }
    return pid > 0 ? -1 : status;
}

bool GameProcess::Running()
{
    return pid > 0 && Wait(0) == -1;
}

int VisitGame(const std::string& dir, const GameProcess::Env& env, const std::string& binary,
              const std::string& home)
{
    GameProcess game;
    const std::string log = (home.empty() ? dir : home) + "/quillemarch.log";
    if (!game.StartToTitle(dir, env, binary, home))
        return -2;
    HoldKey("Return");
    if (!WaitForLine(log, "Game running!", 10000))
        return -3;
    HoldKey("Print", 300);
    HoldKey("Escape");
    if (!WaitForLine(log, "   Playing intro!", 10000, 2))
        return -4;
    HoldKey("Escape", 300);
    return game.Wait(20000);
}

bool PlayUntilDeath(const std::string& log, bool toNameEntry)
{
    HoldKey("Return");
    if (!WaitForLine(log, "Game running!", 10000) || !Poll(240000, 100, GameOverShown))
        return false;
    for (int tries = 0; tries < 20 && toNameEntry && !NameEntryShown(); ++tries)
        HoldKey("Return", 100);
    return !toNameEntry || NameEntryShown();
}

std::string Shell(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        while (fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        pclose(pipe);
    }
    return out;
}

bool WaitForLine(const std::string& file, const std::string& line, int timeoutMs, long count)
{
    return Poll(timeoutMs, 50, [&] {
        const Lines lines = ReadLines(file);
        return std::count(lines.begin(), lines.end(), line) >= count;
    });
}

void HoldKey(const std::string& keysym, int ms)
{
    Shell("xdotool keydown " + keysym);
    Sleep(ms);
    Shell("xdotool keyup " + keysym);
    Sleep(60);
}

void TapKey(const std::string& keysym)
{
    Shell("xdotool key " + keysym);
    Sleep(60);
}

std::string GameWindowSize()
{
    const std::string out = Shell("xdotool search --onlyvisible --name quillemarch "
                                  "getwindowgeometry 2>/dev/null");
    const auto at = out.find("Geometry: ");
    return at == out.npos ? "" : out.substr(at + 10, out.find('\n', at) - at - 10);
}

void Sleep(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

Lines LogBody(const std::string& file)
{
    const Lines lines = ReadLines(file);
    return Lines(lines.begin() + (lines.empty() ? 0 : 1), lines.end());
}

}  // namespace testsupport
