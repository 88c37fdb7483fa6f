// The sound layer heard through OpenAL Soft's wave writer: effect and music
// numbers from the sorted listing, and what the game plays reaches the output.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "engine/Sound.h"
#include "tests/support/TestSupport.h"

using testsupport::WriteFile;
using Clock = std::chrono::steady_clock;

namespace {

// A sound of one steady level: the level of the mix shows how many copies of it play.
void WriteLevel(const std::string& path, double seconds, float level,
                int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16)
{
    SF_INFO info{0, 44100, 1, format, 0, 0};
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    const std::vector<float> block(4410, level);
    for (int n = static_cast<int>(seconds * 10); n > 0; --n)
        sf_writef_float(file, block.data(), 4410);
    sf_close(file);
}

// Reads the mix the wave writer wrote, mono, in real time from the device's opening.
std::vector<float> ReadMix(const std::string& path)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    std::vector<float> samples(static_cast<std::size_t>(info.frames));  // none without a file
    sf_readf_float(file, samples.data(), info.frames);
    sf_close(file);
    return samples;
}

}  // namespace

// Effect n is the n-th entry by byte order, made in shuffled order; effects start at once and
// overlap; an unplayable one is skipped with one reason; a loop outlasts its file; stop-all
// silences; ten minutes of music start at once, streamed.
TEST(SoundOutput, EffectsAndMusicAsTheGamePlaysThem)
{
    testsupport::ScratchDir scratch;
    mkdir("sfx", 0755);
    mkdir("mus", 0755);
    // By bytes: effect 0 .hidden, 1 10.wav, 2 2.wav, 3 B, 4 a.wav.
    WriteLevel("sfx/a.wav", 0.2, 0.3f);
    mkdir("sfx/B", 0755);
    WriteLevel("sfx/2.wav", 5.0, 0.3f);
    WriteFile("sfx/.hidden", "not a sound at all");
    WriteLevel("sfx/10.wav", 5.0, 0.1f);
    WriteLevel("mus/a.wav", 0.2, 0.3f);
    WriteLevel("mus/b.flac", 600.0, 0.25f, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    // OpenAL reads its configuration once per process: one wave file, one test.
    WriteFile("alsoft.conf", "[general]\ndrivers=wave\nchannels=mono\nfrequency=44100\n[wave]\n"
                             "file=" +
                                 scratch.Path() + "/out.wav\n");
    unsetenv("ALSOFT_DRIVERS");
    setenv("ALSOFT_CONF", (scratch.Path() + "/alsoft.conf").c_str(), 1);
    ASSERT_TRUE(FindAudioFiles("sfx", "mus") && InitSound()) << "the wave writer is a device";
    const Clock::time_point start = Clock::now();
    auto at = [start](double s) {
        std::this_thread::sleep_until(start + std::chrono::duration<double>(s));
    };
    testing::internal::CaptureStderr();
    for (int round = 0; round < 3; ++round) {
        PlaySoundEffect(0);
        PlaySoundEffect(3);
    }
    const std::string said = testing::internal::GetCapturedStderr();
    at(0.2);
    PlaySoundEffect(2);
    at(0.6);
    PlaySoundEffect(1);
    PlaySoundEffect(1);
    PlaySoundEffect(1);
    at(1.0);
    StopAllSounds();
    PlaySoundEffect(5);
    PlaySoundEffect(-1);
    at(1.4);
    PlaySoundEffect(4);
    at(2.0);
    PlayMusic(0, true);
    at(3.2);
    StopAllSounds();
    at(3.8);
    PlayMusic(1, false);
    at(4.7);
    ShutdownSound();
    effectFiles.clear();
    musicFiles.clear();
    const std::vector<float> mix = ReadMix("out.wav");
    ASSERT_GT(mix.size(), 44100u * 46 / 10);
    auto level = [&mix](double from, double to, bool loudest = false) {
        auto first = mix.begin() + long(from * 44100);
        auto last = mix.begin() + long(to * 44100);
        auto quieter = [](float a, float b) {
            return std::fabs(a) < std::fabs(b);
        };
        return std::fabs(loudest ? *std::max_element(first, last, quieter)
                                 : *std::min_element(first, last, quieter));
    };
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
    EXPECT_NE(said.find("sfx\\.hidden"), std::string::npos) << said;
    EXPECT_NE(said.find("sfx\\B"), std::string::npos) << said;
    EXPECT_NEAR(level(0.35, 0.55), 0.3f, 0.04f) << "effect 2 is 2.wav";
    EXPECT_NEAR(level(0.75, 0.95), 0.6f, 0.06f) << "three copies of 10.wav beside it";
    EXPECT_LT(level(1.15, 1.35, true), 0.001f) << "stopping all sounds silences them";
    EXPECT_GT(level(1.4, 1.65, true), 0.25f) << "effect 4 plays once";
    EXPECT_LT(level(1.75, 1.95, true), 0.001f) << "and ends with its file";
    EXPECT_NEAR(level(2.3, 3.15), 0.3f, 0.04f) << "the looped file sounds without a gap";
    EXPECT_LT(level(3.4, 3.7, true), 0.001f);
    EXPECT_NEAR(level(4.1, 4.6), 0.25f, 0.03f);
}
