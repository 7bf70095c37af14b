#include "platform/x11/X11Display.h"

// Qt before Xlib: Xlib's macros would break Qt's headers.
#include <QSocketNotifier>

#include <X11/Xlib.h>

namespace hh::x11 {
namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

} // namespace

void DisplayCloser::operator()(Display* display) const {
    if (display)
        XCloseDisplay(display);
}

DisplayPtr openPrivateDisplay(const std::string& name, std::string* why) {
    const std::string target = name.empty() ? environment("DISPLAY") : name;
    if (target.empty()) {
        if (why)
            *why = environment("WAYLAND_DISPLAY").empty()
                       ? "no X11 display: DISPLAY is not set"
                       : "this is a Wayland session without an X11 display";
        return nullptr;
    }
    DisplayPtr display(XOpenDisplay(target.c_str()));
    if (!display && why)
        *why = "the X11 display '" + target + "' cannot be opened";
    return display;
}

EventReader::EventReader(Display* display, std::function<void(XEvent&)> onEvent)
    : display_(display), onEvent_(std::move(onEvent)),
      notifier_(
          std::make_unique<QSocketNotifier>(ConnectionNumber(display), QSocketNotifier::Read)) {
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { drain(); });
}

EventReader::~EventReader() = default;

void EventReader::drain() {
    // XPending reads the socket; the notifier only fires for unread bytes.
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        onEvent_(event);
    }
}

} // namespace hh::x11
