// Scripts to games and games to scripts.
#include "tools/replaymaker/Script.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace {

// The sizes of the installed player_move.png and crate.png.
constexpr RuleSizes kInstalledSizes = {22, 21, 20, 20};

// One span of keys, as "RJ12" or "_30"; false when it is none.
bool ReadSpan(const std::string& word, InputRun& run)
{
    std::size_t at = 0;
    TickInput keys;
    for (; at < word.size() && !std::isdigit(static_cast<unsigned char>(word[at])); ++at) {
        const char c = word[at];
        if (c == 'L')
            keys.left = true;
        else if (c == 'R')
            keys.right = true;
        else if (c == 'J')
            keys.jump = true;
        else if (c != '_')
            return false;
    }
    if (at == 0 || at == word.size())
        return false;
    run.keys = PackKeys(keys);
    run.ticks = static_cast<std::uint32_t>(std::strtoul(word.c_str() + at, nullptr, 10));
    return run.ticks > 0;
}

}  // namespace

bool ReadScript(const std::string& text, Replay& game, std::string& error)
{
    game = Replay();
    game.sizes = kInstalledSizes;
    game.ending = GameEnding::Crate;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line[0] == '#')
            continue;
        std::istringstream words(line);
        std::string word;
        while (words >> word) {
            InputRun run;
            if (word == "seed" && words >> game.start.seed)
                continue;
            if (word == "ESC") {
                game.ending = GameEnding::Escape;
            } else if (ReadSpan(word, run)) {
                game.inputs.push_back(run);
                game.ticks += run.ticks;
            } else {
                error = "cannot read \"" + word + "\"";
                return false;
            }
        }
    }
    return true;
}

std::string SpansText(const Replay& game)
{
    std::string text;
    std::size_t lineStart = 0;
    for (const InputRun& run : game.inputs) {
        const TickInput keys = UnpackKeys(run.keys);
        std::string word =
            std::string(keys.left ? "L" : "") + (keys.right ? "R" : "") + (keys.jump ? "J" : "");
        word = (word.empty() ? "_" : word) + std::to_string(run.ticks);
        if (text.size() - lineStart + word.size() > 96) {
            text += "\n";
            lineStart = text.size();
        }
        text += (text.size() == lineStart ? "" : " ") + word;
    }
    return text;
}
