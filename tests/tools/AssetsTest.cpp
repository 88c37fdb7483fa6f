// The shipped pictures, sounds and high scores: regenerated they come out the same, and each
// one has the size, colours and cleanliness the game relies on.
#include <gtest/gtest.h>
#include <png.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const fs::path kRepo = QM_ASSET_REPO_DIR;
const fs::path kData = kRepo / "data";

struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    const uint8_t* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

Picture ReadPng(const fs::path& path)
{
    Picture p;
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str()))
        return p;
    png.format = PNG_FORMAT_RGBA;
    p.rgba.resize(PNG_IMAGE_SIZE(png));
    if (png_image_finish_read(&png, nullptr, p.rgba.data(), 0, nullptr)) {
        p.width = static_cast<int>(png.width);
        p.height = static_cast<int>(png.height);
    }
    return p;
}

std::vector<float> ReadSound(const fs::path& path, int* rate = nullptr)
{
    SF_INFO info{};
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
    if (!f)
        return {};
    std::vector<float> s(static_cast<size_t>(info.frames) * info.channels);
    sf_readf_float(f, s.data(), info.frames);
    sf_close(f);
    if (rate)
        *rate = info.samplerate;
    return s;
}

std::string Bytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The generator's output, made once per test program into a scratch directory that goes away
// with the program.
struct ScratchOutput {
    fs::path dir = fs::temp_directory_path() / ("assetgen-test-" + std::to_string(::getpid()));
    ScratchOutput()
    {
        fs::remove_all(dir);
        fs::create_directories(dir);
        std::string cmd = std::string("\"") + ASSETGEN_EXE + "\" \"" + (kRepo / "tools" / "art").string() +
                          "\" \"" + dir.string() + "\"";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
    ~ScratchOutput() { fs::remove_all(dir); }
};

const fs::path& Regenerated()
{
    static const ScratchOutput output;
    return output.dir;
}

std::set<std::string> FilesUnder(const fs::path& root)
{
    std::set<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file())
            files.insert(fs::relative(e.path(), root).generic_string());
    return files;
}

const uint8_t kPalette[16][3] = {{0, 0, 0},     {255, 255, 255}, {154, 103, 89},  {104, 55, 43},
                                 {111, 61, 134}, {108, 94, 181},  {112, 164, 178}, {53, 40, 121},
                                 {111, 79, 37},  {67, 57, 0},     {154, 210, 132}, {88, 141, 67},
                                 {149, 149, 149}, {108, 108, 108}, {149, 149, 149}, {184, 199, 111}};

bool IsPaletteColourOrClear(const uint8_t* p)
{
    if (p[3] == 0)
        return true;
    if (p[3] != 255)
        return false;
    return std::any_of(std::begin(kPalette), std::end(kPalette),
                       [&](const uint8_t* c) { return c[0] == p[0] && c[1] == p[1] && c[2] == p[2]; });
}

}  // namespace

TEST(Assets, CommittedDataIsWhatTheGeneratorMakes)
{
    std::set<std::string> made = FilesUnder(Regenerated());
    ASSERT_FALSE(made.empty());
    for (const std::string& f : made) {
        SCOPED_TRACE(f);
        ASSERT_TRUE(fs::exists(kData / f)) << "not committed";
        if (fs::path(f).extension() == ".ogg") {
            // Vorbis need not encode bit for bit alike everywhere: compare what it decodes to.
            std::vector<float> a = ReadSound(Regenerated() / f), b = ReadSound(kData / f);
            ASSERT_EQ(a.size(), b.size());
            double worst = 0.0;
            for (size_t i = 0; i < a.size(); ++i)
                worst = std::max(worst, static_cast<double>(std::fabs(a[i] - b[i])));
            EXPECT_LT(worst, 0.02);
        } else {
            EXPECT_TRUE(Bytes(Regenerated() / f) == Bytes(kData / f)) << "stale: run the assets target";
        }
    }
    // Nothing stale lingers among the pictures and sounds, where every file is numbered or loaded.
    for (const std::string& f : FilesUnder(kData))
        if (f.rfind("gfx/", 0) == 0 || f.rfind("audio/", 0) == 0) {
            EXPECT_TRUE(made.count(f)) << f << " is not made by the generator";
        }
}

