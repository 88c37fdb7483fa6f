// The Windows sound card, through Allegro's digital sound (DirectSound).
// A one-shot sound is loaded whole as an Allegro sample, once, and plays
// from memory. An Ogg Vorbis file, and anything that loops, such as the title
// music, is streamed: a feeder thread of its own keeps each stream topped up,
// since the options screen and the name entry wait on the keyboard and
// refill nothing.
#include <allegro.h>
#include <vorbis/vorbisfile.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "engine/SoundDevice.h"

namespace {

// One half of a stream's buffer: 93 ms at 44.1 kHz, so the feeder, waking
// every 10 ms, has plenty of time before a stream runs dry.
constexpr int kStreamFrames = 4096;
constexpr auto kFeedInterval = std::chrono::milliseconds(10);
constexpr int kFullVolume = 255;
constexpr int kCentre = 128;
// Allegro's mixer plays this many sounds at once; more than the game makes.
constexpr int kVoices = 32;
// An Allegro stream's silence: its 16-bit samples are unsigned.
constexpr unsigned short kSilence = 0x8000;

// An Ogg Vorbis file played through an Allegro stream, start to end, and
// again when it loops.
struct Stream {
    OggVorbis_File file{};
    bool opened = false;
    bool loop = false;
    int channels = 0;
    bool fileEnded = false;
    int silentBuffers = 0;  // given after the end, so the last sound is heard whole
    AUDIOSTREAM* stream = nullptr;

    ~Stream()
    {
        if (stream != nullptr)
            stop_audio_stream(stream);
        if (opened)
            ov_clear(&file);
    }

    // Fills one half of the stream's buffer; false once the sound is over.
    bool Feed()
    {
        auto* samples = static_cast<unsigned short*>(get_audio_stream_buffer(stream));
        if (samples == nullptr)
            return true;
        char* bytes = reinterpret_cast<char*>(samples);
        const int size = kStreamFrames * channels * 2;
        int got = 0;
        bool rewound = false;
        while (got < size && !fileEnded) {
            int section = 0;
            // Little-endian, 16 bits, unsigned: Allegro's own format.
            const long n = ov_read(&file, bytes + got, size - got, 0, 2, 0, &section);
            if (n > 0) {
                got += static_cast<int>(n);
                rewound = false;
                continue;
            }
            if (n == OV_HOLE)
                continue;  // a hole in the stream: play on past it
            if (n < 0) {
                fileEnded = true;  // a broken file ends here, never loops on its fault
                break;
            }
            // A rewind that gives nothing means an empty file: stop there.
            if (!loop || rewound || ov_pcm_seek(&file, 0) != 0)
                fileEnded = true;
            rewound = true;
        }
        for (int i = got / 2; i < kStreamFrames * channels; ++i)
            samples[i] = kSilence;
        free_audio_stream_buffer(stream);
        if (fileEnded)
            ++silentBuffers;
        return silentBuffers < 3;
    }
};

class AllegroSoundDevice : public SoundOutput {
public:
    AllegroSoundDevice()
    {
        feeder = std::thread([this] {
            FeedStreams();
        });
    }

    ~AllegroSoundDevice() override
    {
        {
            std::lock_guard<std::mutex> guard(lock);
            stopping = true;
        }
        wake.notify_all();
        feeder.join();
        StopAll();
        for (auto& loaded : samples)
            if (loaded.second != nullptr)
                destroy_sample(loaded.second);
        remove_sound();
    }

    AllegroSoundDevice(const AllegroSoundDevice&) = delete;
    AllegroSoundDevice& operator=(const AllegroSoundDevice&) = delete;

    void Play(const std::string& path, bool loop) override
    {
        std::lock_guard<std::mutex> guard(lock);
        if (loop || Streamed(path))
            StartStream(path, loop);
        else
            PlaySample(path);
    }

    void StopAll() override
    {
        std::lock_guard<std::mutex> guard(lock);
        streams.clear();
        for (auto& loaded : samples)
            if (loaded.second != nullptr)
                stop_sample(loaded.second);
    }

private:
    static bool IsOggFile(const std::string& path)
    {
        char magic[4] = {};
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (file == nullptr)
            return false;
        const bool ogg = std::fread(magic, 1, 4, file) == 4 && std::memcmp(magic, "OggS", 4) == 0;
        std::fclose(file);
        return ogg;
    }

    // Whether the file is Ogg Vorbis, looked at once per file: effects play often.
    bool Streamed(const std::string& path)
    {
        auto known = oggFiles.find(path);
        if (known == oggFiles.end())
            known = oggFiles.emplace(path, IsOggFile(path)).first;
        return known->second;
    }

    void PlaySample(const std::string& path)
    {
        auto found = samples.find(path);
        if (found == samples.end())
            found = samples.emplace(path, load_sample(path.c_str())).first;
        if (found->second == nullptr) {
            ReportUnplayable(path, "not a sound file Allegro can read");
            return;
        }
        play_sample(found->second, kFullVolume, kCentre, 1000, 0);
    }

    void StartStream(const std::string& path, bool loop)
    {
        auto voice = std::make_unique<Stream>();
        voice->loop = loop;
        if (ov_fopen(path.c_str(), &voice->file) != 0) {
            ReportUnplayable(path, "not an Ogg Vorbis file");
            return;
        }
        voice->opened = true;
        const vorbis_info* info = ov_info(&voice->file, -1);
        voice->channels = info ? info->channels : 0;
        if (voice->channels != 1 && voice->channels != 2) {
            ReportUnplayable(path, "only mono and stereo sounds can be played");
            return;
        }
        voice->stream = play_audio_stream(kStreamFrames, 16, voice->channels == 2,
                                          static_cast<int>(info->rate), kFullVolume, kCentre);
        if (voice->stream == nullptr)
            return;  // every voice is busy
        voice->Feed();
        streams.push_back(std::move(voice));
    }

    void FeedStreams()
    {
        std::unique_lock<std::mutex> guard(lock);
        while (!stopping) {
            wake.wait_for(guard, kFeedInterval);
            std::vector<std::unique_ptr<Stream>> playing;
            for (auto& voice : streams)
                if (voice->Feed())
                    playing.push_back(std::move(voice));
            streams.swap(playing);
        }
    }

    void ReportUnplayable(const std::string& path, const std::string& reason)
    {
        if (reported.insert(path).second)
            std::fprintf(stderr, "Sound \"%s\" skipped: %s\n", path.c_str(), reason.c_str());
    }

    std::mutex lock;  // guards everything below, and every call into Allegro's sound
    std::map<std::string, SAMPLE*> samples;
    std::map<std::string, bool> oggFiles;
    std::vector<std::unique_ptr<Stream>> streams;
    std::set<std::string> reported;
    std::condition_variable wake;
    bool stopping = false;
    std::thread feeder;
};

}  // namespace

std::unique_ptr<SoundOutput> OpenSoundDevice()
{
    reserve_voices(kVoices, 0);
    if (install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr) != 0)
        return nullptr;
    return std::make_unique<AllegroSoundDevice>();
}
