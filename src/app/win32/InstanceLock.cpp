#include "app/InstanceLock.h"

#include "platform/win32/WideText.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace hh {
namespace {

// The lock covers one byte far past the text: Windows locks keep others
// from reading the locked range, and a later start reads the holder's id.
constexpr DWORD kLockedByte = 1u << 20;

} // namespace

InstanceLock::InstanceLock(const std::filesystem::path& programDir) {
    const auto file = programDir / "handlehound.lock";
    HANDLE h =
        CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const auto name = file.generic_u8string();
        refusal_ = "Cannot lock the program folder (" + std::string(name.begin(), name.end()) +
                   "): " + systemErrorText(GetLastError());
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(h);
    OVERLAPPED at{};
    at.Offset = kLockedByte;
    if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        held_ = true;
        // Without it the lock holds all the same; only the holder's name is missing.
        const std::string pid = std::to_string(GetCurrentProcessId()) + "\r\n";
        DWORD written = 0;
        SetFilePointer(h, 0, nullptr, FILE_BEGIN);
        SetEndOfFile(h);
        WriteFile(h, pid.data(), static_cast<DWORD>(pid.size()), &written, nullptr);
        return;
    }
    char text[32] = {};
    DWORD read = 0;
    const long holder = ReadFile(h, text, sizeof text - 1, &read, nullptr) && read > 0
                            ? std::strtol(text, nullptr, 10)
                            : 0;
    refusal_ = heldElsewhereText(programDir, holder);
}

InstanceLock::~InstanceLock() {
    if (handle_ != -1)
        CloseHandle(reinterpret_cast<HANDLE>(handle_)); // releases the lock
}

} // namespace hh
