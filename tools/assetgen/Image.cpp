#include "Image.h"

#include <png.h>

#include <fstream>

namespace assetgen {

void Image::Put(int x, int y, Rgb c, uint8_t alpha)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    uint8_t* p = At(x, y);
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
    p[3] = alpha;
}

void Image::Fill(Rgb c)
{
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            Put(x, y, c);
}

bool LoadGrid(const std::string& path, Image& out, std::string& error)
{
    std::ifstream in(path);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        rows.push_back(line);
    }
    while (!rows.empty() && rows.back().empty())
        rows.pop_back();
    if (rows.empty() || rows[0].empty()) {
        error = path + ": empty grid";
        return false;
    }
    out = Image(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (int y = 0; y < out.height; ++y) {
        if (static_cast<int>(rows[y].size()) != out.width) {
            error = path + ":" + std::to_string(y + 1) + ": row is " +
                    std::to_string(rows[y].size()) + " wide, the first row is " +
                    std::to_string(out.width);
            return false;
        }
        for (int x = 0; x < out.width; ++x) {
            char letter = rows[y][x];
            if (letter == kTransparentLetter)
                continue;
            int index = PaletteIndexOfLetter(letter);
            if (index < 0) {
                error = path + ":" + std::to_string(y + 1) + ":" + std::to_string(x + 1) + ": '" +
                        std::string(1, letter) + "' is not a palette letter";
                return false;
            }
            out.Put(x, y, kPalette[index]);
        }
    }
    return true;
}

bool WritePng(const std::string& path, const Image& image)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGBA;
    return png_image_write_to_file(&png, path.c_str(), 0, image.rgba.data(), 0, nullptr) != 0;
}

void Blit(Image& dst, const Image& src, int x, int y, int scale, const Rgb* tint)
{
    for (int sy = 0; sy < src.height; ++sy)
        for (int sx = 0; sx < src.width; ++sx) {
            const uint8_t* p = src.At(sx, sy);
            if (p[3] == 0)
                continue;
            Rgb c = tint ? *tint : Rgb{p[0], p[1], p[2]};
            for (int dy = 0; dy < scale; ++dy)
                for (int dx = 0; dx < scale; ++dx)
                    dst.Put(x + sx * scale + dx, y + sy * scale + dy, c);
        }
}

}  // namespace assetgen
