// replaymaker: writes golden replays from scripts, through the game's own
// rules and recording, and says which events each game showed.
//   replaymaker SCRIPT OUT.qmr     plays the script and writes its replay
//   replaymaker --search GOAL SEED prints a script that reaches GOAL
//                                  (row-clear, push or burst) and lives
// A script is a seed line ("seed 7") and spans of keys: L, R and J (Space)
// held together, or _ for none, each with its ticks ("R40 _20 RJ1 R9"); a
// last "ESC" ends the game with Escape, else a crate must end it on the
// script's last tick. Lines starting with # are comments.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/Platform.h"
#include "game/Record.h"
#include "tools/replaymaker/GamePlay.h"
#include "tools/replaymaker/Script.h"

namespace {

// The maker is no game: the log and the settings where it runs stay as they are.
__attribute__((constructor(101))) void LeaveFilesAlone()
{
    platform::LeavePlayerFilesAlone();
}

int MakeReplay(const std::string& scriptFile, const std::string& out)
{
    std::string text;
    std::string error;
    Replay game;
    if (!platform::ReadRegularFile(scriptFile, text) || !ReadScript(text, game, error)) {
        std::fprintf(stderr, "replaymaker: %s: %s\n", scriptFile.c_str(),
                     error.empty() ? "unreadable" : error.c_str());
        return 2;
    }
    const GameEvents events = PlayGame(game);
    const Replay& played = ThisGame();
    if (played.ticks != game.ticks || events.crushed != (game.ending == GameEnding::Crate)) {
        std::fprintf(stderr, "replaymaker: %s: the script has %u ticks, the game %s at tick %u\n",
                     scriptFile.c_str(), game.ticks,
                     events.crushed ? "ended under a crate" : "goes on", played.ticks);
        return 1;
    }
    const std::string bytes = EncodeReplay(played);
    if (!platform::WriteFileWhole(out, bytes)) {
        std::fprintf(stderr, "replaymaker: %s: cannot write\n", out.c_str());
        return 2;
    }
    std::printf("%s: seed %u ticks %u score %d bytes %zu events: %s\n", out.c_str(),
                played.start.seed, played.ticks, played.score, bytes.size(),
                DescribeEvents(events).c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) != "--search")
        return MakeReplay(argv[1], argv[2]);
    if (argc == 4 && std::string(argv[1]) == "--search")
        return SearchScript(argv[2],
                            static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10)));
    std::fputs("usage: replaymaker SCRIPT OUT.qmr | replaymaker --search GOAL SEED\n", stderr);
    return 2;
}
