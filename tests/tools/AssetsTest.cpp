// The shipped pictures and sounds: regenerated alike, with the sizes, colours and levels the game needs.
#include <gtest/gtest.h>
#include <png.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <sstream>
#include <set>

namespace fs = std::filesystem;

namespace {
const fs::path kData = fs::path(QM_ASSET_REPO_DIR) / "data";

// RGBA pixels, rows top-down, and the size; nothing when the file does not read.
std::vector<uint8_t> ReadPng(const fs::path& path, png_image& png)
{
    png = {};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return {};
    png.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(png));
    return png_image_finish_read(&png, nullptr, rgba.data(), 0, nullptr) ? rgba : std::vector<uint8_t>();
}

// The samples, channels interleaved, of a 44.1 kHz sound; none when it does not decode or has another rate.
std::vector<float> ReadSound(const fs::path& path)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    std::vector<float> samples(info.samplerate == 44100 ? static_cast<size_t>(info.frames) * info.channels : 0);
    sf_readf_float(file, samples.data(), static_cast<sf_count_t>(samples.size()) / std::max(info.channels, 1));
    sf_close(file);
    return samples;
}

std::set<std::string> FilesUnder(const fs::path& root)
{
    std::set<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file()) files.insert(fs::relative(e.path(), root).generic_string());
    return files;
}
}  // namespace

// The committed data/ is what the generator makes now, and holds no picture or sound it does not make.
TEST(Assets, CommittedDataIsWhatTheGeneratorMakes)
{
    const fs::path made = fs::temp_directory_path() / ("assetgen-test-" + std::to_string(getpid()));
    const std::string cmd = "\"" ASSETGEN_EXE "\" \"" QM_ASSET_REPO_DIR "/tools/art\" \"" + made.string() + "\"";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    auto bytes = [](const fs::path& p) { std::ostringstream o; o << std::ifstream(p).rdbuf(); return o.str(); };
    const std::set<std::string> files = FilesUnder(made);
    for (const std::string& f : files) {
        SCOPED_TRACE(f);
        if (fs::path(f).extension() != ".ogg") {
            EXPECT_TRUE(bytes(made / f) == bytes(kData / f)) << "stale or missing: run the assets target";
            continue;
        }
        // Vorbis need not encode bit for bit alike everywhere: compare what it decodes to.
        const std::vector<float> a = ReadSound(made / f), b = ReadSound(kData / f);
        ASSERT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size(); ++i) ASSERT_LT(std::fabs(a[i] - b[i]), 0.02f) << "sample " << i;
    }
    for (const std::string& f : FilesUnder(kData))
        EXPECT_TRUE(files.count(f) || (f.rfind("gfx/", 0) && f.rfind("audio/", 0))) << f << " is not made";
    fs::remove_all(made);
}

// Each picture has the size the scene's geometry needs and only palette colours or full transparency;
// the glyph sheet has 47 cells of 6 x 7 with a 1-pixel gap, each inked but the space, in white for tinting.
TEST(Assets, PicturesHaveTheirSizesColoursAndFontCells)
{
    const std::set<uint32_t> palette = {0x000000, 0xFFFFFF, 0x9A6759, 0x68372B, 0x6F3D86, 0x6C5EB5, 0x70A4B2, 0x352879,
                                        0x6F4F25, 0x433900, 0x9AD284, 0x588D43, 0x959595, 0x6C6C6C, 0xB8C76F};
    const struct {
        const char* file;
        unsigned width, height;
    } sizes[] = {
        {"sprites/crate", 20, 20}, {"sprites/player_move", 22, 21}, {"sprites/player_still_1", 22, 21},
        {"sprites/player_still_3", 22, 21}, {"sprites/player_move_push", 22, 21},
        {"sprites/player_still_push", 22, 21}, {"sprites/crane_move1", 24, 15}, {"sprites/crane_move2", 24, 15},
        {"sprites/crane_drop", 24, 15}, {"sprites/explosion1", 24, 20}, {"sprites/explosion2", 24, 20},
        {"sprites/alarm_green", 12, 9}, {"sprites/alarm_red_1", 12, 9}, {"sprites/alarm_red_2", 12, 9},
        {"sprites/head", 10, 12}, {"sprites/marker", 12, 13}, {"backgrounds/bg_ingame", 320, 200},
        {"backgrounds/menu_scroll", 320, 19}, {"backgrounds/score_table", 164, 76}, {"fonts/font", 329, 7},
        {"fonts/quillemarch", 320, 44},
    };
    for (const auto& s : sizes) {
        SCOPED_TRACE(s.file);
        png_image png;
        const std::vector<uint8_t> rgba = ReadPng(kData / "gfx" / (s.file + std::string(".png")), png);
        ASSERT_TRUE(png.width == s.width && rgba.size() == s.width * s.height * 4) << png.width << "x" << png.height;
        const bool font = s.file == std::string("fonts/font");
        std::vector<int> inked(47);
        for (size_t i = 0; i < rgba.size(); i += 4) {
            const uint8_t* c = &rgba[i];
            ASSERT_TRUE(!c[3] || (c[3] == 255 && palette.count(c[0] << 16 | c[1] << 8 | c[2]))) << "pixel " << i / 4;
            if (!font || !c[3]) continue;
            EXPECT_EQ(c[0] + c[1] + c[2], 3 * 255) << "a glyph pixel not white";
            EXPECT_NE(i / 4 % 329 % 7, 6u) << "ink in the gap at column " << i / 4 % 329;
            ++inked[i / 4 % 329 / 7];
        }
        for (int cell = 0; font && cell < 47; ++cell) EXPECT_EQ(inked[cell] > 0, cell != 46) << "cell " << cell;
    }
}

