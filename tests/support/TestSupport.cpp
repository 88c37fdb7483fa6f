#include "tests/support/TestSupport.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace fs = std::filesystem;

namespace testsupport {

ScratchDir::ScratchDir() : previous(fs::current_path())
{
    char templ[] = "/tmp/quillemarch-test-XXXXXX";
    if (!mkdtemp(templ))
        throw std::runtime_error("mkdtemp failed");
    fs::current_path(path = templ);
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    fs::current_path(previous, ignored);
    if (!getenv("QM_KEEP_SCRATCH"))
        fs::remove_all(path, ignored);  // kept, to look into a failure
}

void ScratchDir::CopyData(const std::vector<std::string>& parts) const
{
    fs::create_directories(path + "/data");
    for (const auto& part : parts)
        fs::copy(SourceData() + "/" + part, path + "/data/" + part, fs::copy_options::recursive);
}

std::string ReadFile(const std::string& name)
{
    std::ostringstream out;
    out << std::ifstream(name, std::ios::binary).rdbuf();
    return out.str();
}

void WriteFile(const std::string& name, const std::string& bytes)
{
    std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
}

bool FileExists(const std::string& name)
{
    return access(name.c_str(), F_OK) == 0;
}

std::vector<std::string> ReadLines(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();  // a Windows text file's line end
        lines.push_back(line);
    }
    return lines;
}

std::string ScoreBytes(const std::vector<int32_t>& s)
{
    return {reinterpret_cast<const char*>(s.data()), 4 * s.size()};
}

std::string NameLines(std::string names)
{
    for (std::size_t at; (at = names.find(',')) != std::string::npos;)
        names.replace(at, 1, "\r\n");
    return names + "\r\n";
}

void WriteTable(const std::string& scores, const std::string& names)
{
    fs::create_directories("data");
    WriteFile("data/scores.hst", scores);
    WriteFile("data/names.hst", names);
}

std::string Said(const TextLine& l)
{
    char colour[8];
    std::snprintf(colour, sizeof colour, "#%02X%02X%02X", int(l.colour.red * 255 + 0.5f),
                  int(l.colour.green * 255 + 0.5f), int(l.colour.blue * 255 + 0.5f));
    return std::to_string(l.x) + "," + std::to_string(l.y) + " " + colour + " " + l.text;
}

TextSeen::TextSeen()
{
    watchText = [this](const TextLine& l) {
        std::lock_guard g(lock);
        lines.push_back(Said(l));
    };
}
TextSeen::~TextSeen()
{
    watchText = nullptr;
}
std::vector<std::string> TextSeen::Lines()
{
    std::lock_guard g(lock);
    return lines;
}
void TextSeen::Clear()
{
    std::lock_guard g(lock);
    lines.clear();
}
bool TextSeen::Has(const std::string& line)
{
    std::lock_guard g(lock);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string SourceData()
{
    return std::string(QM_SOURCE_DIR) + "/data";
}
std::string GameBinary()
{
    return std::string(QM_BIN_DIR) + "/quillemarch";
}

std::string OtherBuildBinary()
{
    const char* other = getenv("QM_OTHER_BUILD_GAME");
    return other && *other ? other : GameBinary();
}

class RecordingOutput : public SoundOutput {
public:
    explicit RecordingOutput(SoundRecorder& into) : recorder(into)
    {
    }
    void Play(const std::string& path, bool loop) override
    {
        recorder.played.push_back(path.substr(path.rfind('\\') + 1) + (loop ? " loop" : ""));
    }
    void StopAll() override
    {
        recorder.played.push_back("stop");
    }

private:
    SoundRecorder& recorder;
};

SoundRecorder::SoundRecorder()
{
    effectFiles = {"sfx\\sfx0", "sfx\\sfx1", "sfx\\sfx2", "sfx\\sfx3", "sfx\\sfx4", "sfx\\sfx5"};
    musicFiles = {"mus\\mus0"};
    UseSoundOutput(std::make_unique<RecordingOutput>(*this));
}

SoundRecorder::~SoundRecorder()
{
    UseSoundOutput(nullptr);
    effectFiles.clear();
    musicFiles.clear();
}

std::vector<std::string> SoundRecorder::Take()
{
    return std::exchange(played, {});
}

}  // namespace testsupport
