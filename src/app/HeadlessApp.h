#pragma once
#include "app/AppOptions.h"

namespace hh {

// `handlehound --headless`: the program without any window; console lines
// go to standard output. The same on every system.
int runHeadless(const AppOptions& options);

} // namespace hh