TEST(Assets, PicturesHaveTheirSizesAndOnlyPaletteColours)
{
    struct Size {
        const char* file;
        int width, height;
    } sizes[] = {
        {"sprites/crate.png", 20, 20},          {"sprites/player_move.png", 22, 21},
        {"sprites/player_still_1.png", 22, 21}, {"sprites/player_still_3.png", 22, 21},
        {"sprites/player_move_push.png", 22, 21}, {"sprites/player_still_push.png", 22, 21},
        {"sprites/crane_move1.png", 24, 15},    {"sprites/crane_move2.png", 24, 15},
        {"sprites/crane_drop.png", 24, 15},     {"sprites/explosion1.png", 24, 20},
        {"sprites/explosion2.png", 24, 20},     {"sprites/alarm_green.png", 12, 9},
        {"sprites/alarm_red_1.png", 12, 9},     {"sprites/alarm_red_2.png", 12, 9},
        {"sprites/head.png", 10, 12},           {"sprites/marker.png", 12, 13},
        {"backgrounds/bg_ingame.png", 320, 200}, {"backgrounds/menu_scroll.png", 320, 19},
        {"backgrounds/score_table.png", 164, 76}, {"fonts/font.png", 329, 7},
        {"fonts/quillemarch.png", 320, 44},
    };
    for (const Size& s : sizes) {
        SCOPED_TRACE(s.file);
        Picture p = ReadPng(kData / "gfx" / s.file);
        EXPECT_EQ(p.width, s.width);
        EXPECT_EQ(p.height, s.height);
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                ASSERT_TRUE(IsPaletteColourOrClear(p.At(x, y))) << "pixel " << x << "," << y;
    }
}

TEST(Assets, SceneGeometryFits)
{
    // The worker stands at y 151 on the floor, whose top row is y 172; the wall above it is dark.
    Picture bg = ReadPng(kData / "gfx/backgrounds/bg_ingame.png");
    ASSERT_EQ(bg.height, 200);
    const uint8_t* floorTop = bg.At(160, 172);
    EXPECT_EQ(floorTop[0] + floorTop[1] + floorTop[2], 3 * 255) << "lit floor edge";
    for (int x = 26; x < 290; ++x)
        EXPECT_EQ(bg.At(x, 171)[0], 0) << "shadow under the crates at x " << x;
    // The table frame and the marker must leave the text they surround visible.
    Picture frame = ReadPng(kData / "gfx/backgrounds/score_table.png");
    Picture marker = ReadPng(kData / "gfx/sprites/marker.png");
    for (int y = 80 - 65; y < 127 - 65; ++y)
        for (int x = 95 - 78; x < 221 - 78; ++x)
            ASSERT_EQ(frame.At(x, y)[3], 0) << "frame covers the table text at " << x << "," << y;
    for (int y = 3; y < 10; ++y)
        for (int x = 3; x < 9; ++x)
            ASSERT_EQ(marker.At(x, y)[3], 0) << "marker covers its letter";
}

TEST(Assets, FontSheetCellLayout)
{
    Picture font = ReadPng(kData / "gfx/fonts/font.png");
    ASSERT_EQ(font.width, 329);
    ASSERT_EQ(font.height, 7);
    auto inked = [&](int cell) {
        int n = 0;
        for (int y = 0; y < 7; ++y)
            for (int x = 7 * cell; x < 7 * cell + 6; ++x)
                n += font.At(x, y)[3] != 0;
        return n;
    };
    EXPECT_EQ(inked(46), 0) << "space";
    for (int cell = 0; cell < 46; ++cell)
        EXPECT_GT(inked(cell), 0) << "cell " << cell;
    EXPECT_GT(inked(0), inked(46) + 12) << "the digit 0";
    for (int cell = 0; cell < 47; ++cell)
        for (int y = 0; y < 7; ++y)
            EXPECT_EQ(font.At(7 * cell + 6, y)[3], 0) << "gap after cell " << cell;
    for (int i = 0; i < font.width * font.height; ++i) {
        const uint8_t* p = &font.rgba[static_cast<size_t>(i) * 4];
        if (p[3]) {
            ASSERT_TRUE(p[0] == 255 && p[1] == 255 && p[2] == 255) << "glyphs are white so a tint colours them";
        }
    }
}

