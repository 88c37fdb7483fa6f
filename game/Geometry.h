// Where things stand in the yard, in logical pixels of the 320 x 200 play
// screen. Every rule and the scene take their places from here.
#pragma once

constexpr int COLUMN_COUNT = 13;
constexpr int kLastColumn = COLUMN_COUNT - 1;

// Crates stack in rows and columns of this size; column 0's crates stand at
// x = 28, and the crate on the floor has its top edge at y = 152.
constexpr int kCrateSize = 20;
constexpr int kFirstColumnX = 28;
constexpr float kBottomRowY = 152.0f;

// A crane stands 2 pixels left of the crate it carries; the crate hangs 5
// pixels below the crane's top and is let go 6 below it. A row's bursts take
// the cranes' places over the columns.
constexpr int kCraneToCrateX = 2;
constexpr float kCarriedCrateY = 5.0f;
constexpr float kReleasedCrateY = 6.0f;

// The worker walks between these walls, and stands on the floor at this y.
constexpr float kLeftWall = 20.0f;
constexpr float kRightWall = 270.0f;
constexpr float kFloorY = 151.0f;

// A crane coming in closer to its edge than these turns that side's light red.
constexpr float kLeftAlarmX = 20.0f;
constexpr float kRightAlarmX = 280.0f;

// x of the crates in column c.
constexpr int ColumnX(int c)
{
    return kFirstColumnX + kCrateSize * c;
}
// x of a crane that drops into column c.
constexpr int CraneX(int c)
{
    return ColumnX(c) - kCraneToCrateX;
}
// The column under a crate let go at x.
constexpr int ColumnUnder(int x)
{
    return (x - CraneX(0)) / kCrateSize;
}
