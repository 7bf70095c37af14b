// The JSON reader and the sightings batch it feeds: what is accepted, and
// that every refusal names its reason and stores nothing.
#include "Json.h"
#include "SightingBatch.h"

#include <gtest/gtest.h>

#include <random>

namespace hh::aliasdb {
namespace {

constexpr std::int64_t kNow = 1796479200; // 2026-12-05T14:00:00Z

TEST(Json, StrictGrammar) {
    struct Case {
        std::string text;
        bool ok;
    };
    const Case cases[] = {
        {R"([1, -0.5e+3, "a\"b\\\/\u00e9\ud83d\ude00", true, false, null, {}])", true},
        {"  {\"a\" : [ ] }\n", true},
        {"", false},
        {"[1,]", false},               // trailing comma
        {"[01]", false},               // leading zero
        {"[1.]", false},               // no fraction digits
        {"{'a':1}", false},            // single quotes
        {"{\"a\":1,\"a\":2}", false},  // duplicate member
        {"[\"\x01\"]", false},         // raw control character
        {"[\"\\x\"]", false},          // unknown escape
        {"[\"\\ud800\"]", false},      // lone high surrogate
        {"[\"\\udc00\"]", false},      // lone low surrogate
        {"[\"\xC3\x28\"]", false},     // broken UTF-8
        {"[\"\xC0\xAF\"]", false},     // overlong UTF-8
        {"[\"\xED\xA0\x80\"]", false}, // encoded surrogate
        {"[1] [2]", false},            // text after the value
        {"[\"abc", false},             // unterminated string
        {"tru", false},
        {"[[[[[[[[[[[[[[[[[[[[1]]]]]]]]]]]]]]]]]]]]", false}, // deeper than the bound
    };
    for (const auto& c : cases) {
        const JsonParse p = parseJson(c.text);
        EXPECT_EQ(p.value.has_value(), c.ok) << c.text << " -> " << p.error;
        if (!c.ok) {
            EXPECT_NE(p.error.find("malformed JSON at byte"), std::string::npos) << c.text;
        }
    }
    const JsonParse p = parseJson(R"(["a\"b\\\/\u00e9\ud83d\ude00"])");
    ASSERT_TRUE(p.value);
    EXPECT_EQ(p.value->items[0].text, "a\"b\\/\xC3\xA9\xF0\x9F\x98\x80");
}

TEST(Json, ArbitraryBytesNeverCrash) {
    // Random edits of a valid body: each either parses or is refused whole.
    const std::string seed =
        R"([{"guid":"1a2b3c4d","name":"Pl\u00e4yer","seen_at":"2026-12-05T14:00:00Z"}])";
    std::mt19937 random(12345);
    for (int round = 0; round < 20000; ++round) {
        std::string text = seed;
        for (int e = 0, edits = 1 + static_cast<int>(random() % 4); e < edits; ++e) {
            const std::size_t at = random() % text.size();
            const char byte = static_cast<char>(random() % 256);
            switch (random() % 3) {
            case 0:
                text.insert(at, 1, byte);
                break;
            case 1:
                text.erase(at, 1);
                break;
            default:
                text[at] = byte;
            }
        }
        const BatchParse batch = parseSightingBatch(text, kNow);
        EXPECT_TRUE(batch.error.empty() || batch.sightings.empty()) << text;
        for (const auto& s : batch.sightings)
            EXPECT_EQ(s.guid.size(), 8u);
    }
}

TEST(SightingBatch, AcceptsAndNormalises) {
    const BatchParse b = parseSightingBatch(
        R"([{"guid":"1A2B3C4D","name":"Some Player","seen_at":"2026-12-01T10:20:30Z","mod":"osp"},
            {"name":"x","guid":"zzzzzzzz"},
            {"guid":"00000000","name":"y","seen_at":"2026-12-01T10:20:30.250+00:00"}])",
        kNow);
    ASSERT_EQ(b.error, "");
    ASSERT_EQ(b.sightings.size(), 3u);
    EXPECT_EQ(b.sightings[0].guid, "1a2b3c4d");
    EXPECT_EQ(b.sightings[0].name, "Some Player");
    EXPECT_EQ(b.sightings[0].mod, "osp");
    EXPECT_EQ(isoOf(b.sightings[0].seenAt), "2026-12-01T10:20:30Z");
    EXPECT_EQ(b.sightings[1].seenAt, kNow); // no seen_at: now
    EXPECT_EQ(b.sightings[1].mod, "");
    EXPECT_EQ(isoOf(b.sightings[2].seenAt), "2026-12-01T10:20:30Z");
    EXPECT_TRUE(parseSightingBatch("[]", kNow).error.empty());
}

