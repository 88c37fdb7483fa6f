// Windows' side of a gamepad. Allegro reads the pad through DirectInput,
// which has no map of which control is which; the pads players plug in are
// XInput pads, whose DirectInput face shows the left stick as the first two
// axes and A, Back and Start as buttons 0, 6 and 7. The system's joystick
// calls tell whether the pad is still plugged in.
#include <windows.h>
//
#include <mmsystem.h>

#include "engine/PadDevice.h"

namespace {

constexpr int kXInputBack = 6;
constexpr int kXInputStart = 7;

}  // namespace

bool OpenPadDevice(const std::vector<std::string>&)
{
    // Nothing to open: Windows names no device file for a pad.
    return PadDeviceAnswers();
}

PadLayout ReadPadLayout()
{
    PadLayout layout;
    layout.start = kXInputStart;
    layout.back = kXInputBack;
    return layout;
}

bool PadDeviceAnswers()
{
    JOYINFOEX info = {};
    info.dwSize = sizeof info;
    info.dwFlags = JOY_RETURNALL;
    // Only a pad the system has seen go counts as gone: a pad it does not
    // list at all is still Allegro's to read.
    return joyGetPosEx(JOYSTICKID1, &info) != JOYERR_UNPLUGGED;
}

void ClosePadDevice()
{
    // Nothing was opened.
}
