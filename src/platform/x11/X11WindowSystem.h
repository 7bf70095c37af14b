#pragma once
// Finds top-level windows by title and tells which one is in front, over a
// private connection. Every request is an xcb request whose error comes back
// with its reply, so a window that vanishes mid-walk is simply skipped.
#include "platform/WindowSystem.h"
#include "platform/x11/X11Display.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

struct xcb_connection_t;

namespace hh {

class X11WindowSystem : public WindowSystem {
  public:
    explicit X11WindowSystem(const std::string& displayName = {});
    ~X11WindowSystem() override;

    bool available(std::string* why) const;
    WindowId findWindowByTitle(const std::string& title) override;
    WindowId foregroundWindow() override;
    WindowId mainWindow() override { return mainWindow_; }
    // The desktop shell tells which window is ours (its winId()).
    void setMainWindow(WindowId id) { mainWindow_ = id; }

  private:
    // X ids (xcb_window_t, xcb_atom_t) are 32-bit; kept plain here so that
    // this header pulls in no X headers.
    using Xid = std::uint32_t;

    bool windowManagerRunning();
    // The windows of a property (_NET_CLIENT_LIST, _NET_ACTIVE_WINDOW, ...);
    // `found` is false when the property is not there at all.
    std::vector<Xid> windowList(Xid window, Xid property, bool* found);
    Xid firstWithTitle(const std::vector<Xid>& windows, const std::string& title);
    Xid walkTree(const std::string& title);
    Xid clientOf(Xid focus);

    x11::DisplayPtr display_;
    std::string why_;
    xcb_connection_t* connection_ = nullptr;
    Xid root_ = 0;
    Xid clientList_ = 0, activeWindow_ = 0, wmName_ = 0, utf8_ = 0, wmState_ = 0, wmCheck_ = 0;
    WindowId mainWindow_ = 0;

    // The last walk of the whole tree, made for a title the window manager
    // does not list (an unmanaged window): its answer stands for a while, so
    // an idle program does not walk every window every second.
    struct Walk {
        std::string title;
        Xid found = 0;
        std::chrono::steady_clock::time_point at;
    };
    Walk lastWalk_;
    static constexpr std::chrono::seconds kWalkValid{5};
};

} // namespace hh
