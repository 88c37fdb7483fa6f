// Sound numbers: the place of a file in the sorted listing of its folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "engine/Sound.h"
#include "tests/support/TestSupport.h"

using testsupport::ScratchDir;
using testsupport::WriteFile;

namespace {

void MakeAudioFolders(bool effects, bool music)
{
    mkdir("data", 0755);
    mkdir("data/audio", 0755);
    if (effects) {
        mkdir("data/audio/sfx", 0755);
        for (const char* name : {"land.wav", "die.wav", "boom.wav", "explode.wav"})
            WriteFile(std::string("data/audio/sfx/") + name, "RIFF");
    }
    if (music) {
        mkdir("data/audio/mus", 0755);
        WriteFile("data/audio/mus/title.ogg", "OggS");
        WriteFile("data/audio/mus/game.ogg", "OggS");
    }
}

struct ClearLists {
    ~ClearLists()
    {
        effectFiles.clear();
        musicFiles.clear();
    }
};

}  // namespace

TEST(SoundNumbering, FilesAreNumberedInByteOrderWithTheGamesPaths)
{
    ScratchDir scratch;
    ClearLists clear;
    MakeAudioFolders(true, true);
    ASSERT_TRUE(FindAudioFiles("data\\audio\\sfx", "data\\audio\\mus"));
    const std::vector<std::string> effects = {
        "data\\audio\\sfx\\boom.wav", "data\\audio\\sfx\\die.wav",
        "data\\audio\\sfx\\explode.wav", "data\\audio\\sfx\\land.wav"};
    EXPECT_EQ(effects, effectFiles);
    EXPECT_EQ((std::vector<std::string>{"data\\audio\\mus\\game.ogg", "data\\audio\\mus\\title.ogg"}),
              musicFiles);
}

TEST(SoundNumbering, MissingFoldersLeaveTheirListsEmpty)
{
    {
        ScratchDir scratch;
        ClearLists clear;
        MakeAudioFolders(false, true);
        EXPECT_FALSE(FindAudioFiles("data\\audio\\sfx", "data\\audio\\mus"));
        EXPECT_TRUE(effectFiles.empty());
        EXPECT_TRUE(musicFiles.empty()) << "music is not listed when the effects are missing";
    }
    {
        ScratchDir scratch;
        ClearLists clear;
        MakeAudioFolders(true, false);
        EXPECT_FALSE(FindAudioFiles("data\\audio\\sfx", "data\\audio\\mus"));
        EXPECT_EQ(4u, effectFiles.size());
        EXPECT_TRUE(musicFiles.empty());
    }
}
