#include "app/win32/DesktopInstance.h"

#include "shell/win32/DetectorWindow.h"

#include <cstdint>
#include <cwctype>
#include <string>

namespace hh {
namespace {

constexpr const wchar_t* kMarkProperty = L"Handlehound.ProgramFolder";

// FNV-1a of the folder's absolute path, case folded as Windows compares
// paths; the same in every build, so two versions agree.
std::uint32_t folderHash(const std::filesystem::path& programDir) {
    std::error_code ec;
    std::uint32_t hash = 2166136261u;
    for (wchar_t c : std::filesystem::absolute(programDir, ec).lexically_normal().wstring()) {
        hash ^= static_cast<std::uint32_t>(std::towlower(c == L'/' ? L'\\' : c));
        hash *= 16777619u;
    }
    return hash ? hash : 1;
}

struct Search {
    HANDLE mark;
    HWND found = nullptr;
};

BOOL CALLBACK findMarked(HWND window, LPARAM searchAddress) {
    auto* search = reinterpret_cast<Search*>(searchAddress);
    if (GetPropW(window, kMarkProperty) != search->mark)
        return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

DesktopInstance::DesktopInstance(const std::filesystem::path& programDir)
    : mark_(reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(folderHash(programDir)))) {
    const std::wstring name =
        L"Local\\Handlehound-" + std::to_wstring(reinterpret_cast<std::uintptr_t>(mark_));
    mutex_ = CreateMutexW(nullptr, TRUE, name.c_str());
    first_ = mutex_ && GetLastError() != ERROR_ALREADY_EXISTS;
}

DesktopInstance::~DesktopInstance() {
    if (mutex_) {
        if (first_)
            ReleaseMutex(mutex_);
        CloseHandle(mutex_);
    }
}

bool DesktopInstance::askFirstToShow() {
    Search search{mark_};
    EnumWindows(findMarked, reinterpret_cast<LPARAM>(&search));
    if (!search.found)
        return false;
    // The first one may take the foreground only if this start lets it.
    DWORD firstProcess = 0;
    GetWindowThreadProcessId(search.found, &firstProcess);
    AllowSetForegroundWindow(firstProcess);
    return PostMessageW(search.found, RegisterWindowMessageW(win32::kShowRunningMessage), 0, 0);
}

void DesktopInstance::listen(HWND detectorWindow) {
    SetPropW(detectorWindow, kMarkProperty, mark_);
}

} // namespace hh
