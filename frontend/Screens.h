// The screens around a game. Each is one routine with its own local state.
#pragma once

void runTitleScreen();     // returns when the player presses Enter; Escape quits the program
void runOptionsScreen();   // changes the settings in memory; they are written at exit
void runHighScoreEntry();  // after a game: name entry when the score qualifies
