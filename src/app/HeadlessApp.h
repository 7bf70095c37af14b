#pragma once
#include "app/AppOptions.h"

namespace hh {

// `handlehound --headless`: monitoring without any window.
int runHeadless(const AppOptions& options, int argc, char** argv);

} // namespace hh
