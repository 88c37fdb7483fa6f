// Replays come from strangers: whatever the bytes, the reader answers without crashing, with a
// reason that fits the one stderr line, and a file it takes is exactly the file the game writes
// for that game, so no two files tell the same game.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/Replay.h"
#include "tests/support/ReplayBytes.h"

namespace {

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "replay reader: %s\n", what);
    std::abort();
}

void Check(const std::string& bytes)
{
    Replay replay;
    std::string error;
    if (DecodeReplay(bytes, replay, error)) {
        if (EncodeReplay(replay) != bytes)
            Fail("a file it took is not what the game writes for that replay");
        return;
    }
    if (error.empty() || error.find('\n') != std::string::npos)
        Fail("a refusal without a one-line reason");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Check(bytes);
    // Resealed, mutations also reach the fields the checksum guards.
    Check(testsupport::Resealed(bytes));
    return 0;
}
