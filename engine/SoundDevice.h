// The sound output behind the game's numbered effects and music: OpenAL for
// the output, libsndfile to read the files. Every sound is streamed from its
// file by a feeder thread, so a long piece of music starts as quickly as a
// short effect, and any number of sounds overlap.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <AL/alc.h>

#include "engine/Sound.h"

class SoundDevice : public SoundOutput {
public:
    // Null when no output device can be opened.
    static std::unique_ptr<SoundDevice> Create();
    ~SoundDevice() override;
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    // Starts the file at once; with loop it repeats until stopped. A file
    // that cannot be read is skipped, with its reason on stderr once.
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
