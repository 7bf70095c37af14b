#pragma once
// Every key release of the desktop, observed (never grabbed) through XInput2
// raw events on the root window of a private connection.
#include "platform/KeyEventSource.h"
#include "platform/x11/X11Display.h"

namespace hh {

class X11KeyEventSource : public KeyEventSource {
  public:
    // `displayName` empty: $DISPLAY. The connection is opened here; the
    // reader starts with install() (it needs the Qt event loop).
    explicit X11KeyEventSource(const std::string& displayName = {});
    ~X11KeyEventSource() override;

    bool available(std::string* why) const override;
    bool install(std::function<void(const KeyRecord&)> onKeyUp) override;
    void remove() override;
    bool isInstalled() const override { return installed_; }

  private:
    bool selectRawReleases(bool on);
    void handle(XEvent& event);

    x11::DisplayPtr display_;
    std::string why_; // why there is no observer, when there is none
    int xiOpcode_ = 0;
    std::unique_ptr<x11::EventReader> reader_;
    std::function<void(const KeyRecord&)> onKeyUp_;
    bool installed_ = false;
};

} // namespace hh
