#include "app/StdoutMainView.h"

#include <cstdio>
#include <string_view>

namespace hh {

void StdoutMainView::appendConsole(const std::string& text) {
    // Keep the log record bounded: the pane of a long-running headless
    // program would otherwise grow for ever.
    constexpr std::size_t kKeep = 1 << 20;
    console_ += text;
    if (console_.size() > 2 * kKeep)
        console_.erase(0, console_.size() - kKeep);
    // The pane puts the line break in front of a line; a stream wants it
    // after, so a reader sees each line as soon as it is written.
    std::string_view line = text;
    if (line.substr(0, 2) == "\r\n")
        line.remove_prefix(2);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    std::string out;
    out.reserve(line.size() + 1);
    for (char c : line)
        if (c != '\r')
            out.push_back(c);
    out.push_back('\n');
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
}

} // namespace hh
