#include "HighScores.h"

#include <cstdint>
#include <fstream>

namespace assetgen {

namespace {

struct Entry {
    const char* name;
    int32_t score;
};

// Beatable but not trivial: a row clear is worth 500, a second of play 10.
const Entry kTable[5] = {
    {"MARCH", 25000}, {"QUILLE", 20000}, {"CRANE", 15000}, {"HOOK", 10000}, {"RIVET", 5000},
};

}  // namespace

bool WriteHighScores(const std::string& dataDir)
{
    std::ofstream scores(dataDir + "/scores.hst", std::ios::binary);
    std::ofstream names(dataDir + "/names.hst", std::ios::binary);
    for (const Entry& e : kTable) {
        uint32_t v = static_cast<uint32_t>(e.score);
        const char bytes[4] = {static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff),
                               static_cast<char>((v >> 16) & 0xff), static_cast<char>(v >> 24)};
        scores.write(bytes, 4);
        names << e.name << "\r\n";
    }
    scores.close();
    names.close();
    return scores.good() && names.good();
}

}  // namespace assetgen
