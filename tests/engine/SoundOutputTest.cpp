// The sound layer heard through OpenAL Soft's wave writer: what the game
// plays really reaches the output, overlaps, loops and stops.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "engine/Sound.h"
#include "tests/support/TestSupport.h"

using testsupport::ScratchDir;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRate = 44100;

// The device writes its mix to a file in real time. OpenAL reads its
// configuration once per process, so the file's place is fixed per process.
std::string WaveDir()
{
    return "/tmp/quillemarch-wave-" + std::to_string(getpid());
}

// A sound file of one steady level: the level of the mix then shows how many
// copies are playing.
void WriteLevel(const std::string& path, double seconds, float level, int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16)
{
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 1;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(nullptr, file) << sf_strerror(nullptr);
    std::vector<float> block(kRate / 10, level);
    for (int n = static_cast<int>(seconds * 10); n > 0; --n)
        sf_writef_float(file, block.data(), block.size());
    sf_close(file);
}

class WaveOutput {
public:
    WaveOutput()
    {
        mkdir(WaveDir().c_str(), 0755);
        const std::string conf = WaveDir() + "/alsoft.conf";
        FILE* out = fopen(conf.c_str(), "w");
        fprintf(out, "[general]\ndrivers=wave\nchannels=mono\nfrequency=%d\n[wave]\nfile=%s/out.wav\n",
                kRate, WaveDir().c_str());
        fclose(out);
        unsetenv("ALSOFT_DRIVERS");
        setenv("ALSOFT_CONF", conf.c_str(), 1);
    }
    ~WaveOutput()
    {
        std::string cmd = "rm -rf '" + WaveDir() + "'";
        if (std::system(cmd.c_str()) != 0) perror("rm");
    }
    void Start()
    {
        ASSERT_TRUE(InitSound()) << "the wave writer must open as a device";
        start = Clock::now();
    }
    double Now() const { return std::chrono::duration<double>(Clock::now() - start).count(); }
    void WaitUntil(double seconds) const
    {
        std::this_thread::sleep_until(start + std::chrono::duration<double>(seconds));
    }
    // Closes the device and reads back what it wrote.
    void Finish()
    {
        ShutdownSound();
        effectFiles.clear();
        musicFiles.clear();
        SF_INFO info{};
        SNDFILE* file = sf_open((WaveDir() + "/out.wav").c_str(), SFM_READ, &info);
        ASSERT_NE(nullptr, file) << sf_strerror(nullptr);
        ASSERT_EQ(1, info.channels);
        samples.resize(info.frames);
        sf_readf_float(file, samples.data(), info.frames);
        sf_close(file);
    }
    // Loudest sample between two moments after the start.
    float Peak(double from, double to) const
    {
        const size_t first = std::min(samples.size(), static_cast<size_t>(from * kRate));
        const size_t last = std::min(samples.size(), static_cast<size_t>(to * kRate));
        float peak = 0.0f;
        for (size_t i = first; i < last; ++i)
            peak = std::max(peak, std::fabs(samples[i]));
        return peak;
    }
    // Quietest sample: above zero only when something sounded throughout.
    float Floor(double from, double to) const
    {
        const size_t first = std::min(samples.size(), static_cast<size_t>(from * kRate));
        const size_t last = std::min(samples.size(), static_cast<size_t>(to * kRate));
        if (first >= last)
            return 0.0f;
        float floor = 1.0f;
        for (size_t i = first; i < last; ++i)
            floor = std::min(floor, std::fabs(samples[i]));
        return floor;
    }
    std::vector<float> samples;

private:
    Clock::time_point start;
};

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

}  // namespace

TEST(SoundOutput, EffectNSoundsUntilEverythingStops)
{
    ScratchDir scratch;
    WaveOutput wave;
    mkdir("sfx", 0755);
    WriteLevel("sfx/a.wav", 5.0, 0.2f);
    WriteLevel("sfx/b.wav", 5.0, 0.5f);
    wave.Start();
    effectFiles = {"sfx\\a.wav", "sfx\\b.wav"};

    wave.WaitUntil(0.2);
    PlaySoundEffect(1);
    wave.WaitUntil(0.8);
    StopAllSounds();
    // Numbers outside the list are silent.
    PlaySoundEffect(2);
    PlaySoundEffect(-1);
    wave.WaitUntil(1.6);
    wave.Finish();

    EXPECT_LT(wave.Peak(0.0, 0.15), 0.01f) << "silence before the effect";
    EXPECT_NEAR(0.5f, wave.Floor(0.45, 0.7), 0.05f) << "effect 1 is b.wav, level 0.5";
    EXPECT_LT(wave.Peak(1.1, 1.6), 0.001f) << "stopping all sounds silences the effect";
}

