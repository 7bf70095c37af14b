// The alias list answer: pages that hold every name once and keep to the
// game's limits, and our own database's counts folded by name.
#include "lookup/AliasList.h"

#include "gamelink/ResultScript.h"
#include "support/AliasPages.h"

#include <gtest/gtest.h>

#include <tuple>

namespace hh {
namespace {

struct Counted {
    std::string name;
    int uses;
    std::string last;
};

// A page as our database writes it: uses and last sighting in the name's tag.
std::string countedPage(const std::vector<Counted>& names) {
    std::string page = "<table><tr><th><b>Alias</b></th><th><b>Last Used</b></th></tr>\n";
    for (const auto& n : names)
        page += "<tr><td><FONT size=1 data-uses=\"" + std::to_string(n.uses) + "\" data-last=\"" +
                n.last + "\">" + n.name + "</FONT></td><td><FONT size=1>" + n.last +
                "</FONT></td></tr>\n";
    return page + "</table><table><tr><th><b>Server Name</b></th></tr></table>\n";
}

AliasListAnswer answerFor(const std::string& html, int numAliases, bool pageOrder = false) {
    return aliasListAnswer(parseAliasPage(html, static_cast<std::int16_t>(numAliases), {}),
                           "GUID# '1a2b3c4d'", static_cast<std::int16_t>(numAliases),
                           AliasColours{}, pageOrder);
}

TEST(AliasList, PagesHoldEveryNameOnceWithinTheLimits) {
    const std::string wide(60, 'w');
    const struct {
        int names;
        int numAliases;
        std::string stem;
        std::size_t pages;
    } cases[] = {
        {1, 150, "P", 1},    {150, 150, "Player", 1}, {151, 150, "Player", 2},
        {3, 1, "P", 3},      {200, 999, "Player", 1}, // 200 short names fit four parts
        {999, 999, wide, 0},                          // as many pages as four parts need
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.names) + "/" + std::to_string(c.numAliases));
        const auto names = test::numberedNames(c.names, c.stem);
        const AliasListAnswer answer = answerFor(test::aliasPage(names), c.numAliases);
        if (c.pages) {
            EXPECT_EQ(answer.pages.size(), c.pages);
        } else {
            EXPECT_GT(answer.pages.size(), 10u);
        }
        std::string all;
        for (std::size_t p = 0; p < answer.pages.size(); ++p) {
            const std::string& page = answer.pages[p];
            // The script keeps its own line and size caps; a page must fit
            // under them whole, never cut.
            EXPECT_EQ(renderResultScript(page).find("..."), std::string::npos);
            const std::string head = p == 0 ? answer.countPrefix
                                            : "page " + std::to_string(p + 1) + "/" +
                                                  std::to_string(answer.pages.size()) + ", ";
            EXPECT_TRUE(page.starts_with(head + "GUID# '1a2b3c4d' = ")) << page.substr(0, 40);
            EXPECT_EQ(page.find(" {page ") != std::string::npos, answer.pages.size() > 1);
            all += page.substr(0, page.find(" {page ")) + "^2, ";
        }
        int at = 0;
        for (const auto& name : names) {
            const auto hit = all.find("^7" + name + "^2", static_cast<std::size_t>(at));
            ASSERT_NE(hit, std::string::npos) << name;
            at = static_cast<int>(hit);
        }
    }
}

TEST(AliasList, OurCountsFoldSpellingsMostUsedFirst) {
    const std::vector<Counted> page = {
        {"bob", 2, "2026-12-04"},   {"^1Bob", 5, "2026-11-01"}, {"Alice", 6, "2026-12-01"},
        {"Carol", 1, "2026-12-05"}, {"BOB", 1, "2026-12-05"},   {"a(b)", 1, "2026-10-01"},
    };
    // Bob: 8 uses in its most used colouring; then by uses, then the latest.
    const AliasListAnswer answer = answerFor(countedPage(page), 3);
    ASSERT_EQ(answer.pages.size(), 2u);
    EXPECT_EQ(answer.pages[0].substr(0, answer.pages[0].find(" {")),
              "3/4, GUID# '1a2b3c4d' = ^7^1Bob^7(8)^2, ^7Alice^7(6)^2, ^7Carol^7(1)");
    EXPECT_EQ(answer.pages[1].substr(0, answer.pages[1].find(" {")),
              "page 2/2, GUID# '1a2b3c4d' = ^7a[b]^7(1)");
    EXPECT_EQ(answer.aliasCount, 4);
    EXPECT_EQ(answerFor(countedPage(page), 3).consoleList,
              "Bob (8, last 2026-12-05), Alice (6, last 2026-12-01), Carol (1, last 2026-12-05)");
    // Page order keeps where each name first stands.
    const auto inPageOrder =
        answerFor(countedPage({{"Zed", 1, "2026-12-05"}, {"Amy", 9, "2026-12-01"}}), 9, true);
    EXPECT_TRUE(inPageOrder.pages[0].starts_with("2, GUID# '1a2b3c4d' = ^7Zed^7(1)^2, ^7Amy"));
}

} // namespace
} // namespace hh
