// The little chip synthesiser behind the game's effects and title tune: oscillators, a noise
// register, envelopes and the writers for WAV and Ogg Vorbis.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

constexpr int kSampleRate = 44100;
using Samples = std::vector<float>;

inline int SamplesFor(double seconds)
{
    return static_cast<int>(seconds * kSampleRate + 0.5);
}

// Band-limited pulse wave; phase in cycles (0..1), duty the high part of a cycle.
float Pulse(double phase, double phaseStep, double duty);
// Triangle wave, -1..1, phase in cycles.
float Triangle(double phase);

// A 15-bit feedback shift register: the chip noise of the effects and the drums. The same seed
// always gives the same hiss.
class NoiseRegister {
public:
    explicit NoiseRegister(uint16_t seed) : bits_(seed ? seed : 1)
    {
    }
    // One new output bit as -1 or 1.
    float Step();

private:
    uint16_t bits_;
};

// Linear fade in over the first fadeIn samples and out over the last fadeOut samples, so a
// sound starts and ends at silence without a click.
void FadeEdges(Samples& s, int fadeIn, int fadeOut);
// Scales the sound so its loudest sample has the given level.
void NormalisePeak(Samples& s, float peak);

bool WriteWav(const std::string& path, const Samples& s);
bool WriteOggVorbis(const std::string& path, const Samples& s, double quality);

}  // namespace assetgen