TEST(SoundOutput, EffectsOverlapAndStartWithinAFrame)
{
    ScratchDir scratch;
    WaveOutput wave;
    WriteLevel("one.wav", 2.0, 0.2f);
    wave.Start();
    effectFiles = {"one.wav"};

    wave.WaitUntil(0.2);
    const auto before = Clock::now();
    PlaySoundEffect(0);
    PlaySoundEffect(0);
    PlaySoundEffect(0);
    EXPECT_LT(Seconds(before), 3 * 0.010) << "each effect must start within a 10 ms frame";
    wave.WaitUntil(0.9);
    wave.Finish();

    EXPECT_NEAR(0.6f, wave.Floor(0.5, 0.85), 0.06f) << "three copies sound at once";
}

TEST(SoundOutput, LoopedSoundOutlastsItsFile)
{
    ScratchDir scratch;
    WaveOutput wave;
    WriteLevel("short.wav", 0.2, 0.3f);
    wave.Start();
    effectFiles = {"short.wav"};
    musicFiles = {"short.wav"};

    wave.WaitUntil(0.1);
    PlaySoundEffect(0);
    wave.WaitUntil(0.8);
    PlayMusic(0, true);
    wave.WaitUntil(2.0);
    StopAllSounds();
    wave.WaitUntil(2.5);
    wave.Finish();

    EXPECT_GT(wave.Peak(0.1, 0.6), 0.25f) << "the effect plays once";
    EXPECT_LT(wave.Peak(0.55, 0.75), 0.001f) << "and ends with its file";
    EXPECT_NEAR(0.3f, wave.Floor(1.1, 1.95), 0.04f) << "the looped file sounds without a gap";
    EXPECT_LT(wave.Peak(2.2, 2.5), 0.001f);
}

// Ten minutes of music must not be decoded before it starts.
TEST(SoundOutput, LongMusicIsStreamed)
{
    ScratchDir scratch;
    WaveOutput wave;
    WriteLevel("long.flac", 600.0, 0.25f, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    wave.Start();
    musicFiles = {"long.flac"};

    wave.WaitUntil(0.2);
    const auto before = Clock::now();
    PlayMusic(0, false);
    EXPECT_LT(Seconds(before), 0.010);
    wave.WaitUntil(1.2);
    wave.Finish();
    EXPECT_NEAR(0.25f, wave.Floor(0.5, 1.15), 0.03f);
}

TEST(SoundOutput, UnplayableFilesAreSkippedWithOneReason)
{
    ScratchDir scratch;
    WaveOutput wave;
    mkdir("sfx", 0755);
    testsupport::WriteFile("sfx/a.wav", "not a sound at all");
    mkdir("sfx/b", 0755);
    WriteLevel("sfx/c.wav", 2.0, 0.4f);
    wave.Start();
    ASSERT_TRUE(ListDirectory("sfx", effectFiles));

    testing::internal::CaptureStderr();
    for (int round = 0; round < 3; ++round) {
        PlaySoundEffect(0);
        PlaySoundEffect(1);
    }
    const std::string said = testing::internal::GetCapturedStderr();
    wave.WaitUntil(0.1);
    PlaySoundEffect(2);
    wave.WaitUntil(0.8);
    wave.Finish();

    EXPECT_EQ(2, std::count(said.begin(), said.end(), '\n')) << said;
    EXPECT_NE(std::string::npos, said.find("sfx\\a.wav")) << said;
    EXPECT_NE(std::string::npos, said.find("sfx\\b")) << said;
    EXPECT_NEAR(0.4f, wave.Floor(0.4, 0.75), 0.04f) << "the game goes on playing";
}
