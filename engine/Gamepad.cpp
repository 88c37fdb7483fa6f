// The gamepad the game plays with: Allegro's driver reads it, the kernel's
// maps tell which of its sticks and buttons play which part.
#include "engine/Gamepad.h"

#include <allegro.h>

#include <chrono>
#include <string>
#include <vector>

#include "engine/PadDevice.h"

namespace {

constexpr int kRoles = static_cast<int>(PadRole::Count);
// A stick walks beyond half its travel; one resting off-centre walks nowhere.
constexpr int kHalfTravel = 63;
// How often the device is asked whether it is still there.
constexpr auto kUnplugCheckPeriod = std::chrono::milliseconds(250);

// Where Allegro keeps one of the pad's raw axes.
struct AxisPlace {
    int stick = -1;
    int axis = -1;
};

struct Pad {
    bool present = false;
    AxisPlace dpadX, dpadY, stickX, stickY;
    PadLayout layout;
    bool held[kRoles] = {};
    bool heldBefore[kRoles] = {};
    bool armed[kRoles] = {};
    std::chrono::steady_clock::time_point lastCheck;
};

Pad pad;

// Allegro pairs the raw axes into sticks in order, and a lone last axis
// becomes a stick of its own.
AxisPlace PlaceOf(int raw)
{
    AxisPlace place;
    if (raw < 0 || raw / 2 >= joy[0].num_sticks)
        return place;
    if (raw % 2 >= joy[0].stick[raw / 2].num_axis)
        return place;
    place.stick = raw / 2;
    place.axis = raw % 2;
    return place;
}

int Position(AxisPlace place)
{
    return place.stick < 0 ? 0 : joy[0].stick[place.stick].axis[place.axis].pos;
}

bool Button(int index)
{
    return index >= 0 && index < joy[0].num_buttons && joy[0].button[index].b != 0;
}

// Beyond half the travel of the d-pad or the stick towards `sign`, or the d-pad's button.
bool Towards(AxisPlace dpad, AxisPlace stick, int sign, int button)
{
    return Position(dpad) * sign > kHalfTravel || Position(stick) * sign > kHalfTravel ||
           Button(button);
}

// Allegro's driver looks where its configuration says, then at these.
std::vector<std::string> DevicePaths()
{
    std::vector<std::string> paths;
    const char* configured = get_config_string("joystick", "joystick_device", nullptr);
    if (configured)
        paths.push_back(configured);
    paths.push_back("/dev/input/js0");
    paths.push_back("/dev/js0");
    return paths;
}

void LetGo()
{
    pad = Pad();
    ClosePadDevice();
    remove_joystick();
}

bool StillThere()
{
    const auto now = std::chrono::steady_clock::now();
    if (now - pad.lastCheck < kUnplugCheckPeriod)
        return true;
    pad.lastCheck = now;
    return PadDeviceAnswers();
}

}  // namespace

void FindGamepad(Log& log)
{
    if (pad.present)
        return;
    if (install_joystick(JOY_TYPE_AUTODETECT) != 0 || num_joysticks < 1) {
        remove_joystick();
        return;
    }
    log.WriteLine("   Gamepad found: " + std::to_string(joy[0].num_sticks) + " sticks, " +
                  std::to_string(joy[0].num_buttons) + " buttons");
    OpenPadDevice(DevicePaths());
    pad.layout = ReadPadLayout();
    pad.dpadX = PlaceOf(pad.layout.dpadX);
    pad.dpadY = PlaceOf(pad.layout.dpadY);
    pad.stickX = PlaceOf(pad.layout.stickX);
    pad.stickY = PlaceOf(pad.layout.stickY);
    pad.present = true;
    pad.lastCheck = std::chrono::steady_clock::now();
}

void PollGamepad()
{
    if (!pad.present)
        return;
    if (poll_joystick() < 0 || !StillThere()) {
        LetGo();
        return;
    }
    const PadLayout& layout = pad.layout;
    // In the order of PadRole.
    const bool now[kRoles] = {
        Towards(pad.dpadX, pad.stickX, -1, layout.dpadLeft),
        Towards(pad.dpadX, pad.stickX, 1, layout.dpadRight),
        Towards(pad.dpadY, pad.stickY, -1, layout.dpadUp),
        Towards(pad.dpadY, pad.stickY, 1, layout.dpadDown),
        Button(layout.south),
        Button(layout.start),
        Button(layout.back),
    };
    for (int r = 0; r < kRoles; ++r) {
        pad.heldBefore[r] = pad.held[r];
        pad.held[r] = now[r];
        if (!now[r])
            pad.armed[r] = true;
    }
}

bool PadHeld(PadRole role)
{
    return pad.held[static_cast<int>(role)];
}

void ArmPadPresses()
{
    PollGamepad();
    for (int r = 0; r < kRoles; ++r) {
        pad.armed[r] = !pad.held[r];
        pad.heldBefore[r] = pad.held[r];
    }
}

bool PadPressed(PadRole role)
{
    const int r = static_cast<int>(role);
    return pad.held[r] && pad.armed[r];
}

bool PadJustPressed(PadRole role)
{
    const int r = static_cast<int>(role);
    return pad.held[r] && !pad.heldBefore[r];
}

bool PadConfirms()
{
    PollGamepad();
    return PadPressed(PadRole::Start) || PadPressed(PadRole::South);
}
