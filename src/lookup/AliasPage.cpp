#include "lookup/AliasPage.h"

#include "common/Strings.h"
#include "lookup/CharacterReferences.h"

#include <algorithm>
#include <limits>
#include <vector>

// The alias database page is a table whose cells are <font size=1> elements:
// alias names interleaved with "last used" dates and counters. We fetch the
// raw HTML ourselves, so the markers are matched without regard to case, and
// the page is walked once with an index (a hostile page can be megabytes).

namespace hh {
namespace {

constexpr std::int16_t kMaxAliases = 999;
constexpr std::size_t kWholeLineLimit = 876; // shorter lines are passed whole
constexpr std::size_t kPartLimit = 872;      // a part this long is cut again
constexpr std::size_t kCutWindow = 871;      // the cut is at the last comma in here
constexpr std::string_view kPartJoin = "\\n\\t";

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view trimSpace(std::string_view s) {
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// Reads up to `maxLen` digits at s[pos]; how many were read.
std::size_t readNumber(std::string_view s, std::size_t& pos, int& value, std::size_t maxLen) {
    std::size_t n = 0;
    value = 0;
    while (pos < s.size() && n < maxLen && isDigit(s[pos])) {
        value = value * 10 + (s[pos] - '0');
        ++pos;
        ++n;
    }
    return n;
}

std::size_t readDigitRun(std::string_view s, std::size_t pos) {
    std::size_t n = 0;
    while (pos + n < s.size() && isDigit(s[pos + n]))
        ++n;
    return n;
}

// Optional sign, digits with at most one decimal point (at least one digit),
// optional exponent: "42", "-3.5", ".5", "1e6", "+2.0E-3". Thousands
// separators are not numbers: "1,000" could be a name.
bool readsAsNumber(std::string_view s) {
    std::size_t pos = 0;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-'))
        ++pos;
    std::size_t digits = readDigitRun(s, pos);
    pos += digits;
    if (pos < s.size() && s[pos] == '.') {
        ++pos;
        const std::size_t fraction = readDigitRun(s, pos);
        pos += fraction;
        digits += fraction;
    }
    if (digits == 0)
        return false;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
        ++pos;
        if (pos < s.size() && (s[pos] == '+' || s[pos] == '-'))
            ++pos;
        const std::size_t exponent = readDigitRun(s, pos);
        if (exponent == 0)
            return false;
        pos += exponent;
    }
    return pos == s.size();
}

// "h:mm", "hh:mm:ss", optionally ".fff" and " AM"/"PM"; the whole rest of s.
bool readsAsTime(std::string_view s) {
    std::size_t pos = 0;
    int hour = 0, minute = 0, second = 0;
    if (readNumber(s, pos, hour, 2) == 0 || pos >= s.size() || s[pos++] != ':')
        return false;
    if (readNumber(s, pos, minute, 2) != 2 || minute > 59)
        return false;
    if (pos < s.size() && s[pos] == ':') {
        ++pos;
        if (readNumber(s, pos, second, 2) != 2 || second > 59)
            return false;
        if (pos < s.size() && s[pos] == '.') {
            const std::size_t fraction = readDigitRun(s, pos + 1);
            if (fraction == 0)
                return false;
            pos += 1 + fraction;
        }
    }
    std::string_view rest = trimSpace(s.substr(pos));
    if (rest.empty())
        return hour <= 23;
    const std::string meridiem = toLower(rest);
    return (meridiem == "am" || meridiem == "pm") && hour >= 1 && hour <= 12;
}

bool isMonthDay(int month, int day) {
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

// Three numeric fields with one separator ('-', '/' or '.'): year first
// ("2024-01-31") or year last with month and day in either order
// ("1/31/2024", "31.01.2024", "31/01/24"); optionally a blank or 'T' and a
// time. A time on its own ("12:30") counts as well.
bool readsAsDate(std::string_view s) {
    if (readsAsTime(s))
        return true;
    int field[3] = {0, 0, 0};
    std::size_t length[3] = {0, 0, 0};
    std::size_t pos = 0;
    char separator = 0;
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (pos >= s.size() || (s[pos] != '-' && s[pos] != '/' && s[pos] != '.'))
                return false;
            if (i == 1)
                separator = s[pos];
            else if (s[pos] != separator)
                return false;
            ++pos;
        }
        length[i] = readNumber(s, pos, field[i], 4);
        if (length[i] == 0)
            return false;
    }
    const bool yearFirst = length[0] == 4 && isMonthDay(field[1], field[2]);
    const bool yearLast = (length[2] == 4 || length[2] == 2) && length[0] <= 2 && length[1] <= 2 &&
                          (isMonthDay(field[0], field[1]) || isMonthDay(field[1], field[0]));
    if (!yearFirst && !yearLast)
        return false;
    if (pos == s.size())
        return true;
    if (s[pos] != ' ' && s[pos] != 'T')
        return false;
    return readsAsTime(trimSpace(s.substr(pos + 1)));
}

// The cell text made ready for the list: carets go (a name's own colour codes
// would fight ours), control bytes become blanks, a backslash becomes "|" (a
// name must not carry the "\n" and "\t" of our messages), a ", " inside a name
// becomes "," so that the list still splits into exactly one item per alias,
// and every blank carries the name colour again.
std::string aliasText(std::string_view entry, const std::string& nameColour) {
    std::string list;
    char previous = 0;
    for (char c : entry) {
        if (c == '^')
            continue;
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f)
            c = ' ';
        else if (c == '\\')
            c = '|';
        if (c == ' ' && previous == ',') {
            previous = 0;
            continue;
        }
        list += c;
        if (c == ' ')
            list += nameColour;
        previous = c;
    }
    return list;
}

