#pragma once
#include "platform/Paths.h"

namespace hh {

class Win32Paths : public Paths {
  public:
    Win32Paths(std::filesystem::path programDir, std::filesystem::path logDir)
        : programDir_(std::move(programDir)), logDir_(std::move(logDir)) {}
    std::filesystem::path programDir() const override { return programDir_; }
    std::filesystem::path logDir() const override { return logDir_; }
    // The user's Desktop (SHGetKnownFolderPath, so a moved or redirected one too).
    std::filesystem::path desktopDir() const override;

  private:
    std::filesystem::path programDir_, logDir_;
};

enum class KnownFolder { Desktop, RoamingAppData };
// A folder of the user's profile, or "" when Windows has none.
std::filesystem::path knownFolder(KnownFolder which);

} // namespace hh
