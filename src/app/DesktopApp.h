#pragma once
#include "app/AppOptions.h"

namespace hh {

// `handlehound` without --headless: tray icon, start detector, main window.
// `argv` is the command line as the system gave it (Qt reads it too).
int runDesktop(const AppOptions& options, int argc, char** argv);

} // namespace hh
