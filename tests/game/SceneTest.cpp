// The game screen drawn through the real layer under Xvfb and read back:
// objects land at their scaled logical places, mirrored when they face left,
// and the alarm light shows red while a crane comes in.
#include "engine/Engine.h"
#include "tests/game/YardFixture.h"
#include "tests/ol/LayerTestSupport.h"
#include "tests/support/TestSupport.h"

namespace yardtest {
namespace {

using oltest::Rgba;

const Rgba kRed{255, 0, 0, 255}, kBlue{0, 0, 255, 255}, kGreen{0, 255, 0, 255}, kBlack{0, 0, 0, 255};

class SceneTest : public YardTest {
protected:
    void SetUp() override
    {
        YardTest::SetUp();
        ASSERT_TRUE(oltest::OpenTestScreen(640, 400));
        scaleX = scaleY = 2.0f;
        Picture("background.png", 32, 20, [](int, int) { return kBlack; }, gs.backgroundImage);
        // The worker: red on his left half, blue on his right.
        Picture("worker.png", 20, 21, [](int x, int) { return x < 10 ? kRed : kBlue; },
                gs.workerSprites[0].frames[0]);
        Picture("crate.png", 20, 20, [](int, int) { return kGreen; }, gs.crateImage);
        Picture("green.png", 12, 12, [](int, int) { return kGreen; }, gs.alarmSprites[0].frames[0]);
        Picture("red.png", 12, 12, [](int, int) { return kRed; }, gs.alarmSprites[1].frames[0]);
        Picture("red2.png", 12, 12, [](int, int) { return kRed; }, gs.alarmSprites[1].frames[1]);
    }
    void Picture(const std::string& name, int w, int h, const std::function<Rgba(int, int)>& colour,
                 ol::Bitmap& slot)
    {
        std::string path = scratch.Path() + "/" + name;
        oltest::WritePicture(path, w, h, 32, colour);
        ASSERT_TRUE(slot.Load(path.c_str(), 0)) << path;
    }
    // The screen pixel in the middle of logical pixel (x, y).
    static Rgba Logical(const oltest::ScreenPixels& screen, int x, int y)
    {
        return screen.At(2 * x + 1, 2 * y + 1);
    }
    testsupport::ScratchDir scratch;
};

TEST_F(SceneTest, WorkerIsMirroredWhenHeFacesLeft)
{
    worker.x = 100.0f;
    worker.y = 60.0f;
    worker.state = 0;
    for (int facing : {1, 2}) {
        worker.facing = facing;
        DrawFrame();
        oltest::ScreenPixels screen = oltest::ReadScreen();
        Rgba left = Logical(screen, 102, 70), right = Logical(screen, 117, 70);
        EXPECT_TRUE(oltest::Near(left, facing == 1 ? kRed : kBlue, 8)) << "facing " << facing << " " << left;
        EXPECT_TRUE(oltest::Near(right, facing == 1 ? kBlue : kRed, 8)) << "facing " << facing << " " << right;
        EXPECT_TRUE(oltest::Near(Logical(screen, 98, 70), kBlack, 8));
    }
}

TEST_F(SceneTest, CrateStandsAtItsColumnX)
{
    Stack(4);
    DrawFrame();
    oltest::ScreenPixels screen = oltest::ReadScreen();
    const int x = ColumnX(4);
    EXPECT_TRUE(oltest::Near(Logical(screen, x, 152), kGreen, 8)) << Logical(screen, x, 152);
    EXPECT_TRUE(oltest::Near(Logical(screen, x + 19, 171), kGreen, 8));
    EXPECT_TRUE(oltest::Near(Logical(screen, x - 1, 160), kBlack, 8)) << Logical(screen, x - 1, 160);
    EXPECT_TRUE(oltest::Near(Logical(screen, x + 20, 160), kBlack, 8));
    EXPECT_TRUE(oltest::Near(Logical(screen, x + 5, 151), kBlack, 8));
}

TEST_F(SceneTest, AlarmLightTurnsRedWhileACraneEnters)
{
    NewGame();  // crane 2 starts just inside the left edge, heading right
    UpdateTick();
    DrawFrame();
    oltest::ScreenPixels screen = oltest::ReadScreen();
    EXPECT_TRUE(oltest::Near(Logical(screen, 48 + 5, 37 + 5), kRed, 8)) << Logical(screen, 53, 42);
    EXPECT_TRUE(oltest::Near(Logical(screen, 260 + 5, 37 + 5), kGreen, 8)) << Logical(screen, 265, 42);
    for (int t = 0; t < 60; ++t) UpdateTick();
    DrawFrame();
    screen = oltest::ReadScreen();
    EXPECT_TRUE(oltest::Near(Logical(screen, 53, 42), kGreen, 8)) << Logical(screen, 53, 42);
}

TEST_F(SceneTest, HiddenObjectsStillStepTheirSpriteAndADeadWorkerFreezesEverything)
{
    Sprite& idle = gs.workerSprites[0];
    idle.Reset();
    worker.x = 100.0f;
    worker.y = 60.0f;
    worker.facing = 0;
    DrawFrame();
    oltest::ScreenPixels screen = oltest::ReadScreen();
    EXPECT_TRUE(oltest::Near(Logical(screen, 102, 70), kBlack, 8)) << "facing 0 is not drawn";
    EXPECT_EQ(idle.Elapsed(), 1);

    worker.active = false;
    worker.facing = 1;
    int crane = gs.craneSprites[0].Elapsed();
    for (int d = 0; d < 5; ++d) DrawFrame();
    EXPECT_EQ(idle.Elapsed(), 1);
    EXPECT_EQ(gs.craneSprites[0].Elapsed(), crane);
}

// The worker's size comes from "player_move.png" once the game's pictures are in.
TEST_F(SceneTest, LoadingTheGameGivesTheWorkerTheSizeOfHisPicture)
{
    BITMAP* picture = oltest::ReadPicture(testsupport::SourceData() + "/gfx/sprites/player_move.png");
    ASSERT_NE(picture, nullptr) << "data/gfx/sprites/player_move.png";
    BITMAP* crate = oltest::ReadPicture(testsupport::SourceData() + "/gfx/sprites/crate.png");
    ASSERT_NE(crate, nullptr);
    worker.width = worker.height = 0;
    LoadGame();
    EXPECT_EQ(worker.width, picture->w);
    EXPECT_EQ(worker.height, picture->h);
    EXPECT_EQ(crateWidth, crate->w);
    EXPECT_GT(worker.width, 0);
    destroy_bitmap(picture);
    destroy_bitmap(crate);
}

}  // namespace
}  // namespace yardtest
