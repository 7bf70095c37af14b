#pragma once
// The real platform services of the running program, chosen for the
// session: X11 ones when an X display is reachable, none otherwise.
#include "platform/Platform.h"

#include <filesystem>
#include <memory>

class QWidget;

namespace hh {

struct ServiceChoice {
    bool desktop = false;   // QApplication exists: real clipboard and dialogs
    bool fileEvents = true; // follow inotify change notices of the dump
    bool quiet = false;     // no sounds
    std::filesystem::path programDir;
};

class ProgramServices {
  public:
    explicit ProgramServices(const ServiceChoice& choice);
    ~ProgramServices();
    Platform& platform() { return *platform_; }
    // Dialog parent for the desktop program.
    void setDialogParent(QWidget* parent);
    // Desktop: the main window's native id, for the foreground test.
    void setMainWindowId(std::uint64_t id);
    bool x11() const { return x11_; }

  private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
    std::unique_ptr<Platform> platform_;
    bool x11_ = false;
};

} // namespace hh