// The value of `name="..."` in a lower-cased tag, or "".
std::string_view attribute(std::string_view tag, std::string_view name) {
    const auto at = tag.find(name);
    if (at == std::string_view::npos || tag.substr(at + name.size(), 2) != "=\"")
        return {};
    const auto start = at + name.size() + 2;
    const auto end = tag.find('"', start);
    return end == std::string_view::npos ? std::string_view() : tag.substr(start, end - start);
}

// data-uses="12" (at most 12 digits) and data-last="2026-12-04".
void readCounts(std::string_view tag, PageAlias& alias) {
    const std::string_view uses = attribute(tag, "data-uses");
    if (!uses.empty() && uses.size() <= 12 && readDigitRun(uses, 0) == uses.size()) {
        alias.uses = 0;
        for (char c : uses)
            alias.uses = alias.uses * 10 + (c - '0');
    }
    const std::string_view last = attribute(tag, "data-last");
    if (last.size() == 10 && readsAsDate(last))
        alias.lastSeen = std::string(last);
}

std::vector<std::string_view> splitItems(std::string_view list) {
    std::vector<std::string_view> items;
    std::size_t start = 0;
    for (;;) {
        const auto hit = list.find(", ", start);
        if (hit == std::string_view::npos)
            break;
        items.push_back(list.substr(start, hit - start));
        start = hit + 2;
    }
    items.push_back(list.substr(start));
    return items;
}

} // namespace

std::string consoleSafeAliases(std::string_view list) {
    std::string safe = replaceAll(replaceAll(list, "&amp;", ""), ";", "");
    for (char& c : safe) {
        if (c == '/' || c == '\\')
            c = '|';
        else if (c == '(')
            c = '[';
        else if (c == ')')
            c = ']';
    }
    return safe;
}

bool readsAsDateOrNumber(std::string_view entry) {
    const std::string_view s = trimSpace(entry);
    return !s.empty() && (readsAsNumber(s) || readsAsDate(s));
}

