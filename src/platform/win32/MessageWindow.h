#pragma once
// A message-only window of the thread that creates it: the target for
// timers, posted work and hot keys, dispatched by that thread's message loop.
#include <windows.h>

#include <functional>

namespace hh {

class MessageWindow {
  public:
    // `handler` returns true for the messages it handled.
    using Handler = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam)>;
    explicit MessageWindow(Handler handler);
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    HWND handle() const { return window_; }

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    Handler handler_;
    HWND window_ = nullptr;
};

} // namespace hh
