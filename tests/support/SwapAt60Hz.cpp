// Preloaded into a test, this makes every buffer swap wait for the next refresh of a 60 Hz
// display, as most desktop drivers do; Xvfb never waits.
#include <GL/glx.h>
#include <dlfcn.h>
#include <time.h>

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable)
{
    using Swap = void (*)(Display*, GLXDrawable);
    static const Swap swap = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    swap(display, drawable);
    constexpr long long kRefreshNs = 1000000000LL / 60;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long long next = ((now.tv_sec * 1000000000LL + now.tv_nsec) / kRefreshNs + 1) * kRefreshNs;
    const timespec refresh{static_cast<time_t>(next / 1000000000LL), static_cast<long>(next % 1000000000LL)};
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &refresh, nullptr);
}
