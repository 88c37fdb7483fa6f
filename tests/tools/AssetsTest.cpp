// The shipped pictures and sounds are what the generator makes: any change to the generator's
// art, palette or music shows here as a stale file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

namespace fs = std::filesystem;

namespace {

std::set<std::string> FilesUnder(const fs::path& root)
{
    std::set<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file())
            files.insert(fs::relative(e.path(), root).generic_string());
    return files;
}

}  // namespace

// The committed data/ is byte for byte what the generator makes now (its Vorbis stream has a
// fixed serial number), and holds no picture or sound it does not make.
TEST(Assets, CommittedDataIsWhatTheGeneratorMakes)
{
    const fs::path data = fs::path(QM_ASSET_REPO_DIR) / "data";
    const fs::path made = fs::temp_directory_path() / ("assetgen-test-" + std::to_string(getpid()));
    const std::string art = "\"" QM_ASSET_REPO_DIR "/tools/art\" \"";
    ASSERT_EQ(std::system(("\"" ASSETGEN_EXE "\" " + art + made.string() + "\"").c_str()), 0);
    const std::set<std::string> files = FilesUnder(made);
    using Bytes = std::istreambuf_iterator<char>;
    for (const std::string& f : files) {
        std::ifstream x(made / f, std::ios::binary);
        std::ifstream y(data / f, std::ios::binary);
        EXPECT_TRUE(std::equal(Bytes(x), Bytes(), Bytes(y), Bytes())) << f << " is stale";
    }
    for (const std::string& f : FilesUnder(data))
        EXPECT_TRUE(files.count(f) || (f.rfind("gfx/", 0) && f.rfind("audio/", 0))) << f;
    fs::remove_all(made);
}
