#pragma once
#include "app/AppOptions.h"

namespace hh {

// `handlehound` without --headless: tray icon, start detector, main window.
int runDesktop(const AppOptions& options, int argc, char** argv);

} // namespace hh
