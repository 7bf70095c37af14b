#pragma once
// One desktop program per program folder on Windows: a named mutex decides
// which start is first, and a later start asks the first one's detector
// window, found by a mark on it, to come to the front.
#include <windows.h>

#include <filesystem>

namespace hh {

class DesktopInstance {
  public:
    explicit DesktopInstance(const std::filesystem::path& programDir);
    ~DesktopInstance();
    DesktopInstance(const DesktopInstance&) = delete;
    DesktopInstance& operator=(const DesktopInstance&) = delete;

    bool isFirst() const { return first_; }
    // A later start: false when the first one's window was not found (it
    // may be starting or ending).
    bool askFirstToShow();
    // The first start: marks the window that takes the requests.
    void listen(HWND detectorWindow);

  private:
    HANDLE mutex_ = nullptr;
    bool first_ = false;
    HANDLE mark_ = nullptr; // the folder's hash, as a window property
};

} // namespace hh
