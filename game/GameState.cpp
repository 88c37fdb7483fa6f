// The one record of game state and the two flags beside it.
#include "game/GameState.h"

GameState gameState;
bool gameRunning = true;
int pushedCrateIndex = -1;

GameState::GameState()
{
    static const int kColours[16][3] = {
        {0, 0, 0},       {255, 255, 255}, {154, 103, 89},  {104, 55, 43},
        {111, 61, 134},  {108, 94, 181},  {112, 164, 178}, {53, 40, 121},
        {111, 79, 37},   {67, 57, 0},     {154, 210, 132}, {88, 141, 67},
        {149, 149, 149}, {108, 108, 108}, {149, 149, 149}, {184, 199, 111},
    };
    for (int n = 0; n < 16; ++n)
        palette[n] = ol::Color(kColours[n][0], kColours[n][1], kColours[n][2], 255);
}
