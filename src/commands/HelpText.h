#pragma once
#include <string>

namespace hh {

// The 22 help lines, each preceded by "\t" and separated by "\n" (the
// message conventions' two-character sequences).
const std::string& helpText();

// The help command's answer: a title, the help lines, and how a command is
// typed. The last line stays out of helpText(), whose words the interpreter
// takes for command words.
std::string helpMessage();

} // namespace hh
