// Whatever "config.ini" holds, reading it ends, keeps the record sane where
// the file is unreadable, and the record written back reads the same again.
#include <cstdint>
#include <cstdlib>
#include <tuple>

#include "engine/Settings.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteBytes("config.ini", std::string(data, data + size));
    auto fields = [](const Settings& s) {
        return std::tie(s.width, s.height, s.antiAliasing, s.colorDepth, s.fullscreen,
                        s.soundEnabled);
    };
    Settings read, again;
    // The file exists: it must open.
    if (!LoadSettings(read) || !SaveSettings(read) || !LoadSettings(again)) abort();
    if (fields(again) != fields(read)) abort();
    return 0;
}
