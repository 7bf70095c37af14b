#pragma once
// Between X keysyms and the Windows virtual-key codes the logic thinks in.
#include <cstdint>

#include <X11/Xlib.h>

namespace hh::x11 {

// 0 for a keysym no virtual-key code stands for.
std::uint32_t vkFromKeysym(KeySym keysym);
// The keysym that types a virtual-key code (NoSymbol for none).
KeySym keysymFromVk(std::uint32_t vkCode);

// The virtual-key code of a key as the unshifted layout names it, so "/" and
// "?" come out alike; keypad keys count as their digits whatever NumLock says.
std::uint32_t vkFromKeycode(Display* display, unsigned keycode);
// The key that carries a virtual-key code on the current layout, 0 for none.
unsigned keycodeFromVk(Display* display, std::uint32_t vkCode);

} // namespace hh::x11
