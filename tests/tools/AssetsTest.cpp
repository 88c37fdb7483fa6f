// The shipped pictures and sounds: regenerated alike, with the sizes, colours and levels the
// game needs.
#include <gtest/gtest.h>
#include <png.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>

namespace fs = std::filesystem;

namespace {
const fs::path kData = fs::path(QM_ASSET_REPO_DIR) / "data";

// The samples, channels interleaved, of a 44.1 kHz sound; none when it does not decode or has
// another rate.
std::vector<float> ReadSound(const fs::path& path)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    std::vector<float> s(info.samplerate == 44100 ? size_t(info.frames) * info.channels : 0);
    sf_readf_float(file, s.data(), sf_count_t(s.size()) / std::max(info.channels, 1));
    sf_close(file);
    return s;
}

std::set<std::string> FilesUnder(const fs::path& root)
{
    std::set<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file()) files.insert(fs::relative(e.path(), root).generic_string());
    return files;
}

}  // namespace

// The committed data/ is what the generator makes now, and holds no picture or sound it does
// not make.
TEST(Assets, CommittedDataIsWhatTheGeneratorMakes)
{
    const fs::path made = fs::temp_directory_path() / ("assetgen-test-" + std::to_string(getpid()));
    const std::string art = "\"" QM_ASSET_REPO_DIR "/tools/art\" \"";
    ASSERT_EQ(std::system(("\"" ASSETGEN_EXE "\" " + art + made.string() + "\"").c_str()), 0);
    const std::set<std::string> files = FilesUnder(made);
    auto close = [](float a, float b) { return std::fabs(a - b) < 0.02f; };
    for (const std::string& f : files) {
        // Vorbis need not encode bit for bit alike everywhere: compare what it decodes to.
        const std::vector<float> a = ReadSound(made / f), b = ReadSound(kData / f);
        std::ifstream x(made / f), y(kData / f);
        using Bytes = std::istreambuf_iterator<char>;
        // A stale file: build the assets target.
        EXPECT_TRUE(fs::path(f).extension() == ".ogg"
                        ? std::equal(a.begin(), a.end(), b.begin(), b.end(), close)
                        : std::equal(Bytes(x), Bytes(), Bytes(y), Bytes())) << f << " is stale";
    }
    for (const std::string& f : FilesUnder(kData))
        EXPECT_TRUE(files.count(f) || (f.rfind("gfx/", 0) && f.rfind("audio/", 0))) << f;
    fs::remove_all(made);
}

// Each picture has the size the scene's geometry needs and only palette colours or full
// transparency; the glyph sheet has 47 cells of 6 x 7 with a 1-pixel gap, each inked but the
// space, in white for tinting.
TEST(Assets, PicturesHaveTheirSizesColoursAndFontCells)
{
    const std::set<uint32_t> palette = {0x000000, 0xFFFFFF, 0x9A6759, 0x68372B, 0x6F3D86, 0x6C5EB5,
        0x70A4B2, 0x352879, 0x6F4F25, 0x433900, 0x9AD284, 0x588D43, 0x959595, 0x6C6C6C, 0xB8C76F};
    // Sprites unless the folder is named.
    const struct { std::string file; unsigned width, height; } pictures[] = {
        {"crate", 20, 20}, {"player_move", 22, 21}, {"player_still_1", 22, 21},
        {"player_still_3", 22, 21}, {"player_move_push", 22, 21}, {"player_still_push", 22, 21},
        {"crane_move1", 24, 15}, {"crane_move2", 24, 15}, {"crane_drop", 24, 15},
        {"explosion1", 24, 20}, {"explosion2", 24, 20}, {"alarm_green", 12, 9},
        {"alarm_red_1", 12, 9}, {"alarm_red_2", 12, 9}, {"head", 10, 12}, {"marker", 12, 13},
        {"backgrounds/bg_ingame", 320, 200}, {"backgrounds/menu_scroll", 320, 19},
        {"backgrounds/score_table", 164, 76}, {"fonts/font", 329, 7},
        {"fonts/quillemarch", 320, 44}};
    std::vector<int> inked(47);  // pixels in each cell of the glyph sheet
    for (const auto& [file, width, height] : pictures) {
        SCOPED_TRACE(file);
        png_image png{};
        png.version = PNG_IMAGE_VERSION;
        const std::string folder = file.find('/') == std::string::npos ? "sprites/" : "";
        const fs::path path = kData / "gfx" / (folder + file + ".png");
        ASSERT_TRUE(png_image_begin_read_from_file(&png, path.c_str()));
        png.format = PNG_FORMAT_RGBA;
        std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(png));
        ASSERT_TRUE(png_image_finish_read(&png, nullptr, rgba.data(), 0, nullptr) &&
                    png.width == width && png.height == height) << png.width << "x" << png.height;
        for (size_t i = 0; i < rgba.size(); i += 4) {
            const uint8_t* c = &rgba[i];
            ASSERT_TRUE(!c[3] || (c[3] == 255 && palette.count(c[0] << 16 | c[1] << 8 | c[2])))
                << "pixel " << i / 4;
            if (file != "fonts/font" || !c[3]) continue;
            // Glyph pixels are white and never in a cell's gap column.
            EXPECT_TRUE(c[0] + c[1] + c[2] == 3 * 255 && i / 4 % 329 % 7 != 6) << "pixel " << i / 4;
            ++inked[i / 4 % 329 / 7];
        }
        for (int cell = 0; file == "fonts/font" && cell < 47; ++cell)
            EXPECT_EQ(inked[cell] > 0, cell != 46) << "cell " << cell;
    }
}

// Six short effects, numbered as the game names them, and a 30 to 60 s title tune; lengths in
// samples at 44.1 kHz.
TEST(Assets, SoundsHaveTheirNumberAndLength)
{
    const std::set<std::string> sounds = {"mus/0_title.ogg", "sfx/0_land.wav", "sfx/1_hop.wav",
        "sfx/2_die.wav", "sfx/3_chord.wav", "sfx/4_explode.wav", "sfx/5_tick.wav"};
    ASSERT_EQ(FilesUnder(kData / "audio"), sounds);
    const struct { float shortest, longest; } kinds[] = {{0.02f, 1.5f}, {30, 60}};
    for (const std::string& f : sounds) {
        SCOPED_TRACE(f);
        const auto& kind = kinds[f.rfind("mus/", 0) == 0];
        const std::vector<float> s = ReadSound(kData / "audio" / f);
        ASSERT_TRUE(s.size() >= kind.shortest * 44100 && s.size() <= kind.longest * 44100);
    }
}