ParsedAliases parseAliasPage(std::string_view html, std::int16_t numAliases,
                             const AliasColours& colours) {
    ParsedAliases out;
    // One lower-case copy; ASCII-only lowering keeps every index valid for
    // the original bytes, from which the names are taken.
    const std::string lower = toLower(html);
    if (contains(lower, "<b>no data found</b>"))
        return out;
    if (contains(html, "Cannot find server or DNS Error")) {
        out.list = "error";
        return out;
    }
    const auto tableStart = lower.find("<b>last used</b>");
    const auto tableEnd = lower.find("<b>server name</b>");
    // Without both headers in this order there is no table to read.
    if (tableStart == std::string::npos || tableEnd == std::string::npos || tableEnd < tableStart)
        return out;
    const std::string_view table = html.substr(tableStart, tableEnd - tableStart);
    const std::string_view lowTable = std::string_view(lower).substr(tableStart, table.size());

    // No pass through the UI event loop per entry: the walk over a page of
    // 999 aliases takes microseconds, and running other handlers in the
    // middle of it would only let them see half-built lookup state.
    std::string list;
    std::int16_t count = 0;
    std::size_t pos = 0;
    while (count < kMaxAliases) {
        const auto marker = lowTable.find("size=1", pos);
        if (marker == std::string_view::npos)
            break;
        const auto tagEnd = lowTable.find('>', marker + 6);
        if (tagEnd == std::string_view::npos)
            break;
        const auto cellEnd = lowTable.find("</font>", tagEnd + 1);
        if (cellEnd == std::string_view::npos)
            break;
        pos = cellEnd + 7;
        // The cell as a browser gives it: references to quotes and the like
        // are the characters themselves.
        const std::string cell =
            decodeCharacterReferences(table.substr(tagEnd + 1, cellEnd - tagEnd - 1));
        const std::string_view entry = trimSpace(cell);
        // Dates and counters share the cells with the names; an empty cell
        // names nobody.
        if (entry.empty() || readsAsDateOrNumber(entry))
            continue;
        PageAlias alias{std::string(entry), aliasText(entry, colours.name), -1, {}};
        readCounts(lowTable.substr(marker, tagEnd - marker), alias);
        list += alias.text;
        list += ", ";
        out.aliases.push_back(std::move(alias));
        ++count;
    }
    out.aliasCount = count;
    out.hasCounts =
        !out.aliases.empty() && std::all_of(out.aliases.begin(), out.aliases.end(),
                                            [](const PageAlias& a) { return a.uses >= 0; });
    if (!list.empty()) {
        list.resize(list.size() - 2); // the trailing ", "
        out.list = formatAliasList(list, numAliases, count, colours, out.countPrefix);
    }
    return out;
}

std::string formatAliasList(std::string_view list, std::int16_t numAliases, std::int16_t aliasCount,
                            const AliasColours& colours, std::string& countPrefix) {
    const auto items = splitItems(list);
    const int count = std::max<int>(aliasCount, 0);
    // The settings keep the limit within 1..999; a bad value still lists something.
    const int maxN = std::clamp<int>(numAliases, 1, kMaxAliases);
    const int keep = std::min({maxN, count, static_cast<int>(items.size())});
    countPrefix = maxN >= count ? std::to_string(count) + ", "
                                : std::to_string(maxN) + "/" + std::to_string(count) + ", ";
    std::string out;
    for (int j = 0; j < keep; ++j) {
        if (j > 0) {
            out += colours.separator;
            out += ", ";
        }
        out += colours.name;
        out += items[static_cast<std::size_t>(j)];
    }
    return out;
}

namespace {
// Hands `visit` each part of a long line, at most `maxParts`.
template <typename Visit> void forEachPart(std::string_view line, int maxParts, Visit visit) {
    std::size_t start = 0;
    for (int part = 0; part < maxParts && start <= line.size(); ++part) {
        const std::string_view rest = line.substr(start);
        if (rest.size() < kPartLimit) {
            visit(part, rest);
            return;
        }
        const auto comma = rest.substr(0, kCutWindow).rfind(',');
        if (comma == std::string_view::npos) {
            visit(part, rest.substr(0, kCutWindow));
            start += kCutWindow;
            continue;
        }
        visit(part, rest.substr(0, comma));
        start += comma + (part == 0 ? 1 : 2);
    }
}
} // namespace

// Each cut is at the last comma within the first 871 characters of what is
// left; the second part keeps the blank after its comma, later parts start
// after it (the game shows the parts as indented lines). A line that would
// need a fifth part ends with the last whole alias of the fourth; a stretch
// of 871 characters without any comma is cut hard.
std::string splitLongLine(std::string_view line) {
    if (line.size() < kWholeLineLimit)
        return std::string(line);
    std::string out;
    forEachPart(line, kMaxLineParts, [&](int part, std::string_view text) {
        if (part > 0)
            out += kPartJoin;
        out += text;
    });
    return out;
}

int partsNeeded(std::string_view line) {
    if (line.size() < kWholeLineLimit)
        return 1;
    int parts = 0;
    forEachPart(line, std::numeric_limits<int>::max(), [&](int, std::string_view) { ++parts; });
    return parts;
}

} // namespace hh
