// The kernel's side of a gamepad. Allegro reads the pad's events but never
// asks which control is which, and keeps a pad's last state when it is gone;
// the game asks the same device itself.
#include "engine/PadDevice.h"

#include <fcntl.h>
#include <linux/joystick.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

int device = -1;

// The part each axis code plays on the game's pad.
void TakeAxis(PadLayout& layout, int code, int index)
{
    if (code == ABS_HAT0X)
        layout.dpadX = index;
    if (code == ABS_HAT0Y)
        layout.dpadY = index;
    if (code == ABS_X)
        layout.stickX = index;
    if (code == ABS_Y)
        layout.stickY = index;
}

void TakeButton(PadLayout& layout, int code, int index)
{
    if (code == BTN_SOUTH)
        layout.south = index;
    if (code == BTN_START)
        layout.start = index;
    if (code == BTN_SELECT)
        layout.back = index;
    if (code == BTN_DPAD_LEFT)
        layout.dpadLeft = index;
    if (code == BTN_DPAD_RIGHT)
        layout.dpadRight = index;
    if (code == BTN_DPAD_UP)
        layout.dpadUp = index;
    if (code == BTN_DPAD_DOWN)
        layout.dpadDown = index;
}

}  // namespace

bool OpenPadDevice(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        device = open(path.c_str(), O_RDONLY | O_NONBLOCK);
        if (device >= 0)
            return true;
    }
    return false;
}

PadLayout ReadPadLayout()
{
    PadLayout layout;
    __u8 axes = 0, buttons = 0;
    __u8 axisCodes[ABS_CNT] = {};
    __u16 buttonCodes[KEY_MAX - BTN_MISC + 1] = {};
    if (device < 0 || ioctl(device, JSIOCGAXES, &axes) < 0 ||
        ioctl(device, JSIOCGBUTTONS, &buttons) < 0 || ioctl(device, JSIOCGAXMAP, axisCodes) < 0 ||
        ioctl(device, JSIOCGBTNMAP, buttonCodes) < 0)
        return layout;
    layout.mapped = true;
    layout.dpadX = -1;
    layout.dpadY = -1;
    for (int i = 0; i < axes && i < ABS_CNT; ++i)
        TakeAxis(layout, axisCodes[i], i);
    // A pad with neither a hat nor a stick: its first two axes steer.
    if (layout.dpadX < 0 && layout.stickX < 0) {
        layout.dpadX = 0;
        layout.dpadY = 1;
    }
    layout.south = -1;
    for (int i = 0; i < buttons && i < KEY_MAX - BTN_MISC + 1; ++i)
        TakeButton(layout, buttonCodes[i], i);
    // A joystick's trigger comes first where no face button is named south.
    if (layout.south < 0)
        layout.south = 0;
    return layout;
}

bool PadDeviceAnswers()
{
    // A device the game could not open itself is Allegro's alone to watch.
    __u32 version = 0;
    return device < 0 || ioctl(device, JSIOCGVERSION, &version) == 0;
}

void ClosePadDevice()
{
    if (device >= 0)
        close(device);
    device = -1;
}
