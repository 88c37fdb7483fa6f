// An additive lagged-Fibonacci generator over 31 words, seeded through the
// Park-Miller sequence: the design and the constants of glibc's rand().
#include "engine/Random.h"

namespace {

constexpr int kWords = 31;
constexpr int kSeparation = 3;             // the two taps stand this far apart
constexpr int kWarmUpDraws = 10 * kWords;  // the first draws are thrown away
constexpr std::int64_t kParkMillerModulus = 2147483647;
constexpr std::int64_t kParkMillerMultiplier = 16807;

std::uint32_t words[kWords];
int front = kSeparation;
int rear = 0;

std::uint32_t Step()
{
    words[front] += words[rear];
    const std::uint32_t drawn = words[front];
    front = (front + 1) % kWords;
    rear = (rear + 1) % kWords;
    return drawn;
}

}  // namespace

void SeedRandom(std::uint32_t seed)
{
    // The seed is taken as a signed word, as glibc takes it.
    std::int64_t word = static_cast<std::int32_t>(seed == 0 ? 1 : seed);
    words[0] = static_cast<std::uint32_t>(word);
    for (int i = 1; i < kWords; ++i) {
        word = kParkMillerMultiplier * word % kParkMillerModulus;
        if (word < 0)
            word += kParkMillerModulus;
        words[i] = static_cast<std::uint32_t>(word);
    }
    front = kSeparation;
    rear = 0;
    for (int i = 0; i < kWarmUpDraws; ++i)
        Step();
}

int Random()
{
    return static_cast<int>(Step() >> 1);
}
