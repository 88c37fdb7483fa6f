// Preloaded into a test, this makes every buffer swap wait for the next refresh of a 60 Hz
// display, as most desktop drivers do; Xvfb never waits.
#include <GL/glx.h>
#include <dlfcn.h>

#include <chrono>
#include <thread>

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable)
{
    using Swap = void (*)(Display*, GLXDrawable);
    static const Swap swap = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    swap(display, drawable);
    using Clock = std::chrono::steady_clock;
    const Clock::duration refresh = Clock::duration(std::chrono::seconds(1)) / 60;
    const Clock::duration now = Clock::now().time_since_epoch();
    std::this_thread::sleep_until(Clock::time_point((now / refresh + 1) * refresh));
}
