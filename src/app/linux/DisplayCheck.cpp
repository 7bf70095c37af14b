#include "app/linux/DisplayCheck.h"

#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>

namespace hh {

// Qt aborts the whole program when it cannot reach its display; a player who
// started us in a text console deserves one line that says what to do.
bool displayMissing() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform)
        return false; // Qt was told where to draw
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) {
        std::fprintf(stderr, "handlehound: no X display (DISPLAY is not set); use "
                             "'handlehound --headless' to run without windows\n");
        return true;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr,
                     "handlehound: cannot open the X display '%s'; use 'handlehound --headless' "
                     "to run without windows\n",
                     name);
        return true;
    }
    XCloseDisplay(display);
    return false;
}

} // namespace hh
