#include "platform/win32/Win32KeyEventSource.h"

#include <windows.h>

#include <atomic>
#include <future>
#include <mutex>

namespace hh {

struct Win32KeyEventSource::Delivery {
    std::function<void(const KeyRecord&)> onKeyUp; // UI thread only
    bool installed = false;                        // UI thread only
};

namespace {

// A low-level hook procedure gets no user data: the one active source is
// reached through these, set and cleared on the hook thread's start and end.
std::mutex gHookLock;
std::weak_ptr<Win32KeyEventSource::Delivery> gDelivery;
EventPump* gUiThread = nullptr;
HHOOK gHook = nullptr;

LRESULT CALLBACK keyboardHookProc(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && message == WM_KEYUP) {
        const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
        KeyRecord record;
        record.vkCode = event->vkCode;
        record.scanCode = event->scanCode;
        record.flags = event->flags;
        record.time = event->time;
        record.dwExtraInfo = static_cast<std::uint32_t>(event->dwExtraInfo);
        std::lock_guard<std::mutex> lock(gHookLock);
        if (gUiThread)
            gUiThread->postToUiThread([weak = gDelivery, record] {
                const auto delivery = weak.lock();
                if (delivery && delivery->installed && delivery->onKeyUp) {
                    auto onKeyUp = delivery->onKeyUp; // may remove itself
                    onKeyUp(record);
                }
            });
    }
    // Never consume a key: the game always receives it.
    return CallNextHookEx(gHook, code, message, data);
}

} // namespace

Win32KeyEventSource::Win32KeyEventSource(EventPump& uiThread)
    : uiThread_(uiThread), delivery_(std::make_shared<Delivery>()) {}

Win32KeyEventSource::~Win32KeyEventSource() {
    remove();
}

bool Win32KeyEventSource::available(std::string*) const {
    return true;
}

bool Win32KeyEventSource::isInstalled() const {
    return delivery_->installed;
}

bool Win32KeyEventSource::install(std::function<void(const KeyRecord&)> onKeyUp) {
    if (delivery_->installed)
        remove();
    delivery_->onKeyUp = std::move(onKeyUp);
    std::promise<unsigned long> started; // the hook thread's id, 0 on failure
    auto result = started.get_future();
    hookThread_ = std::thread([this, &started] {
        MSG msg;
        // Creates this thread's message queue before anyone posts WM_QUIT to it.
        PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
        {
            std::lock_guard<std::mutex> lock(gHookLock);
            gDelivery = delivery_;
            gUiThread = &uiThread_;
            gHook =
                SetWindowsHookExW(WH_KEYBOARD_LL, keyboardHookProc, GetModuleHandleW(nullptr), 0);
        }
        if (!gHook) {
            started.set_value(0);
            return;
        }
        started.set_value(GetCurrentThreadId());
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        std::lock_guard<std::mutex> lock(gHookLock);
        UnhookWindowsHookEx(gHook);
        gHook = nullptr;
        gUiThread = nullptr;
        gDelivery.reset();
    });
    hookThreadId_ = result.get();
    if (hookThreadId_ == 0) {
        hookThread_.join();
        return false;
    }
    delivery_->installed = true;
    return true;
}

void Win32KeyEventSource::remove() {
    delivery_->installed = false; // releases already posted are dropped
    if (!hookThread_.joinable())
        return;
    PostThreadMessageW(hookThreadId_, WM_QUIT, 0, 0);
    hookThread_.join();
    hookThreadId_ = 0;
}

} // namespace hh
