#include "app/ThisSystem.h"

#include "platform/win32/Win32Paths.h"

#include <windows.h>

namespace hh {
namespace fs = std::filesystem;

fs::path executableDir() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return fs::current_path();
        if (length < path.size())
            return fs::path(path.substr(0, length)).parent_path();
        path.resize(path.size() * 2);
    }
}

// Everything in %APPDATA%\Handlehound: Windows has no separate places for
// settings and logs that players would look in.
ProgramFolders installedProgramFolders() {
    return portableFolders(knownFolder(KnownFolder::RoamingAppData) / L"Handlehound");
}

// Installed: the data folder relative to the bin folder. Built: the build
// folder's own copy beside the executable.
std::vector<fs::path> shippedDataCandidates() {
    return {executableDir() / HH_DATA_FROM_BIN, executableDir() / "share" / "handlehound"};
}

std::string systemUsageNote() {
    return "The local alias database (handlehound-aliasdb) is Linux-only for now: on Windows\n"
           "lookups go to the address of the setting Main / LookupURL or --lookup-url.\n";
}

} // namespace hh
