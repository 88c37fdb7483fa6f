// The shipped pictures and sounds are what the generator makes: any change to the generator's
// art, palette or music shows here as a stale file.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

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
