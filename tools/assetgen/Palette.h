// The game's sixteen colours and the letters the art grids use for them.
#pragma once
#include <cstdint>

namespace assetgen {

struct Rgb {
    uint8_t r, g, b;
};

constexpr int kPaletteSize = 16;

// palette[n] of the game, in the game's own order.
extern const Rgb kPalette[kPaletteSize];

// kPaletteLetters[n] is the grid letter for palette[n]; '.' marks a transparent pixel.
extern const char kPaletteLetters[kPaletteSize + 1];
constexpr char kTransparentLetter = '.';

// Palette index of a grid letter, or -1 when the letter is not a colour.
int PaletteIndexOfLetter(char letter);

}  // namespace assetgen
