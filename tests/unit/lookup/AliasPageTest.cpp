#include "lookup/AliasPage.h"
#include "support/AliasPages.h"

#include <gtest/gtest.h>

namespace hh {
namespace {

using test::aliasPage;

std::vector<std::string> splitParts(const std::string& line) {
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const auto hit = line.find("\\n\\t", start);
        parts.push_back(line.substr(start, hit - start));
        if (hit == std::string::npos)
            return parts;
        start = hit + 4;
    }
}

TEST(ReadsAsDateOrNumber, Table) {
    for (const char* entry :
         {"-3.5", "5.", "+2.0E-3", " 17 ", "2026-12-05", "1/31/2024", "31.01.2024",
          "2024-01-31T13:45:07.250", "1/31/2024 1:45 PM", "12:30"})
        EXPECT_TRUE(readsAsDateOrNumber(entry)) << '"' << entry << '"';
    for (const char* entry : {"", "Player", "1e", "1.2.3", "0x1F", "2024-13-05", "2024-01-32",
                              "2024/01-31", "2024-01-31 25:00", "12:60", "13:00 PM", "4:20blaze"})
        EXPECT_FALSE(readsAsDateOrNumber(entry)) << '"' << entry << '"';
}

TEST(ParseAliasPage, PageShapes) {
    const std::string header = "<table><tr><th><b>Last Used</b></th></tr>";
    const std::string footer = "</table><th><b>Server Name</b></th>";
    const auto cell = [](const std::string& text) {
        return "<td><FONT size=1>" + text + "</FONT></td>";
    };
    const auto table = [&](const std::string& cells) { return header + cells + footer; };
    const struct {
        std::string html, list;
        int count;
    } cases[] = {
        {"<B>LAST USED</B><td><font SIZE=1>one</font></td><td><Font Size=1>two</FONT></td>"
         "<B>Server NAME</B>",
         "^7one^2, ^7two", 2},
        {"<h1>Cannot find server or DNS Error</h1>", "error", 0},
        {cell("Alpha") + footer, "", 0},
        {cell("Before") + table(cell("Inside")) + cell("After"), "^7Inside", 1},
        {table(cell("^1Red^7Dog")), "^71Red7Dog", 1},
        {table(cell("Hi, there") + cell("Next")), "^7Hi,there^2, ^7Next", 2},
        {table(cell("") + cell("  ") + cell("Solo")), "^7Solo", 1},
        {table(cell("\n  Spaced \r\n")), "^7Spaced", 1},
        {table(cell("a\\n\\tb")), "^7a|n|tb", 1}, // no line breaks forged in the game script
        {table(cell(std::string("a\x01") + "b")), "^7a ^7b", 1},
        {table(cell("2026-01-02") + cell("12")), "", 0},
    };
    for (const auto& c : cases) {
        const auto parsed = parseAliasPage(c.html, 150, AliasColours{});
        EXPECT_EQ(parsed.list, c.list) << c.html;
        EXPECT_EQ(parsed.aliasCount, c.count) << c.html;
    }
}

// A browser hands the cell text over with references read, except the four
// it writes as references itself; what the references make is then cleaned
// like any other text of the cell.
TEST(ParseAliasPage, CharacterReferencesReadAsABrowserGivesThem) {
    const std::pair<std::string, std::string> cases[] = {
        {"Q&quot;uote", "Q\"uote"},
        {"a&apos;b&#x27;c&#X27;d&#39e", "a'b'c'd'e"},
        {"&#38;&#x26;&lt;&#60;&gt;&#62;&nbsp;&#160;&amp;",
         "&amp;&amp;&lt;&lt;&gt;&gt;&nbsp;&nbsp;&amp;"},
        {"Ren&eacute;&#233;&euro;&#x20AC;", "Ren\xc3\xa9\xc3\xa9\xe2\x82\xac\xe2\x82\xac"},
        {"&#0;&#xD800;&#99999999999;", "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},
        {"&bogus;&amp&#;&#x;&quotx", "&bogus;&amp&#;&#x;&quotx"},
        {"a&#92;nb", "a|nb"},
    };
    for (const auto& [cell, alias] : cases)
        EXPECT_EQ(parseAliasPage(aliasPage({cell}), 150, AliasColours{}).list, "^7" + alias)
            << cell;
}

TEST(ParseAliasPage, LimitsAndCountPrefix) {
    const struct {
        int names;
        std::int16_t numAliases;
        std::string prefix;
        std::size_t listed;
        int count;
    } cases[] = {
        {200, 150, "150/200, ", 150, 200}, {200, 200, "200, ", 200, 200}, {1, 150, "1, ", 1, 1},
        {1200, 999, "999, ", 999, 999}, // entries after the 999th are ignored
        {1200, 5, "5/999, ", 5, 999},      {3, 0, "1/3, ", 1, 3}, // an out-of-range limit still
                                                                  // lists one
    };
    for (const auto& c : cases) {
        const auto names = test::numberedNames(c.names);
        std::string list;
        for (std::size_t i = 0; i < c.listed; ++i)
            list += (i ? "^2, ^7" : "^7") + names[i];
        const auto parsed = parseAliasPage(aliasPage(names), c.numAliases, AliasColours{});
        SCOPED_TRACE(std::to_string(c.names) + "/" + std::to_string(c.numAliases));
        EXPECT_EQ(parsed.countPrefix, c.prefix);
        EXPECT_EQ(parsed.aliasCount, c.count);
        EXPECT_EQ(parsed.list, list);
    }
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
    const std::string at875 = aliasLine(875), at876 = aliasLine(876);
    EXPECT_EQ(splitLongLine(at875), at875);
    const auto comma = at876.rfind(',', 870);
    EXPECT_EQ(splitLongLine(at876),
              at876.substr(0, comma) + "\\n\\t" + at876.substr(comma + 1)); // keeps its blank
    EXPECT_EQ(splitLongLine(std::string(900, 'x')),
              std::string(871, 'x') + "\\n\\t" + std::string(29, 'x')); // no comma: cut hard

    // The second part starts with the blank after its comma, later parts one
    // character later; a fifth part is dropped at a whole alias.
    for (const std::size_t length : {3000u, 6000u}) {
        const std::string line = aliasLine(length);
        const auto parts = splitParts(splitLongLine(line));
        ASSERT_EQ(parts.size(), 4u);
        EXPECT_EQ(parts[1].front(), ' ');
        EXPECT_NE(parts[2].front(), ' ');
        const std::string kept = parts[0] + "," + parts[1] + ", " + parts[2] + ", " + parts[3];
        if (length == 3000)
            EXPECT_EQ(kept, line);
        else
            EXPECT_EQ(line.substr(0, kept.size() + 1), kept + ",");
        for (const auto& p : parts)
            EXPECT_LT(p.size(), 872u);
    }
}

} // namespace
} // namespace hh
