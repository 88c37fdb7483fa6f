// Whatever the two high-score files hold, the table loads without hanging,
// holds at most five places, and a save leaves two well-formed five-entry files.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "frontend/HighScoreTable.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {
std::string Slurp(const char* name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnterFuzzDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first byte says where the scores file ends and the names file begins.
    size_t split = size ? data[0] % (size) : 0;
    const uint8_t* rest = size ? data + 1 : data;
    size_t restSize = size ? size - 1 : 0;
    if (split > restSize) split = restSize;
    WriteBytes("scores.hst", rest, split);
    WriteBytes("names.hst", rest + split, restSize - split);
    {
        HighScoreTable table("names.hst", "scores.hst");
        if (table.count() < 0 || table.count() > HighScoreTable::kPlaces) abort();
        for (int i = 0; i + 1 < table.count(); ++i)
            (void)table.nameAt(i);
        table.insert(12345, "FUZZ");
    }
    std::string scores = Slurp("scores.hst");
    std::string names = Slurp("names.hst");
    if (scores.size() != 20) abort();
    int lines = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == '\n') {
            if (i == 0 || names[i - 1] != '\r') abort();
            ++lines;
        }
    }
    if (lines != 5 || names.empty() || names.back() != '\n') abort();
    return 0;
}
