#pragma once
#include "app/AppOptions.h"

namespace hh {

// `handlehound --setup ...`: the setup dialog's OK steps without a window.
int runSetupCli(const AppOptions& options);

} // namespace hh
