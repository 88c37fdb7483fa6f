// The screens around a game on a real 640 x 400 window: keys go through Allegro's keyboard
// buffer and key array, the test ticks the title's clock, and what the player sees is read
// back from X.
#include <gtest/gtest.h>

#include <allegro.h>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <functional>
#include <thread>

#include "engine/Engine.h"
#include "frontend/Screens.h"
#include "game/GameState.h"
#include "game/Rules.h"
#include "game/Text.h"
#include "tests/support/TestSupport.h"
#include "tests/ol/LayerTestSupport.h"
#include "tests/support/GameProcess.h"

using namespace std::chrono_literals;
using namespace testsupport;
using Clock = std::chrono::steady_clock;

namespace {
// The lit columns between the prompt and the bar, where only the heads go: "24-637".
std::string Heads()
{
    const std::vector<uint32_t> screen = GrabScreen(640, 362);
    int first = 640;
    int last = -1;
    for (std::size_t i = 284 * 640; i < screen.size(); ++i) {
        if (screen[i]) {
            first = std::min(first, int(i % 640));
            last = std::max(last, int(i % 640));
        }
    }
    return last < 0 ? "" : std::to_string(first) + "-" + std::to_string(last);
}

// Queues keys: a-z typed, Q shifted, 7 a digit, > < v ^ the arrows, ! Enter, # Backspace,
// ~ Escape.
void Queue(const std::string& keys)
{
    const std::string named = "><v^!~#Q7";
    const int codes[] = {
        KEY_RIGHT << 8,      KEY_LEFT << 8,     KEY_DOWN << 8,          KEY_UP << 8,
        KEY_ENTER << 8 | 13, KEY_ESC << 8 | 27, KEY_BACKSPACE << 8 | 8, KEY_Q << 8 | 'Q',
        KEY_7 << 8 | '7'};
    for (char c : keys) {
        const std::size_t at = named.find(c);
        simulate_keypress(at != std::string::npos ? codes[at] : (KEY_A + c - 'a') << 8 | c);
    }
}

// Leaves a screen: Enter or Escape held down, and queued.
void Leave(int k)
{
    key[k] = 1;
    simulate_keypress(k << 8 | (k == KEY_ESC ? 27 : 13));
}

class Screens : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(oltest::OpenTestScreen(640, 400)) << "the screen tests need an X server (Xvfb)";
        scaleX = scaleY = 2.0f;
        sem_init(&gameState.tickSemaphore, 0, 0);
        clear_keybuf();
        key[KEY_ENTER] = key[KEY_ESC] = key[KEY_H] = 0;
    }
    std::string Played(std::string played = "")  // since last asked, effects by number: "stop3"
    {
        for (const std::string& s : sound.Take())
            played += s.compare(0, 3, "sfx") ? s : s.substr(3);
        return played;
    }
    // Runs the screen on this thread while the player acts on another, who leaves it at the end.
    void Beside(void (*screen)(), const std::function<void()>& player)
    {
        std::thread other(player);
        screen();
        other.join();
        clear_keybuf();
        key[KEY_ENTER] = key[KEY_ESC] = 0;
    }
    bool Shows(const TextLine& line)
    {
        return Poll(1000, 5, [&] {
            return text.Has(Said(line));
        });
    }
    // Keys queued for what is drawn next.
    void Press(const std::string& keys)
    {
        if (!keys.empty())
            text.Clear();
        Queue(keys);
    }
    // So many ticks of the title's clock, each waited for to the end of its step, keeping the
    // last one's text; false when one stalls.
    bool Tick(int steps)
    {
        for (auto end = Clock::now() + 2s; steps-- > 0; end = Clock::now() + 2s) {
            text.Clear();
            gameState.tickCounter = 1;
            sem_post(&gameState.tickSemaphore);
            while (gameState.tickCounter > 0)
                if (Clock::now() > end)
                    return false;
        }
        return true;
    }
    ScratchDir dir;
    SoundRecorder sound;
    TextSeen text;  // since last cleared
    const ol::Color* palette = gameState.palette;
};

