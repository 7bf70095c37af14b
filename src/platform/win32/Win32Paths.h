#pragma once
#include "platform/Paths.h"

namespace hh {

class Win32Paths : public Paths {
  public:
    explicit Win32Paths(std::filesystem::path programDir) : programDir_(std::move(programDir)) {}
    std::filesystem::path programDir() const override { return programDir_; }
    // The user's Desktop (SHGetKnownFolderPath, so a moved or redirected one too).
    std::filesystem::path desktopDir() const override;

  private:
    std::filesystem::path programDir_;
};

enum class KnownFolder { Desktop, RoamingAppData };
// A folder of the user's profile, or "" when Windows has none.
std::filesystem::path knownFolder(KnownFolder which);

} // namespace hh
