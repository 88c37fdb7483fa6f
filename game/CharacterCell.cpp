// Which cell of the glyph sheet draws a character. The sheet holds digits,
// capitals and a little punctuation; everything else shows cell 37.
#include "game/Text.h"

int CharacterCell(char c)
{
    const signed char value = static_cast<signed char>(c);
    if (value >= '0' && value <= '9')
        return value - 48;
    if (value >= 'A' && value <= 'Z')
        return value - 55;
    switch (value) {
    case '!':
        return 36;
    case '(':
        return 38;
    case ')':
        return 39;
    case ':':
        return 40;
    case '-':
        return 41;
    case '"':
        return 42;
    case '.':
        return 43;
    case '<':
        return 44;
    case '>':
        return 45;
    case ' ':
        return 46;
    default:
        return 37;  // lower case and every other byte
    }
}
