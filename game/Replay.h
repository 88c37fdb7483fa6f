// A game kept as a file: the seed, what the last game left for this one, the
// picture sizes the rules measured with, one input record a tick, a digest of
// the yard every 100 ticks, and the result. The layout is in
// docs/replay-format.md.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/GameObject.h"
#include "game/GameState.h"

// Files from strangers are refused beyond this size.
constexpr std::size_t kReplayReadLimit = 16u * 1024 * 1024;
// A state digest is kept before every hundredth tick, and one after the end.
constexpr std::uint32_t kCheckpointTicks = 100;

enum class GameEnding : std::uint8_t { Crate = 0, Escape = 1, Signal = 2, CloseButton = 3 };

// What a game starts from beyond what NewGame resets: the seed the generator
// starts from, and what the last game of the run left behind.
struct GameStart {
    std::uint32_t seed = 0;
    Facing facing = Facing::Right;
    bool spaceHeld = false;
    int timePhase = 0;  // the TIME counter's count within its second
};

// The picture sizes every contact and landing is measured with.
struct RuleSizes {
    int workerWidth = 0;
    int workerHeight = 0;
    int crateWidth = 0;
    int crateHeight = 0;
};

// `ticks` ticks with the same keys.
struct InputRun {
    std::uint8_t keys = 0;
    std::uint32_t ticks = 0;
};

struct Replay {
    std::string gameVersion;
    GameStart start;
    RuleSizes sizes;
    std::uint32_t ticks = 0;  // ticks played, also the sum of the runs
    std::int32_t score = 0;   // after the TIME conversion
    GameEnding ending = GameEnding::Escape;
    std::vector<std::uint32_t> checkpoints;
    std::vector<InputRun> inputs;

    void AddTick(const TickInput& input);
};

std::uint8_t PackKeys(const TickInput& input);
TickInput UnpackKeys(std::uint8_t keys);

// Walks through a replay's inputs one tick at a time.
class InputCursor {
public:
    explicit InputCursor(const Replay& replay) : runs(replay.inputs)
    {
    }
    // False once every recorded tick has been given.
    bool Next(TickInput& input);

private:
    const std::vector<InputRun>& runs;
    std::size_t run = 0;
    std::uint32_t used = 0;
};

std::string EncodeReplay(const Replay& replay);
// False, with what is wrong in a few words, unless the bytes are a whole
// replay of this format; `replay` is then left in an unspecified state.
bool DecodeReplay(const std::string& bytes, Replay& replay, std::string& error);

// A digest of everything the rules keep: the worker, the crates, the cranes,
// the lights, the columns and the counters.
std::uint32_t StateDigest();
