#pragma once
// The program's folders as the composition root chose them; each system
// finds the user's desktop its own way (desktopDir is defined beside its
// other services).
#include "platform/Paths.h"

namespace hh {

class ProgramPaths : public Paths {
  public:
    ProgramPaths(std::filesystem::path programDir, std::filesystem::path logDir)
        : programDir_(std::move(programDir)), logDir_(std::move(logDir)) {}
    std::filesystem::path programDir() const override { return programDir_; }
    std::filesystem::path logDir() const override { return logDir_; }
    // Linux: XDG_DESKTOP_DIR (environment, then ~/.config/user-dirs.dirs),
    // else ~/Desktop. Windows: SHGetKnownFolderPath, so a moved or
    // redirected Desktop too.
    std::filesystem::path desktopDir() const override;

  private:
    std::filesystem::path programDir_, logDir_;
};

} // namespace hh
