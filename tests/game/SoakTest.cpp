// Random games at full speed (QM_SOAK_GAMES of them, 1000 by default); after every tick the yard adds up.
#include <algorithm>
#include <cmath>
#include <random>

#include "tests/game/YardFixture.h"

namespace yardtest {
namespace {

// What must hold after every tick: empty when it does, else what broke.
const char* BrokenInvariant()
{
    const GameState& gs = gameState;
    const int count = static_cast<int>(gs.crates.size());
    int landed[COLUMN_COUNT] = {};
    for (int i = 0; i < count; ++i) {
        const GameObject& a = gs.crates[i];
        if (a.column < 0 || a.column > 12 || std::fabs(a.x - ColumnX(a.column)) > 20.0f) return "crate off its column";
        if (a.active) continue;
        landed[a.column] += 1;
        for (int j = i + 1; j < count; ++j) {  // by column: a sliding crate may pass over a newcomer
            const GameObject& b = gs.crates[j];
            if (!b.active && b.column == a.column && std::fabs(a.y - b.y) < 20.0f) return "landed crates overlap";
        }
    }
    if (!std::equal(landed, landed + COLUMN_COUNT, gs.columnHeights)) return "columnHeights miscounts";
    if (gs.worker.x < 0.0f || gs.worker.x > 300.0f || gs.worker.y > 151.0f || gs.worker.y < -40.0f)
        return "worker outside the yard";
    if (pushedCrateIndex < -1 || pushedCrateIndex >= count) return "pushedCrateIndex out of range";
    if ((pushedCrateIndex >= 0) != (gs.pushLeftActive || gs.pushRightActive)) return "slide without its crate";
    return "";
}

TEST_F(YardTest, RandomGamesKeepTheYardConsistent)
{
    const char* env = std::getenv("QM_SOAK_GAMES");
    const int games = env && std::atoi(env) > 0 ? std::atoi(env) : 1000;
    std::mt19937 random(20240611u);
    for (int game = 0; game < games; ++game) {
        std::srand(random());
        NewGame();
        ReleaseKeys();
        for (int t = 0; t < 30000 && gameRunning; ++t) {  // at most five minutes of play
            if (random() % 25 == 0) key[KEY_LEFT] = random() % 2;  // a few times a second, as a player would
            if (random() % 25 == 0) key[KEY_RIGHT] = random() % 3 == 0;
            if (random() % 15 == 0) key[KEY_SPACE] = random() % 2;
            UpdateTick();
            ASSERT_STREQ(BrokenInvariant(), "") << "game " << game << " tick " << t;
        }
    }
}

}  // namespace
}  // namespace yardtest
