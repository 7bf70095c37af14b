#include "platform/win32/Win32WindowSystem.h"

#include "platform/win32/WideText.h"

#include <windows.h>

#include <cstdint>

namespace hh {
namespace {

WindowId idOf(HWND window) {
    return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(window));
}

} // namespace

WindowId Win32WindowSystem::findWindowByTitle(const std::string& title) {
    return idOf(FindWindowW(nullptr, wideFromUtf8(title).c_str()));
}

WindowId Win32WindowSystem::foregroundWindow() {
    return idOf(GetForegroundWindow());
}

} // namespace hh
