#include "Sheets.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

#include "game/Text.h"  // the game's own choice of glyph per character

namespace assetgen {

namespace {

constexpr int kGlyphWidth = 6, kGlyphHeight = 7, kGlyphStride = 7;

const Image& Picture(const PictureSet& pictures, const std::string& name)
{
    static const Image kNone;
    auto it = pictures.find(name);
    return it == pictures.end() ? kNone : it->second;
}

// Text the way the game draws it: glyph i at x + 7i, every glyph pixel in the one colour.
void DrawText(Image& dst, const PictureSet& pictures, int x, int y, const std::string& text,
              Rgb colour, int scale = 1)
{
    const Image& font = Picture(pictures, "fonts/font");
    for (size_t i = 0; i < text.size(); ++i) {
        int cell = CharacterCell(text[i]);
        for (int gy = 0; gy < kGlyphHeight && gy < font.height; ++gy)
            for (int gx = 0; gx < kGlyphWidth; ++gx) {
                int sx = cell * kGlyphStride + gx;
                if (sx >= font.width || font.At(sx, gy)[3] == 0)
                    continue;
                for (int d = 0; d < scale * scale; ++d)
                    dst.Put(x + (static_cast<int>(i) * kGlyphStride + gx) * scale + d % scale,
                            y + gy * scale + d / scale, colour);
            }
    }
}

void Draw(Image& dst, const PictureSet& pictures, const std::string& name, int x, int y,
          bool mirrored = false)
{
    const Image& src = Picture(pictures, name);
    if (!mirrored) {
        Blit(dst, src, x, y);
        return;
    }
    Image flipped(src.width, src.height);
    for (int sy = 0; sy < src.height; ++sy)
        for (int sx = 0; sx < src.width; ++sx)
            std::copy_n(src.At(sx, sy), 4, flipped.At(src.width - 1 - sx, sy));
    Blit(dst, flipped, x, y);
}

std::string Label(const std::string& name)
{
    std::string label;
    for (char c : name)
        label += c == '_'   ? '-'
                 : c == '/' ? ' '
                            : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return label;
}

// The title's attract phase as the game shows it, credits on the scroll bar included.
Image AttractScreen(const PictureSet& pictures)
{
    Image screen(320, 200);
    screen.Fill(kPalette[0]);
    Draw(screen, pictures, "fonts/quillemarch", 0, 35 + static_cast<int>(20 * std::sin(0.6)));
    Draw(screen, pictures, "sprites/head", 320 - 200 - 10, 186, true);
    Draw(screen, pictures, "backgrounds/menu_scroll", 0, 181);  // drawn 320 wide, its own width
    DrawText(screen, pictures, 8, 181,
             "QUILLEMARCH  -  CODE GRAPHICS AND SOUND BY THE QUILLEMARCH TEAM", kPalette[7]);
    DrawText(screen, pictures, 90, 120, "PRESS ENTER TO START", kPalette[10]);
    Draw(screen, pictures, "sprites/head", 60, 172);
    return screen;
}

}  // namespace

bool WriteContactSheet(const std::string& path, const PictureSet& gamePictures)
{
    // Every picture, and last the title they make, where the credits must read.
    PictureSet pictures = gamePictures;
    pictures["title screen"] = AttractScreen(gamePictures);
    constexpr int kScale = 4, kPad = 16, kSheetWidth = 1312, kLabelHeight = 2 * kGlyphHeight + 6;
    const Rgb kBackdrop{58, 60, 66}, kCheckA{92, 94, 100}, kCheckB{104, 106, 112},
        kInk{230, 230, 230};

    struct Placed {
        const std::string* name;
        int x, y;
    };
    std::vector<Placed> placed;
    int x = kPad, y = kPad, rowHeight = 0;
    for (const auto& [name, image] : pictures) {
        int w =
            std::max(image.width * kScale, static_cast<int>(Label(name).size()) * kGlyphStride * 2);
        int h = kLabelHeight + image.height * kScale;
        if (x + w + kPad > kSheetWidth && x > kPad) {
            x = kPad;
            y += rowHeight + kPad;
            rowHeight = 0;
        }
        placed.push_back({&name, x, y});
        x += w + kPad;
        rowHeight = std::max(rowHeight, h);
    }
    Image sheet(kSheetWidth, y + rowHeight + kPad);
    sheet.Fill(kBackdrop);
    for (const Placed& p : placed) {
        const Image& image = pictures.at(*p.name);
        DrawText(sheet, gamePictures, p.x, p.y, Label(*p.name), kInk, 2);
        int top = p.y + kLabelHeight;
        for (int py = 0; py < image.height * kScale; ++py)
            for (int px = 0; px < image.width * kScale; ++px)
                sheet.Put(p.x + px, top + py, ((px / 8 + py / 8) % 2) ? kCheckA : kCheckB);
        Blit(sheet, image, p.x, top, kScale);
    }
    return WritePng(path, sheet);
}

bool WriteSceneMock(const std::string& path, const PictureSet& pictures)
{
    Image scene(320, 200);
    Draw(scene, pictures, "backgrounds/bg_ingame", 0, 0);
    const int heights[13] = {1, 2, 0, 1, 3, 0, 0, 1, 2, 0, 4, 1, 0};
    for (int c = 0; c < 13; ++c)
        for (int k = 0; k < heights[c]; ++k)
            Draw(scene, pictures, "sprites/crate", 20 * c + 28, 152 - 20 * k);
    Draw(scene, pictures, "sprites/crate", 20 * 5 + 28, 96);  // one on its way down
    Draw(scene, pictures, "sprites/player_move", 150, 151);
    // Crane over column 9 about to drop, one leaving empty, one entering from the left.
    Draw(scene, pictures, "sprites/crate", 206 + 2, 37 + 5);
    Draw(scene, pictures, "sprites/crane_move1", 206, 37);
    Draw(scene, pictures, "sprites/crane_drop", 96, 37);
    Draw(scene, pictures, "sprites/crate", 4 + 2, 37 + 5);
    Draw(scene, pictures, "sprites/crane_move2", 4, 37);
    Draw(scene, pictures, "sprites/alarm_red_1", 48, 37);
    Draw(scene, pictures, "sprites/alarm_green", 260, 37);
    Draw(scene, pictures, "sprites/explosion2", 20 * 12 + 28, 110);
    DrawText(scene, pictures, 12, 5, "SCORE:           HI-SCORE:           TIME:", kPalette[2]);
    DrawText(scene, pictures, 19, 15, "1500", kPalette[10]);
    DrawText(scene, pictures, 152, 15, "25000", kPalette[10]);
    DrawText(scene, pictures, 285, 15, "42", kPalette[10]);
    return WritePng(path, scene);
}

// Three title and name-entry screens side by side: attract phase, table phase, name entry.
bool WriteTitleMock(const std::string& path, const PictureSet& pictures)
{
    Image mock(960, 200);
    mock.Fill(kPalette[0]);
    Blit(mock, AttractScreen(pictures), 0, 0);

    Draw(mock, pictures, "backgrounds/score_table", 320 + 78, 65);
    DrawText(mock, pictures, 320 + 120, 40, "HIGH SCORES", kPalette[15]);
    const char* rows[5] = {"MARCH........25000", "QUILLE.......20000", "CRANE........15000",
                           "HOOK.........10000", "RIVET.........5000"};
    for (int i = 0; i < 5; ++i)
        DrawText(mock, pictures, 320 + 95, 80 + 10 * i, rows[i], kPalette[11]);

    DrawText(mock, pictures, 640 + 68, 20, "YOU ENTERED THE 2ND PLACE!", kPalette[10]);
    DrawText(mock, pictures, 640 + 105, 40, "INPUT YOUR NAME:", kPalette[6]);
    DrawText(mock, pictures, 640 + 130, 54, "ABC", kPalette[15]);
    for (int c = 0; c < 26; ++c) {
        int x = c < 10 ? 100 + 12 * c : c < 20 ? 12 * c - 20 : 12 * c - 140;
        int y = c < 10 ? 85 : c < 20 ? 100 : 115;
        DrawText(mock, pictures, 640 + x, y, std::string(1, static_cast<char>('A' + c)),
                 kPalette[11]);
    }
    DrawText(mock, pictures, 640 + 195, 115, "END", kPalette[11]);
    DrawText(mock, pictures, 640 + 184, 115, "<", kPalette[11]);
    Draw(mock, pictures, "backgrounds/score_table", 640 + 78, 65);
    Draw(mock, pictures, "sprites/marker", 640 + 97 + 12 * 2, 82 + 15);
    return WritePng(path, mock);
}

}  // namespace assetgen
