// Recording sightings from dumps: which player lines count, what is posted
// and when, and how failures are told.
#include "gamelink/Sightings.h"

#include "fakes/FakePlatform.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

namespace hh {
namespace {

// A PunkBuster player line: slot in columns 1-2, GUID in 4-11, name from 31.
std::string playerLine(const std::string& slot, const std::string& guid, const std::string& name) {
    std::string line = (slot.size() < 2 ? " " + slot : slot) + " " + guid + "(VALID) 10.0.0.1";
    line.resize(30, ' ');
    return line + name + "\n";
}

TEST(SightedPlayers, WhichLinesCount) {
    struct Case {
        std::string line;
        std::vector<std::string> expected; // slot|guid|name, empty: not taken
    };
    std::string shortLine = " 1 1a2b3c4d(VALID) x";
    const Case cases[] = {
        {playerLine("1", "1A2B3C4D", "Sniper Wolf"), {"1|1a2b3c4d|Sniper Wolf"}},
        {playerLine("12", "ffffffff", "  Padded  "), {"12|ffffffff|Padded"}},
        {playerLine("3", "deadbeef", "Crlf\r"), {"3|deadbeef|Crlf"}},
        {playerLine("4", "Ab12Cd34", "Caf\xE9"), {"4|ab12cd34|Caf\xC3\xA9"}},
        {playerLine("5", "abcdefgh", "\xC3\xA9t\xC3\xA9"), {"5|abcdefgh|\xC3\xA9t\xC3\xA9"}},
        {playerLine("6", "abcd-fgh", "BadGuid"), {}},
        {playerLine("7", "abcdefgh", "Tab\there"), {}},
        {playerLine("8", "abcdefgh", std::string(65, 'x')), {}},
        {shortLine + "\n", {}},
        {"]/hh 1a2b3c4d(VALID) typed by someone                 name\n", {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> got;
        for (const auto& p : sightedPlayersIn(c.line))
            got.push_back(p.slot + "|" + p.guid + "|" + p.name);
        EXPECT_EQ(got, c.expected) << c.line;
    }
}

TEST(SightingText, BytesNotUtf8OrControlsAreRefused) {
    const std::pair<std::string, std::size_t> taken[] = {{"Player", 64}, {"\xC3\xA9", 2}};
    const std::pair<std::string, std::size_t> refused[] = {
        {"\xC3\xA9", 1}, {"", 64}, {"\xC2\x85", 64}, {"\x7F", 64}, {"\xE9", 64}};
    for (const auto& [text, limit] : taken)
        EXPECT_TRUE(isSightingText(text, limit)) << text;
    for (const auto& [text, limit] : refused)
        EXPECT_FALSE(isSightingText(text, limit)) << text;
    EXPECT_EQ(toUtf8FromDump("\x80\x81\xFF"), "\xE2\x82\xAC?\xC3\xBF");
}

class ReporterTest : public ::testing::Test {
  protected:
    test::FakePlatform fp_;
    Settings settings_{fp_.temp / "handleHound.ini"};
    std::vector<std::string> console_;
    std::string address_ = "http://127.0.0.1:27995";
    SightingsReporter reporter_{settings_, fp_.platform,
                                [this](const std::string& l) { console_.push_back(l); },
                                [this] { return address_; }};
};

TEST_F(ReporterTest, PostsEachPlayerOnceAsJson) {
    const std::string dump = "PunkBuster Client: Player List\n" +
                             playerLine("1", "1A2B3C4D", "Say \"Hi\\") +
                             playerLine("2", "ffffffff", "Other") +
                             playerLine("1", "1a2b3c4d", "Say \"Hi\\"); // a second listing
    reporter_.recordFromDump(dump, "osp");
    ASSERT_EQ(fp_.pages.posts.size(), 1u);
    EXPECT_EQ(fp_.pages.posts[0].first, "http://127.0.0.1:27995/sightings");
    EXPECT_EQ(
        fp_.pages.posts[0].second,
        R"([{"guid":"1a2b3c4d","name":"Say \"Hi\\","seen_at":"2026-12-05T14:00:00Z","mod":"osp"},)"
        R"({"guid":"ffffffff","name":"Other","seen_at":"2026-12-05T14:00:00Z","mod":"osp"}])");

    // Within ten minutes nothing is posted again; a new name still is.
    fp_.clock.advance(9 * 60 * 1000);
    reporter_.recordFromDump(dump + playerLine("3", "12345678", "New"), "");
    ASSERT_EQ(fp_.pages.posts.size(), 2u);
    EXPECT_EQ(fp_.pages.posts[1].second,
              R"([{"guid":"12345678","name":"New","seen_at":"2026-12-05T14:09:00Z"}])");
    fp_.clock.advance(60 * 1000);
    reporter_.recordFromDump(dump, "osp");
    ASSERT_EQ(fp_.pages.posts.size(), 3u);
    EXPECT_NE(fp_.pages.posts[2].second.find("ffffffff"), std::string::npos);
}

TEST_F(ReporterTest, SendsNothingWhenSwitchedOffNoneRunsOrNoPlayers) {
    address_.clear(); // no alias database runs
    reporter_.recordFromDump(playerLine("1", "1a2b3c4d", "P"), "osp");
    EXPECT_TRUE(fp_.pages.posts.empty());
    settings_.write("Main", "RecordSightings", "False");
    reporter_.recordFromDump(playerLine("1", "1a2b3c4d", "P"), "osp");
    EXPECT_TRUE(fp_.pages.posts.empty());
    settings_.write("Main", "RecordSightings", "True");
    address_ = "http://db.example/";
    reporter_.recordFromDump(playerLine("1", "1a2b3c4d", "P"), "bad\x01mod");
    ASSERT_EQ(fp_.pages.posts.size(), 1u);
    EXPECT_EQ(fp_.pages.posts[0].first, "http://db.example/sightings");
    EXPECT_EQ(fp_.pages.posts[0].second.find("mod"), std::string::npos); // unusable mod left out
}

TEST_F(ReporterTest, FailuresAreToldOnceAndRetriedWhenWorthIt) {
    const std::string a = playerLine("1", "1a2b3c4d", "A");
    reporter_.recordFromDump(a, "osp");
    fp_.pages.answerPost(test::unreached());
    ASSERT_EQ(console_.size(), 1u);
    EXPECT_NE(console_[0].find("Connection refused"), std::string::npos);

    // Not stored: the next dump tries again at once.
    reporter_.recordFromDump(a, "osp");
    ASSERT_EQ(fp_.pages.posts.size(), 2u);
    // Refused as invalid: trying again would be refused again.
    fp_.pages.answerPost(test::fetched("", 400));
    reporter_.recordFromDump(a, "osp");
    EXPECT_EQ(fp_.pages.posts.size(), 2u);
    EXPECT_EQ(console_.size(), 1u); // one line per session
}

TEST_F(ReporterTest, AnswerAfterReporterIsGoneIsHarmless) {
    auto reporter = std::make_unique<SightingsReporter>(
        settings_, fp_.platform, [this](const std::string& l) { console_.push_back(l); },
        [this] { return address_; });
    reporter->recordFromDump(playerLine("1", "1a2b3c4d", "A"), "osp");
    reporter.reset();
    fp_.pages.answerPost(test::unreached("gone"));
    EXPECT_TRUE(console_.empty());
}

} // namespace
} // namespace hh
