#pragma once
#include <string>

namespace hh {

// The 22 help lines, each preceded by "\t" and separated by "\n" (the
// message conventions' two-character sequences).
const std::string& helpText();

} // namespace hh
