// assetgen: makes every picture, sound and high-score file of the game from the art grids and
// the synthesiser, the same bytes on every run.
//
//   assetgen <art-dir> <out-data-dir> [--contact-sheet file.png] [--scene-mock file.png]
//            [--title-mock file.png] [--icons icon-grid.txt out-dir]
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Effects.h"
#include "HighScores.h"
#include "Image.h"
#include "Music.h"
#include "Sheets.h"

namespace fs = std::filesystem;
using namespace assetgen;

namespace {

int Fail(const std::string& message)
{
    std::fprintf(stderr, "assetgen: %s\n", message.c_str());
    return 1;
}

// Every grid under art-dir becomes gfx/<same path>.png; sorted so the work is the same each run.
bool MakePictures(const fs::path& artDir, const fs::path& gfxDir, PictureSet& pictures,
                  std::string& error)
{
    std::vector<fs::path> grids;
    for (const auto& entry : fs::recursive_directory_iterator(artDir))
        if (entry.is_regular_file() && entry.path().extension() == ".txt")
            grids.push_back(entry.path());
    std::sort(grids.begin(), grids.end());
    if (grids.empty()) {
        error = "no art grids in " + artDir.string();
        return false;
    }
    for (const fs::path& grid : grids) {
        fs::path rel = fs::relative(grid, artDir).replace_extension();
        Image image;
        if (!LoadGrid(grid.string(), image, error))
            return false;
        fs::path out = gfxDir / rel;
        out += ".png";
        fs::create_directories(out.parent_path());
        if (!WritePng(out.string(), image)) {
            error = "cannot write " + out.string();
            return false;
        }
        pictures[rel.generic_string()] = std::move(image);
    }
    return true;
}

void PutLittleEndian(std::string& bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes += static_cast<char>(value >> (8 * i) & 0xFF);
}

// Windows' icon for the .exe and its window: the PNG files themselves, one
// image each, behind the icon file's directory of sizes.
bool WriteWindowsIcon(const std::vector<fs::path>& pngs, const std::vector<int>& sizes,
                      const fs::path& out)
{
    std::string directory;
    std::string images;
    PutLittleEndian(directory, 0, 2);  // reserved
    PutLittleEndian(directory, 1, 2);  // an icon, not a cursor
    PutLittleEndian(directory, static_cast<std::uint32_t>(pngs.size()), 2);
    const std::size_t firstImage = 6 + 16 * pngs.size();
    for (std::size_t i = 0; i < pngs.size(); ++i) {
        std::ifstream in(pngs[i], std::ios::binary);
        const std::string png((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
        PutLittleEndian(directory, static_cast<std::uint32_t>(sizes[i]), 1);  // width
        PutLittleEndian(directory, static_cast<std::uint32_t>(sizes[i]), 1);  // height
        PutLittleEndian(directory, 0, 2);   // no palette, reserved
        PutLittleEndian(directory, 1, 2);   // colour planes
        PutLittleEndian(directory, 32, 2);  // bits a pixel
        PutLittleEndian(directory, static_cast<std::uint32_t>(png.size()), 4);
        PutLittleEndian(directory, static_cast<std::uint32_t>(firstImage + images.size()), 4);
        images += png;
    }
    std::ofstream file(out, std::ios::binary);
    file << directory << images;
    return static_cast<bool>(file.flush());
}

// The desktop icon in the sizes desktops ask for, each a whole-pixel enlargement
// of one 16 x 16 grid so it stays crisp, and the same pictures as Windows' icon.
bool WriteIcons(const std::string& grid, const fs::path& outDir, std::string& error)
{
    Image icon;
    if (!LoadGrid(grid, icon, error))
        return false;
    fs::create_directories(outDir);
    const std::vector<int> sizes = {32, 48, 64, 128};
    std::vector<fs::path> pngs;
    for (int size : sizes) {
        Image big(size, size);
        Blit(big, icon, 0, 0, size / icon.width);
        pngs.push_back(outDir / ("quillemarch-" + std::to_string(size) + ".png"));
        if (!WritePng(pngs.back().string(), big)) {
            error = "cannot write " + pngs.back().string();
            return false;
        }
    }
    const fs::path ico = outDir / "quillemarch.ico";
    if (!WriteWindowsIcon(pngs, sizes, ico)) {
        error = "cannot write " + ico.string();
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return Fail("usage: assetgen <art-dir> <out-data-dir> [--contact-sheet file.png] "
                    "[--scene-mock file.png] [--title-mock file.png] [--icons grid.txt dir]");
    fs::path artDir = argv[1], dataDir = argv[2];
    std::string contactSheet, sceneMock, titleMock, iconGrid, iconDir;
    for (int i = 3; i + 1 < argc; i += 2) {
        std::string option = argv[i];
        if (option == "--icons" && i + 2 < argc) {
            iconGrid = argv[i + 1];
            iconDir = argv[i + 2];
            ++i;
        } else if (option == "--contact-sheet")
            contactSheet = argv[i + 1];
        else if (option == "--scene-mock")
            sceneMock = argv[i + 1];
        else if (option == "--title-mock")
            titleMock = argv[i + 1];
        else
            return Fail("unknown option " + option);
    }

    std::error_code ec;
    fs::create_directories(dataDir / "audio" / "sfx", ec);
    fs::create_directories(dataDir / "audio" / "mus", ec);
    PictureSet pictures;
    std::string error;
    if (!MakePictures(artDir, dataDir / "gfx", pictures, error))
        return Fail(error);
    if (!WriteEffects((dataDir / "audio" / "sfx").string()))
        return Fail("cannot write the sound effects");
    if (!WriteMusic((dataDir / "audio" / "mus").string()))
        return Fail("cannot write the title tune");
    if (!WriteHighScores(dataDir.string()))
        return Fail("cannot write the high-score files");
    if (!contactSheet.empty() && !WriteContactSheet(contactSheet, pictures))
        return Fail("cannot write " + contactSheet);
    if (!sceneMock.empty() && !WriteSceneMock(sceneMock, pictures))
        return Fail("cannot write " + sceneMock);
    if (!titleMock.empty() && !WriteTitleMock(titleMock, pictures))
        return Fail("cannot write " + titleMock);
    if (!iconGrid.empty() && !WriteIcons(iconGrid, iconDir, error))
        return Fail(error);
    return 0;
}
