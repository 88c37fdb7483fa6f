#include "Music.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace assetgen {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr int kStepSamples = 5250;  // one sixteenth note, about 126 beats a minute
constexpr int kStepsPerBar = 16;
constexpr int kBars = 20;

// The tune in bars: the chord of each bar and the lead's notes ("name/length in sixteenths",
// "r" a rest). Verse, bridge and a stuttering turnaround that falls back into the verse.
const char* const kChords[kBars] = {"Am", "F",  "C",  "G", "Am", "F", "G",  "E", "F", "G",
                                    "Em", "Am", "Dm", "G", "C",  "E", "Am", "F", "G", "E"};
const char* const kLead[kBars] = {
    "A4/2 C5/2 E5/4 D5/2 C5/2 E5/4",
    "F5/4 E5/2 D5/2 C5/4 A4/4",
    "G4/2 C5/2 E5/4 G5/4 E5/2 C5/2",
    "D5/6 B4/2 G4/4 r/4",
    "A4/2 C5/2 E5/4 A5/4 G5/2 E5/2",
    "F5/4 A5/4 G5/2 F5/2 E5/2 D5/2",
    "D5/4 G5/4 F5/2 E5/2 D5/2 B4/2",
    "E5/6 D5/2 B4/4 G#4/4",
    "C6/4 A5/4 F5/4 A5/4",
    "B5/4 G5/4 D5/4 G5/4",
    "B5/4 G5/2 E5/2 G5/4 B5/4",
    "C6/6 B5/2 A5/8",
    "D5/2 F5/2 A5/4 D6/4 C6/2 A5/2",
    "B5/4 G5/2 A5/2 B5/4 D6/4",
    "C6/4 G5/4 E5/4 G5/4",
    "G#5/4 B5/4 E6/6 r/2",
    "A5/2 r/2 A5/2 r/2 C6/2 B5/2 A5/4",
    "F5/2 r/2 F5/2 r/2 A5/2 G5/2 F5/4",
    "G5/2 r/2 G5/2 r/2 B5/2 A5/2 G5/4",
    "G#5/4 E5/4 B4/4 r/4",
};

// Voice levels in the mix.
constexpr float kLeadLevel = 0.32f, kArpLevel = 0.15f, kBassLevel = 0.42f, kDrumLevel = 0.22f;
constexpr float kMusicPeak = 0.8f;

