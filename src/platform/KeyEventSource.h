#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace hh {

// One key release as a low-level keyboard hook reports it.
struct KeyRecord {
    std::uint32_t vkCode = 0; // Windows virtual-key code
    std::uint32_t scanCode = 0;
    std::uint32_t flags = 0;
    std::uint32_t time = 0;
    std::uint32_t dwExtraInfo = 0;
};

// System-wide observer of key releases. Observes only: never consumes a key.
class KeyEventSource {
  public:
    virtual ~KeyEventSource() = default;
    // Whether this platform can observe keys at all (false on Wayland or
    // without X11); `why` says what is missing.
    virtual bool available(std::string* why) const = 0;
    // Starts delivering releases on the UI thread; false when it cannot.
    virtual bool install(std::function<void(const KeyRecord&)> onKeyUp) = 0;
    virtual void remove() = 0;
    virtual bool isInstalled() const = 0;
};

} // namespace hh
