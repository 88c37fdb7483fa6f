// The game's own generator gives exactly the numbers of glibc's rand(), so games played before
// replays existed and replays made anywhere mean the same games.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "engine/Random.h"

namespace {

#ifdef __GLIBC__
TEST(Random, GivesGlibcRandsNumbersForAnySeed)
{
    const struct {
        const char* name;
        std::uint32_t seed;
    } rows[] = {
        {"zero, taken as one", 0},
        {"one", 1},
        {"small", 1234},
        {"largest positive word", 0x7FFFFFFFu},
        {"smallest negative word", 0x80000000u},
        {"all ones", 0xFFFFFFFFu},
        {"a clock reading", 1765250000u},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::srand(row.seed);
        SeedRandom(row.seed);
        int differing = 0;
        for (int draw = 0; draw < 10000; ++draw) {
            if (Random() != std::rand())
                differing += 1;
        }
        EXPECT_EQ(differing, 0);
    }
}
#endif

}  // namespace
