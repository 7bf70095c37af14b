#include "lookup/AliasPage.h"
#include "support/AliasPages.h"

#include <gtest/gtest.h>

#include <random>

namespace hh {
namespace {

using test::aliasPage;
using test::numberedNames;

std::string joined(const std::vector<std::string>& names, std::size_t count,
                   const std::string& name = "^7", const std::string& sep = "^2") {
    std::string out;
    for (std::size_t i = 0; i < count; ++i)
        out += (i ? sep + ", " : "") + name + names[i];
    return out;
}

std::vector<std::string> splitParts(const std::string& line) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const auto hit = line.find("\\n\\t", start);
        parts.push_back(line.substr(start, hit - start));
        if (hit == std::string::npos)
            return parts;
        start = hit + 4;
    }
}

TEST(ReadsAsDateOrNumber, Table) {
    const struct {
        const char* entry;
        bool expected;
    } cases[] = {
        {"42", true},
        {"1337", true},
        {"-3.5", true},
        {".5", true},
        {"5.", true},
        {"+2.0E-3", true},
        {" 17 ", true},
        {"2026-12-05", true},
        {"1/31/2024", true},
        {"31.01.2024", true},
        {"31/01/24", true},
        {"2024-01-31 13:45", true},
        {"2024-01-31T13:45:07.250", true},
        {"1/31/2024 1:45 PM", true},
        {"12:30", true},
        {"", false},
        {"   ", false},
        {"Player", false},
        {"1e", false},
        {".", false},
        {"-", false},
        {"1.2.3", false},
        {"1,000", false},
        {"0x1F", false},
        {"2024-13-05", false},
        {"2024-01-32", false},
        {"2024/01-31", false},
        {"2024-01-31x", false},
        {"2024-01-31 25:00", false},
        {"12:3", false},
        {"13:00 PM", false},
        {"x2024-01-01", false},
        {"4:20blaze", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readsAsDateOrNumber(c.entry), c.expected) << '"' << c.entry << '"';
}

struct PageCase {
    const char* what;
    std::string html;
    std::string list;
    int count;
};

TEST(ParseAliasPage, PageShapes) {
    const std::string header = "<table><tr><th><b>Last Used</b></th></tr>";
    const std::string footer = "</table><th><b>Server Name</b></th>";
    const auto cell = [](const std::string& text) {
        return "<td><FONT size=1>" + text + "</FONT></td>";
    };
    const PageCase cases[] = {
        {"names among dates and counters", aliasPage({"Alpha", "Bravo", "Charlie"}),
         "^7Alpha^2, ^7Bravo^2, ^7Charlie", 3},
        {"markers in any case",
         "<B>LAST USED</B><td><font SIZE=1>one</font></td><td><Font Size=1>two</FONT></td>"
         "<B>Server NAME</B>",
         "^7one^2, ^7two", 2},
        {"other attributes after the size", header + "<font size=1 color=red>Red</font>" + footer,
         "^7Red", 1},
        {"no data found, any case", "<B>No Data Found</B>" + aliasPage({"Ghost"}), "", 0},
        {"browser error page", "<h1>Cannot find server or DNS Error</h1>", "error", 0},
        {"error text in other case is a page", "cannot find server or dns error", "", 0},
        {"last used header missing", cell("Alpha") + footer, "", 0},
        {"server name header missing", header + cell("Alpha"), "", 0},
        {"headers reversed", footer + cell("Alpha") + header, "", 0},
        {"cells outside the table ignored",
         cell("Before") + header + cell("Inside") + footer + cell("After"), "^7Inside", 1},
        {"carets removed, digits kept", header + cell("^1Red^7Dog") + footer, "^71Red7Dog", 1},
        {"blanks take the name colour", header + cell("Big Bad Boss") + footer,
         "^7Big ^7Bad ^7Boss", 1},
        {"comma-blank inside a name keeps the list whole",
         header + cell("Hi, there") + cell("Next") + footer, "^7Hi,there^2, ^7Next", 2},
        {"blank and empty cells name nobody",
         header + cell("") + cell("  ") + cell("Solo") + footer, "^7Solo", 1},
        {"whitespace around a name trimmed", header + cell("\n  Spaced \r\n") + footer, "^7Spaced",
         1},
        {"backslashes cannot form line breaks", header + cell("a\\n\\tb") + footer, "^7a|n|tb", 1},
        {"control bytes become blanks", header + cell(std::string("a\x01") + "b") + footer,
         "^7a ^7b", 1},
        {"unclosed cell ends the walk", header + cell("Kept") + "<font size=1>Lost" + footer,
         "^7Kept", 1},
        {"marker without its tag end", header + cell("Kept") + "size=1" + footer, "^7Kept", 1},
        {"only dates and numbers", header + cell("2026-01-02") + cell("12") + footer, "", 0},
    };
    for (const auto& c : cases) {
        const auto parsed = parseAliasPage(c.html, 150, AliasColours{});
        EXPECT_EQ(parsed.list, c.list) << c.what;
        EXPECT_EQ(parsed.aliasCount, c.count) << c.what;
    }
}

TEST(ParseAliasPage, LimitsAndCountPrefix) {
    const struct {
        int names;
        std::int16_t numAliases;
        std::string prefix;
        std::size_t listed;
        int count;
    } cases[] = {
        {200, 150, "150/200, ", 150, 200},
        {200, 999, "200, ", 200, 200},
        {200, 200, "200, ", 200, 200},
        {1, 150, "1, ", 1, 1},
        {1200, 999, "999, ", 999, 999}, // entries after the 999th are ignored
        {1200, 5, "5/999, ", 5, 999},
        {3, 0, "1/3, ", 1, 3}, // an out-of-range limit still lists one
    };
    for (const auto& c : cases) {
        const auto names = numberedNames(c.names);
        const auto parsed = parseAliasPage(aliasPage(names), c.numAliases, AliasColours{});
        EXPECT_EQ(parsed.countPrefix, c.prefix) << c.names << "/" << c.numAliases;
        EXPECT_EQ(parsed.aliasCount, c.count) << c.names << "/" << c.numAliases;
        EXPECT_EQ(parsed.list, joined(names, c.listed)) << c.names << "/" << c.numAliases;
    }
}

TEST(ParseAliasPage, OwnColours) {
    const auto parsed = parseAliasPage(aliasPage({"a b", "c"}), 150, AliasColours{"^3", "^5"});
    EXPECT_EQ(parsed.list, "^3a ^3b^5, ^3c");
}

TEST(ParseAliasPage, BinaryGarbageNeverYieldsAliases) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 50; ++round) {
        std::string page(20000, '\0');
        for (char& c : page)
            c = static_cast<char>(byte(rng));
        const auto parsed = parseAliasPage(page, 150, AliasColours{});
        EXPECT_EQ(parsed.list, "");
        EXPECT_EQ(parsed.aliasCount, 0);
    }
    // Garbage between real headers, sprinkled with markers that never close.
    std::string page = "<b>last used</b>";
    for (int i = 0; i < 5000; ++i)
        page += std::string(1, static_cast<char>(byte(rng))) + "<font size=1>\xff\x00";
    page += "<b>server name</b>";
    const auto parsed = parseAliasPage(page, 150, AliasColours{});
    EXPECT_EQ(parsed.aliasCount, 0);
}

