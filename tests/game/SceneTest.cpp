// The game screen drawn through the real layer under Xvfb and read back, and the game's pictures loaded.
#include "engine/Engine.h"
#include "tests/game/YardFixture.h"
#include "tests/ol/LayerTestSupport.h"
#include "tests/support/TestSupport.h"

namespace yardtest {
namespace {

using oltest::Rgba;
const Rgba kRed{255, 0, 0, 255}, kBlue{0, 0, 255, 255}, kGreen{0, 255, 0, 255}, kBlack{0, 0, 0, 255};

// The worker (red left half, blue right) is drawn mirrored facing left; a crate fills its column.
TEST_F(YardTest, SceneShowsTheWorkerMirroredFacingLeftAndACrateAtItsColumnX)
{
    ASSERT_TRUE(oltest::OpenTestScreen(640, 400));
    scaleX = scaleY = 2.0f;
    testsupport::ScratchDir scratch;
    const std::string path = scratch.Path() + "/picture.png";
    auto load = [&](ol::Bitmap& slot, int w, int h, Rgba (*colour)(int x)) {
        oltest::WritePicture(path, w, h, 32, [colour](int x, int) { return colour(x); });
        ASSERT_TRUE(slot.Load(path.c_str(), 0));
    };
    load(gs.backgroundImage, 32, 20, [](int) { return kBlack; });
    load(gs.workerSprites[0].frames[0], 20, 21, [](int x) { return x < 10 ? kRed : kBlue; });
    load(gs.crateImage, 20, 20, [](int) { return kGreen; });
    AddCrate(4);
    worker.x = 100.0f;
    worker.y = 60.0f;
    const int x = ColumnX(4);
    const struct {
        int facing, x, y;
        Rgba colour;
    } pixels[] = {{1, 102, 70, kRed},  {1, 117, 70, kBlue},   {2, 102, 70, kBlue},     {2, 117, 70, kRed},
                  {2, 98, 70, kBlack}, {2, x, 152, kGreen},   {2, x + 19, 171, kGreen}, {2, x - 1, 160, kBlack},
                  {2, x + 20, 160, kBlack}};
    for (const auto& p : pixels) {
        worker.facing = p.facing;
        DrawFrame();
        Rgba seen = oltest::ReadScreen().At(2 * p.x + 1, 2 * p.y + 1);  // the middle of logical (x, y)
        EXPECT_TRUE(oltest::Near(seen, p.colour, 8)) << "facing " << p.facing << " at " << p.x << "," << p.y;
    }
}

// The worker takes his size from "player_move.png" (left at 0 he fell through crates).
TEST_F(YardTest, LoadingTheGameGivesTheWorkerTheSizeOfHisPicture)
{
    ASSERT_TRUE(oltest::OpenTestScreen(640, 400));
    BITMAP* picture = load_bitmap((testsupport::SourceData() + "/gfx/sprites/player_move.png").c_str(), nullptr);
    ASSERT_NE(picture, nullptr);
    worker.width = worker.height = 0;
    LoadGame();
    EXPECT_EQ(worker.width, picture->w);
    EXPECT_EQ(worker.height, picture->h);
    destroy_bitmap(picture);
}

}  // namespace
}  // namespace yardtest
