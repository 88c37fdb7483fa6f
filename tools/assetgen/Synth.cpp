#include "Synth.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

namespace assetgen {

namespace {

// Polynomial correction of a step in a waveform: softens the edge over one sample on each side
// so the chip tones do not alias into a harsh hiss.
double PolyBlep(double t, double dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

bool WriteSound(const std::string& path, const Samples& s, int format, double quality)
{
    SF_INFO info{};
    info.samplerate = kSampleRate;
    info.channels = 1;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        return false;
    if (quality >= 0.0)
        sf_command(file, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof quality);
    sf_count_t written = sf_writef_float(file, s.data(), static_cast<sf_count_t>(s.size()));
    return sf_close(file) == 0 && written == static_cast<sf_count_t>(s.size());
}

uint32_t OggCrc(const std::vector<uint8_t>& bytes, size_t begin, size_t end)
{
    uint32_t crc = 0;
    for (size_t i = begin; i < end; ++i) {
        crc ^= static_cast<uint32_t>(bytes[i]) << 24;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04c11db7u : crc << 1;
    }
    return crc;
}

// The encoder gives each Ogg stream a random serial number; a fixed one makes the title tune
// the same file on every run, so regenerating the data leaves it untouched.
bool FixOggSerial(const std::string& path)
{
    constexpr uint32_t kSerial = 0x4d4c5551;  // "QULM"
    std::vector<uint8_t> bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    for (size_t page = 0; page < bytes.size();) {
        if (page + 27 > bytes.size() || bytes[page] != 'O' || bytes[page + 1] != 'g' ||
            bytes[page + 2] != 'g' || bytes[page + 3] != 'S')
            return false;
        size_t segments = bytes[page + 26], body = 0;
        if (page + 27 + segments > bytes.size())
            return false;
        for (size_t i = 0; i < segments; ++i)
            body += bytes[page + 27 + i];
        size_t end = page + 27 + segments + body;
        if (end > bytes.size())
            return false;
        for (int i = 0; i < 4; ++i) {
            bytes[page + 14 + i] = static_cast<uint8_t>(kSerial >> (8 * i));
            bytes[page + 22 + i] = 0;
        }
        uint32_t crc = OggCrc(bytes, page, end);
        for (int i = 0; i < 4; ++i)
            bytes[page + 22 + i] = static_cast<uint8_t>(crc >> (8 * i));
        page = end;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return out.good();
}

}  // namespace

float Pulse(double phase, double phaseStep, double duty)
{
    phase -= std::floor(phase);
    double v = phase < duty ? 1.0 : -1.0;
    v += PolyBlep(phase, phaseStep);
    double fall = phase - duty;
    fall -= std::floor(fall);
    v -= PolyBlep(fall, phaseStep);
    // Remove the offset of an uneven duty so every note swings around silence.
    return static_cast<float>(v - (2.0 * duty - 1.0));
}

float Triangle(double phase)
{
    phase -= std::floor(phase);
    return static_cast<float>(phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase);
}

float NoiseRegister::Step()
{
    uint16_t feedback = ((bits_ ^ (bits_ >> 1)) & 1u);
    bits_ = static_cast<uint16_t>((bits_ >> 1) | (feedback << 14));
    return (bits_ & 1u) ? 1.0f : -1.0f;
}

void FadeEdges(Samples& s, int fadeIn, int fadeOut)
{
    int n = static_cast<int>(s.size());
    for (int i = 0; i < fadeIn && i < n; ++i)
        s[i] *= static_cast<float>(i) / fadeIn;
    for (int i = 0; i < fadeOut && i < n; ++i)
        s[n - 1 - i] *= static_cast<float>(i) / fadeOut;
}

void NormalisePeak(Samples& s, float peak)
{
    float loudest = 0.0f;
    for (float v : s)
        loudest = std::max(loudest, std::fabs(v));
    if (loudest <= 0.0f)
        return;
    for (float& v : s)
        v *= peak / loudest;
}

bool WriteWav(const std::string& path, const Samples& s)
{
    return WriteSound(path, s, SF_FORMAT_WAV | SF_FORMAT_PCM_16, -1.0);
}

bool WriteOggVorbis(const std::string& path, const Samples& s, double quality)
{
    return WriteSound(path, s, SF_FORMAT_OGG | SF_FORMAT_VORBIS, quality) && FixOggSerial(path);
}

}  // namespace assetgen
