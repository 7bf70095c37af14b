#include "platform/win32/Win32Paths.h"
#include "platform/ProgramPaths.h"

#include <windows.h>

#include <shlobj.h>

namespace hh {

std::filesystem::path knownFolder(KnownFolder which) {
    const KNOWNFOLDERID& id =
        which == KnownFolder::Desktop ? FOLDERID_Desktop : FOLDERID_RoamingAppData;
    wchar_t* path = nullptr;
    std::filesystem::path folder;
    if (SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &path) == S_OK)
        folder = path;
    CoTaskMemFree(path);
    return folder;
}

std::filesystem::path ProgramPaths::desktopDir() const {
    return knownFolder(KnownFolder::Desktop);
}

} // namespace hh
