// The service over real sockets on 127.0.0.1: the page the program reads,
// recording, refusals with reasons, and the limits that protect it.
#include "Service.h"

#include "SightingBatch.h"
#include "common/Strings.h"
#include "lookup/AliasPage.h"

#include <regex>

namespace hh::aliasdb::test {
namespace {

// The <FONT size=1> cells between the two headers, cut the way the program
// cuts the page.
std::vector<std::string> tableCells(const std::string& html) {
    const std::string lower = toLower(html);
    const auto from = lower.find("<b>last used</b>"), to = lower.find("<b>server name</b>");
    if (from == std::string::npos || to == std::string::npos || to < from)
        return {};
    const std::string table = html.substr(from, to - from);
    static const std::regex cell("size=1[^>]*>([^<]*)</FONT>");
    std::vector<std::string> cells;
    for (std::sregex_iterator m(table.begin(), table.end(), cell), end; m != end; ++m)
        cells.push_back((*m)[1]);
    return cells;
}

// Later names are seen later, so the page lists them first.
std::string sightingsJson(const std::string& guid, int count, const std::string& prefix) {
    std::string json;
    for (int i = 0; i < count; ++i)
        json += std::string(i ? "," : "[") + R"({"guid":")" + guid + R"(","name":")" + prefix +
                std::to_string(i) + R"(","seen_at":")" + isoOf(RunningService::kNow - 86400 + i) +
                "\"}";
    return json + "]";
}

TEST(Http, AliasPageInTheProgramsFormat) {
    RunningService service;
    const auto posted = httpPost(
        service.port(), "/sightings",
        R"([{"guid":"1A2B3C4D","name":"Old <One>","seen_at":"2026-11-01T10:00:00Z","mod":"osp"},
            {"guid":"1a2b3c4d","name":"R&D \"Q\"","seen_at":"2026-12-04T10:00:00Z","mod":"arena"},
            {"guid":"1a2b3c4d","name":"Mid Name","seen_at":"2026-11-20T10:00:00Z"}])");
    ASSERT_EQ(posted.status, 200) << posted.body;
    EXPECT_EQ(posted.body, "{\"stored\":3}\n");

    const auto page = httpGet(service.port(), "/?guid=1a2b3c4d");
    ASSERT_EQ(page.status, 200);
    EXPECT_NE(page.head.find("Content-Type: text/html; charset=utf-8"), std::string::npos);
    const std::vector<std::string> expected = {
        "R&amp;D &quot;Q&quot;", "2026-12-04", "Mid Name", "2026-11-20",
        "Old &lt;One&gt;",       "2026-11-01"};
    EXPECT_EQ(tableCells(page.body), expected);
    EXPECT_EQ(httpGet(service.port(), "/?guid=1A2B3C4D").body, page.body); // GUID case
    const ParsedAliases parsed = parseAliasPage(page.body, 999, AliasColours{});
    EXPECT_EQ(parsed.aliasCount, 3);
    EXPECT_NE(parsed.list.find("Mid ^7Name"), std::string::npos) << parsed.list;
    EXPECT_LT(parsed.list.find("R&amp;D"), parsed.list.find("Old &lt;One&gt;")) << parsed.list;
}

TEST(Http, PageHoldsAtMost999MostRecentAliases) {
    RunningService service;
    ASSERT_EQ(httpPost(service.port(), "/sightings", sightingsJson("abcdabcd", 1100, "n")).status,
              200);
    const auto cells = tableCells(httpGet(service.port(), "/?guid=abcdabcd").body);
    ASSERT_EQ(cells.size(), 2u * 999);
    const auto all = service.aliases("abcdabcd", 2000);
    ASSERT_EQ(all.size(), 1100u);
    EXPECT_EQ(cells.front(), all.front().name);
    EXPECT_EQ(cells[2 * 998], all[998].name);
}