TEST(SightingBatch, RefusesWholeBatchWithReason) {
    const std::string good = R"({"guid":"1a2b3c4d","name":"ok"})";
    struct Case {
        std::string entry;
        std::string reason;
    };
    const Case cases[] = {
        {R"({"guid":"1a2b3c4","name":"short"})", "guid must be exactly 8"},
        {R"({"guid":"1a2b3c4d5","name":"long"})", "guid must be exactly 8"},
        {R"({"guid":"1a2b-c4d","name":"dash"})", "guid must be exactly 8"},
        {R"({"guid":12345678,"name":"number"})", "guid must be a string"},
        {R"({"name":"no guid"})", "guid and name are required"},
        {R"({"guid":"1a2b3c4d","name":""})", "name must be 1 to 64 bytes"},
        {R"({"guid":"1a2b3c4d","name":")" + std::string(65, 'n') + "\"}", "name must be 1 to 64"},
        {R"({"guid":"1a2b3c4d","name":"tab\there"})", "without control characters"},
        {R"({"guid":"1a2b3c4d","name":"c1\u0085"})", "without control characters"},
        {R"({"guid":"1a2b3c4d","name":"del\u007f"})", "without control characters"},
        {R"({"guid":"1a2b3c4d","name":"nul\u0000"})", "without control characters"},
        {R"({"guid":"1a2b3c4d","name":"x","seen_at":"2026-12-05 14:00:00"})", "seen_at must be"},
        {R"({"guid":"1a2b3c4d","name":"x","seen_at":"2026-02-30T00:00:00Z"})", "seen_at must be"},
        {R"({"guid":"1a2b3c4d","name":"x","seen_at":"2026-12-05T24:00:00Z"})", "seen_at must be"},
        {R"({"guid":"1a2b3c4d","name":"x","seen_at":"2026-12-05T14:00:00+01:00"})", "seen_at"},
        {R"({"guid":"1a2b3c4d","name":"x","seen_at":"1969-12-31T23:59:59Z"})", "seen_at must be"},
        {R"({"guid":"1a2b3c4d","name":"x","seen_at":"2026-12-07T14:00:00Z"})", "in the future"},
        {R"({"guid":"1a2b3c4d","name":"x","mod":")" + std::string(33, 'm') + "\"}", "mod must"},
        {R"({"guid":"1a2b3c4d","name":"x","server":"y"})", "unknown field \"server\""},
        {R"(["1a2b3c4d","x"])", "not an object"},
    };
    for (const auto& c : cases) {
        const BatchParse b = parseSightingBatch("[" + good + "," + c.entry + "]", kNow);
        EXPECT_TRUE(b.sightings.empty()) << c.entry;
        EXPECT_NE(b.error.find("entry 2: "), std::string::npos) << c.entry << " -> " << b.error;
        EXPECT_NE(b.error.find(c.reason), std::string::npos) << c.entry << " -> " << b.error;
    }
    EXPECT_EQ(parseSightingBatch(good, kNow).error, "expected a JSON array of sightings");
    EXPECT_NE(parseSightingBatch("[[[1]]]", kNow).error.find("nested too deeply"),
              std::string::npos);
}

TEST(SightingBatch, DatesRoundTrip) {
    EXPECT_EQ(parseIsoUtc("2024-02-29T23:59:59Z"), 1709251199);
    EXPECT_FALSE(parseIsoUtc("2023-02-29T00:00:00Z"));
    EXPECT_FALSE(parseIsoUtc("2026-12-05T14:00:00.Z"));
    EXPECT_FALSE(parseIsoUtc("2026-12-05T14:00:00"));
    EXPECT_EQ(dateOf(kNow), "2026-12-05");
    EXPECT_EQ(isoOf(kNow), "2026-12-05T14:00:00Z");
}

} // namespace
} // namespace hh::aliasdb