double Frequency(int midi)
{
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

int PitchClass(const std::string& name, size_t& pos)
{
    static const int kNatural[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    int pc = kNatural[name[pos++] - 'A'];
    if (pos < name.size() && name[pos] == '#') {
        ++pos;
        ++pc;
    }
    return pc % 12;
}

[[noreturn]] void BadTune(const std::string& what)
{
    std::fprintf(stderr, "assetgen: bad title tune: %s\n", what.c_str());
    std::exit(1);
}

// Envelope of a note: a quick attack, a fall to its sustain level, and a release into silence
// at its end, so notes never click against each other or against the loop point.
double Envelope(double t, double length, double decayTime, double sustain, double release)
{
    double attack = std::min(1.0, t / 0.003);
    double level = sustain + (1.0 - sustain) * std::exp(-t / decayTime);
    double tail = std::clamp((length - t) / release, 0.0, 1.0);
    return attack * level * tail;
}

// Adds a pulse note of the given length (in steps) starting at a step.
void AddPulse(Samples& out, int step, int steps, double freq, double duty, float level,
              double decay, double sustain, double release, bool vibrato)
{
    int start = step * kStepSamples, count = steps * kStepSamples;
    double length = static_cast<double>(count) / kSampleRate, phase = 0.0;
    for (int i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        double f = freq;
        if (vibrato && t > 0.15)
            f *= 1.0 + 0.006 * std::sin(kTwoPi * 5.5 * (t - 0.15));
        double dt = f / kSampleRate;
        phase += dt;
        out[start + i] += level * Pulse(phase, dt, duty) *
                          static_cast<float>(Envelope(t, length, decay, sustain, release));
    }
}

void AddTriangle(Samples& out, int step, int steps, double freq)
{
    int start = step * kStepSamples, count = steps * kStepSamples;
    double length = static_cast<double>(count) / kSampleRate;
    for (int i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        out[start + i] += kBassLevel * Triangle(freq * t + 0.25) *
                          static_cast<float>(Envelope(t, length, 1.0, 1.0, 0.015));
    }
}

void AddSnare(Samples& out, int step, NoiseRegister& noise)
{
    int start = step * kStepSamples, count = 2 * kStepSamples;
    double length = static_cast<double>(count) / kSampleRate;
    float held = 0.0f;
    for (int i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        if (i % 5 == 0)
            held = noise.Step();  // the register clocked at about 9 kHz
        out[start + i] +=
            kDrumLevel * held * static_cast<float>(Envelope(t, length, 0.045, 0.0, 0.01));
    }
}

void AddLead(Samples& out, int bar)
{
    std::istringstream tokens(kLead[bar]);
    int step = bar * kStepsPerBar;
    for (std::string token; tokens >> token;) {
        size_t slash = token.find('/');
        if (slash == std::string::npos)
            BadTune("no length in " + token);
        int steps = std::atoi(token.c_str() + slash + 1);
        if (token[0] != 'r') {
            size_t pos = 0;
            int pc = PitchClass(token, pos);
            int octave = token[pos] - '0';
            AddPulse(out, step, steps, Frequency(12 * (octave + 1) + pc), 0.25, kLeadLevel, 0.08,
                     0.6, 0.02, true);
        }
        step += steps;
    }
    if (step != (bar + 1) * kStepsPerBar)
        BadTune("bar " + std::to_string(bar + 1) + " is not sixteen steps long");
}

// The second square runs up and down the chord in sixteenths; the triangle walks the root
// with the noise snare on the backbeat in between.
void AddChordVoices(Samples& out, int bar, NoiseRegister& noise)
{
    std::string chord = kChords[bar];
    size_t pos = 0;
    int pc = PitchClass(chord, pos);
    bool minor = pos < chord.size() && chord[pos] == 'm';
    int arpBase = 55 + (pc - 7 + 12) % 12;
    int arp[4] = {arpBase, arpBase + (minor ? 3 : 4), arpBase + 7, arpBase + (minor ? 3 : 4)};
    double arpDuty = bar >= 16 ? 0.125 : 0.5;
    int first = bar * kStepsPerBar;
    for (int s = 0; s < kStepsPerBar; ++s)
        AddPulse(out, first + s, 1, Frequency(arp[s % 4]), arpDuty, kArpLevel, 0.05, 0.0, 0.005,
                 false);

    int root = 40 + (pc - 4 + 12) % 12;
    const int kBassPattern[8] = {0, 12, -1, 0, 0, 12, -1, 7};  // -1: the snare's turn
    for (int k = 0; k < 8; ++k) {
        if (kBassPattern[k] < 0)
            AddSnare(out, first + 2 * k, noise);
        else
            AddTriangle(out, first + 2 * k, 2, Frequency(root + kBassPattern[k]));
    }
}

}  // namespace

Samples MakeTitleTune()
{
    Samples out(static_cast<size_t>(kBars) * kStepsPerBar * kStepSamples, 0.0f);
    NoiseRegister noise(0x4e1);
    for (int bar = 0; bar < kBars; ++bar) {
        AddLead(out, bar);
        AddChordVoices(out, bar, noise);
    }
    NormalisePeak(out, kMusicPeak);
    return out;
}

bool WriteMusic(const std::string& musDir)
{
    return WriteOggVorbis(musDir + "/" + kTitleTuneName, MakeTitleTune(), 0.5);
}

}  // namespace assetgen