// The title takes turns on its clock: the attract phase to step 899 with the prompt's three
// colours, the credits and the heads, the table from 900 (or at H) to 1500, then round again;
// between ticks it sleeps.
TEST_F(Screens, TitleTakesTurnsOnItsClock)
{
    dir.CopyData({"gfx"});
    WriteTable(ScoreBytes({4321, 300, 20, 1, 0}), NameLines("ANNA,BO,CY,DI,EVE"));
    const auto prompt = [&](int x, int colour) {
        return TextLine{x, 120, palette[colour], "PRESS ENTER TO START"};
    };
    const TextLine last{95, 120, palette[11], "EVE..............0"};
    const TextLine credits{191, 181, palette[7],
                           "QUILLEMARCH  -  CODE GRAPHICS AND SOUND BY THE QUILLEMARCH TEAM  -  "
                           "< > WALK   SPACE JUMP   ENTER START   O OPTIONS   H HIGH SCORES   ESC "
                           "QUIT"};
    const struct {  // from -1: the clock as the last row left it
        const char *what, *heads;
        int from, steps, after;
        TextLine line;
    } script[] = {
        {"the prompt in the first colour", "24-637", 0, 11, 11, prompt(90, 10)},
        {"the second after ten steps", "26-635", -1, 1, 12, prompt(90, 6)},
        {"the first after ten more", "48-615", -1, 10, 22, prompt(90, 10)},
        {"the third after ten more", "", -1, 10, 32, prompt(90, 11)},
        {"the third for eleven steps", "", -1, 10, 42, prompt(90, 11)},
        {"then the second again", "", -1, 1, 43, prompt(90, 6)},
        {"the credits crawl", "", -1, 87, 130, credits},
        {"the last attract step", "", 899, 1, 900, prompt(90, 11)},
        {"the table from 900", "", -1, 1, 901, {95, 80, palette[11], "ANNA..........4321"}},
        {"its heading waves", "", -1, 0, 901, {120, 35, palette[15], "H"}},
        {"the table to 1500", "", 1500, 1, 1501, last},
        {"then round again", "", -1, 1, 1, last},
        {"the prompt where the last row stood", "380-391", -1, 1, 2, prompt(95, 11)},
    };
    key[KEY_ENTER] = 1;
    Beside(runTitleScreen, [&] {
        std::this_thread::sleep_for(700ms);
        key[KEY_ENTER] = 0;  // the Enter that ended the name entry is let go only now
        for (const auto& row : script) {
            SCOPED_TRACE(row.what);
            if (row.from >= 0)
                gameState.titleTicks = row.from;
            EXPECT_TRUE(Tick(row.steps) && gameState.titleTicks == row.after)
                << gameState.titleTicks;
            EXPECT_TRUE(Poll(1000, 5, [&row] {
                return Heads() == row.heads;
            })) << Heads();
            EXPECT_TRUE(text.Has(Said(row.line))) << Said(row.line);
        }
        EXPECT_TRUE(gameState.hiScore == 4321 && Played() == "mus0 loop");
        key[KEY_H] = 1;
        EXPECT_TRUE(Tick(1) && gameState.titleTicks == 901) << "H shows the table";
        const std::clock_t busy = std::clock();
        std::this_thread::sleep_for(300ms);
        EXPECT_LT(std::clock() - busy, CLOCKS_PER_SEC / 30) << "no tick, no work";
        key[KEY_H] = 0;
        Leave(KEY_ENTER);
        sem_post(&gameState.tickSemaphore);
    });
    EXPECT_EQ(Played(), "stop3");
}

// The title and the end of a game keep the real clock's pace, whether each frame is shown at
// once or waits for the display's refresh (the suite runs this once more with every buffer swap
// held to 60 Hz): in 8 s the title takes 800 steps, and in 1 s GAME OVER's 100 passes count 45
// seconds of TIME down to 10, a step every 30 degrees of the wave. Its clock runs at 100 Hz.
// Loading the game that starts the clock gives the worker the size of his picture.
TEST_F(Screens, TitleAndGameOverKeepTheClocksPace)
{
    gameState.worker.width = gameState.worker.height = 0;
    LoadGame();
    EXPECT_EQ(std::pair(gameState.worker.width, gameState.worker.height), std::pair(22, 21))
        << "the size of player_move.png: left at 0 he fell through crates";
    gameState.titleTicks = 0;
    Beside(runTitleScreen, [] {
        EXPECT_TRUE(Poll(5000, 5, [] {
            return gameState.titleTicks >= 100;
        }));
        std::this_thread::sleep_for(8s);
        EXPECT_NEAR(gameState.titleTicks, 900, 20) << "the attract phase";
        Leave(KEY_ENTER);
    });
    gameState.elapsedSeconds = 45;
    gameState.tickCounter = 1;  // the tick the worker died in
    Beside(EndOfGame, [] {
        std::this_thread::sleep_for(1s);
        EXPECT_NEAR(gameState.elapsedSeconds, 10, 1) << "GAME OVER's countdown";
        key[KEY_ENTER] = 1;
    });
    remove_int(TimerTick);
}

