// The screens around a game. Each is one routine with its own local state.
#pragma once

void runTitleScreen();     // returns when the player presses Enter; Escape quits the program
void runOptionsScreen();   // changes the settings in memory; they are written at exit
void runHighScoreEntry();  // after a game: name entry when the score qualifies

// The next key of the keyboard buffer, as readkey() gives it, or -1 as soon
// as the program is asked to end while waiting. `withPad`: a press of the
// d-pad or the south button counts as the arrow or Enter it stands for.
int WaitForKey(bool withPad = false);
// The shutdown lines, the resources let go, and exit with status 0: the way
// out from every screen, by Escape on the title screen or by a quit request.
[[noreturn]] void QuitProgram();

// The screen sizes the options screen offers, in the order R steps through them.
struct Resolution {
    int width, height;
};
constexpr int kResolutionCount = 10;
extern const Resolution resolutions[kResolutionCount];
// The size chosen during this title visit; the title screen sets it on entry.
extern int resolutionIndex;
// The first entry of that size, 0 when the list has none.
int FindResolutionIndex(int width, int height);
