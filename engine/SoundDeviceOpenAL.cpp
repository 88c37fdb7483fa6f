// Streams sound files through OpenAL, read by libsndfile: each playing sound
// is one source with a short queue of buffers that a feeder thread keeps
// topped up, so a long piece of music starts as quickly as a short effect.
#include <AL/al.h>
#include <AL/alc.h>
#include <sndfile.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "engine/Platform.h"
#include "engine/SoundDevice.h"

namespace {

class SoundDevice : public SoundOutput {
public:
    // Null when no output device can be opened.
    static std::unique_ptr<SoundDevice> Create();
    ~SoundDevice() override;
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    // Starts the file at once; with loop it repeats until stopped.
    void Play(const std::string& path, bool loop) override;
    // Every playing sound ends at once, music included.
    void StopAll() override;

    struct Voice;

private:
    SoundDevice(ALCdevice* device, ALCcontext* context);
    void FeedVoices();
    void ReportUnplayable(const std::string& path, const std::string& reason);

    ALCdevice* device;
    ALCcontext* context;
    std::mutex lock;  // guards voices and reported
    std::vector<std::unique_ptr<Voice>> voices;
    std::set<std::string> reported;
    std::condition_variable wake;
    bool stopping = false;
    std::thread feeder;
};

// Four buffers of 4096 frames hold a third of a second at 44.1 kHz: the
// feeder, waking every 10 ms, has plenty of time before a sound runs dry.
constexpr int kBuffersPerVoice = 4;
constexpr sf_count_t kFramesPerBuffer = 4096;
constexpr auto kFeedInterval = std::chrono::milliseconds(10);
// More overlapping sounds than the game ever makes; beyond it new ones are dropped.
constexpr size_t kMaxVoices = 64;

struct SoundDevice::Voice {
    SNDFILE* file = nullptr;
    SF_INFO info{};
    ALenum format = 0;
    bool loop = false;
    bool fileEnded = false;
    ALuint source = 0;
    ALuint buffers[kBuffersPerVoice] = {};

    ~Voice()
    {
        if (source != 0) {
            alSourceStop(source);
            alSourcei(source, AL_BUFFER, 0);
            alDeleteSources(1, &source);
            alDeleteBuffers(kBuffersPerVoice, buffers);
        }
        if (file != nullptr)
            sf_close(file);
    }

    // Reads the next stretch of the file into one buffer, starting the file
    // over when it loops. False when nothing is left to play.
    bool Fill(ALuint buffer)
    {
        if (fileEnded)
            return false;
        const int channels = info.channels;
        std::vector<float> samples(kFramesPerBuffer * channels);
        sf_count_t frames = 0;
        bool rewound = false;
        while (frames < kFramesPerBuffer) {
            const sf_count_t got =
                sf_readf_float(file, samples.data() + frames * channels, kFramesPerBuffer - frames);
            frames += got;
            if (got > 0)
                rewound = false;
            if (frames == kFramesPerBuffer)
                break;
            // A rewind that gives nothing means an empty file: stop there.
            if (!loop || rewound || sf_seek(file, 0, SEEK_SET) < 0) {
                fileEnded = true;
                break;
            }
            rewound = true;
        }
        if (frames == 0)
            return false;
        std::vector<short> pcm(frames * channels);
        for (size_t i = 0; i < pcm.size(); ++i)
            pcm[i] = static_cast<short>(std::clamp(samples[i], -1.0f, 1.0f) * 32767.0f);
        alBufferData(buffer, format, pcm.data(), static_cast<ALsizei>(pcm.size() * sizeof(short)),
                     info.samplerate);
        alSourceQueueBuffers(source, 1, &buffer);
        return true;
    }

    // Gives back the buffers the source has finished and refills them.
    // False once the sound is over.
    bool Feed()
    {
        ALint processed = 0;
        alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
        while (processed-- > 0) {
            ALuint buffer = 0;
            alSourceUnqueueBuffers(source, 1, &buffer);
            Fill(buffer);
        }
        ALint state = 0, queued = 0;
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
        if (state == AL_PLAYING)
            return true;
        if (queued == 0)
            return false;
        // The source ran dry before the feeder came round: carry on.
        alSourcePlay(source);
        return true;
    }
};

std::unique_ptr<SoundDevice> SoundDevice::Create()
{
    ALCdevice* device = alcOpenDevice(nullptr);
    if (device == nullptr)
        return nullptr;
    ALCcontext* context = alcCreateContext(device, nullptr);
    if (context == nullptr || alcMakeContextCurrent(context) == ALC_FALSE) {
        if (context != nullptr)
            alcDestroyContext(context);
        alcCloseDevice(device);
        return nullptr;
    }
    return std::unique_ptr<SoundDevice>(new SoundDevice(device, context));
}

SoundDevice::SoundDevice(ALCdevice* outputDevice, ALCcontext* outputContext)
    : device(outputDevice), context(outputContext)
{
    feeder = std::thread([this] {
        FeedVoices();
    });
}

SoundDevice::~SoundDevice()
{
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    wake.notify_all();
    feeder.join();
    voices.clear();
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
    alcCloseDevice(device);
}

void SoundDevice::FeedVoices()
{
    std::unique_lock<std::mutex> guard(lock);
    while (!stopping) {
        wake.wait_for(guard, kFeedInterval);
        auto over =
            std::remove_if(voices.begin(), voices.end(), [](const std::unique_ptr<Voice>& voice) {
                return !voice->Feed();
            });
        voices.erase(over, voices.end());
    }
}

void SoundDevice::ReportUnplayable(const std::string& path, const std::string& reason)
{
    if (reported.insert(path).second)
        std::fprintf(stderr, "Sound \"%s\" skipped: %s\n", path.c_str(), reason.c_str());
}

void SoundDevice::Play(const std::string& path, bool loop)
{
    auto voice = std::make_unique<Voice>();
    voice->loop = loop;
    voice->file = sf_open(platform::NativePath(path).c_str(), SFM_READ, &voice->info);

    std::lock_guard<std::mutex> guard(lock);
    if (voice->file == nullptr) {
        ReportUnplayable(path, sf_strerror(nullptr));
        return;
    }
    if (voice->info.channels == 1) {
        voice->format = AL_FORMAT_MONO16;
    } else if (voice->info.channels == 2) {
        voice->format = AL_FORMAT_STEREO16;
    } else {
        ReportUnplayable(path, "only mono and stereo sounds can be played");
        return;
    }
    if (voices.size() >= kMaxVoices)
        return;

    alGetError();
    alGenSources(1, &voice->source);
    if (alGetError() != AL_NO_ERROR) {
        voice->source = 0;
        return;
    }
    alGenBuffers(kBuffersPerVoice, voice->buffers);
    for (ALuint buffer : voice->buffers)
        if (!voice->Fill(buffer))
            break;
    alSourcePlay(voice->source);
    voices.push_back(std::move(voice));
}

void SoundDevice::StopAll()
{
    std::lock_guard<std::mutex> guard(lock);
    voices.clear();
}

}  // namespace

std::unique_ptr<SoundOutput> OpenSoundDevice()
{
    return SoundDevice::Create();
}
