#include "platform/win32/Win32EventLoop.h"

namespace hh {
namespace {

constexpr UINT kRunPosted = WM_APP + 1;

} // namespace

Win32EventLoop::Win32EventLoop()
    : queue_(std::make_shared<Queue>()), window_([this](UINT message, WPARAM, LPARAM) {
          if (message != kRunPosted)
              return false;
          runPosted();
          return true;
      }) {
    queue_->window = window_.handle();
}

Win32EventLoop::~Win32EventLoop() {
    std::lock_guard<std::mutex> lock(queue_->lock);
    queue_->window = nullptr;
    queue_->work.clear();
}

void Win32EventLoop::processPendingEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Not ours to take: the loop in run() must still see it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Win32EventLoop::postToUiThread(std::function<void()> work) {
    std::lock_guard<std::mutex> lock(queue_->lock);
    if (!queue_->window)
        return;
    const bool wake = queue_->work.empty();
    queue_->work.push_back(std::move(work));
    if (wake)
        PostMessageW(queue_->window, kRunPosted, 0, 0);
}

void Win32EventLoop::runPosted() {
    std::deque<std::function<void()>> batch;
    {
        std::lock_guard<std::mutex> lock(queue_->lock);
        batch.swap(queue_->work);
    }
    for (auto& work : batch)
        work();
}

int Win32EventLoop::run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

void Win32EventLoop::quit(int status) {
    PostQuitMessage(status);
}

} // namespace hh
