#pragma once
// The program log: the console pane's text, kept when the main window closes.
#include <string>
#include <string_view>

namespace hh {

struct Platform;

// The log's lines without empty and single-blank lines, each ended by CR LF,
// then a line of five blanks and an empty line.
std::string compactConsoleLog(std::string_view logText);

// Appends a record (91 asterisks, the date and time, the console text) to
// console.log in the log folder and compacts the log; a full log is moved
// aside to console.log.1 first. A failure is shown
// in a message box; the old log is then left as it was.
void LogConsoleText(Platform& platform, const std::string& consoleText);

} // namespace hh
