// The sound layer heard through OpenAL Soft's wave writer: what the game
// plays really reaches the output, overlaps, loops and stops.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "engine/Sound.h"
#include "tests/support/TestSupport.h"

using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRate = 44100;

// A sound of one steady level: the level of the mix then shows how many
// copies of it are playing.
void WriteLevel(const std::string& path, double seconds, float level, int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16)
{
    SF_INFO info{0, kRate, 1, format, 0, 0};
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(nullptr, file) << sf_strerror(nullptr);
    std::vector<float> block(kRate / 10, level);
    for (int n = static_cast<int>(seconds * 10); n > 0; --n)
        sf_writef_float(file, block.data(), block.size());
    sf_close(file);
}

// The device writes its mono mix to out.wav in real time, so a moment after
// Start is a place in the file. OpenAL reads its configuration once per
// process, which is why the file's place is fixed per process.
class WaveOutput {
public:
    WaveOutput() : dir("/tmp/quillemarch-wave-" + std::to_string(getpid()))
    {
        mkdir(dir.c_str(), 0755);
        testsupport::WriteFile(dir + "/alsoft.conf", "[general]\ndrivers=wave\nchannels=mono\nfrequency=44100\n"
                                                     "[wave]\nfile=" + dir + "/out.wav\n");
        unsetenv("ALSOFT_DRIVERS");
        setenv("ALSOFT_CONF", (dir + "/alsoft.conf").c_str(), 1);
        EXPECT_TRUE(InitSound()) << "the wave writer must open as a device";
        start = Clock::now();
    }
    ~WaveOutput() { std::system(("rm -rf '" + dir + "'").c_str()); }
    void WaitUntil(double seconds) const { std::this_thread::sleep_until(start + std::chrono::duration<double>(seconds)); }
    // Closes the device and reads back what it wrote.
    void Finish()
    {
        ShutdownSound();
        effectFiles.clear(), musicFiles.clear();
        SF_INFO info{};
        SNDFILE* file = sf_open((dir + "/out.wav").c_str(), SFM_READ, &info);
        ASSERT_NE(nullptr, file) << sf_strerror(nullptr);
        samples.resize(info.frames * info.channels);
        sf_readf_float(file, samples.data(), info.frames);
        sf_close(file);
    }
    // Quietest and loudest sample between two moments after the start.
    std::pair<float, float> Level(double from, double to) const
    {
        auto first = samples.begin() + std::min(samples.size(), static_cast<size_t>(from * kRate));
        auto last = samples.begin() + std::min(samples.size(), static_cast<size_t>(to * kRate));
        if (first == last)
            return {0.0f, 0.0f};
        auto [low, high] = std::minmax_element(first, last, [](float a, float b) { return std::fabs(a) < std::fabs(b); });
        return {std::fabs(*low), std::fabs(*high)};
    }
    float Floor(double from, double to) const { return Level(from, to).first; }
    float Peak(double from, double to) const { return Level(from, to).second; }

private:
    std::string dir;
    Clock::time_point start;
    std::vector<float> samples;
};

double SecondsSince(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

}  // namespace

TEST(SoundOutput, EffectNSoundsUntilEverythingStops)
{
    testsupport::ScratchDir scratch;
    WriteLevel("a.wav", 5.0, 0.2f);
    WriteLevel("b.wav", 5.0, 0.5f);
    WaveOutput wave;
    effectFiles = {"a.wav", "b.wav"};
    wave.WaitUntil(0.2);
    PlaySoundEffect(1);
    wave.WaitUntil(0.8);
    StopAllSounds();
    PlaySoundEffect(2);  // numbers outside the list are silent
    PlaySoundEffect(-1);
    wave.WaitUntil(1.6);
    wave.Finish();

    EXPECT_LT(wave.Peak(0.0, 0.15), 0.01f) << "silence before the effect";
    EXPECT_NEAR(0.5f, wave.Floor(0.45, 0.7), 0.05f) << "effect 1 is b.wav, level 0.5";
    EXPECT_LT(wave.Peak(1.1, 1.6), 0.001f) << "stopping all sounds silences the effect";
}

TEST(SoundOutput, EffectsOverlapAndStartWithinAFrame)
{
    testsupport::ScratchDir scratch;
    WriteLevel("one.wav", 2.0, 0.2f);
    WaveOutput wave;
    effectFiles = {"one.wav"};
    wave.WaitUntil(0.2);
    const auto before = Clock::now();
    for (int copy = 0; copy < 3; ++copy)
        PlaySoundEffect(0);
    EXPECT_LT(SecondsSince(before), 3 * 0.010) << "each effect must start within a 10 ms frame";
    wave.WaitUntil(0.9);
    wave.Finish();
    EXPECT_NEAR(0.6f, wave.Floor(0.5, 0.85), 0.06f) << "three copies sound at once";
}

TEST(SoundOutput, LoopedSoundOutlastsItsFile)
{
    testsupport::ScratchDir scratch;
    WriteLevel("short.wav", 0.2, 0.3f);
    WaveOutput wave;
    effectFiles = musicFiles = {"short.wav"};
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
    testsupport::ScratchDir scratch;
    WriteLevel("long.flac", 600.0, 0.25f, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    WaveOutput wave;
    musicFiles = {"long.flac"};
    wave.WaitUntil(0.2);
    const auto before = Clock::now();
    PlayMusic(0, false);
    EXPECT_LT(SecondsSince(before), 0.010);
    wave.WaitUntil(1.2);
    wave.Finish();
    EXPECT_NEAR(0.25f, wave.Floor(0.5, 1.15), 0.03f);
}

TEST(SoundOutput, UnplayableFilesAreSkippedWithOneReason)
{
    testsupport::ScratchDir scratch;
    mkdir("sfx", 0755);
    testsupport::WriteFile("sfx/a.wav", "not a sound at all");
    mkdir("sfx/b", 0755);
    WriteLevel("sfx/c.wav", 2.0, 0.4f);
    WaveOutput wave;
    ASSERT_TRUE(ListDirectory("sfx", effectFiles));
    testing::internal::CaptureStderr();
    for (int round = 0; round < 3; ++round)
        PlaySoundEffect(0), PlaySoundEffect(1);
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
