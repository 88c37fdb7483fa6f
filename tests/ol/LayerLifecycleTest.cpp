// A whole run of the layer, from start to process exit, as "ortholayer.log"
// tells it. Each run happens in a fresh child process.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>

#include "ol/Bitmap.h"
#include "ol/GarbageCollector.h"
#include "ol/LayerLog.h"
#include "ol/Startup.h"
#include "tests/support/TestSupport.h"

namespace {

// The child re-runs this program from the start, in a scratch directory of
// its own; it logs into the parent's instead.
void EnterParentScratch()
{
    const char* dir = std::getenv("QM_OL_RUN_DIR");
    if (!dir || chdir(dir) != 0)
        std::exit(4);
}

// Bitmaps a child leaves alive at exit.
ol::Bitmap* waitingBitmaps = nullptr;

// Bitmaps that belong to the program itself (the game state's) are
// registered before any test runs.
std::string Count(std::size_t extra)
{
    return std::to_string(ol::GarbageCollector::Count() + extra);
}

std::vector<std::string> ExitLines(std::size_t extra)
{
    return {"Collecting garbage", "", "Garbage Collector: Destroying " + Count(extra) + " items",
            "Garbace Collector: Completed", "", "Destroying the framebuffer",
            "Used framebuffer: Framebuffer emulation", "OrthoLayer shutdown finished"};
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class Lifecycle : public ::testing::Test {
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        if (!std::getenv("DISPLAY"))
            FAIL() << "DISPLAY is not set: these runs need an X server (Xvfb)";
        testsupport::WriteFile("ortholayer.log", "a line of an earlier run\n");
        if (GTEST_FLAG_GET(internal_run_death_test).empty())
            setenv("QM_OL_RUN_DIR", scratch.Path().c_str(), 1);
    }
    testsupport::ScratchDir scratch;
};

}  // namespace

TEST_F(Lifecycle, StartOnlyRunReplacesTheOldLogAndEndsWithTheCleanUp)
{
    EXPECT_EXIT(
        {
            EnterParentScratch();
            ol::Startup::StartProgram(true, true, true);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(testsupport::ReadLines("ortholayer.log"),
              Join({"OrthoLayer started up succesfully"}, ExitLines(0)));
}

TEST_F(Lifecycle, FailedModeThenFallBackWithFiveBitmapsWaiting)
{
    EXPECT_EXIT(
        {
            EnterParentScratch();
            ol::Startup::StartProgram(true, true, true);
            // Still registered at exit, as the game state's bitmaps are.
            waitingBitmaps = new ol::Bitmap[5];
            const bool huge = ol::Startup::OpenScreen(0, 400, true, 32, 8, 0);
            const bool fallBack = ol::Startup::OpenScreen(640, 400, false, 32, 8, 0);
            ol::WriteLog(std::string("results ") + (huge ? "1" : "0") + (fallBack ? "1" : "0"));
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(testsupport::ReadLines("ortholayer.log"),
              Join({"OrthoLayer started up succesfully",
                    "ERROR: Couldn't up the screen! (Width: 0, Height: 400, Fullscreen, Color "
                    "depth: 32, Z Depth: 8)",
                    "", "Auto Loader: Executing " + Count(5) + " pending loading commands",
                    "Auto Loader: Completed", "", "Screen set up succesfully", "", "results 01"},
                   ExitLines(5)));
}

TEST_F(Lifecycle, LoadBeforeTheScreenIsQueuedAndRunsWhenItOpens)
{
    const std::string missing = scratch.Path() + "/nothing-here.png";
    EXPECT_EXIT(
        {
            EnterParentScratch();
            ol::Startup::StartProgram(true, false, true);
            ol::Bitmap* early = waitingBitmaps = new ol::Bitmap;
            const std::string name = std::string(std::getenv("QM_OL_RUN_DIR")) + "/nothing-here.png";
            const bool queued = early->Load(name.c_str(), 0) && early->HasQueuedLoad();
            ol::Startup::OpenScreen(640, 400, false, 32, 8, 0);
            std::exit(queued && !early->HasQueuedLoad() ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "Loading queued for bitmap: ");
    const std::vector<std::string> log = testsupport::ReadLines("ortholayer.log");
    ASSERT_GE(log.size(), 7u);
    EXPECT_EQ(log[2], "Auto Loader: Executing " + Count(1) + " pending loading commands");
    EXPECT_EQ(log[3], "Loading bitmap: " + missing);
    EXPECT_EQ(log[4], "ERROR: No such bitmap!");
    EXPECT_EQ(log[5], "ERROR: Auto Loader: Couldn't load a resource!");
    EXPECT_EQ(log[6], "Auto Loader: Completed");
}

// Without an X server Allegro cannot start; nothing may call into it then.
TEST_F(Lifecycle, NoDisplayFailsTheScreenWithoutCrashing)
{
    EXPECT_EXIT(
        {
            EnterParentScratch();
            unsetenv("DISPLAY");
            ol::Startup::StartProgram(true, true, true);
            const bool opened = ol::Startup::OpenScreen(640, 400, false, 32, 8, 0);
            ol::Bitmap* picture = waitingBitmaps = new ol::Bitmap;
            picture->Load("data/gfx/fonts/font.png", 0);
            picture->BlitStretched(0, 0, 10, 10, 1.0f);
            std::exit(opened ? 3 : 0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(testsupport::ReadLines("ortholayer.log"),
              Join({"OrthoLayer started up succesfully",
                    "ERROR: Couldn't up the screen! (Width: 640, Height: 400, Windowed, Color "
                    "depth: 32, Z Depth: 8)"},
                   ExitLines(1)));
}
