#include "Palette.h"

namespace assetgen {

const Rgb kPalette[kPaletteSize] = {
    {0, 0, 0},        // k  black
    {255, 255, 255},  // w  white
    {154, 103, 89},   // r  rose: HUD labels, skin, lit alarm
    {104, 55, 43},    // d  dark red
    {111, 61, 134},   // p  purple
    {108, 94, 181},   // b  light blue
    {112, 164, 178},  // c  cyan
    {53, 40, 121},    // n  navy
    {111, 79, 37},    // o  wood brown
    {67, 57, 0},      // v  dark olive brown
    {154, 210, 132},  // l  light green: HUD numbers
    {88, 141, 67},    // g  green
    {149, 149, 149},  // s  silver
    {108, 108, 108},  // m  mid grey
    {149, 149, 149},  // t  silver again (the game keeps two entries of it)
    {184, 199, 111},  // y  yellow
};

const char kPaletteLetters[kPaletteSize + 1] = "kwrdpbcnovlgsmty";

int PaletteIndexOfLetter(char letter)
{
    for (int i = 0; i < kPaletteSize; ++i)
        if (kPaletteLetters[i] == letter)
            return i;
    return -1;
}

}  // namespace assetgen
