// Whatever the two high-score files hold, the table loads without hanging,
// holds at most five places, and a save leaves two well-formed five-entry files.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "frontend/HighScoreTable.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first byte says where the scores file ends and the names file begins.
    const std::string rest = size ? std::string(data + 1, data + size) : "";
    const size_t split = size ? data[0] % size : 0;
    WriteBytes("scores.hst", rest.substr(0, split));
    WriteBytes("names.hst", rest.substr(split));
    {
        HighScoreTable table("names.hst", "scores.hst");
        if (table.count() < 0 || table.count() > HighScoreTable::kPlaces) abort();
        for (int i = 0; i + 1 < table.count(); ++i)
            (void)table.nameAt(i);
        table.insert(12345, "FUZZ");
    }
    if (ReadBytes("scores.hst").size() != 20) abort();
    // Five names, each line ended by CR LF.
    const std::string names = ReadBytes("names.hst");
    int lines = 0;
    for (size_t i = names.find('\n'); i != std::string::npos; i = names.find('\n', i + 1), ++lines)
        if (i == 0 || names[i - 1] != '\r') abort();
    if (lines != 5 || names.back() != '\n') abort();
    return 0;
}
