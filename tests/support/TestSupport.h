// Helpers shared by the test programs.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "engine/Sound.h"
#include "game/Text.h"

namespace testsupport {

// A fresh temporary directory that becomes the working directory for the
// lifetime of the object, so the game's files never land in the repo.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& Path() const
    {
        return path;
    }
    // Copies files or directories of the shipped data/ into data/ here; by default a player's
    // install: the sounds and the shipped table.
    void CopyData(const std::vector<std::string>& parts = {"audio", "scores.hst",
                                                           "names.hst"}) const;

private:
    std::string path, previous;
};

std::string ReadFile(const std::string& name);
void WriteFile(const std::string& name, const std::string& bytes);
bool FileExists(const std::string& name);
std::vector<std::string> ReadLines(const std::string& name);  // without LF or CR LF

// The table's files: scores as 32-bit little-endian integers (as this host holds them), names
// as CR LF lines ("A,B" is "A\r\nB\r\n"), written into data/.
std::string ScoreBytes(const std::vector<int32_t>& scores);
std::string NameLines(std::string names);
void WriteTable(const std::string& scores, const std::string& names);

// Takes the place of the sound card and keeps what the game asked for, as
// effect numbers ("sfx3") and music ("mus0", "mus0 loop"), in order. The
// game's lists name six effects and one piece of music.
class SoundRecorder {
public:
    SoundRecorder();
    ~SoundRecorder();
    std::vector<std::string> Take();  // what was played since the last Take

private:
    std::vector<std::string> played;
    friend class RecordingOutput;
};

// A text line as the player reads it: "90,120 #588D43 PRESS ENTER TO START".
std::string Said(const TextLine& line);

// Keeps, while it lives, every text line drawn, as Said says it. The screens draw on one
// thread while tests look from another.
class TextSeen {
public:
    TextSeen();
    ~TextSeen();
    std::vector<std::string> Lines();  // in the order drawn
    bool Has(const std::string& line);
    void Clear();

private:
    std::mutex lock;
    std::vector<std::string> lines;
};

// The shipped data/ and the built game binary.
std::string SourceData();
std::string GameBinary();
// The game of the other build type the test script made (plain or sanitized), where it says
// which; else this build's.
std::string OtherBuildBinary();

}  // namespace testsupport
