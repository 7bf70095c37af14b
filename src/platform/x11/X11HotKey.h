#pragma once
// Ctrl + one key, system-wide: passive grabs on the root window of a private
// connection, one per lock-key state so CapsLock and NumLock do not matter.
#include "platform/HotKey.h"
#include "platform/x11/X11Display.h"

#include <vector>

namespace hh {

class X11HotKey : public HotKey {
  public:
    explicit X11HotKey(const std::string& displayName = {});
    ~X11HotKey() override;

    bool registerCtrlKey(std::uint32_t vkCode, std::function<void()> onPressed,
                         std::string* why) override;
    void unregister() override;
    bool isRegistered() const override { return !grabbed_.empty(); }

  private:
    bool grab(std::string* why);
    void ungrab();
    std::vector<unsigned> lockVariants() const;
    void handle(XEvent& event);

    x11::DisplayPtr display_;
    std::string why_; // why there is no connection
    std::unique_ptr<x11::EventReader> reader_;
    std::uint32_t vkCode_ = 0;
    unsigned keycode_ = 0;
    std::vector<unsigned> grabbed_; // modifier masks held now
    std::function<void()> onPressed_;
};

} // namespace hh
