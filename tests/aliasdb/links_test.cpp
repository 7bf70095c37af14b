// Name links over HTTP: what the program posts from a console, the answer it
// reads back, and the refusals of bad event batches, which store nothing.
#include "Service.h"

namespace hh::aliasdb::test {
namespace {

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

TEST(Links, BadBatchesAreRefusedAndStoreNothing) {
    RunningService service;
    const std::string good = R"("kind":"renamed","name":"Alpha","new_name":"Bravo","seq":"1")";
    const struct {
        std::string method, target, body;
        int status;
        std::string reason;
    } rows[] = {
        {"GET", "/names", "", 405, "use POST"},
        {"POST", "/links?name=x", "[]", 405, "use GET"},
        {"GET", "/links?name=%5E1", "", 400, "more than colour codes"},
        {"POST", "/names", array({event(R"("kind":"joined","name":"A","seq":"1")")}), 400,
         "kind must be"},
        {"POST", "/names", array({event(R"("kind":"renamed","name":"A","seq":"1")")}), 400,
         "new_name belongs to a rename"},
        {"POST", "/names", array({event(R"("kind":"kicked","name":"A","new_name":"B","seq":"1")")}),
         400, "new_name belongs to a rename"},
        {"POST", "/names", array({event(R"("kind":"kicked","name":"A","seq":"-1")")}), 400,
         "seq must be"},
        {"POST", "/names", array({event(R"("kind":"kicked","name":"A","seq":1)")}), 400,
         "seq must be a string"},
        {"POST", "/names", array({event(R"("kind":"kicked","name":"A\u0007","seq":"1")")}), 400,
         "name must be"},
        {"POST", "/names", R"([{"kind":"kicked","name":"A","seq":"1"}])", 400, "session must be"},
        {"POST", "/names", array({event(good), event(good + R"(,"at":"2027-01-01T00:00:00Z")")}),
         400, "entry 2: at lies in the future"},
    };
    for (const auto& row : rows) {
        const auto r =
            sendRaw(service.port(), hh::test::requestBytes(service.port(), row.method, row.target,
                                                           kCredential, row.body));
        EXPECT_EQ(r.status, row.status) << row.body;
        EXPECT_NE(r.body.find(row.reason), std::string::npos) << row.body << " -> " << r.body;
    }
    EXPECT_EQ(httpGet(service.port(), "/links?name=alpha").body, "");
}

} // namespace
} // namespace hh::aliasdb::test
