#pragma once
// Finds top-level windows by title and tells which one is in front, over a
// private connection. Every request is an xcb request whose error comes back
// with its reply (or is discarded), so a window that vanishes mid-walk is
// simply skipped. Events are read when a question is asked, so an idle
// program is never woken by other windows' changes.
#include "platform/WindowSystem.h"
#include "platform/x11/X11Display.h"

#include <cstdint>
#include <map>
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

    // Reads the events queued since the last call (no round trip) and then
    // only what they say has changed.
    void refresh();
    void readEvents();
    void refreshClients();
    void refreshTitles();
    void watch(const std::vector<Xid>& windows);
    bool windowManagerRunning();
    // The windows of a property (_NET_CLIENT_LIST, _NET_ACTIVE_WINDOW, ...);
    // `found` is false when the property is not there at all.
    std::vector<Xid> windowList(Xid window, Xid property, bool* found);
    std::vector<std::string> titlesOf(const std::vector<Xid>& windows);
    Xid walkTree(const std::string& title);
    Xid clientOf(Xid focus);

    x11::DisplayPtr display_;
    std::string why_;
    xcb_connection_t* connection_ = nullptr;
    Xid root_ = 0;
    Xid clientList_ = 0, activeWindow_ = 0, wmName_ = 0, utf8_ = 0, wmState_ = 0, wmCheck_ = 0;
    WindowId mainWindow_ = 0;

    // With a window manager, the root's _NET_CLIENT_LIST and
    // _NET_ACTIVE_WINDOW and the clients' titles are read once and again
    // only after a PropertyNotify says they changed. Without one, every
    // question is asked of the server again.
    bool wmStale_ = true, clientsStale_ = true, activeStale_ = true;
    bool wmRunning_ = false, activeFound_ = false;
    Xid wmCheckWindow_ = 0, active_ = 0;
    std::vector<Xid> clients_;
    struct Title {
        std::string text;
        bool stale = true;
    };
    std::map<Xid, Title> titles_;

    // The last walk of the whole tree, made for a title the window manager
    // does not list (an unmanaged window): its answer stands until a window
    // is created, destroyed, reparented or renamed.
    struct Walk {
        std::string title;
        Xid found = 0;
    };
    Walk lastWalk_;
    bool walkStale_ = true;
};

} // namespace hh
