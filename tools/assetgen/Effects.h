// The six sound effects, numbered by their file names' order in data/audio/sfx.
#pragma once
#include <string>

#include "Synth.h"

namespace assetgen {

struct EffectFile {
    const char* name;  // sorts into the effect's number
    Samples (*make)();
};

// Effect n is kEffects[n].
extern const EffectFile kEffects[6];

bool WriteEffects(const std::string& sfxDir);

}  // namespace assetgen
