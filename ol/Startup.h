// Bringing the libraries up and opening the screen.
#pragma once

namespace ol {

class Startup {
public:
    // Starts Allegro, AllegroGL and the asked input modules; always true.
    static bool StartProgram(bool keyboard = true, bool mouse = true, bool timer = true);
    // Opens the window or full screen and prepares the GL state that all
    // drawing relies on. False when the mode cannot be opened.
    static bool OpenScreen(int width, int height, bool fullscreen, int colorDepth, int zDepth,
                           int refreshRate);
};

// What the desktop asks of the program from outside its own input.
class Desktop {
public:
    // The window's close button; the handler runs on the input thread and
    // should only record the request.
    static void OnCloseButton(void (*handler)());
    // The connection to the display broke. The handler runs once, on
    // whichever thread noticed, and must not draw; the process then ends
    // with status 1 without any further call into the display.
    static void OnDisplayLost(void (*handler)());
};

class Quality {
public:
    // Chooses the filter of every later texture upload: linear or nearest.
    static void SetAntialiasing(bool on);
    static bool Antialiasing();
};

}  // namespace ol
