#include "tests/support/TestSupport.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace testsupport {

namespace {
std::string Quote(const std::string& s) { return "'" + s + "'"; }
}  // namespace

ScratchDir::ScratchDir() {
    char templ[] = "/tmp/quillemarch-test-XXXXXX";
    if (!mkdtemp(templ)) throw std::runtime_error("mkdtemp failed");
    path = templ;
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd)) previous = cwd;
    if (chdir(path.c_str()) != 0) throw std::runtime_error("chdir failed");
}

ScratchDir::~ScratchDir() {
    if (!previous.empty() && chdir(previous.c_str()) != 0) perror("chdir");
    if (!getenv("QM_KEEP_SCRATCH")) {
        std::string cmd = "chmod -R u+rwx " + Quote(path) + " 2>/dev/null; rm -rf " + Quote(path);
        if (system(cmd.c_str()) != 0) perror("rm");
    }
}

void ScratchDir::CopyData(const std::vector<std::string>& parts) const {
    std::string cmd = "mkdir -p " + Quote(path + "/data") + " && cp -r";
    for (const auto& part : parts) cmd += " " + Quote(SourceData() + "/" + part);
    if (system((cmd + " " + Quote(path + "/data/")).c_str()) != 0)
        throw std::runtime_error("copy failed: " + cmd);
}

std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::string& name, const std::string& bytes) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool FileExists(const std::string& name) { return access(name.c_str(), F_OK) == 0; }

std::vector<std::string> ReadLines(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

void WriteWeakTable() {
    const int32_t scores[5] = {50, 40, 30, 20, 10};
    WriteFile("data/scores.hst", std::string(reinterpret_cast<const char*>(scores), 20));
    WriteFile("data/names.hst", "ANNA\r\nBEN\r\nCARL\r\nDORA\r\nEMIL\r\n");
}

std::string SourceData() { return std::string(QM_SOURCE_DIR) + "/data"; }
std::string GameBinary() { return std::string(QM_BIN_DIR) + "/quillemarch"; }

class RecordingOutput : public SoundOutput {
public:
    explicit RecordingOutput(SoundRecorder& into) : recorder(into) {}
    void Play(const std::string& path, bool loop) override
    {
        recorder.played.push_back(path.substr(path.rfind('\\') + 1) + (loop ? " loop" : ""));
    }
    void StopAll() override { recorder.played.push_back("stop"); }

private:
    SoundRecorder& recorder;
};

SoundRecorder::SoundRecorder()
{
    effectFiles.clear();
    musicFiles.clear();
    for (int n = 0; n < 6; ++n)
        effectFiles.push_back("sfx\\sfx" + std::to_string(n));
    musicFiles.push_back("mus\\mus0");
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
