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

fs::path defaultProgramDir() {
    return knownFolder(KnownFolder::RoamingAppData) / L"Handlehound";
}

// A Windows copy is a folder: the exe with its data folder beside it.
std::vector<fs::path> shippedDataCandidates() {
    return {executableDir() / "data"};
}

std::string systemUsageNote() {
    return "On Windows the alias database (handlehound-aliasdb) does not run beside the program\n"
           "yet: lookups go to the address of the setting Main / LookupURL or --lookup-url.\n";
}

} // namespace hh
