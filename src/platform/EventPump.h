#pragma once
#include <functional>

namespace hh {

// The UI thread's event loop as the logic sees it.
class EventPump {
  public:
    virtual ~EventPump() = default;
    // Let pending window messages be processed (one pass, never blocks).
    virtual void processPendingEvents() = 0;
    // Run a function on the UI thread soon; safe to call from any thread.
    virtual void postToUiThread(std::function<void()> work) = 0;
};

} // namespace hh
