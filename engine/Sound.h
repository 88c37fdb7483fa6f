// Sound effects and music, numbered by their place in the sorted listing of
// "data\audio\sfx" and "data\audio\mus".
#pragma once

#include <string>
#include <vector>

bool InitSound();
bool FindAudioFiles(const std::string& effectsDir, const std::string& musicDir);
bool ListDirectory(const std::string& dir, std::vector<std::string>& files);
void PlaySoundEffect(int n);
void PlayMusic(int n, bool loop);
void StopAllSounds();
void ShutdownSound();

extern std::vector<std::string> effectFiles;
extern std::vector<std::string> musicFiles;
