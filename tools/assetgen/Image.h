// An RGBA picture in memory, read from an art grid and written as PNG.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "Palette.h"

namespace assetgen {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;  // row by row, 4 bytes a pixel

    Image() = default;
    Image(int w, int h) : width(w), height(h), rgba(static_cast<size_t>(w) * h * 4, 0)
    {
    }

    uint8_t* At(int x, int y)
    {
        return &rgba[(static_cast<size_t>(y) * width + x) * 4];
    }
    const uint8_t* At(int x, int y) const
    {
        return &rgba[(static_cast<size_t>(y) * width + x) * 4];
    }
    void Put(int x, int y, Rgb c, uint8_t alpha = 255);
    void Fill(Rgb c);
};

// Reads a grid of palette letters, one line a row, one letter a pixel. Returns false and an
// explanation when a row has the wrong length or a letter is no colour.
bool LoadGrid(const std::string& path, Image& out, std::string& error);

bool WritePng(const std::string& path, const Image& image);

// Draws src over dst at (x, y), each pixel as a scale × scale block; transparent pixels leave
// dst untouched. A tint, when given, replaces the colour of every drawn pixel.
void Blit(Image& dst, const Image& src, int x, int y, int scale = 1, const Rgb* tint = nullptr);

}  // namespace assetgen