TEST(FormatAliasList, ColoursLimitAndPrefix) {
    std::string prefix;
    EXPECT_EQ(formatAliasList("a, b, c", 2, 3, AliasColours{}, prefix), "^7a^2, ^7b");
    EXPECT_EQ(prefix, "2/3, ");
    EXPECT_EQ(formatAliasList("a, b, c", 3, 3, AliasColours{"^1", "^4"}, prefix),
              "^1a^4, ^1b^4, ^1c");
    EXPECT_EQ(prefix, "3, ");
}

// A line of aliases "nameNNNN, " long enough for `length` characters.
std::string aliasLine(std::size_t length) {
    std::string line = "9, GUID# '1a2b3c4d' = ";
    for (int i = 0; line.size() < length; ++i)
        line += "^7name" + std::to_string(1000 + i) + "^2, ";
    line.resize(length);
    return line;
}

TEST(SplitLongLine, Cuts) {
    const std::string at875 = aliasLine(875);
    EXPECT_EQ(splitLongLine(at875), at875);

    const std::string at876 = aliasLine(876);
    const auto comma = at876.rfind(',', 870);
    EXPECT_EQ(splitLongLine(at876),
              at876.substr(0, comma) + "\\n\\t" + at876.substr(comma + 1)); // keeps its blank

    // Three cuts: the second part starts with the blank after its comma,
    // later parts one character later; nothing else is lost.
    const std::string long3000 = aliasLine(3000);
    const auto parts = splitParts(splitLongLine(long3000));
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(parts[1].front(), ' ');
    EXPECT_NE(parts[2].front(), ' ');
    EXPECT_EQ(parts[0] + "," + parts[1] + ", " + parts[2] + ", " + parts[3], long3000);
    for (const auto& p : parts)
        EXPECT_LT(p.size(), 872u);
}

TEST(SplitLongLine, FifthPartIsCutAtAWholeAlias) {
    const std::string line = aliasLine(6000);
    const auto parts = splitParts(splitLongLine(line));
    ASSERT_EQ(parts.size(), 4u);
    const std::string kept = parts[0] + "," + parts[1] + ", " + parts[2] + ", " + parts[3];
    EXPECT_EQ(line.substr(0, kept.size()), kept);
    EXPECT_EQ(line[kept.size()], ','); // the last part ends with a whole alias
    for (const auto& p : parts)
        EXPECT_LT(p.size(), 872u);
}

TEST(SplitLongLine, NoCommaIsCutHard) {
    const std::string line(900, 'x');
    EXPECT_EQ(splitLongLine(line), std::string(871, 'x') + "\\n\\t" + std::string(29, 'x'));
}

} // namespace
} // namespace hh
