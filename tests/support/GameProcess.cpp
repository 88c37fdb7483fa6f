#include "tests/support/GameProcess.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "tests/support/TestSupport.h"

namespace testsupport {

namespace {

int Decode(int raw) {
    if (WIFEXITED(raw)) return WEXITSTATUS(raw);
    if (WIFSIGNALED(raw)) return 128 + WTERMSIG(raw);
    return -1;
}

std::string Shell(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
    pclose(pipe);
    return out;
}

}  // namespace

GameProcess::~GameProcess() {
    if (Running()) {
        Kill(SIGKILL);
        Wait(5000);
    }
}

bool GameProcess::Start(const std::string& dir, const Env& env,
                        const std::vector<std::string>& args, const std::string& path) {
    std::string binary = path.empty() ? GameBinary() : path;
    pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0) _exit(126);
        for (const auto& [name, value] : env) {
            if (value.empty()) unsetenv(name.c_str());
            else setenv(name.c_str(), value.c_str(), 1);
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(binary.c_str()));
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(binary.c_str(), argv.data());
        _exit(127);
    }
    status = -1;
    return true;
}

int GameProcess::Wait(int timeoutMs) {
    if (pid <= 0) return status;
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        int raw = 0;
        pid_t r = waitpid(pid, &raw, WNOHANG);
        if (r == pid) {
            status = Decode(raw);
            pid = -1;
            return status;
        }
        if (std::chrono::steady_clock::now() >= end) return -1;
        Sleep(20);
    }
}

void GameProcess::Kill(int signal) {
    if (pid > 0) kill(pid, signal);
}

bool GameProcess::Running() { return pid > 0 && Wait(0) == -1; }

bool WaitForLine(const std::string& file, const std::string& line, int timeoutMs) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    do {
        for (const auto& l : ReadLines(file))
            if (l == line) return true;
        Sleep(50);
    } while (std::chrono::steady_clock::now() < end);
    return false;
}

bool FocusGameWindow(int timeoutMs) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    do {
        // The game's window is the only one whose name is the program's.
        if (!Shell("xdotool search --onlyvisible --name quillemarch 2>/dev/null").empty()) {
            Shell("xdotool mousemove 200 200");
            Sleep(200);
            return true;
        }
        Sleep(100);
    } while (std::chrono::steady_clock::now() < end);
    return false;
}

void HoldKey(const std::string& keysym, int ms) {
    Shell("xdotool keydown " + keysym);
    Sleep(ms);
    Shell("xdotool keyup " + keysym);
    Sleep(60);
}

void TapKey(const std::string& keysym) {
    Shell("xdotool key " + keysym);
    Sleep(60);
}

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::vector<std::string> LogBody(const std::string& file) {
    auto lines = ReadLines(file);
    if (!lines.empty()) lines.erase(lines.begin());
    return lines;
}

}  // namespace testsupport
