// Sound effects and music, numbered by their place in the sorted listing of
// "data\audio\sfx" and "data\audio\mus".
#pragma once

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

bool InitSound();
bool FindAudioFiles(const std::string& effectsDir, const std::string& musicDir);
bool ListDirectory(const std::string& dir, std::vector<std::string>& files);
void PlaySoundEffect(int n);
void PlayMusic(int n, bool loop);
void StopAllSounds();
void ShutdownSound();

extern std::vector<std::string> effectFiles;
extern std::vector<std::string> musicFiles;
