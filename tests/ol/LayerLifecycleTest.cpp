// Whole runs of the layer, start to process exit, as "ortholayer.log" tells
// them; each run is a child process logging into this test's scratch directory.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>

#include "ol/Bitmap.h"
#include "ol/GarbageCollector.h"
#include "ol/Startup.h"
#include "tests/support/TestSupport.h"

// Each run replaces the earlier run's log and, exiting with status 0, ends it with the clean-up,
// which destroys the program's bitmaps and the `alive` ones the run left behind.
TEST(Lifecycle, RunsReplaceTheOldLogAndEndWithTheCleanUp)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    testsupport::ScratchDir scratch;
    if (GTEST_FLAG_GET(internal_run_death_test).empty())
        setenv("QM_OL_RUN_DIR", scratch.Path().c_str(), 1);
    const std::string started = "OrthoLayer started up succesfully";
    const std::string refused = "ERROR: Couldn't up the screen! (Width: ";
    const std::string pending = std::to_string(ol::GarbageCollector::Count() + 5);
    struct Run { const char* name; bool (*body)(); std::vector<std::string> lines; int alive; };
    const Run runs[] = {
        {"start only", [] { return ol::Startup::StartProgram(true, true, true); }, {started}, 0},
        {"a refused mode, then the fall-back",
         [] {
             ol::Startup::StartProgram(true, true, true);
             new ol::Bitmap[5];  // still alive at exit, as the game state's are
             return !ol::Startup::OpenScreen(0, 400, true, 32, 8, 0) &&
                    ol::Startup::OpenScreen(640, 400, false, 32, 8, 0);
         },
         {started, refused + "0, Height: 400, Fullscreen, Color depth: 32, Z Depth: 8)", "",
          "Auto Loader: Executing " + pending + " pending loading commands",
          "Auto Loader: Completed", "", "Screen set up succesfully", ""},
         5},
        // Without an X server Allegro cannot start; nothing may call into it then.
        {"no display",
         [] {
             unsetenv("DISPLAY");
             ol::Startup::StartProgram(true, true, true);
             return !ol::Startup::OpenScreen(640, 400, false, 32, 8, 0);
         },
         {started, refused + "640, Height: 400, Windowed, Color depth: 32, Z Depth: 8)"}, 0}};
    for (const auto& run : runs) {
        SCOPED_TRACE(run.name);
        testsupport::WriteFile("ortholayer.log", "a line of an earlier run\n");
        EXPECT_EXIT(std::exit(chdir(std::getenv("QM_OL_RUN_DIR")) == 0 && run.body() ? 0 : 3),
                    ::testing::ExitedWithCode(0), "");
        std::vector<std::string> lines = run.lines;
        const std::string items = std::to_string(ol::GarbageCollector::Count() + run.alive);
        lines.insert(lines.end(),
                     {"Collecting garbage", "", "Garbage Collector: Destroying " + items + " items",
                      "Garbace Collector: Completed", "", "Destroying the framebuffer",
                      "Used framebuffer: Framebuffer emulation", "OrthoLayer shutdown finished"});
        EXPECT_EQ(testsupport::ReadLines("ortholayer.log"), lines);
    }
}
