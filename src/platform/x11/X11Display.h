#pragma once
// What the X11 services share: a private connection with RAII, the reason
// when none can be had, and a reader that drains it on the UI thread.
// Xlib's macros (Bool, Status, ...) break Qt headers, so this header names
// the X types without including Xlib.
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

typedef struct _XDisplay Display;
typedef union _XEvent XEvent;
class QSocketNotifier;

namespace hh::x11 {

struct DisplayCloser {
    void operator()(Display* display) const;
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

// xcb replies and errors are malloc'd.
struct CFreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T> using XcbReply = std::unique_ptr<T, CFreeDeleter>;

// Opens a private connection to `name` (empty: $DISPLAY). Returns null and
// says why on a Wayland session without X11, without a display, or when the
// server does not answer.
DisplayPtr openPrivateDisplay(const std::string& name, std::string* why);

// Hands every queued event of `display` to `onEvent`, on the UI thread, as
// soon as the connection has bytes to read.
class EventReader {
  public:
    EventReader(Display* display, std::function<void(XEvent&)> onEvent);
    ~EventReader();
    EventReader(const EventReader&) = delete;
    EventReader& operator=(const EventReader&) = delete;
    // Reads what is queued now. Xlib may already hold events that arrived
    // during a round trip; the socket then stays quiet, so callers drain
    // after their own requests.
    void drain();

  private:
    Display* display_;
    std::function<void(XEvent&)> onEvent_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace hh::x11
