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

class Quality {
public:
    // Chooses the filter of every later texture upload: linear or nearest.
    static void SetAntialiasing(bool on);
    static bool Antialiasing();
};

}  // namespace ol
