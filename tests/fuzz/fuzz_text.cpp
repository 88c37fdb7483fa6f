// Every byte of a text maps to one of the glyph sheet's 47 cells.
#include <cstdint>
#include <cstdlib>

#include "game/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        int cell = CharacterCell(static_cast<char>(data[i]));
        if (cell < 0 || cell > 46) abort();
        // Letters of either case share their capital's glyph only for capitals;
        // digits are cells 0-9 in order.
        if (data[i] >= '0' && data[i] <= '9' && cell != data[i] - '0') abort();
        if (data[i] >= 'A' && data[i] <= 'Z' && cell != 10 + data[i] - 'A') abort();
        if (data[i] == ' ' && cell != 46) abort();
    }
    return 0;
}
