#include "Effects.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr float kEffectPeak = 0.79f;  // about -2 dB: loud, with room for overlapping sounds

// Noise whose register is clocked at rateHz: low rates rumble, high rates hiss.
class ClockedNoise {
public:
    ClockedNoise(uint16_t seed) : reg_(seed)
    {
    }
    float Next(double rateHz)
    {
        phase_ += rateHz / kSampleRate;
        while (phase_ >= 1.0) {
            phase_ -= 1.0;
            value_ = reg_.Step();
        }
        return value_;
    }

private:
    NoiseRegister reg_;
    double phase_ = 1.0;
    float value_ = 0.0f;
};

Samples Finish(Samples s)
{
    FadeEdges(s, SamplesFor(0.002), SamplesFor(0.010));
    NormalisePeak(s, kEffectPeak);
    return s;
}

// 0: a crate lands. A low knock of falling pitch with a puff of wood noise on the impact.
Samples CrateLands()
{
    Samples s(SamplesFor(0.22));
    ClockedNoise noise(0x2a5);
    double phase = 0.0;
    float low = 0.0f;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        double freq = 45.0 + 95.0 * std::exp(-t / 0.035);
        phase += freq / kSampleRate;
        float body = static_cast<float>(std::sin(kTwoPi * phase) * std::exp(-t / 0.06));
        low += 0.18f * (noise.Next(9000.0) - low);
        float knock = low * static_cast<float>(std::exp(-t / 0.012));
        s[i] = body + 0.8f * knock;
    }
    return Finish(s);
}

// 1: never played by the game; a short rising hop kept so the numbering holds.
Samples SpareHop()
{
    Samples s(SamplesFor(0.12));
    double phase = 0.0;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        double freq = 300.0 + 3500.0 * t;
        double step = freq / kSampleRate;
        phase += step;
        s[i] = Pulse(phase, step, 0.25) * static_cast<float>(1.0 - t / 0.12);
    }
    return Finish(s);
}

// 2: the worker dies. Three falling notes, then a long wobbling slide into the floor.
Samples WorkerDies()
{
    const double notes[] = {659.26, 622.25, 587.33};
    const double kNote = 0.16, kSlide = 0.75;
    Samples s(SamplesFor(3 * kNote + kSlide));
    double phase = 0.0;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        double freq, amp;
        if (t < 3 * kNote) {
            int n = static_cast<int>(t / kNote);
            double inNote = t - n * kNote;
            freq = notes[n];
            amp = std::min(1.0, inNote / 0.004) * std::min(1.0, (kNote - inNote) / 0.012);
        } else {
            double u = (t - 3 * kNote) / kSlide;
            freq = 554.37 * std::pow(0.18, u) * (1.0 + 0.03 * std::sin(kTwoPi * 7.0 * u * kSlide));
            amp = std::min(1.0, (t - 3 * kNote) / 0.004) * (1.0 - u);
        }
        double step = freq / kSampleRate;
        phase += step;
        s[i] = Pulse(phase, step, 0.5) * static_cast<float>(amp);
    }
    return Finish(s);
}

// 3: a bright major chord, its notes struck one after another like a little fanfare.
Samples BrightChord()
{
    const double notes[] = {523.25, 659.26, 783.99, 1046.50};
    Samples s(SamplesFor(0.7));
    double phase[4] = {};
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        float v = 0.0f;
        for (int n = 0; n < 4; ++n) {
            double start = 0.03 * n;
            if (t < start)
                continue;
            double u = t - start;
            double freq = notes[n] * (1.0 + 0.004 * std::sin(kTwoPi * 6.0 * u));
            double step = freq / kSampleRate;
            phase[n] += step;
            double amp = std::min(1.0, u / 0.003) * std::exp(-u / 0.22);
            v += Pulse(phase[n], step, 0.125) * static_cast<float>(amp);
        }
        s[i] = v;
    }
    return Finish(s);
}

// 4: a crate bursts. Chip noise that sinks in pitch over a low boom.
Samples Explosion()
{
    Samples s(SamplesFor(0.8));
    ClockedNoise noise(0x1d3);
    double phase = 0.0;
    float smooth = 0.0f;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        float hiss = noise.Next(12000.0 * std::exp(-t / 0.25) + 600.0);
        smooth += 0.35f * (hiss - smooth);
        double freq = 30.0 + 50.0 * std::exp(-t / 0.08);
        phase += freq / kSampleRate;
        float boom = static_cast<float>(std::sin(kTwoPi * phase) * std::exp(-t / 0.15));
        s[i] = smooth * static_cast<float>(std::exp(-t / 0.2)) + 0.7f * boom;
    }
    return Finish(s);
}

// 5: the tick of the countdown and of a typed letter.
Samples BlipTick()
{
    Samples s(SamplesFor(0.05));
    double phase = 0.0, step = 1760.0 / kSampleRate;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        phase += step;
        s[i] = Pulse(phase, step, 0.5) * static_cast<float>(std::exp(-t / 0.015));
    }
    return Finish(s);
}

}  // namespace

const EffectFile kEffects[6] = {
    {"0_land.wav", CrateLands},   {"1_hop.wav", SpareHop},      {"2_die.wav", WorkerDies},
    {"3_chord.wav", BrightChord}, {"4_explode.wav", Explosion}, {"5_tick.wav", BlipTick},
};

bool WriteEffects(const std::string& sfxDir)
{
    for (const EffectFile& effect : kEffects)
        if (!WriteWav(sfxDir + "/" + effect.name, effect.make()))
            return false;
    return true;
}

}  // namespace assetgen
