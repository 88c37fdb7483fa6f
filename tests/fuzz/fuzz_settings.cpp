// Whatever "config.ini" holds, reading it ends, keeps the record sane where
// the file is unreadable, and the record written back reads the same again.
#include <cstdint>
#include <cstdlib>

#include "engine/Settings.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnterFuzzDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteBytes("config.ini", data, size);
    Settings read;
    if (!LoadSettings(read)) abort();  // the file exists: it must open
    if (!SaveSettings(read)) abort();
    Settings again;
    if (!LoadSettings(again)) abort();
    if (again.width != read.width || again.height != read.height ||
        again.antiAliasing != read.antiAliasing || again.colorDepth != read.colorDepth ||
        again.fullscreen != read.fullscreen || again.soundEnabled != read.soundEnabled)
        abort();
    return 0;
}
