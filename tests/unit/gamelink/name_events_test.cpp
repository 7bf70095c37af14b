// Name events on their way to the alias database: sessions and servers,
// the rows of a dump that are new since the previous dump, and rows a wrapped
// line could have cut.
#include "gamelink/NameEvents.h"

#include "fakes/FakePlatform.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

namespace hh {
namespace {

class NameEventsTest : public ::testing::Test {
  protected:
    // The names of what one flush posts ("kind name>new@server" each).
    std::string flushed() {
        const std::size_t before = fp_.pages.posts.size();
        reporter_.flush();
        if (fp_.pages.posts.size() == before)
            return "";
        EXPECT_EQ(fp_.pages.posts.back().first, "http://127.0.0.1:27995/names");
        return fp_.pages.posts.back().second;
    }

    test::FakePlatform fp_;
    Settings settings_{fp_.temp / "handleHound.ini"};
    NameEventReporter reporter_{
        settings_, fp_.platform, {}, [] { return "http://127.0.0.1:27995/"; }};
};

TEST_F(NameEventsTest, EventsCarryTheirServerAndSession) {
    reporter_.takeLine("Early^7 connected", ConsoleForm::Log);
    reporter_.takeLine("localhost:27960 resolved to 127.0.0.1:27960", ConsoleForm::Log);
    reporter_.takeLine("Alpha^7 renamed to ^1Bra^7vo", ConsoleForm::Log);
    reporter_.takeLine("Eve^7: ^2hello", ConsoleForm::Log);
    EXPECT_EQ(
        flushed(),
        R"([{"kind":"connected","name":"Early","session":"2026-12-05T14:00:00Z ? 1",)"
        R"("at":"2026-12-05T14:00:00Z","seq":"2"},)"
        R"({"kind":"renamed","name":"Alpha","new_name":"^1Bra^7vo","server":"127.0.0.1:27960",)"
        R"("session":"2026-12-05T14:00:00Z 127.0.0.1:27960 3","at":"2026-12-05T14:00:00Z",)"
        R"("seq":"4"}])");
    EXPECT_EQ(flushed(), "") << "nothing new, nothing posted";

    settings_.write("Main", "RecordSightings", "False");
    reporter_.takeLine("Sarge^7 connected", ConsoleForm::Log);
    EXPECT_EQ(flushed(), "");
}

TEST_F(NameEventsTest, ADumpGivesOnlyRowsAfterThePreviousDump) {
    // The console as the game keeps it: its newest rows, each dump ending in
    // the engine's own line about it.
    std::vector<std::string> console;
    const auto dump = [&](const std::vector<std::string>& rows) {
        console.insert(console.end(), rows.begin(), rows.end());
        console.push_back("Dumped console text to handleHound.who.");
        console.push_back("");
        std::string text;
        for (std::size_t i = console.size() > 40 ? console.size() - 40 : 0; i < console.size(); ++i)
            text += console[i] + "\n";
        return text;
    };
    const std::string longName(60, 'x');
    const struct {
        std::vector<std::string> rows;
        bool record;
        std::vector<std::string> names; // in what is posted
    } steps[] = {
        {{"A connected", "B connected"}, true, {"A", "B"}},
        {{"C connected", longName + " renamed to", "Cut"}, true, {"C"}}, // a wrapped line
        {{"D connected"}, false, {}}, // while the log answers, only where the dump ends
        {{"E connected", "", "", "", "", "", "", "", "", "", "", "", "", "", "F connected"},
         true,
         {"E", "F"}},
    };
    for (const auto& step : steps) {
        reporter_.takeDump(dump(step.rows), step.record);
        const std::string posted = flushed();
        std::vector<std::string> names;
        for (std::size_t at = posted.find("\"name\":\""); at != std::string::npos;
             at = posted.find("\"name\":\"", at + 1))
            names.push_back(posted.substr(at + 8, posted.find('"', at + 8) - at - 8));
        EXPECT_EQ(names, step.names) << posted;
    }
    // A console cleared (a new game): everything is new.
    console.clear();
    reporter_.takeDump(dump({"G connected"}), true);
    EXPECT_NE(flushed().find("\"name\":\"G\""), std::string::npos);
}

TEST_F(NameEventsTest, PresenceFollowsComingsRenamesAndGoings) {
    std::vector<std::string> present;
    reporter_.trackPresenceIn(present);
    const struct {
        const char* line;
        std::vector<std::string> after;
    } steps[] = {
        {"Sarge^7 connected", {"Sarge"}},
        {"Sarge entered the game", {"Sarge"}}, // a dump's plain name is the same player
        {"Alpha^7 entered the game", {"Sarge", "Alpha"}},
        {"alpha^7 renamed to ^1Bra^7vo", {"Sarge", "^1Bra^7vo"}},
        {"Bravo^7 disconnected", {"Sarge"}}, // matched without colours
        {"Sarge^7 was kicked", {}},
        {"localhost:27960 resolved to 127.0.0.1:27960", {}}, // another server
    };
    for (const auto& step : steps) {
        reporter_.takeLine(step.line, ConsoleForm::Log);
        EXPECT_EQ(present, step.after) << step.line;
    }
}

} // namespace
} // namespace hh
