#include "platform/x11/X11KeyMap.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include <array>

namespace hh::x11 {
namespace {

// Runs of keysyms whose virtual-key codes run alongside them. Where two
// keysyms share a code, the first one is what a code maps back to.
struct Run {
    KeySym keysym;
    std::uint32_t vk;
    std::uint32_t count;
};

constexpr std::array kRuns{
    Run{XK_a, 0x41, 26},           Run{XK_0, 0x30, 10},
    Run{XK_KP_0, 0x60, 10},        Run{XK_KP_Multiply, 0x6A, 6}, // * + , - . /
    Run{XK_F1, 0x70, 24},          Run{XK_BackSpace, 0x08, 2},   // BackSpace, Tab
    Run{XK_ISO_Left_Tab, 0x09, 1}, Run{XK_Return, 0x0D, 1},
    Run{XK_KP_Enter, 0x0D, 1},     Run{XK_Escape, 0x1B, 1},
    Run{XK_space, 0x20, 1},        Run{XK_Prior, 0x21, 3}, // Prior, Next, End
    Run{XK_Home, 0x24, 1},         Run{XK_Left, 0x25, 4},  // Left, Up, Right, Down
    Run{XK_Insert, 0x2D, 1},       Run{XK_Delete, 0x2E, 1},
    Run{XK_Pause, 0x13, 1},        Run{XK_Caps_Lock, 0x14, 1},
    Run{XK_Shift_L, 0x10, 1},      Run{XK_Shift_R, 0x10, 1},
    Run{XK_Control_L, 0x11, 1},    Run{XK_Control_R, 0x11, 1},
    Run{XK_Alt_L, 0x12, 1},        Run{XK_Alt_R, 0x12, 1},
    Run{XK_Num_Lock, 0x90, 1},     Run{XK_Scroll_Lock, 0x91, 1},
    Run{XK_semicolon, 0xBA, 1},    Run{XK_equal, 0xBB, 1},
    Run{XK_comma, 0xBC, 1},        Run{XK_minus, 0xBD, 1},
    Run{XK_period, 0xBE, 1},       Run{XK_slash, 0xBF, 1},
    Run{XK_grave, 0xC0, 1},        Run{XK_bracketleft, 0xDB, 1},
    Run{XK_backslash, 0xDC, 1},    Run{XK_bracketright, 0xDD, 1},
    Run{XK_apostrophe, 0xDE, 1},
};

// With NumLock off the keypad's first level is navigation; its digits are
// on the second level.
bool isKeypadNavigation(KeySym keysym) {
    return (keysym >= XK_KP_Home && keysym <= XK_KP_Begin) || keysym == XK_KP_Insert ||
           keysym == XK_KP_Delete;
}

} // namespace

std::uint32_t vkFromKeysym(KeySym keysym) {
    for (const Run& run : kRuns)
        if (keysym >= run.keysym && keysym < run.keysym + run.count)
            return run.vk + static_cast<std::uint32_t>(keysym - run.keysym);
    return 0;
}

KeySym keysymFromVk(std::uint32_t vk) {
    for (const Run& run : kRuns)
        if (vk >= run.vk && vk < run.vk + run.count)
            return run.keysym + (vk - run.vk);
    return NoSymbol;
}

std::uint32_t vkFromKeycode(Display* display, unsigned keycode) {
    const auto code = static_cast<KeyCode>(keycode);
    KeySym keysym = XkbKeycodeToKeysym(display, code, 0, 0);
    if (isKeypadNavigation(keysym))
        keysym = XkbKeycodeToKeysym(display, code, 0, 1);
    return vkFromKeysym(keysym);
}

unsigned keycodeFromVk(Display* display, std::uint32_t vk) {
    const KeySym keysym = keysymFromVk(vk);
    return keysym == NoSymbol ? 0u : XKeysymToKeycode(display, keysym);
}

} // namespace hh::x11
