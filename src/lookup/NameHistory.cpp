#include "lookup/NameHistory.h"

#include "common/Strings.h"

#include <cstdint>
#include <ctime>
#include <optional>

namespace hh {
namespace {

constexpr std::size_t kMaxFieldBytes = 128;

// Seconds since 1970 as decimal digits.
std::optional<std::int64_t> seconds(std::string_view s) {
    if (s.empty() || s.size() > 12)
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string localMinute(std::chrono::system_clock::time_point t) {
    const std::time_t secs = std::chrono::system_clock::to_time_t(t);
    const std::tm* local = std::localtime(&secs);
    if (!local)
        return "?";
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", local);
    return text;
}

// A name keeps its colour codes; what the console would read as line breaks
// (our "\n"), hint lines (" {"), commands or comments does not stay.
std::string shownName(std::string_view name) {
    std::string safe = consoleSafeAliases(name);
    for (char& c : safe) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '{')
            c = '[';
        else if (c == '}')
            c = ']';
        else if (byte < 0x20 || byte == 0x7f)
            c = ' ';
    }
    return safe;
}

} // namespace

std::vector<NameLink> parseNameLinks(std::string_view body, std::size_t maxLinks) {
    std::vector<NameLink> links;
    while (!body.empty() && links.size() < maxLinks) {
        const std::size_t end = body.find('\n');
        std::string_view line = body.substr(0, end);
        body.remove_prefix(end == std::string_view::npos ? body.size() : end + 1);
        if (!line.starts_with("link\t"))
            continue;
        NameLink link;
        std::optional<std::int64_t> at;
        for (std::string_view rest = line.substr(5); !rest.empty();) {
            const std::size_t tab = rest.find('\t');
            const std::string_view field = rest.substr(0, tab);
            rest.remove_prefix(tab == std::string_view::npos ? rest.size() : tab + 1);
            const std::size_t eq = field.find('=');
            const std::string_view name = field.substr(0, eq);
            const std::string_view value = eq == std::string_view::npos ? "" : field.substr(eq + 1);
            if (value.size() > kMaxFieldBytes)
                continue;
            if (name == "name")
                link.name = value;
            else if (name == "at")
                at = seconds(value);
            else if (name == "server")
                link.server = value;
        }
        if (link.name.empty() || !at)
            continue;
        link.at = std::chrono::system_clock::time_point{std::chrono::seconds{*at}};
        links.push_back(std::move(link));
    }
    return links;
}

std::string nameHistoryLine(const std::string& searched, const std::vector<NameLink>& links,
                            const AliasColours& colours) {
    std::string line = shownName(searched) + " = ";
    for (std::size_t i = 0; i < links.size(); ++i) {
        if (i > 0)
            line += colours.separator + ", ";
        const NameLink& link = links[i];
        line += colours.name + shownName(link.name) + colours.separator + " [" +
                localMinute(link.at) + (link.server.empty() ? "" : ", " + shownName(link.server)) +
                "]";
    }
    return splitLongLine(line) +
           " {Names from renames seen on your screen, newest first: no PunkBuster list here}";
}

} // namespace hh
