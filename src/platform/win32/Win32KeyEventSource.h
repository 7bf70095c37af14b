#pragma once
// Every key release of the desktop through a low-level keyboard hook. The
// hook lives on its own thread with its own message loop: Windows silently
// drops a hook whose thread stalls past LowLevelHooksTimeout, and the UI
// thread does long work. Releases are posted to the UI thread.
#include "platform/EventPump.h"
#include "platform/KeyEventSource.h"

#include <memory>
#include <thread>

namespace hh {

class Win32KeyEventSource : public KeyEventSource {
  public:
    explicit Win32KeyEventSource(EventPump& uiThread);
    ~Win32KeyEventSource() override;

    bool available(std::string* why) const override;
    bool install(std::function<void(const KeyRecord&)> onKeyUp) override;
    void remove() override;
    bool isInstalled() const override;

    struct Delivery; // what posted releases reach; outlives this object

  private:
    EventPump& uiThread_;
    std::shared_ptr<Delivery> delivery_;
    std::thread hookThread_;
    unsigned long hookThreadId_ = 0;
};

} // namespace hh
