#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace hh {

// One system-wide hot key: Ctrl + a virtual-key code.
class HotKey {
  public:
    virtual ~HotKey() = default;
    // Registers Ctrl + vkCode; on failure returns false and says why (for
    // instance another program holds the combination).
    virtual bool registerCtrlKey(std::uint32_t vkCode, std::function<void()> onPressed,
                                 std::string* why) = 0;
    virtual void unregister() = 0;
    virtual bool isRegistered() const = 0;
};

} // namespace hh
