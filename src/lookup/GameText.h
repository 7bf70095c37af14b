#pragma once
// Names from the alias database as our answers show them in the game. The
// result script writer keeps every line an echo; these rules keep a name
// from changing the shape of the answer around it.
#include <string>
#include <string_view>

namespace hh {

// The name in its own colours (a caret and a digit) with the rest of its
// carets dropped, control characters as blanks, backslashes as '|' (no
// "\n" of our messages), braces as brackets (no hint lines), and after
// every blank the colour in force again (the writer turns blanks yellow).
// `colour` is the colour the name starts in.
std::string gameName(std::string_view name, const std::string& colour);

} // namespace hh
