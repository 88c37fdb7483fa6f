// The sound card behind the game's numbered effects and music: OpenAL on
// Linux, Allegro's digital sound (DirectSound) on Windows. Both play any
// number of sounds at once, start a file at once, and skip a file they
// cannot read with its reason on stderr once.
#pragma once

#include <memory>

#include "engine/Sound.h"

// Null when no output device can be opened.
std::unique_ptr<SoundOutput> OpenSoundDevice();
