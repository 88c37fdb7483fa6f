// Fuzz targets work in a private directory: the game reads and writes its
// files relative to the working directory.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char dir[] = "/tmp/quillemarch-fuzz-XXXXXX";
    if (!mkdtemp(dir) || chdir(dir) != 0) abort();
    return 0;
}

inline void WriteBytes(const char* name, const std::string& bytes) {
    if (!std::ofstream(name, std::ios::binary).write(bytes.data(), bytes.size())) abort();
}

inline std::string ReadBytes(const char* name) {
    std::ostringstream s;
    s << std::ifstream(name, std::ios::binary).rdbuf();
    return s.str();
}
