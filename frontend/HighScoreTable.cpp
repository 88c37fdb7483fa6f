#include "frontend/HighScoreTable.h"

#include <cstdio>
#include <sstream>

#include "engine/Platform.h"
#include "game/GameState.h"

namespace {

// What an empty place holds once the table has to be written whole.
constexpr int32_t kEmptyScore = 0;
const char* const kEmptyName = "-";

// The scores file: complete 4-byte groups, least significant byte first.
void ReadScores(std::istream& in, std::vector<int32_t>& scores)
{
    while (scores.size() < HighScoreTable::kPlaces) {
        unsigned char bytes[4];
        // A short group is trailing rubbish; a failed read (a directory
        // opened as a file fails every read) ends the file just the same.
        if (!in.read(reinterpret_cast<char*>(bytes), 4))
            return;
        uint32_t value = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                         uint32_t(bytes[3]) << 24;
        scores.push_back(static_cast<int32_t>(value));
    }
}

// One name per line. A line counts only once its line end has been read, so
// a last line without one is lost as it always was; one CR before the LF is
// the line end of the game's own files, not part of the name.
void ReadNames(std::istream& in, std::vector<std::string>& names)
{
    // Names are kept as stored, whatever their length; only a runaway line
    // is cut, so a broken file cannot grow the table without bound.
    constexpr std::size_t kMaxLineLength = 255;
    std::string name;
    std::size_t lineLength = 0;
    for (int c; names.size() < HighScoreTable::kPlaces && (c = in.get()) != EOF;) {
        if (c != '\n') {
            if (lineLength++ < kMaxLineLength + 1)
                name += static_cast<char>(c);
            continue;
        }
        if (!name.empty() && name.back() == '\r')
            name.pop_back();
        if (name.size() > kMaxLineLength)
            name.resize(kMaxLineLength);
        names.push_back(name);
        name.clear();
        lineLength = 0;
    }
}

std::string ScoresBytes(const std::vector<int32_t>& scores)
{
    std::string bytes;
    for (int32_t score : scores) {
        uint32_t value = static_cast<uint32_t>(score);
        for (int shift = 0; shift < 32; shift += 8)
            bytes += static_cast<char>(value >> shift & 0xFF);
    }
    return bytes;
}

std::string NamesBytes(const std::vector<std::string>& names)
{
    std::string bytes;
    for (const std::string& name : names)
        bytes += name + "\r\n";
    return bytes;
}

// Looked at as every reader of the game looks: a FIFO left in a temporary's
// place must not hold up the title screen.
bool Exists(const std::string& file)
{
    std::string nothing;
    return platform::ReadRegularFile(file, nothing, 0);
}

// A save writes both temporaries, then moves the scores, then the names. One
// cut short between the two moves left the new names waiting beside the new
// scores: they follow now, so the pair agrees again. One cut short earlier
// left the old pair whole, and its leftovers go.
void FinishInterruptedSave(const std::string& scoresFile, const std::string& namesFile)
{
    const std::string scoresTemporary = scoresFile + ".tmp";
    const std::string namesTemporary = namesFile + ".tmp";
    if (Exists(namesTemporary) && !Exists(scoresTemporary)) {
        platform::MoveIntoPlace(namesTemporary, namesFile);
        return;
    }
    platform::RemoveFile(scoresTemporary);
    platform::RemoveFile(namesTemporary);
}

}  // namespace

HighScoreTable::HighScoreTable(const std::string& namesPath, const std::string& scoresPath)
    : scoresPath(scoresPath), namesPath(namesPath)
{
    load();
}

HighScoreTable::~HighScoreTable()
{
    save();
}

bool HighScoreTable::load()
{
    FinishInterruptedSave(platform::NativePath(scoresPath), platform::NativePath(namesPath));
    std::string bytes;
    if (!platform::ReadRegularFile(scoresPath, bytes))
        return false;
    std::istringstream scoresFile(bytes);
    ReadScores(scoresFile, scores);

    if (!platform::ReadRegularFile(namesPath, bytes))
        return false;
    std::istringstream namesFile(bytes);
    ReadNames(namesFile, names);
    return true;
}

bool HighScoreTable::save()
{
    // Both files always hold the same five places, whatever was read.
    std::vector<int32_t> placedScores = scores;
    std::vector<std::string> placedNames = names;
    placedScores.resize(kPlaces, kEmptyScore);
    placedNames.resize(kPlaces, kEmptyName);

    // The old pair stays whole until both new files are written; only then
    // do they take the old names.
    const std::string scoresFile = platform::NativePath(scoresPath);
    const std::string namesFile = platform::NativePath(namesPath);
    const std::string scoresTemporary = scoresFile + ".tmp";
    const std::string namesTemporary = namesFile + ".tmp";
    // Both wait on the disk before either takes its place.
    const bool written = platform::WriteFlushed(scoresTemporary, ScoresBytes(placedScores)) &&
                         platform::WriteFlushed(namesTemporary, NamesBytes(placedNames));
    const bool scoresMoved = written && platform::MoveIntoPlace(scoresTemporary, scoresFile);
    const bool ok = scoresMoved && platform::MoveIntoPlace(namesTemporary, namesFile);
    if (scoresMoved)
        platform::FlushDirectoryOf(scoresFile);
    if (!ok) {
        // Once the scores have moved, the waiting names finish the save at
        // the next load; before that, the old pair is whole.
        if (!scoresMoved)
            FinishInterruptedSave(scoresFile, namesFile);
        gameState.log.WriteResult("   Saving high score data", false);
        gameState.log.WriteLine("         Couldn't write " + scoresPath + " and " + namesPath +
                                "!");
    }
    return ok;
}

void HighScoreTable::insert(int score, const std::string& name)
{
    PadToFivePlaces();
    scores[kPlaces - 1] = score;
    names[kPlaces - 1] = name;
    // Exchange sort, highest first: the new entry rises past lower scores
    // only, so it stays below older entries of the same score.
    for (int i = 0; i < count(); ++i) {
        for (int j = i + 1; j < count(); ++j) {
            if (scores[i] < scores[j]) {
                std::swap(scores[i], scores[j]);
                std::swap(names[i], names[j]);
            }
        }
    }
    save();
}

// A missing or short file leaves places empty; the fifth place must exist
// before a new entry can take it.
void HighScoreTable::PadToFivePlaces()
{
    scores.resize(kPlaces, kEmptyScore);
    names.resize(kPlaces, kEmptyName);
}

int HighScoreTable::count() const
{
    return static_cast<int>(scores.size());
}

int HighScoreTable::scoreAt(int place) const
{
    if (place < 0 || place >= count())
        return -1;
    return scores[place];
}

std::string HighScoreTable::nameAt(int place) const
{
    if (place < 0 || place >= static_cast<int>(names.size()))
        return "-1";
    return names[place];
}
