// A random player for a while (QM_SOAK_SECONDS, 25 by default): the game must neither crash nor
// grow in memory, and under the address sanitizer it must leak nothing of its own.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>

#include "tests/support/GameProcess.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;

namespace {

// Resident memory of a running process in kB, or 0 when it is gone.
long ResidentKb(pid_t pid) {
    const std::string status = ReadFile("/proc/" + std::to_string(pid) + "/status");
    const auto at = status.find("VmRSS:");
    return at == std::string::npos ? 0 : atol(status.c_str() + at + 6);
}

// Whether a game is being played (since the title last logged "Init intro:"); Escape on the
// title would quit.
bool InAGame() {
    const std::string log = ReadFile("quillemarch.log");
    const auto game = log.rfind("Game running!");
    return game != std::string::npos && log.rfind("Init intro:") < game;
}

TEST(Soak, RandomKeysForAWhileNeitherCrashNorGrow) {
    const char* seconds = getenv("QM_SOAK_SECONDS");
    const auto length = std::chrono::seconds(seconds ? atoi(seconds) : 25), warmUp = length / 5;
    ScratchDir dir;
    dir.CopyData();
    GameProcess::Env env;
#ifdef QM_SANITIZED
    // A small quarantine keeps the sanitizer's own memory out of the bound. Libraries unloaded
    // at exit leave leaks that name no file: only a frame in the game's own sources counts.
    env["ASAN_OPTIONS"] = "detect_leaks=1:quarantine_size_mb=4:log_path=" + dir.Path() + "/asan";
    env["LSAN_OPTIONS"] =
        std::string("exitcode=0:suppressions=") + QM_SOURCE_DIR + "/tests/e2e/lsan.supp";
#endif
    GameProcess game;
    ASSERT_TRUE(game.StartToTitle(dir.Path(), env)) << ReadFile("quillemarch.log");
    const pid_t pid = game.Pid();

    // Mostly the worker's keys, Enter, and letters for the options, the table and names; no
    // Print Screen, whose picture would land beside the built game.
    const char* const keys[] = {"Left", "Right", "Left", "Right", "space", "space", "Up", "Down",
                                "Return", "BackSpace", "a", "h", "m", "o", "s"};
    std::mt19937 random(2024);
    const auto start = std::chrono::steady_clock::now();
    long settled = 0, highest = 0;
    while (std::chrono::steady_clock::now() - start < length) {
        ASSERT_TRUE(game.Running()) << game.Wait(0) << "\n" << ReadFile("quillemarch.log");
        if (InAGame() && random() % 40 == 0) HoldKey("Escape");
        else HoldKey(keys[random() % std::size(keys)], 20 + static_cast<int>(random() % 400));
        const bool warm = std::chrono::steady_clock::now() - start >= warmUp;
        (warm ? highest : settled) = std::max(warm ? highest : settled, ResidentKb(pid));
    }
    EXPECT_LT(highest - settled, 20 * 1024) << "kB beyond the " << settled << " kB after warm-up";

    // Out of a game (or a name entry, or the options) and quit from the title.
    const char* const out[] = {"Escape", "Return", "Down", "Right"};
    for (int tries = 0; tries < 100 && game.Running(); ++tries, Sleep(200))
        HoldKey(InAGame() ? out[random() % 4] : random() % 3 ? "Escape" : "Return", 300);
    EXPECT_EQ(game.Wait(20000), 0) << ReadFile("quillemarch.log");
    const std::string leaks = ReadFile(dir.Path() + "/asan." + std::to_string(pid));
    for (const char* own : {QM_SOURCE_DIR, QM_BIN_DIR})
        EXPECT_EQ(leaks.find(own), std::string::npos) << leaks;
}

}  // namespace
