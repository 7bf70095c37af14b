#pragma once

namespace hh {

// True, after one line on standard error that names --headless, when the
// desktop program has no display to show its windows on.
bool displayMissing();

} // namespace hh
