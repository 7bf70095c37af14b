#pragma once
// Pages in the alias database's format, for the lookup tests and benchmark:
// every alias cell is followed by a "last used" date cell and a counter cell,
// all between the "Last Used" and "Server Name" headers.
#include <string>
#include <vector>

namespace hh::test {

inline std::vector<std::string> numberedNames(int count, const std::string& stem = "Player") {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(stem + std::to_string(i));
    return names;
}

// `rowPadding` bytes of markup without any alias cell go into every row, to
// grow a page without adding aliases.
inline std::string aliasPage(const std::vector<std::string>& names, std::size_t rowPadding = 0) {
    std::string page = "<html><head><title>Alias lookup</title></head><body>\n"
                       "<table><tr><th><b>Name</b></th><th><b>Last Used</b></th>"
                       "<th><b>Times Seen</b></th></tr>\n";
    int day = 1;
    for (const auto& name : names) {
        page += "<tr><td><FONT size=1>" + name + "</FONT></td><td><FONT size=1>2026-12-" +
                (day < 10 ? "0" : "") + std::to_string(day) + "</FONT></td><td><FONT size=1>" +
                std::to_string(day * 7) + "</FONT></td>";
        if (rowPadding > 0)
            page += "<td class=pad>" + std::string(rowPadding, '.') + "</td>";
        page += "</tr>\n";
        day = day % 28 + 1;
    }
    page += "</table>\n<table><tr><th><b>Server Name</b></th></tr>"
            "<tr><td><FONT size=1>Some Server</FONT></td></tr></table></body></html>\n";
    return page;
}

inline std::string noDataPage() {
    return "<html><body><p><b>No data found</b></p></body></html>\n";
}

} // namespace hh::test
