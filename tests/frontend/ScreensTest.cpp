// The screens around a game on a real 640 x 400 window: keys go through Allegro's keyboard
// buffer, and what the player sees is read back from X.
#include <allegro.h>
#include <GL/gl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "engine/Engine.h"
#include "frontend/Screens.h"
#include "game/GameState.h"
#include "ol/Canvas.h"
#include "ol/Startup.h"
#include "tests/support/TestSupport.h"

bool GrabWindow(int x, int y, int width, int height, std::string& rgb);  // XWindow.cpp
std::string ScoreBytes(const std::vector<int32_t>& scores);  // HighScoreTableTest.cpp
std::string NameLines(std::string names);
void WriteTable(const std::string& scores, const std::string& names);

using namespace std::chrono_literals;

namespace {
// The window and the font, opened once per process.
bool OpenScreen()
{
    static const bool open = [] {
        ol::Startup::StartProgram(true, false, true);
        if (!std::getenv("DISPLAY")) return false;
        if (!ol::Startup::OpenScreen(640, 400, false, 32, 0, 0)) return false;
        scaleX = scaleY = 2.0f;
        return gameState.fontImage.Load("data/gfx/fonts/font.png", 0);
    }();
    EXPECT_TRUE(open) << "the screen tests need an X server (Xvfb), the window and the font";
    return open;
}

// Queues keys afresh as the keyboard driver does: a-z typed, Q shifted, 7 a digit, > < v ^ the
// arrows, ! Enter, # Backspace, ~ Escape.
void Keys(const std::string& script)
{
    clear_keybuf();
    const std::string symbols = "><v^!#~Q7";
    const int codes[] = {KEY_RIGHT << 8,         KEY_LEFT << 8,     KEY_DOWN << 8,
                         KEY_UP << 8,            KEY_ENTER << 8 | 13, KEY_BACKSPACE << 8 | 8,
                         KEY_ESC << 8 | 27,      KEY_Q << 8 | 'Q',  KEY_7 << 8 | '7'};
    for (char c : script) {
        const std::size_t at = symbols.find(c);
        simulate_keypress(at == std::string::npos ? (KEY_A + c - 'a') << 8 | c : codes[at]);
    }
}

// The frame last presented shows the text exactly as the font draws it, and one cell more.
void ExpectShownText(int x, int y, const ol::Color& colour, const std::string& text)
{
    const int width = static_cast<int>(text.size() + 1) * 14;
    const int height = 14;
    std::string shown;
    std::string drawn(static_cast<std::size_t>(width * height * 3), '\0');
    glFinish();
    ASSERT_TRUE(GrabWindow(2 * x, 2 * y, width, height, shown)) << "the window could not be read";
    DrawTextLine({x, y, colour, text});
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(2 * x, 400 - 2 * y - height, width, height, GL_RGB, GL_UNSIGNED_BYTE, &drawn[0]);
    ol::Canvas::Clear(ol::Color(0, 0, 0, 255));
    EXPECT_NE(drawn, std::string(drawn.size(), '\0')) << "the font drew nothing";
    EXPECT_TRUE(shown == drawn) << "not shown: \"" << text << "\" at " << x << "," << y;
}

// Once the queued keys are read and after a delay, lets a key go or holds it (and queues it).
std::thread SetKeyLater(int scancode, std::chrono::milliseconds delay, bool down, int character = 0)
{
    return std::thread([=] {
        while (keypressed()) std::this_thread::sleep_for(10ms);
        std::this_thread::sleep_for(delay);
        key[scancode] = down;
        if (character) simulate_keypress(scancode << 8 | character);
    });
}
}  // namespace

// The Enter still held from the name entry must be let go before it starts a game.
TEST(TitleScreen, HeldEnterMustBeLetGoFirst)
{
    if (!OpenScreen()) return;
    testsupport::ScratchDir dir;
    Keys("");
    key[KEY_ESC] = 0;
    key[KEY_ENTER] = 1;
    std::thread letGo = SetKeyLater(KEY_ENTER, 400ms, false);
    std::thread pressAgain = SetKeyLater(KEY_ENTER, 800ms, true);
    const auto start = std::chrono::steady_clock::now();
    runTitleScreen();
    EXPECT_GE(std::chrono::steady_clock::now() - start, 750ms) << "the held Enter started a game";
    letGo.join();
    pressAgain.join();
}