TEST(Assets, SoundsAreShortCleanAndNumberedByName)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(kData / "audio/sfx"))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names.size(), 6u);
    for (size_t n = 0; n < names.size(); ++n) {
        SCOPED_TRACE(names[n]);
        EXPECT_EQ(names[n][0], static_cast<char>('0' + n));
        int rate = 0;
        std::vector<float> s = ReadSound(kData / "audio/sfx" / names[n], &rate);
        EXPECT_EQ(rate, 44100);
        EXPECT_GT(s.size(), 44100u / 50);
        EXPECT_LT(s.size(), 44100u * 3 / 2);
        float peak = 0.0f;
        for (float v : s)
            peak = std::max(peak, std::fabs(v));
        EXPECT_GT(peak, 0.3f);
        EXPECT_LT(peak, 0.95f);
        ASSERT_FALSE(s.empty());
        EXPECT_LT(std::fabs(s.front()), 0.01f) << "click at the start";
        EXPECT_LT(std::fabs(s.back()), 0.01f) << "click at the end";
    }
}

TEST(Assets, TitleTuneLoopsWithoutAJump)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(kData / "audio/mus"))
        names.push_back(e.path().filename().string());
    ASSERT_EQ(names.size(), 1u);
    int rate = 0;
    std::vector<float> s = ReadSound(kData / "audio/mus" / names[0], &rate);
    ASSERT_EQ(rate, 44100);
    double seconds = static_cast<double>(s.size()) / rate;
    EXPECT_GE(seconds, 30.0);
    EXPECT_LE(seconds, 60.0);
    float peak = 0.0f;
    for (float v : s)
        peak = std::max(peak, std::fabs(v));
    EXPECT_LT(peak, 0.98f);
    EXPECT_GT(peak, 0.4f);
    // Played round and round, the step from the last sample to the first must be no bigger than
    // the steps the waveform takes anyway around the loop point.
    float step = 0.0f;
    for (size_t i = 1; i < 400; ++i)
        step = std::max({step, std::fabs(s[i] - s[i - 1]), std::fabs(s[s.size() - i] - s[s.size() - i - 1])});
    EXPECT_LE(std::fabs(s.front() - s.back()), step + 0.005f);
    EXPECT_LT(std::fabs(s.front() - s.back()), 0.05f);
}

TEST(Assets, HighScoreFilesHoldFiveSortedEntries)
{
    std::string scores = Bytes(kData / "scores.hst"), names = Bytes(kData / "names.hst");
    ASSERT_EQ(scores.size(), 20u);
    int32_t last = INT32_MAX;
    for (int i = 0; i < 5; ++i) {
        uint32_t v = 0;
        for (int b = 3; b >= 0; --b)
            v = (v << 8) | static_cast<uint8_t>(scores[4 * i + b]);
        int32_t score = static_cast<int32_t>(v);
        EXPECT_GT(score, 0);
        EXPECT_LE(score, last);
        last = score;
    }
    size_t lines = 0, start = 0;
    for (size_t end; (end = names.find("\r\n", start)) != std::string::npos; start = end + 2, ++lines) {
        std::string name = names.substr(start, end - start);
        EXPECT_TRUE(!name.empty() && name.size() <= 8 &&
                    std::all_of(name.begin(), name.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
            << name;
    }
    EXPECT_EQ(lines, 5u);
    EXPECT_EQ(start, names.size()) << "the last line ends with CR LF";
}
