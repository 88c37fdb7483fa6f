// Sound effects and music, numbered by their place in the sorted listing of
// "data\audio\sfx" and "data\audio\mus".
#pragma once

#include <memory>
#include <string>
#include <vector>

// The effects by their place in "data\audio\sfx", named for what they are.
// Some serve more than one event: the row-cleared chord also ends the
// countdown, starts a game and finishes a name; the explosion also takes back
// a letter; the tick also counts down and types a letter.
enum SoundEffect : int {
    kLandingSound = 0,
    kHopSound = 1,  // shipped, never played
    kDeathSound = 2,
    kRowClearedSound = 3,
    kExplosionSound = 4,
    kTickSound = 5,
};
// The music by its place in "data\audio\mus".
enum Music : int { kTitleMusic = 0 };

// Whatever plays the files the game asks for: the sound card in the game,
// a recorder in the tests.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    virtual void Play(const std::string& path, bool loop) = 0;
    virtual void StopAll() = 0;
};

bool InitSound();
// Plays through the given output from now on, as InitSound does with the card.
void UseSoundOutput(std::unique_ptr<SoundOutput> output);
bool FindAudioFiles(const std::string& effectsDir, const std::string& musicDir);
bool ListDirectory(const std::string& dir, std::vector<std::string>& files);
void PlaySoundEffect(int n);
void PlayMusic(int n, bool loop);
void StopAllSounds();
void ShutdownSound();

extern std::vector<std::string> effectFiles;
extern std::vector<std::string> musicFiles;
