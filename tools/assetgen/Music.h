// The title tune: a chip loop in three voices, stored as Ogg Vorbis in data/audio/mus.
#pragma once
#include <string>

#include "Synth.h"

namespace assetgen {

constexpr const char* kTitleTuneName = "0_title.ogg";

Samples MakeTitleTune();
bool WriteMusic(const std::string& musDir);

}  // namespace assetgen
