// Showing, timing and checking recorded games. Each plays the record through
// the same rules and the same recording as a game at the keyboard, so a
// replay that differs says at which checkpoint it left the recorded game.
#include "game/ReplayModes.h"

#include <allegro.h>

#include <chrono>
#include <cstdio>
#include <functional>

#include "engine/Platform.h"
#include "engine/Quit.h"
#include "game/Rules.h"

namespace {

// The replay's GAME OVER ends by itself once TIME is all in points and the
// wave has come round once more, so the final score can be read.
constexpr int kPassesAfterCountdown = 73;
int passesAfterCountdown = 0;

bool ReplayGameOverSeen()
{
    if (key[KEY_ENTER] || key[KEY_ESC])
        return true;
    if (gameState.elapsedSeconds > 0)
        return false;
    return ++passesAfterCountdown > kPassesAfterCountdown;
}

void ShowReplayGameOver()
{
    passesAfterCountdown = 0;
    WaveGameOver(ReplayGameOverSeen);
    EndGameUnderCrate();
}

// The first checkpoint that differs; the count of checkpoints when all agree.
std::size_t FirstDifference(const Replay& recorded, const Replay& played)
{
    std::size_t at = 0;
    while (at < recorded.checkpoints.size() && at < played.checkpoints.size() &&
           recorded.checkpoints[at] == played.checkpoints[at])
        at += 1;
    return at;
}

// Every recorded tick through the rules, and what follows each, until the
// game ends.
void PlayRecord(const Replay& replay, const std::function<void()>& afterTick)
{
    InputCursor cursor(replay);
    TickInput input;
    while (gameRunning && !key[KEY_ESC] && !QuitRequested() && cursor.Next(input)) {
        PlayTick(input);
        afterTick();
    }
}

}  // namespace

bool LoadReplayFile(const std::string& path, Replay& replay, std::string& error)
{
    std::string bytes;
    if (!platform::ReadRegularFile(path, bytes, kReplayReadLimit + 1)) {
        error = platform::UnreadableReason(path);
        return false;
    }
    if (bytes.size() > kReplayReadLimit) {
        error = "larger than 16 MiB";
        return false;
    }
    return DecodeReplay(bytes, replay, error);
}

int VerifyReplay(const Replay& replay)
{
    UseRuleSizes(replay.sizes);
    NewGame(replay.start);
    runEndOfGame = EndGameUnderCrate;
    PlayRecord(replay, [] {
    });
    EndRecord(replay.ending);
    const Replay& played = ThisGame();
    const std::size_t first = FirstDifference(replay, played);
    const bool same = played.score == replay.score && played.ticks == replay.ticks &&
                      first == replay.checkpoints.size() &&
                      played.checkpoints.size() == replay.checkpoints.size();
    std::printf("score %d ticks %u", played.score, played.ticks);
    if (same) {
        std::printf(" verified\n");
        return 0;
    }
    std::printf(" differs: recorded score %d ticks %u, first at checkpoint %zu\n", replay.score,
                replay.ticks, first);
    return 1;
}

void ShowReplay(const Replay& replay)
{
    NewGame(replay.start);
    runEndOfGame = ShowReplayGameOver;
    InputCursor cursor(replay);
    RunGameLoop([&cursor](TickInput& input) {
        return cursor.Next(input);
    });
}

void RunTimedemo(const Replay& replay)
{
    NewGame(replay.start);
    runEndOfGame = EndGameUnderCrate;
    int frames = 0;
    const auto start = std::chrono::steady_clock::now();
    PlayRecord(replay, [&frames] {
        DrawFrame();
        frames += 1;
    });
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    const double seconds = took.count();
    std::printf("ticks %u frames %d seconds %.3f fps %.1f\n", ThisGame().ticks, frames, seconds,
                seconds > 0.0 ? frames / seconds : 0.0);
    std::fflush(stdout);
}
