#include "platform/x11/X11KeyEventSource.h"

#include "platform/x11/X11KeyMap.h"

#include <X11/extensions/XInput2.h>

namespace hh {
namespace {

constexpr std::uint32_t kReleasedFlag = 0x80; // as a low-level hook marks key-ups

// Frees the data XGetEventData attached to a generic event.
class EventData {
  public:
    EventData(Display* display, XGenericEventCookie* cookie) : display_(display), cookie_(cookie) {
        ok_ = XGetEventData(display_, cookie_);
    }
    ~EventData() {
        if (ok_)
            XFreeEventData(display_, cookie_);
    }
    EventData(const EventData&) = delete;
    EventData& operator=(const EventData&) = delete;
    bool ok() const { return ok_; }

  private:
    Display* display_;
    XGenericEventCookie* cookie_;
    bool ok_ = false;
};

} // namespace

X11KeyEventSource::X11KeyEventSource(const std::string& displayName) {
    display_ = x11::openPrivateDisplay(displayName, &why_);
    if (!display_)
        return;
    int event = 0, error = 0;
    if (!XQueryExtension(display_.get(), "XInputExtension", &xiOpcode_, &event, &error)) {
        why_ = "the X server has no XInput extension";
        display_.reset();
        return;
    }
    // 2.0 suppresses raw events while another client grabs the keyboard, and
    // full-screen games do.
    int major = 2, minor = 1;
    if (XIQueryVersion(display_.get(), &major, &minor) != Success || major < 2 ||
        (major == 2 && minor < 1)) {
        why_ = "the X server offers XInput " + std::to_string(major) + "." + std::to_string(minor) +
               ", 2.1 or later is needed";
        display_.reset();
    }
}

X11KeyEventSource::~X11KeyEventSource() {
    remove();
    reader_.reset(); // before the connection it reads
}

bool X11KeyEventSource::available(std::string* why) const {
    if (!display_ && why)
        *why = why_;
    return display_ != nullptr;
}

bool X11KeyEventSource::install(std::function<void(const KeyRecord&)> onKeyUp) {
    if (!display_)
        return false;
    onKeyUp_ = std::move(onKeyUp);
    if (!reader_)
        reader_ =
            std::make_unique<x11::EventReader>(display_.get(), [this](XEvent& e) { handle(e); });
    installed_ = selectRawReleases(true);
    return installed_;
}

void X11KeyEventSource::remove() {
    if (!installed_)
        return;
    installed_ = false;
    selectRawReleases(false);
    // Releases already queued are dropped by handle() from now on.
    reader_->drain();
}

bool X11KeyEventSource::selectRawReleases(bool on) {
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    if (on)
        XISetMask(bits, XI_RawKeyRelease);
    XIEventMask mask;
    // Master devices only: the slaves would report every key a second time.
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = sizeof bits;
    mask.mask = bits;
    const bool ok =
        XISelectEvents(display_.get(), DefaultRootWindow(display_.get()), &mask, 1) == Success;
    XFlush(display_.get());
    return ok;
}

void X11KeyEventSource::handle(XEvent& event) {
    XGenericEventCookie* cookie = &event.xcookie;
    if (!installed_ || cookie->type != GenericEvent || cookie->extension != xiOpcode_ ||
        cookie->evtype != XI_RawKeyRelease)
        return;
    EventData data(display_.get(), cookie);
    if (!data.ok())
        return;
    const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
    KeyRecord record;
    record.vkCode = x11::vkFromKeycode(display_.get(), static_cast<unsigned>(raw->detail));
    if (record.vkCode == 0)
        return; // no key the logic knows by code
    // X keycodes are the PC scan codes moved up by 8.
    record.scanCode = raw->detail >= 8 ? static_cast<std::uint32_t>(raw->detail - 8) : 0;
    record.flags = kReleasedFlag;
    record.time = static_cast<std::uint32_t>(raw->time);
    // A copy: the callback may remove and reinstall the observer.
    if (auto onKeyUp = onKeyUp_)
        onKeyUp(record);
}

} // namespace hh
