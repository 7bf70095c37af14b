#include "platform/win32/Win32FileWatcher.h"

#include "platform/win32/WideText.h"

#include <windows.h>

#include <filesystem>

namespace hh {
namespace {

bool sameName(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Whether a batch of notices names the file (renames into place included); a
// lost batch (overflow, zero bytes) might have, so it counts.
bool namesFile(const unsigned char* buffer, DWORD bytes, std::wstring_view fileName) {
    if (bytes == 0)
        return true;
    for (DWORD offset = 0;;) {
        const auto* notice = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer + offset);
        if (sameName({notice->FileName, notice->FileNameLength / sizeof(wchar_t)}, fileName))
            return true;
        if (notice->NextEntryOffset == 0)
            return false;
        offset += notice->NextEntryOffset;
    }
}

} // namespace

Win32FileWatcher::~Win32FileWatcher() {
    stop();
}

void Win32FileWatcher::stop() {
    if (current_)
        *current_ = false;
    if (reader_.joinable()) {
        SetEvent(stopEvent_);
        reader_.join();
    }
    if (stopEvent_)
        CloseHandle(stopEvent_);
    stopEvent_ = nullptr;
}

void Win32FileWatcher::watch(const std::string& filePath, std::function<void()> onChange) {
    stop();
    if (!enabled_ || filePath.empty())
        return;
    const std::filesystem::path file(wideFromUtf8(filePath));
    HANDLE folder =
        CreateFileW(file.parent_path().c_str(), FILE_LIST_DIRECTORY,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return; // the poll still notices changes
    stopEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    current_ = std::make_shared<std::atomic<bool>>(true);
    reader_ = std::thread([this, folder, stop = stopEvent_, name = file.filename().wstring(),
                           current = current_, onChange = std::move(onChange)] {
        alignas(DWORD) unsigned char buffer[16384];
        OVERLAPPED overlapped{};
        overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        const DWORD filter =
            FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_FILE_NAME;
        while (ReadDirectoryChangesW(folder, buffer, sizeof buffer, FALSE, filter, nullptr,
                                     &overlapped, nullptr)) {
            const HANDLE waits[] = {overlapped.hEvent, stop};
            if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
                CancelIoEx(folder, &overlapped);
                DWORD ignored;
                GetOverlappedResult(folder, &overlapped, &ignored, TRUE);
                break;
            }
            DWORD bytes = 0;
            if (!GetOverlappedResult(folder, &overlapped, &bytes, FALSE))
                break;
            ResetEvent(overlapped.hEvent);
            if (namesFile(buffer, bytes, name))
                uiThread_.postToUiThread([current, onChange] {
                    if (*current && onChange)
                        onChange();
                });
        }
        CloseHandle(overlapped.hEvent);
        CloseHandle(folder);
    });
}

} // namespace hh
