#include "platform/win32/Win32WindowSystem.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdint>

namespace hh {
namespace {

WindowId idOf(HWND window) {
    return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(window));
}

} // namespace

WindowId Win32WindowSystem::findWindowByTitle(const std::string& title) {
    return idOf(FindWindowA(nullptr, title.c_str()));
}

WindowId Win32WindowSystem::foregroundWindow() {
    return idOf(GetForegroundWindow());
}

} // namespace hh
