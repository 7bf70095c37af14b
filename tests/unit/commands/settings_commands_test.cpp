// The settings commands: what they report, what they store in the ini file,
// and what they keep in step in memory, in the game-side script and in the
// key handling.
#include "InterpreterRig.h"

#include <gtest/gtest.h>

namespace hh::test {
namespace {

struct Stored {
    std::string section, key, value;
};

struct SettingCase {
    std::string line, message;
    std::vector<Stored> after;       // ini values afterwards ("" = absent)
    std::vector<Stored> before = {}; // ini values written first
};
void PrintTo(const SettingCase& c, std::ostream* out) {
    *out << '"' << c.line << '"';
}

const std::string kReexec = "'. {Re-exec handleHound.cfg for changes to take effect}";
const std::string kDelayQuery = "' [Default = '2', Range = '0-3']";

class SettingCommands : public testing::TestWithParam<SettingCase> {};

TEST_P(SettingCommands, ReportAndStore) {
    const SettingCase& c = GetParam();
    InterpreterRig rig;
    for (const auto& s : c.before)
        rig.settings.write(s.section, s.key, s.value);
    rig.run(c.line);
    EXPECT_EQ(rig.message(), c.message);
    EXPECT_EQ(rig.lastSound(), c.message.starts_with("Error!") ? "close.wav" : "default.wav");
    EXPECT_EQ(rig.clearClip->interval(), 15000);
    for (const auto& s : c.after)
        EXPECT_EQ(rig.ini(s.section, s.key), s.value) << s.key;
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SettingCommands,
    testing::Values(
        SettingCase{"numaliases", "numAliases = '150' [Default = '150']", {}},
        SettingCase{"numaliases",
                    "numAliases = '42' [Default = '150']",
                    {},
                    {{"Main", "MaxNumAliases", " 42 "}}},
        SettingCase{"numaliases 999", "numAliases set to 999", {{"Main", "MaxNumAliases", "999"}}},
        SettingCase{"numaliases 1e2", "numAliases set to 1e2", {{"Main", "MaxNumAliases", "1e2"}}},
        SettingCase{"sepcolor",
                    "sepColor = '5' [Default = '2']",
                    {},
                    {{"Behavior", "SeparatorColor", "^5"}}},
        SettingCase{"sepcolor 0", "sepColor set to '0'", {{"Behavior", "SeparatorColor", "^0"}}},
        SettingCase{"namecolor q",
                    "Error! - nameColor must be a single digit number! {Example: '/hh nameColor "
                    "7'}",
                    {{"Behavior", "NameColor", ""}}},
        SettingCase{
            "issuedelay", "issueDelay = '3" + kDelayQuery, {}, {{"Main", "CmdIssueDelay", "w2x4"}}},
        SettingCase{"issuedelay abc",
                    "issueDelay set to 'abc" + kReexec,
                    {{"Main", "CmdIssueDelay", "w1"}}},
        SettingCase{"issuedelay 2.6",
                    "issueDelay set to '2.6" + kReexec,
                    {{"Main", "CmdIssueDelay", "w2x4"}}},
        SettingCase{"issuedelay 2.5",
                    "issueDelay set to '2.5" + kReexec,
                    {{"Main", "CmdIssueDelay", "w2x2"}}},
        SettingCase{"issuedelay 3.4",
                    "Error! Invalid issueDelay '3.4'. Valid Range = '0-3'.",
                    {{"Main", "CmdIssueDelay", ""}}},
        SettingCase{"commandkey", "commandKey = 'tab' [Default = 'tab']", {}},
        SettingCase{"cmdkey mouse1",
                    "commandKey set to 'mouse1" + kReexec,
                    {{"Behavior", "CommandKey", "mouse1"}, {"Behavior", "CommandKeyCode", "0"}}},
        SettingCase{"commandkey a\";quit",
                    "Error! Invalid argument - KeyName. {Command usage: '/hh commandKey "
                    "<KeyName>'}",
                    {{"Behavior", "CommandKey", ""}}},
        SettingCase{"statuskey f7",
                    "Status/Results key set to 'f7" + kReexec,
                    {{"Behavior", "StatusKey", "f7"}, {"Behavior", "StatusKeyCode", "118"}}}));

TEST(SettingsCommands, InvalidValuesAreRefusedAndNothingChanges) {
    const std::string numError = "Error! Invalid argument - Number. {Command usage: '/hh "
                                 "numAliases <Number>'} {Number must be an integer between 1 and "
                                 "999, inclusive}";
    const std::string sepError =
        "Error! - sepColor must be a single digit number! {Example: '/hh nameColor 7'}";
    for (const auto& [line, error] : {std::pair{"numaliases 1000", numError},
                                      {"numaliases 0", numError},
                                      {"numaliases -5", numError},
                                      {"numaliases 2.5", numError},
                                      {"numaliases abc", numError},
                                      {"sepcolor 12", sepError},
                                      {"sepcolor x", sepError}}) {
        InterpreterRig rig;
        rig.run(line);
        EXPECT_EQ(rig.message(), error) << line;
        EXPECT_EQ(rig.ini("Main", "MaxNumAliases") + rig.ini("Behavior", "SeparatorColor"), "");
        EXPECT_EQ(rig.state.numAliases, 150);
        EXPECT_EQ(rig.state.sepColor, "");
    }
    // The dump's command is not trimmed: the argument is one blank.
    InterpreterRig rig;
    rig.runFromDump({"]/hh sepcolor  "});
    EXPECT_EQ(rig.message(), sepError);
}

TEST(SettingsCommands, KeepTheMemoryValuesInStep) {
    InterpreterRig rig;
    rig.run("numaliases 1e2");
    EXPECT_EQ(rig.state.numAliases, 100);
    rig.run("numaliases 15e-1"); // rounds like a whole-number assignment
    EXPECT_EQ(rig.state.numAliases, 2);
    rig.run("sepcolor 4");
    rig.run("namecolor 1");
    EXPECT_EQ(rig.state.sepColor, "^4");
    EXPECT_EQ(rig.state.nameColor, "^1");
}

TEST(SettingsCommands, CommandKeyRebindsTheScriptAndTheHotKey) {
    InterpreterRig rig;
    // From the dump the argument keeps its case; the stored name is lower case.
    rig.runFromDump({"]/hh cmdkey F6"});
    EXPECT_EQ(rig.message(), "commandKey set to 'f6" + kReexec);
    EXPECT_EQ(rig.ini("Behavior", "CommandKey"), "f6");
    EXPECT_EQ(rig.ini("Behavior", "CommandKeyCode"), "117");
    EXPECT_EQ(rig.program.calls, (std::vector<std::string>{"reregisterHotKey", "keyCodesChanged"}));
    EXPECT_NE(readFile(rig.gameScriptPath()).find("bind \"f6\" \"vstr part1; vstr w2;\""),
              std::string::npos);
}

} // namespace
} // namespace hh::test
