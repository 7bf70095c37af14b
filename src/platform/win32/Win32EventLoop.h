#pragma once
// The UI thread's message loop: runs until quit(), lets pending messages be
// processed, and takes work posted from other threads.
#include "platform/EventPump.h"
#include "platform/win32/MessageWindow.h"

#include <deque>
#include <memory>
#include <mutex>

namespace hh {

class Win32EventLoop : public EventPump {
  public:
    Win32EventLoop(); // on the UI thread
    ~Win32EventLoop() override;

    void processPendingEvents() override;
    void postToUiThread(std::function<void()> work) override;

    // Dispatches messages until quit(); returns quit's status.
    int run();
    // From the UI thread.
    void quit(int status);

  private:
    void runPosted();

    struct Queue {
        std::mutex lock;
        std::deque<std::function<void()>> work;
        HWND window = nullptr; // cleared when the loop goes
    };
    std::shared_ptr<Queue> queue_;
    MessageWindow window_;
};

} // namespace hh
