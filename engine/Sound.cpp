// Sound effects and music by number: the number is the file's place in the
// sorted listing of its folder.
#include "engine/Sound.h"

#include <memory>

#include "engine/Platform.h"
#include "engine/SoundDevice.h"

std::vector<std::string> effectFiles;
std::vector<std::string> musicFiles;
static bool soundReady = false;
static std::unique_ptr<SoundOutput> soundEngine;

bool InitSound()
{
    UseSoundOutput(OpenSoundDevice());
    return soundReady;
}

void UseSoundOutput(std::unique_ptr<SoundOutput> output)
{
    soundEngine = std::move(output);
    soundReady = soundEngine != nullptr;
}

bool FindAudioFiles(const std::string& effectsDir, const std::string& musicDir)
{
    if (!ListDirectory(effectsDir, effectFiles))
        return false;
    return ListDirectory(musicDir, musicFiles);
}

// Every entry counts, sub-folders included, so that the numbers the game
// plays stay what they are when a file cannot be played.
bool ListDirectory(const std::string& dir, std::vector<std::string>& files)
{
    std::vector<std::string> names;
    if (!platform::ListDirectorySorted(dir, names))
        return false;
    for (const std::string& name : names)
        files.push_back(dir + "\\" + name);
    return true;
}

void PlaySoundEffect(int n)
{
    if (n >= 0 && n < static_cast<int>(effectFiles.size()) && soundReady)
        soundEngine->Play(effectFiles[n], false);
}

void PlayMusic(int n, bool loop)
{
    if (n >= 0 && n < static_cast<int>(musicFiles.size()) && soundReady)
        soundEngine->Play(musicFiles[n], loop);
}

void StopAllSounds()
{
    if (soundReady)
        soundEngine->StopAll();
}

void ShutdownSound()
{
    if (!soundReady)
        return;
    soundEngine->StopAll();
    soundEngine.reset();
    soundReady = false;
}
