#pragma once
#include "platform/Paths.h"

namespace hh {

class AppPaths : public Paths {
  public:
    explicit AppPaths(std::filesystem::path programDir) : programDir_(std::move(programDir)) {}
    std::filesystem::path programDir() const override { return programDir_; }
    // XDG_DESKTOP_DIR (environment, then ~/.config/user-dirs.dirs), else ~/Desktop.
    std::filesystem::path desktopDir() const override;

  private:
    std::filesystem::path programDir_;
};

} // namespace hh
