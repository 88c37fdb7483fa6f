#include "tests/frontend/ScreenHarness.h"

#include <allegro.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/Engine.h"
#include "game/GameState.h"
#include "ol/Canvas.h"
#include "ol/Startup.h"

bool GrabWindow(int x, int y, int width, int height, std::string& rgb);  // XWindow.cpp

namespace screens {

namespace {

constexpr int kWidth = 640, kHeight = 400;

void CountTick()
{
    ++gameState.tickCounter;
}
END_OF_FUNCTION(CountTick)

std::string ReadPixels(unsigned buffer, int x, int y, int width, int height)
{
    std::string rgb(static_cast<std::size_t>(width * height * 3), '\0');
    glReadBuffer(buffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, kHeight - y - height, width, height, GL_RGB, GL_UNSIGNED_BYTE, &rgb[0]);
    // GL rows run bottom-up.
    std::string topDown;
    for (int row = height - 1; row >= 0; --row) topDown += rgb.substr(static_cast<std::size_t>(row * width * 3), static_cast<std::size_t>(width * 3));
    return topDown;
}

}  // namespace

bool OpenScreen()
{
    static bool open = false;
    if (open) return true;
    if (!std::getenv("DISPLAY")) {
        ADD_FAILURE() << "DISPLAY is not set: the screen tests need an X server (Xvfb)";
        return false;
    }
    ol::Startup::StartProgram(true, false, true);
    if (!ol::Startup::OpenScreen(kWidth, kHeight, false, 32, 0, 0)) {
        ADD_FAILURE() << "the 640 x 400 window did not open";
        return false;
    }
    scaleX = kWidth / 320.0f;
    scaleY = kHeight / 200.0f;
    if (!gameState.fontImage.Load("data/gfx/fonts/font.png", 0)) {
        ADD_FAILURE() << "the font sheet did not load";
        return false;
    }
    // The game's 100 Hz clock, for the title screen's steps.
    LOCK_FUNCTION(CountTick);
    install_int_ex(CountTick, MSEC_TO_TIMER(10));
    open = true;
    return true;
}

void Press(int scancode, int character)
{
    simulate_keypress(scancode << 8 | character);
}

void Type(const std::string& lowerCaseLetters)
{
    for (char c : lowerCaseLetters) Press(KEY_A + (c - 'a'), c);
}

void PressRepeatedly(int scancode, int times)
{
    for (int i = 0; i < times; ++i) Press(scancode);
}

void DrainKeyboard()
{
    clear_keybuf();
    key[KEY_ENTER] = 0;
    key[KEY_ESC] = 0;
}

// The window's contents as the X server holds them: the frame last presented.
std::string FrontPixels(int x, int y, int width, int height)
{
    glFinish();
    std::string rgb;
    if (!GrabWindow(x, y, width, height, rgb)) ADD_FAILURE() << "the window could not be read";
    return rgb;
}

std::string BackPixels(int x, int y, int width, int height)
{
    return ReadPixels(GL_BACK, x, y, width, height);
}

void ExpectShownText(int x, int y, const ol::Color& colour, const std::string& text)
{
    // One character more on the right: a longer text on screen shows there.
    const int px = x * 2, py = y * 2, width = static_cast<int>(text.size() + 1) * 14, height = 14;
    const std::string shown = FrontPixels(px, py, width, height);
    ol::Canvas::Clear(ol::Color(0, 0, 0, 255));
    DrawTextLine({x, y, colour, text});
    const std::string expected = BackPixels(px, py, width, height);
    ol::Canvas::Clear(ol::Color(0, 0, 0, 255));
    EXPECT_NE(expected, std::string(expected.size(), '\0')) << "the font drew nothing";
    EXPECT_TRUE(shown == expected) << "the screen does not show \"" << text << "\" at " << x << "," << y;
}

}  // namespace screens
