// The sightings batch: what is accepted, and that every refusal names its
// reason, keeps nothing, and comes as soon as the body breaks a rule.
#include "SightingBatch.h"

#include <gtest/gtest.h>

namespace hh::aliasdb {
namespace {

constexpr std::int64_t kNow = 1796479200; // 2026-12-05T14:00:00Z

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
        {R"({"guid":12345678,"name":"number"})", "guid must be a string"},
        {R"({"name":"no guid"})", "guid and name are required"},
        {R"({"guid":"1a2b3c4d","name":")" + std::string(65, 'n') + "\"}", "name must be 1 to 64"},
        {R"({"guid":"1a2b3c4d","name":"tab\there"})", "without control characters"},
        {R"({"guid":"1a2b3c4d","name":"c1\u0085"})", "without control characters"},
        {R"({"guid":"1a2b3c4d","name":"x","seen_at":"2026-12-05 14:00:00"})", "seen_at must be"},
        {R"({"guid":"1a2b3c4d","name":"x","seen_at":"2026-02-30T00:00:00Z"})", "seen_at must be"},
        {R"({"guid":"1a2b3c4d","name":"x","seen_at":"2026-12-05T14:00:00+01:00"})", "seen_at"},
        {R"({"guid":"1a2b3c4d","name":"x","seen_at":"2026-12-07T14:00:00Z"})", "in the future"},
        {R"({"guid":"1a2b3c4d","name":"x","mod":")" + std::string(33, 'm') + "\"}", "mod must"},
        {R"({"guid":"1a2b3c4d","name":"x","server":"y"})", "unknown field \"server\""},
        {R"({"guid":"1a2b3c4d","name":"x","name":"y"})", "duplicate field \"name\""},
        {R"({"guid":"1a2b3c4d","name":")" + std::string(300, 'n') + "\"}", "longer than 256"},
    };
    for (const auto& c : cases) {
        const BatchParse b = parseSightingBatch("[" + good + "," + c.entry + "]", kNow);
        EXPECT_TRUE(b.sightings.empty()) << c.entry;
        EXPECT_NE(b.error.find("entry 2: "), std::string::npos) << c.entry << " -> " << b.error;
        EXPECT_NE(b.error.find(c.reason), std::string::npos) << c.entry << " -> " << b.error;
    }
    // The whole body: its shape, its size, its syntax. The refusal comes at
    // the first broken rule, before the parser reaches what follows.
    std::string full = "[";
    for (std::size_t i = 0; i <= kMaxBatchEntries; ++i)
        full += good + ",";
    const std::pair<std::string, std::string> bodies[] = {
        {good, "expected a JSON array of sightings"},
        {"[" + good + ",0,{]", "entry 2: not an object"},
        {full + "{oops", "too many sightings in one request (at most 10000)"},
        {"[{]", "malformed JSON at byte 2"},
        {"[\"\xC3\x28\"]", "malformed JSON"},
        {"[" + good + "] []", "malformed JSON"},
    };
    for (const auto& [body, reason] : bodies) {
        const BatchParse b = parseSightingBatch(body, kNow);
        EXPECT_TRUE(b.sightings.empty()) << body.substr(0, 60);
        EXPECT_EQ(b.error.rfind(reason, 0), 0u) << body.substr(0, 60) << " -> " << b.error;
    }
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
