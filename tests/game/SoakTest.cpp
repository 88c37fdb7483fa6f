// Thousands of games of random keys at full speed; after every tick the yard
// must still add up. QM_SOAK_GAMES sets the number of games.
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

#include "tests/game/YardFixture.h"

namespace yardtest {
namespace {

// What must hold after every tick; empty when it does.
std::string BrokenInvariant()
{
    const GameState& gs = gameState;
    int landed[COLUMN_COUNT] = {};
    const int count = static_cast<int>(gs.crates.size());
    for (int i = 0; i < count; ++i) {
        const GameObject& crate = gs.crates[i];
        if (crate.column < 0 || crate.column > 12) return "crate " + std::to_string(i) + " outside the yard";
        if (crate.x < ColumnX(0) - 20 || crate.x > ColumnX(12) + 20) return "crate x " + std::to_string(crate.x);
        if (!crate.active) landed[crate.column] += 1;
    }
    for (int c = 0; c < COLUMN_COUNT; ++c)
        if (landed[c] != gs.columnHeights[c])
            return "column " + std::to_string(c) + " counts " + std::to_string(gs.columnHeights[c]) +
                   " but holds " + std::to_string(landed[c]);
    for (int i = 0; i < count; ++i)
        for (int j = i + 1; j < count; ++j) {
            const GameObject& a = gs.crates[i];
            const GameObject& b = gs.crates[j];
            if (a.active || b.active) continue;
            // By column, not x: a crate sliding out of a column may pass over a newcomer.
            if (a.column == b.column && std::fabs(a.y - b.y) < 20.0f)
                return "landed crates " + std::to_string(i) + " and " + std::to_string(j) + " overlap";
        }
    const GameObject& w = gs.worker;
    if (w.x < 0.0f || w.x > 300.0f || w.y > 151.0f || w.y < -40.0f)
        return "worker at " + std::to_string(w.x) + "," + std::to_string(w.y);
    if (pushedCrateIndex < -1 || pushedCrateIndex >= count) return "pushedCrateIndex " + std::to_string(pushedCrateIndex);
    if ((pushedCrateIndex >= 0) != (gs.pushLeftActive || gs.pushRightActive)) return "slide without its crate";
    return "";
}

int SoakGames()
{
    const char* games = std::getenv("QM_SOAK_GAMES");
    return games && std::atoi(games) > 0 ? std::atoi(games) : 1000;
}

TEST_F(YardTest, RandomGamesKeepTheYardConsistent)
{
    std::mt19937 random(20240611u);
    const int kMaxTicks = 30000;  // five minutes of play
    const int games = SoakGames();
    long ticks = 0;
    for (int game = 0; game < games; ++game) {
        std::srand(random());
        NewGame();
        deaths = 0;
        ReleaseKeys();
        for (int t = 0; t < kMaxTicks && gameRunning; ++t) {
            // Keys change a few times a second, as a player's would.
            if (random() % 25 == 0) key[KEY_LEFT] = random() % 2;
            if (random() % 25 == 0) key[KEY_RIGHT] = random() % 3 == 0;
            if (random() % 15 == 0) key[KEY_SPACE] = random() % 2;
            UpdateTick();
            ++ticks;
            std::string broken = BrokenInvariant();
            ASSERT_EQ(broken, "") << "game " << game << " tick " << t;
        }
    }
    RecordProperty("ticks", std::to_string(ticks));
}

}  // namespace
}  // namespace yardtest
