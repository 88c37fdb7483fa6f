// Whole runs of the layer, start to process exit, as "ortholayer.log" tells
// them; each run is a child process logging into this test's scratch directory.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <functional>

#include "ol/Bitmap.h"
#include "ol/GarbageCollector.h"
#include "ol/Startup.h"
#include "tests/support/TestSupport.h"

class Lifecycle : public ::testing::Test {
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        testsupport::WriteFile("ortholayer.log", "a line of an earlier run\n");
        if (GTEST_FLAG_GET(internal_run_death_test).empty())
            setenv("QM_OL_RUN_DIR", scratch.Path().c_str(), 1);
    }
    // The body runs in a child, which must end with status 0 through the exit clean-up.
    static void Run(const std::function<bool()>& body)
    {
        EXPECT_EXIT(std::exit(chdir(std::getenv("QM_OL_RUN_DIR")) == 0 && body() ? 0 : 3),
                    ::testing::ExitedWithCode(0), "");
    }
    // The run's lines, then the clean-up's with `alive` bitmaps besides the program's own.
    static void ExpectLog(std::vector<std::string> lines, std::size_t alive)
    {
        const std::string items = std::to_string(ol::GarbageCollector::Count() + alive);
        lines.insert(lines.end(),
                     {"Collecting garbage", "", "Garbage Collector: Destroying " + items + " items",
                      "Garbace Collector: Completed", "", "Destroying the framebuffer",
                      "Used framebuffer: Framebuffer emulation", "OrthoLayer shutdown finished"});
        EXPECT_EQ(testsupport::ReadLines("ortholayer.log"), lines);
    }
    testsupport::ScratchDir scratch;
};

TEST_F(Lifecycle, StartOnlyRunReplacesTheOldLogAndEndsWithTheCleanUp)
{
    Run([] { return ol::Startup::StartProgram(true, true, true); });
    ExpectLog({"OrthoLayer started up succesfully"}, 0);
}

// A refused mode, then the fall-back; the bitmaps alive at exit are destroyed.
TEST_F(Lifecycle, FailedModeThenFallBack)
{
    Run([] {
        ol::Startup::StartProgram(true, true, true);
        new ol::Bitmap[5];  // still alive at exit, as the game state's are
        return !ol::Startup::OpenScreen(0, 400, true, 32, 8, 0) &&
               ol::Startup::OpenScreen(640, 400, false, 32, 8, 0);
    });
    const std::string pending = std::to_string(ol::GarbageCollector::Count() + 5);
    ExpectLog({"OrthoLayer started up succesfully",
               "ERROR: Couldn't up the screen! (Width: 0, Height: 400, Fullscreen, Color depth: 32, "
               "Z Depth: 8)",
               "", "Auto Loader: Executing " + pending + " pending loading commands",
               "Auto Loader: Completed", "", "Screen set up succesfully", ""},
              5);
}

// Without an X server Allegro cannot start; nothing may call into it then.
TEST_F(Lifecycle, NoDisplayFailsTheScreenWithoutCrashing)
{
    Run([] {
        unsetenv("DISPLAY");
        ol::Startup::StartProgram(true, true, true);
        return !ol::Startup::OpenScreen(640, 400, false, 32, 8, 0);
    });
    ExpectLog({"OrthoLayer started up succesfully",
               "ERROR: Couldn't up the screen! (Width: 640, Height: 400, Windowed, Color depth: 32, "
               "Z Depth: 8)"},
              0);
}
