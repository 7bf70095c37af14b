#include "app/DesktopApp.h"

#include <cstdio>

namespace hh {

// The Windows desktop (tray, main window, dialogs) is not built yet: say so
// and point at the program that is.
int runDesktop(const AppOptions&, int, char**) {
    std::fprintf(stderr, "handlehound: the desktop program is not built for Windows yet; use "
                         "'handlehound --headless' to run without windows\n");
    return 2;
}

} // namespace hh
