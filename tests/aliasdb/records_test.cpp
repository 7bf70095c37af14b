// What the database tells about players beyond one alias page: the batch of
// a whole player list, the reverse lookup of a name, forgetting a GUID, name
// links from a console's renames, and refusals of bad requests that change
// nothing.
#include "Service.h"
#include "SightingBatch.h"
#include "common/Strings.h"

namespace hh::aliasdb::test {
namespace {

constexpr std::int64_t kHour = 3600;

// `uses` sightings of one name, an hour apart, the last `hoursAgo` before now.
std::string sightings(const std::string& guid, const std::string& name, int uses, int hoursAgo) {
    std::string json;
    for (int i = 0; i < uses; ++i)
        json += R"(,{"guid":")" + guid + R"(","name":")" + name + R"(","seen_at":")" +
                isoOf(RunningService::kNow - (hoursAgo + i) * kHour) + "\"}";
    return json;
}

std::string event(const std::string& fields) {
    std::string e = R"({"session":"2026-12-05T13:00:00Z localhost 1",)";
    return e.append(fields).append("}");
}

// A JSON array of the entries.
std::string array(const std::vector<std::string>& entries) {
    std::string json = "[";
    for (const std::string& entry : entries)
        json.append(json.size() > 1 ? "," : "").append(entry);
    return json.append("]");
}

// aaaaaaaa goes by Bob; bbbbbbbb by Thief, and lately wears Bob in colour.
void seed(const RunningService& service) {
    const std::string json =
        sightings("aaaaaaaa", "Bob", 3, 48) + sightings("aaaaaaaa", "Robert", 1, 24) +
        sightings("bbbbbbbb", "^1B^7ob", 1, 2) + sightings("bbbbbbbb", "Thief", 5, 100);
    ASSERT_EQ(
        httpPost(service.port(), "/sightings", concat({"[", std::string_view(json).substr(1), "]"}))
            .status,
        200);
}

TEST(Records, PlayersSeenAndForget) {
    RunningService service;
    seed(service);
    const std::string players =
        R"([{"guid":"BBBBBBBB","name":"bob"},{"guid":"dddddddd","name":"Nobody"},)"
        R"({"guid":"aaaaaaaa","name":"Bob"},{"guid":"cccccccc"}])";
    const auto answer = httpPost(service.port(), "/players", players);
    EXPECT_EQ(answer.status, 200);
    EXPECT_EQ(answer.body,
              "player\tguid=bbbbbbbb\taliases=2\tfirst_seen=2026-12-01\tlast_seen=2026-12-05"
              "\tother_name=Thief\tother_uses=5\n"
              "namesake\tguid=bbbbbbbb\towner=aaaaaaaa\tname=Bob\tuses=3\tlast_seen=2026-12-03\n"
              "player\tguid=dddddddd\taliases=0\n"
              "player\tguid=aaaaaaaa\taliases=2\tfirst_seen=2026-12-03\tlast_seen=2026-12-04"
              "\tother_name=Robert\tother_uses=1\n"
              "player\tguid=cccccccc\taliases=0\n");

    // Colour codes and case do not matter; the GUID seen last comes first.
    const std::string bothSeen = "seen\tguid=bbbbbbbb\tname=Thief\tuses=5\tlast_seen=2026-12-05\n"
                                 "seen\tguid=aaaaaaaa\tname=Bob\tuses=3\tlast_seen=2026-12-04\n";
    EXPECT_EQ(httpGet(service.port(), "/seen?name=BOB").body, bothSeen);
    EXPECT_EQ(httpGet(service.port(), "/seen?name=%5E2b%5E3Ob").body, bothSeen);
    EXPECT_EQ(httpGet(service.port(), "/seen?name=Bo").body, "");

    const auto forgotten = httpPost(service.port(), "/forget", R"([{"guid":"AAAAAAAA"}])");
    EXPECT_EQ(forgotten.body, "{\"forgotten\":2}\n");
    EXPECT_TRUE(service.aliases("aaaaaaaa").empty());
    EXPECT_EQ(httpGet(service.port(), "/seen?name=bob").body,
              "seen\tguid=bbbbbbbb\tname=Thief\tuses=5\tlast_seen=2026-12-05\n");
}

TEST(Links, PostedRenamesAnswerNewestFirstWithTheirColours) {
    RunningService service;
    const std::string batch =
        array({event(R"("kind":"renamed","name":"Alpha","new_name":"^1Bra^7vo",)"
                     R"("server":"localhost","at":"2026-12-05T13:00:01Z","seq":"2")"),
               event(R"("kind":"renamed","name":"^1Bra^7vo","new_name":"Charlie",)"
                     R"("server":"localhost","at":"2026-12-05T13:00:01Z","seq":"3")")});
    EXPECT_EQ(httpPost(service.port(), "/names", batch).body, "{\"stored\":2}\n");
    // The same batch again changes nothing.
    EXPECT_EQ(httpPost(service.port(), "/names", batch).status, 200);
    const auto answer = httpGet(service.port(), "/links?name=%5E3CHARLIE");
    EXPECT_EQ(answer.status, 200);
    EXPECT_EQ(answer.body, "link\tname=^1Bra^7vo\tat=1796475601\tserver=localhost\n"
                           "link\tname=Alpha\tat=1796475601\tserver=localhost\n");
}

TEST(Records, BadRequestsAreRefusedAndChangeNothing) {
    RunningService service;
    seed(service);
    const std::string everyone = R"([{"guid":"aaaaaaaa","name":"Bob"},{"guid":"bbbbbbbb"}])";
    const std::string before = httpPost(service.port(), "/players", everyone).body;
    std::string tooMany = "[";
    for (std::size_t i = 0; i <= RecordRoutes::kMaxPlayers; ++i)
        tooMany += R"({"guid":"aaaaaaaa"},)";
    const std::string rename = R"("kind":"renamed","name":"Bob","new_name":"Bravo","seq":"1")";
    const struct {
        std::string method, target, body;
        int status;
        std::string reason;
    } rows[] = {
        {"GET", "/players", "", 405, "use POST"},
        {"POST", "/seen?name=bob", "[]", 405, "use GET"},
        {"POST", "/players", tooMany + "{", 400, "too many players in one request (at most 64)"},
        {"POST", "/players", R"([{"name":"Bob"}])", 400, "entry 1: guid is required"},
        {"POST", "/players", R"([{"guid":"aaaa-aaa"}])", 400, "guid must be exactly 8"},
        {"POST", "/players", R"([{"guid":"aaaaaaaa","name":"a\tb"}])", 400, "control characters"},
        {"POST", "/forget", R"([{"guid":"aaaaaaaa","name":"Bob"}])", 400, "unknown field"},
        {"POST", "/forget", "[{\"guid\":\"" + std::string(300, 'a') + "\"}]", 400,
         "longer than 256"},
        {"GET", "/seen", "", 400, "name must be 1 to 64 bytes"},
        {"GET", "/seen?name=%01bob", "", 400, "control characters"},
        {"GET", "/seen?name=%5E1%5E2", "", 400, "more than colour codes"},
        {"POST", "/names", array({event(R"("kind":"joined","name":"A","seq":"1")")}), 400,
         "kind must be"},
        {"POST", "/names", array({event(R"("kind":"renamed","name":"A","seq":"1")")}), 400,
         "new_name belongs to a rename"},
        {"POST", "/names", array({event(R"("kind":"kicked","name":"A","seq":"-1")")}), 400,
         "seq must be"},
        {"POST", "/names", R"([{"kind":"kicked","name":"A","seq":"1"}])", 400, "session must be"},
        {"POST", "/names",
         array({event(rename),
                event(rename + ",\"at\":\"" + isoOf(RunningService::kNow + 2 * 86400) + "\"")}),
         400, "entry 2: at lies in the future"}, // a clock a day off is still taken
        {"POST", "/names",
         array({event(R"("kind":"kicked","name":"A","seq":"1)" + std::string(18, '0') + "\"")}),
         400, "seq must be"}, // past 18 digits
    };
    for (const auto& row : rows) {
        const auto r =
            sendRaw(service.port(), hh::test::requestBytes(service.port(), row.method, row.target,
                                                           kCredential, row.body));
        EXPECT_EQ(r.status, row.status) << row.target << " " << row.body.substr(0, 40);
        EXPECT_NE(r.body.find(row.reason), std::string::npos) << row.target << " -> " << r.body;
    }
    EXPECT_EQ(httpPost(service.port(), "/players", everyone).body, before);
    EXPECT_EQ(httpGet(service.port(), "/links?name=bob").body, "");
}

} // namespace
} // namespace hh::aliasdb::test
