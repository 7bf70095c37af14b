#pragma once
// Small X windows for the tests, each on its own connection.
#include <X11/Xlib.h>

#include <string>
#include <vector>

namespace hh::test::x11 {

// A top-level window on its own connection, titled by _NET_WM_NAME and
// WM_NAME (or WM_NAME only); an override-redirect one is left alone by the
// window manager, as some full-screen games are.
class TestWindow {
  public:
    explicit TestWindow(const std::string& title, bool netWmName = true, Window parent = 0,
                        bool overrideRedirect = false);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    Window id() const { return window_; }
    void focus();
    void setTitle(const std::string& title, bool netWmName = true);
    // Key events this window received so far (type KeyPress or KeyRelease).
    std::vector<XKeyEvent> keyEvents();

  private:
    Display* display_ = nullptr;
    Window window_ = 0;
    std::vector<XKeyEvent> events_;
};

} // namespace hh::test::x11