// Six short effects numbered by name, clean at both ends; a 30 to 60 s title tune that loops smoothly.
TEST(Assets, SoundsHaveTheirLengthPeakAndLoopPoint)
{
    auto peak = [](const std::vector<float>& s) {
        return std::accumulate(s.begin(), s.end(), 0.0f, [](float p, float v) { return std::max(p, std::fabs(v)); });
    };
    std::vector<fs::path> effects(fs::directory_iterator(kData / "audio/sfx"), fs::directory_iterator());
    std::sort(effects.begin(), effects.end());
    ASSERT_EQ(effects.size(), 6u);
    for (size_t n = 0; n < effects.size(); ++n) {
        SCOPED_TRACE(effects[n]);
        EXPECT_EQ(effects[n].filename().string()[0], static_cast<char>('0' + n));
        const std::vector<float> s = ReadSound(effects[n]);
        ASSERT_TRUE(s.size() > 44100u / 50 && s.size() < 44100u * 3 / 2) << s.size();
        EXPECT_TRUE(peak(s) > 0.3f && peak(s) < 0.95f) << peak(s);
        EXPECT_LT(std::max(std::fabs(s.front()), std::fabs(s.back())), 0.01f) << "a click at an end";
    }
    std::vector<fs::path> music(fs::directory_iterator(kData / "audio/mus"), fs::directory_iterator());
    ASSERT_EQ(music.size(), 1u);
    const std::vector<float> s = ReadSound(music[0]);
    ASSERT_TRUE(s.size() >= 30u * 44100 && s.size() <= 60u * 44100) << s.size();
    EXPECT_TRUE(peak(s) > 0.4f && peak(s) < 0.98f) << peak(s);
    // Round and round, the step from the last sample to the first is no bigger than the waveform's own.
    float step = 0.0f;
    for (size_t i = 1, n = s.size(); i < 400; ++i)
        step = std::max({step, std::fabs(s[i] - s[i - 1]), std::fabs(s[n - i] - s[n - i - 1])});
    EXPECT_LE(std::fabs(s.front() - s.back()), std::min(step + 0.005f, 0.05f));
}

// Relative luminance of an sRGB colour, 0 for black to 1 for white.
static double Luminance(const uint8_t* c)
{
    const double weight[3] = {0.2126, 0.7152, 0.0722};
    double l = 0.0;
    for (int i = 0; i < 3; ++i) {
        const double v = c[i] / 255.0;
        l += weight[i] * (v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
    }
    return l;
}

// The credits, navy letters 7 rows high from the scroll bar's top row, stand on a plain strip at 4.5:1 or
// better with the bar's decoration beneath it; the red lamp's lit and dark frames are a third of the whole
// luminance scale apart, so the blink reads against the wall.
TEST(Assets, CreditsStandOutAndTheRedLampBlinks)
{
    png_image png;
    const std::vector<uint8_t> bar = ReadPng(kData / "gfx/backgrounds/menu_scroll.png", png);
    const uint8_t navy[3] = {53, 40, 121};
    const double contrast = (Luminance(&bar[0]) + 0.05) / (Luminance(navy) + 0.05);
    EXPECT_GE(contrast, 4.5);
    const size_t stripBytes = 7 * png.width * 4;
    for (size_t i = 0; i < stripBytes; ++i) ASSERT_EQ(bar[i], bar[i % 4]) << "the strip is not plain at pixel " << i / 4;
    bool decorated = false;
    for (size_t i = stripBytes; i < bar.size(); ++i) decorated |= bar[i] != bar[i % 4];
    EXPECT_TRUE(decorated) << "nothing but the strip on the bar";
    double mean[2] = {};
    for (int frame = 0; frame < 2; ++frame) {
        const std::vector<uint8_t> lamp = ReadPng(kData / ("gfx/sprites/alarm_red_" + std::to_string(frame + 1) + ".png"), png);
        int opaque = 0;
        for (size_t i = 0; i < lamp.size(); i += 4)
            if (lamp[i + 3]) mean[frame] += Luminance(&lamp[i]), ++opaque;
        mean[frame] /= std::max(opaque, 1);
    }
    EXPECT_GE(std::fabs(mean[0] - mean[1]), 1.0 / 3) << "lamp frames " << mean[0] << " and " << mean[1];
    std::printf("credits contrast %.2f:1, red lamp frames %.3f and %.3f\n", contrast, mean[0], mean[1]);
}
