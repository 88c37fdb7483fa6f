// Every byte of a text maps to one of the glyph sheet's 47 cells: digits are cells 0-9 in
// order, capitals 10-35, the space 46.
#include <cstdint>
#include <cstdlib>

#include "game/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        const int c = data[i], cell = CharacterCell(static_cast<char>(c));
        const bool digit = c >= '0' && c <= '9', capital = c >= 'A' && c <= 'Z';
        const int want = digit ? c - '0' : capital ? 10 + c - 'A' : c == ' ' ? 46 : cell;
        if (cell < 0 || cell > 46 || cell != want) abort();
    }
    return 0;
}
