// Fuzz targets work in a private directory: the game reads and writes its
// files relative to the working directory.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

inline void EnterFuzzDirectory() {
    char templ[] = "/tmp/quillemarch-fuzz-XXXXXX";
    if (!mkdtemp(templ) || chdir(templ) != 0) {
        perror("fuzz directory");
        abort();
    }
}

inline void WriteBytes(const char* name, const uint8_t* data, size_t size) {
    FILE* f = fopen(name, "wb");
    if (!f) abort();
    if (size) fwrite(data, 1, size, f);
    fclose(f);
}
