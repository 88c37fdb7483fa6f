// The five best scores with their players' names, kept in two files: the
// scores as raw little-endian 32-bit integers, the names as CR LF text lines.
// Each screen that shows or changes the table opens its own for one visit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The game's own table, shown on the title screen and filled by the name entry.
inline constexpr const char* kHighScoreNamesFile = "data\\names.hst";
inline constexpr const char* kHighScoreScoresFile = "data\\scores.hst";

class HighScoreTable {
public:
    static constexpr int kPlaces = 5;
    // A name has at most this many letters.
    static constexpr std::size_t kMaxNameLength = 8;

    // Reads both files at once; a missing or broken file leaves places empty.
    HighScoreTable(const std::string& namesPath, const std::string& scoresPath);
    // Writes both files back.
    ~HighScoreTable();
    HighScoreTable(const HighScoreTable&) = delete;
    HighScoreTable& operator=(const HighScoreTable&) = delete;

    // Appends what the files hold, at most five places from each; false when
    // either file could not be opened.
    bool load();
    // Writes five places to each file, replacing both only once both are
    // written whole; false (and logged) when the old files had to be kept.
    bool save();
    // Puts the score into the fifth place, lets it rise past every lower
    // score and saves. Whether it deserves a place is the caller's decision.
    void insert(int score, const std::string& name);

    int count() const;
    int scoreAt(int place) const;         // -1 when there is no such place
    std::string nameAt(int place) const;  // "-1" when there is no such name

private:
    void PadToFivePlaces();

    std::vector<int32_t> scores;
    std::vector<std::string> names;
    std::string scoresPath;
    std::string namesPath;
};