// Grid moves and edges, typing, erasing, eight letters, END needing one; only a score above the
// fifth place is entered, at the place the headline names.
TEST(NameEntry, KeysSpellTheNameAtItsPlace)
{
    if (!OpenScreen()) return;
    const char* const kFirst = "YOU ENTERED THE 1ST PLACE!";
    const std::string kRescue = "zvv>>>>>>>>>!";  // finishes an entry the keys left open
    const struct {
        const char* what;
        int score, places;  // the table: the first places of 500 A, 400 B, 300 C, 200 D, 100 E
        const char *keys, *name, *names, *headline;
    } cases[] = {
        {"typed, eight at most", 1000, 5, "qQ7bcdefghi!vv>>>>>>>>!", "QBCDEFGH", "QBCDEFGH,A,B,C,D",
         kFirst},
        {"grid edges", 1000, 5, ">>>>>>>>>>!<<<<<<<<<<vvv!^^^v!v>>>>>>>>!", "JUK", "JUK,A,B,C,D",
         kFirst},
        {"Backspace, < erase", 1000, 5, "#abc#vv>>>>>>>!!!m>!", "M", "M,A,B,C,D", kFirst},
        {"END with no letters, blank, Escape", 1000, 5, "vv>>>>>>>>!<<!~x>>>!", "X", "X,A,B,C,D",
         kFirst},
        {"equal to the fifth: no entry", 100, 5, "", "", "A,B,C,D,E", nullptr},
        {"one more: fifth", 101, 5, "nvv>>>>>>>>!", "N", "A,B,C,D,N", "YOU ENTERED THE 5TH PLACE!"},
        {"a short table has free places", 10, 2, "nvv>>>>>>>>!", "N", "A,B,N,-,-",
         "YOU ENTERED THE 3RD PLACE!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::ScratchDir dir;
        const auto places = static_cast<std::size_t>(c.places);
        WriteTable(ScoreBytes({500, 400, 300, 200, 100}).substr(0, 4 * places),
                   NameLines("A,B,C,D,E").substr(0, 3 * places));
        Keys(c.keys + kRescue);
        gameState.worker.score = c.score;
        gameState.titleTicks = 0;
        runHighScoreEntry();
        std::size_t left = 0;
        for (; keypressed(); ++left) readkey();
        const std::size_t unread = c.headline ? 0 : std::string(c.keys).size();
        EXPECT_EQ(left, kRescue.size() + unread) << "keys taken wrongly";
        EXPECT_EQ(testsupport::ReadFile("data/names.hst"), NameLines(c.names));
        EXPECT_EQ(gameState.titleTicks, c.headline ? 1100 : 0) << "title opens on the table";
        if (!c.headline) continue;
        ExpectShownText(68, 20, gameState.palette[10], c.headline);
        ExpectShownText(130, 54, gameState.palette[15], c.name);
    }
}

// Each key changes its setting and its line at once; Escape and Enter leave keeping the change.
TEST(OptionsScreen, EachKeyChangesItsSettingAndItsLine)
{
    if (!OpenScreen()) return;
    const struct {
        const char* keys;
        int width, height, aa;  // at the start, with anti-aliasing
        const char* after;        // size, full screen, anti-aliasing, sound
        TextLine line;
    } cases[] = {
        {"r", 640, 400, 0, "640x480 0 0 1", {77, 40, {}, "(R)ESOLUTION: 640X480"}},
        {"r", 1600, 1200, 0, "320x200 0 0 1", {77, 40, {}, "(R)ESOLUTION: 320X200"}},
        {"m", 640, 400, 0, "640x400 1 0 1", {70, 50, {}, "SCREEN (M)ODE: FULL SCREEN"}},
        {"a", 640, 400, 0, "640x400 0 1 1", {56, 60, {}, "(A)NTI-ALIASING: ENABLED"}},
        {"a", 640, 400, 4, "640x400 0 0 1", {56, 60, {}, "(A)NTI-ALIASING: DISABLED"}},
        {"s", 640, 400, 0, "640x400 0 0 0", {112, 70, {}, "(S)OUND: DISABLED"}},
        {"xqz", 640, 400, 0, "640x400 0 0 1", {112, 70, {}, "(S)OUND: ENABLED"}},
    };
    Settings& s = gameState.settings;
    auto run = [&s](const std::string& keys, int leave, int character) {
        Keys(keys);
        key[KEY_ENTER] = key[KEY_ESC] = 0;
        std::thread player = SetKeyLater(leave, 200ms, true, character);
        runOptionsScreen();
        player.join();
        key[leave] = 0;
        return std::to_string(s.width) + "x" + std::to_string(s.height) + " " +
               std::to_string(s.fullscreen) + " " + std::to_string(s.antiAliasing) + " " +
               std::to_string(s.soundEnabled);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.text);
        s.width = c.width;
        s.height = c.height;
        s.antiAliasing = c.aa;
        s.fullscreen = false;
        s.soundEnabled = true;
        resolutionIndex = FindResolutionIndex(c.width, c.height);
        EXPECT_EQ(run(c.keys, KEY_ESC, 27), c.after);
        ExpectShownText(c.line.x, c.line.y, gameState.palette[6], c.line.text);
    }
    // Reopened in the same title visit, R goes on from the last choice.
    EXPECT_EQ(run("r", KEY_ENTER, 13), "640x480 0 0 1");
    EXPECT_EQ(run("r", KEY_ESC, 27), "800x600 0 0 1");
}
