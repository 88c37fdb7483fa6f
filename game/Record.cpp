// Every game is recorded as it is played, so it can be kept, shared, shown
// again and checked.
#include "game/Record.h"

#include <cctype>

#include "engine/Platform.h"
#include "game/Rules.h"

#ifndef QM_VERSION
#define QM_VERSION "unknown"
#endif

namespace {

const char kLastGameFile[] = "lastgame.qmr";
const char kKeptReplaysDir[] = "replays";

GameState& gs = gameState;
Replay record;
bool ended = false;

bool Save(const std::string& file)
{
    const bool saved = platform::WriteFileWhole(file, EncodeReplay(record));
    if (!saved)
        gs.log.WriteResult("   Saving replay", false);
    return saved;
}

// Letters and digits only, so that any name makes a plain file name.
std::string FileNamePart(const std::string& name)
{
    std::string part;
    for (char c : name)
        part += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return part;
}

}  // namespace

const Replay& ThisGame()
{
    return record;
}

void BeginRecord(const GameStart& start)
{
    record = Replay();
    record.gameVersion = QM_VERSION;
    record.start = start;
    record.sizes = CurrentRuleSizes();
    ended = false;
}

void PlayTick(const TickInput& input)
{
    if (record.ticks % kCheckpointTicks == 0)
        record.checkpoints.push_back(StateDigest());
    record.AddTick(input);
    gs.input = input;
    UpdateTick();
}

void EndRecord(GameEnding ending)
{
    if (ended)
        return;
    ended = true;
    record.score = gs.worker.score;
    record.ending = ending;
    record.checkpoints.push_back(StateDigest());
}

bool RecordEnded()
{
    return ended;
}

RuleSizes CurrentRuleSizes()
{
    return {gs.worker.width, gs.worker.height, crateWidth, crateHeight};
}

void UseRuleSizes(const RuleSizes& sizes)
{
    gs.worker.width = sizes.workerWidth;
    gs.worker.height = sizes.workerHeight;
    crateWidth = sizes.crateWidth;
    crateHeight = sizes.crateHeight;
}

void SaveLastGame()
{
    Save(kLastGameFile);
}

void KeepHighScoreReplay(const std::string& name)
{
    if (!platform::MakeDirectory(kKeptReplaysDir)) {
        gs.log.WriteResult("   Saving replay", false);
        return;
    }
    Save(std::string(kKeptReplaysDir) + "\\" + platform::StampText() + "-" +
         std::to_string(record.score) + "-" + FileNamePart(name) + ".qmr");
}
