#include "platform/Files.h"

#include "platform/win32/WideText.h"

#include <windows.h>

#include <algorithm>

namespace hh {
namespace fs = std::filesystem;
namespace {

bool fail(std::string* error, const fs::path& path, const char* what, DWORD code) {
    if (error) {
        const auto name = path.u8string();
        *error = std::string(what) + " '" + std::string(name.begin(), name.end()) +
                 "': " + systemErrorText(code);
    }
    return false;
}

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// The game or a virus scanner may hold the target open for a moment; a
// replace then fails with a sharing error that is gone a few ms later.
bool replaceWithRetries(const std::wstring& from, const std::wstring& to, DWORD flags) {
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(), flags))
            return true;
        const DWORD error = GetLastError();
        if (attempt == 20 || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION))
            return false;
        Sleep(5);
    }
}

} // namespace

bool writeFileAtomically(const fs::path& path, std::string_view bytes, std::string* error,
                         Durability durability) {
    const std::wstring target = path.native();
    const std::wstring tmp = temporaryPathBeside(path).native();
    HANDLE file = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return fail(error, path, "cannot write", GetLastError());
    const bool written = writeAll(file, bytes) &&
                         (durability == Durability::ProcessCrashOnly || FlushFileBuffers(file));
    const DWORD writeError = GetLastError();
    CloseHandle(file);
    if (!written) {
        DeleteFileW(tmp.c_str());
        return fail(error, path, "cannot write", writeError);
    }
    // A read-only file (q3config.cfg kept so by its owner) is replaced and
    // made read-only again, as its owner wants it.
    const DWORD oldAttributes = GetFileAttributesW(target.c_str());
    const bool readOnly =
        oldAttributes != INVALID_FILE_ATTRIBUTES && (oldAttributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly)
        SetFileAttributesW(target.c_str(), oldAttributes & ~FILE_ATTRIBUTE_READONLY);
    const DWORD flags = MOVEFILE_REPLACE_EXISTING |
                        (durability == Durability::Flushed ? MOVEFILE_WRITE_THROUGH : 0);
    if (!replaceWithRetries(tmp, target, flags)) {
        const DWORD moveError = GetLastError();
        DeleteFileW(tmp.c_str());
        if (readOnly)
            SetFileAttributesW(target.c_str(), oldAttributes);
        return fail(error, path, "cannot replace", moveError);
    }
    if (readOnly)
        SetFileAttributesW(target.c_str(), oldAttributes);
    return true;
}

} // namespace hh
