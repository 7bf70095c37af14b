#pragma once
// Player names as people read them: "^1Bob", "bob" and "BOB" are one name
// in different colours and cases. The alias database files every name under
// this key, and the program folds alias lists and matches names with it.
#include <string>
#include <string_view>

namespace hh {

// Drops the game's colour codes: a caret followed by a letter or a digit.
std::string withoutColourCodes(std::string_view name);
// The name without colour codes, ASCII letters in lower case.
std::string nameKey(std::string_view name);

} // namespace hh
