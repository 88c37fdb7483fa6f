// Tick-rate accuracy of the logic clock: the game's own timer callback on
// Allegro's timer thread, counted from the main thread against the wall clock.
//   tickrate_bench [seconds]   (default 60)
#include <allegro.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "game/GameState.h"

int main(int argc, char** argv)
{
    int seconds = argc > 1 ? atoi(argv[1]) : 60;
    if (allegro_init() != 0 || install_timer() != 0)
        return 1;
    sem_init(&gameState.tickSemaphore, 0, 1);
    if (install_int_ex(TimerTick, 11931) != 0)
        return 1;

    using Clock = std::chrono::steady_clock;
    auto start = Clock::now();
    auto lastTick = start;
    int seen = gameState.tickCounter.load();
    int first = seen;
    double worstGapMs = 0;
    while (Clock::now() - start < std::chrono::seconds(seconds)) {
        int now = gameState.tickCounter.load();
        if (now != seen) {
            auto t = Clock::now();
            const double gapMs = std::chrono::duration<double, std::milli>(t - lastTick).count();
            worstGapMs = std::max(worstGapMs, gapMs);
            lastTick = t;
            seen = now;
        }
        rest(0);
    }
    double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("tick rate: %.3f ticks/s over %.1f s (goal 100 +- 0.5), worst gap %.2f ms\n",
                (seen - first) / elapsed, elapsed, worstGapMs);
    remove_int(TimerTick);
    return 0;
}
END_OF_MAIN()
