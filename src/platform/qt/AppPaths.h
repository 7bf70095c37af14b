#pragma once
#include "platform/Paths.h"

namespace hh {

class AppPaths : public Paths {
  public:
    AppPaths(std::filesystem::path programDir, std::filesystem::path logDir)
        : programDir_(std::move(programDir)), logDir_(std::move(logDir)) {}
    std::filesystem::path programDir() const override { return programDir_; }
    std::filesystem::path logDir() const override { return logDir_; }
    // XDG_DESKTOP_DIR (environment, then ~/.config/user-dirs.dirs), else ~/Desktop.
    std::filesystem::path desktopDir() const override;

  private:
    std::filesystem::path programDir_, logDir_;
};

} // namespace hh