// Grid moves and edges, typing, erasing, eight letters, END needing one, each with its sound;
// only a score above the fifth place is entered, at the place the headline names.
TEST_F(Screens, NameEntryKeysSpellTheNameAtItsPlace)
{
    const std::string kRescue = "zvv>>>>>>>>>!";  // finishes an entry the keys left open
    const std::string n = "nvv>>>>>>>>!";         // N, then END
    // Of a table of 500 A, 400 B, 300 C, 200 D, 100 E in so many places.
    const struct {
        const char* what;
        std::size_t places;
        int score;
        std::string keys, names, place, sounds;
    } cases[] = {
        {"eight", 5, 1000, "qQ7bcdefghi!vv>>>>>>>>!", "QBCDEFGH,A,B,C,D", "1ST", "555555553"},
        {"edge", 5, 1000, ">>>>>>>>>>!<<<<<<<<<<vvv!^^^v!v>>>>>>>>!", "JUK,A,B,C,D", "1ST", "5553"},
        {"erase", 5, 1000, "#abc#vv>>>>>>>!!!m>!", "M,A,B,C,D", "1ST", "55544453"},
        {"END empty, blank, ~", 5, 1000, "vv>>>>>>>>!<<!~x>>>!", "X,A,B,C,D", "1ST", "53"},
        {"equal to the fifth: no entry", 5, 100, "", "A,B,C,D,E", "", ""},
        {"second", 5, 450, n, "A,N,B,C,D", "2ND", "53"},
        {"fourth", 5, 250, n, "A,B,C,N,D", "4TH", "53"},
        {"one more: fifth", 5, 101, n, "A,B,C,D,N", "5TH", "53"},
        {"a short table has free places", 2, 10, n, "A,B,N,-,-", "3RD", "53"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteTable(ScoreBytes({500, 400, 300, 200, 100}).substr(0, 4 * c.places),
                   NameLines("A,B,C,D,E").substr(0, 3 * c.places));
        Press(c.keys + kRescue);
        gameState.worker.score = c.score;
        gameState.titleTicks = 0;
        runHighScoreEntry();
        std::size_t left = 0;
        for (; keypressed(); readkey())
            ++left;
        EXPECT_EQ(left, kRescue.size() + (c.place.empty() ? c.keys.size() : 0)) << "keys taken";
        EXPECT_EQ(ReadFile("data/names.hst"), NameLines(c.names));
        EXPECT_EQ(gameState.titleTicks, c.place.empty() ? 0 : 1100) << "title opens on the table";
        EXPECT_EQ(Played(), c.sounds);
        const std::string headline = "YOU ENTERED THE " + c.place + " PLACE!";
        for (const TextLine& l : {TextLine{68, 20, palette[10], headline},
                                  {105, 40, palette[6], "INPUT YOUR NAME:"},
                                  {195, 115, palette[11], "END"}})
            EXPECT_EQ(text.Has(Said(l)), !c.place.empty()) << Said(l);
    }
}

// Each key changes its setting and its line at once, R through the sizes in turn; Escape and
// Enter leave keeping the changes.
TEST_F(Screens, OptionsEachKeyChangesItsSettingAndItsLine)
{
    Settings& s = gameState.settings;
    const auto line = [&](int x, int y, std::string said) {
        return TextLine{x, y, palette[6], said};
    };
    // R nine times goes round the sizes from 640 x 400 to the first, 320 x 200.
    std::vector<std::pair<std::string, TextLine>> visit = {
        {"", line(70, 50, "SCREEN (M)ODE: WINDOWED")},
        {"rrrrrrrrr", line(77, 40, "(R)ESOLUTION: 320X200")},
        {"m", line(70, 50, "SCREEN (M)ODE: FULL SCREEN")},
        {"a", line(56, 60, "(A)NTI-ALIASING: DISABLED")},
        {"a", line(56, 60, "(A)NTI-ALIASING: ENABLED")},
        {"xqz", line(112, 70, "(S)OUND: ENABLED")},
        {"s", line(112, 70, "(S)OUND: DISABLED")},
        {"", {30, 150, palette[2], "PRESS ENTER TO ACCEPT THESE SETTINGS"}},
    };
    s.width = 640;
    s.height = 400;
    s.antiAliasing = 4;
    s.fullscreen = false;
    s.soundEnabled = true;
    resolutionIndex = FindResolutionIndex(640, 400);
    for (int leave : {KEY_ESC, KEY_ENTER}) {
        Beside(runOptionsScreen, [&] {
            for (const auto& step : visit) {
                Press(step.first);
                EXPECT_TRUE(Shows(step.second)) << Said(step.second);
            }
            Leave(leave);
        });
        const std::vector<int> kept = {s.width, s.height, s.fullscreen, s.antiAliasing,
                                       s.soundEnabled};
        EXPECT_EQ(kept, (leave == KEY_ESC ? std::vector<int>{320, 200, 1, 1, 0}
                                          : std::vector<int>{640, 400, 0, 0, 1}));
        visit = {{"r", line(77, 40, "(R)ESOLUTION: 640X400")},
                 {"mas", line(112, 70, "(S)OUND: ENABLED")}};
    }
}
}  // namespace
