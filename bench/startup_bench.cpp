// Start-up time: from exec to the first frame, the game against a bare
// AllegroGL program that opens the same window, measured in the same run.
//   startup_bench [runs]
// The game counts as started when its title screen runs ("   Playing intro!"
// in its log: the title's first frame follows within one step).
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::string BinDir()
{
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return ".";
    path[n] = 0;
    std::string s(path);
    return s.substr(0, s.rfind('/'));
}

bool LogHas(const std::string& file, const std::string& line)
{
    std::ifstream in(file);
    std::string l;
    while (std::getline(in, l))
        if (l == line)
            return true;
    return false;
}

pid_t Spawn(const std::string& binary, const std::string& dir, const char* out)
{
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0)
            _exit(126);
        if (out && !freopen(out, "w", stdout))
            _exit(126);
        execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

// Milliseconds until `ready` holds, polled every millisecond.
template <typename Ready>
double TimeUntil(Clock::time_point start, Ready ready)
{
    while (!ready()) {
        if (Clock::now() - start > std::chrono::seconds(60))
            return -1;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? atoi(argv[1]) : 5;
    std::string bin = BinDir();
    char templ[] = "/tmp/quillemarch-bench-XXXXXX";
    if (!mkdtemp(templ))
        return 1;
    std::string dir = templ;
    std::string setup = "mkdir -p " + dir + "/data && cp -r " + bin + "/data/audio " + bin +
                        "/data/scores.hst " + bin + "/data/names.hst " + dir + "/data/";
    if (system(setup.c_str()) != 0)
        return 1;

    std::vector<double> game, bare;
    for (int i = 0; i < runs; ++i) {
        unlink((dir + "/quillemarch.log").c_str());
        auto start = Clock::now();
        pid_t pid = Spawn(bin + "/quillemarch", dir, nullptr);
        double ms = TimeUntil(start, [&] {
            return LogHas(dir + "/quillemarch.log", "   Playing intro!");
        });
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        if (ms < 0)
            return 1;
        game.push_back(ms);

        std::string out = dir + "/bare.out";
        unlink(out.c_str());
        start = Clock::now();
        pid = Spawn(bin + "/bare_allegrogl", dir, out.c_str());
        int status = 0;
        waitpid(pid, &status, 0);
        if (!LogHas(out, "first frame"))
            return 1;
        bare.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    double g = Median(game), b = Median(bare);
    std::printf("startup: game %.1f ms, bare AllegroGL %.1f ms, ratio %.2f (median of %d)\n", g, b,
                g / b, runs);
    std::string cleanup = "rm -rf " + dir;
    return system(cleanup.c_str()) == 0 ? 0 : 1;
}
