#include "tests/support/TestSupport.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
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

std::string SourceData() { return std::string(QM_SOURCE_DIR) + "/data"; }
std::string GameBinary() { return std::string(QM_BIN_DIR) + "/quillemarch"; }

}  // namespace testsupport