TEST(Http, RoutesAndRefusals) {
    RunningService service;
    const std::string big(1024 * 1024 + 1, ' ');
    struct Case {
        std::string request;
        int status;
        std::string bodyHas;
    };
    const Case cases[] = {
        {"GET /health HTTP/1.1\r\n{H}\r\n", 200, "ok"},
        {"GET /?guid=00000000 HTTP/1.1\r\n{H}\r\n", 200, "<b>No data found</b>"},
        {"GET /?guid=1a2b3c4 HTTP/1.1\r\n{H}\r\n", 400, "<b>No data found</b>"},
        {"GET /?guid=%3Cscript%3E1 HTTP/1.1\r\n{H}\r\n", 400, "<b>No data found</b>"},
        {"GET / HTTP/1.0\r\n{H}\r\n", 200, "<form action=\"/search\""},
        {"GET /nothing HTTP/1.1\r\n{H}\r\n", 404, "no such page"},
        {"GET /sightings HTTP/1.1\r\n{H}\r\n", 405, "use POST"},
        {"POST /sightings HTTP/1.1\r\n{H}\r\n", 411, "Content-Length"},
        {"POST /sightings HTTP/1.1\r\n{H}Transfer-Encoding: chunked\r\n\r\n0\r\n\r\n", 501,
         "chunked"},
        {"POST /sightings HTTP/1.1\r\n{H}Content-Length: 2\r\nContent-Length: 3\r\n\r\n[]", 400,
         "conflicting"},
        {"POST /sightings HTTP/1.1\r\n{H}Content-Length: -1\r\n\r\n", 400, "Content-Length"},
        {"POST /sightings HTTP/1.1\r\n{H}Content-Length: " + std::to_string(big.size()) +
             "\r\n\r\n" + big,
         413, "exceeds 1048576 bytes"},
        {"GET /" + std::string(20000, 'a') + " HTTP/1.1\r\n{H}\r\n", 431, "exceed 16384"},
        {"GET / HTTP/2.0\r\n{H}\r\n", 505, "HTTP/1.1"},
        {"GET  / HTTP/1.1\r\n{H}\r\n", 400, "malformed request line"},
        {"GET / HTTP/1.1\r\n{H}no colon\r\n\r\n", 400, "malformed header"},
        {"POST /sightings HTTP/1.1\r\n{H}Content-Length: 65\r\n\r\n"
         R"([{"guid":"1a2b3c4d","name":"Good"},{"guid":"1a2b3c4d","name":""}])",
         400, "entry 2: name must be"}, // one bad entry refuses the whole batch
    };
    // {H}: what every local client sends, so that only the row's fault counts.
    const std::string own = "Host: 127.0.0.1:" + std::to_string(service.port()) +
                            "\r\nAuthorization: Bearer " + kCredential +
                            "\r\nContent-Type: application/json\r\n";
    for (auto c : cases) {
        if (const auto at = c.request.find("{H}"); at != std::string::npos)
            c.request.replace(at, 3, own);
        const auto r = sendRaw(service.port(), c.request);
        EXPECT_EQ(r.status, c.status) << c.request.substr(0, 60);
        EXPECT_NE(r.body.find(c.bodyHas), std::string::npos)
            << c.request.substr(0, 60) << " -> " << r.body;
        EXPECT_EQ(r.body.find("<script>"), std::string::npos);
    }
    EXPECT_TRUE(service.aliases("1a2b3c4d").empty());
}

TEST(Http, WriteFailureIs503AndStoresNothing) {
    RunningService service({}, SqliteOptions{5000, 8}); // a database that cannot grow
    ASSERT_EQ(httpPost(service.port(), "/sightings", sightingsJson("1a2b3c4d", 2, "small")).status,
              200);
    const auto r = httpPost(service.port(), "/sightings",
                            sightingsJson("1a2b3c4d", 3000, std::string(50, 'z')));
    EXPECT_EQ(r.status, 503);
    EXPECT_NE(r.body.find("nothing was stored"), std::string::npos) << r.body;
    EXPECT_EQ(tableCells(httpGet(service.port(), "/?guid=1a2b3c4d").body).size(), 4u);
}

TEST(Http, SearchPages) {
    RunningService service;
    ASSERT_EQ(httpPost(service.port(), "/sightings",
                       R"([{"guid":"1a2b3c4d","name":"<b>Sniper</b>"},
                           {"guid":"99999999","name":"sniperwolf"},
                           {"guid":"12121212","name":"Rocket"}])")
                  .status,
              200);
    const auto byName = httpGet(service.port(), "/search?q=SNIPER");
    EXPECT_EQ(byName.status, 200);
    EXPECT_NE(byName.body.find("&lt;b&gt;Sniper&lt;/b&gt;"), std::string::npos);
    EXPECT_NE(byName.body.find("<a href=\"/?guid=99999999\">"), std::string::npos);
    EXPECT_EQ(byName.body.find("Rocket"), std::string::npos);
    EXPECT_EQ(byName.body.find("<b>Sniper"), std::string::npos);

    const auto byGuid = httpGet(service.port(), "/search?q=1A2B3C4D");
    EXPECT_EQ(byGuid.status, 302);
    EXPECT_NE(byGuid.head.find("Location: /?guid=1a2b3c4d"), std::string::npos);

    const auto spaced = httpGet(service.port(), "/search?q=+rock%65t+");
    EXPECT_NE(spaced.body.find("12121212"), std::string::npos);
    EXPECT_EQ(httpGet(service.port(), "/search?q=%01").status, 400);

    std::string many = "[";
    for (int i = 0; i < 201; ++i)
        many += std::string(i ? "," : "") + R"({"guid":")" + std::to_string(10000000 + i) +
                R"(","name":"bot)" + std::to_string(i) + "\"}";
    ASSERT_EQ(httpPost(service.port(), "/sightings", many + "]").status, 200);
    EXPECT_EQ(hh::test::occurrences(httpGet(service.port(), "/search?q=bot").body, "<a href"),
              200u);
}

} // namespace
} // namespace hh::aliasdb::test
