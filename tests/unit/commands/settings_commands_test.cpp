// The settings commands: what they report, what they store in the ini
// file, and what they keep in step in memory, in the game-side script and
// in the key handling.
#include "InterpreterRig.h"

#include "platform/Files.h"

#include <gtest/gtest.h>

namespace hh::test {
namespace {

struct Stored {
    std::string section, key, value;
};

struct SettingCase {
    const char* name;
    std::vector<Stored> before; // ini values written first
    std::string line;
    std::string message;
    std::vector<Stored> after; // ini values expected afterwards ("" = absent)
};

const std::string kReexec = "'. {Re-exec handleHound.cfg for changes to take effect}";
const std::string kNumError = "Error! Invalid argument - Number. {Command usage: '/hh numAliases "
                              "<Number>'} {Number must be an integer between 1 and 999, "
                              "inclusive}";
const std::string kSepError =
    "Error! - sepColor must be a single digit number! {Example: '/hh nameColor 7'}";

class SettingCommands : public testing::TestWithParam<SettingCase> {};

TEST_P(SettingCommands, ReportAndStore) {
    const SettingCase& c = GetParam();
    InterpreterRig rig;
    for (const auto& s : c.before)
        rig.settings.write(s.section, s.key, s.value);
    rig.run(c.line);

    EXPECT_EQ(rig.message(), c.message);
    const bool isError = c.message.rfind("Error!", 0) == 0;
    EXPECT_EQ(rig.lastSound(), isError ? "close.wav" : "default.wav");
    EXPECT_TRUE(rig.modifiedCheck->isEnabled());
    EXPECT_EQ(rig.clearClip->interval(), 15000);
    for (const auto& s : c.after)
        EXPECT_EQ(rig.ini(s.section, s.key), s.value) << s.key;
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SettingCommands,
    testing::Values(
        SettingCase{
            "NumAliasesQueryFresh", {}, "numaliases", "numAliases = '150' [Default = '150']", {}},
        SettingCase{"NumAliasesQueryTrims",
                    {{"Main", "MaxNumAliases", " 42 "}},
                    "numaliases",
                    "numAliases = '42' [Default = '150']",
                    {}},
        SettingCase{"NumAliases999",
                    {},
                    "numaliases 999",
                    "numAliases set to 999",
                    {{"Main", "MaxNumAliases", "999"}}},
        SettingCase{"NumAliasesExponentStoredAsTyped",
                    {},
                    "numaliases 1e2",
                    "numAliases set to 1e2",
                    {{"Main", "MaxNumAliases", "1e2"}}},
        SettingCase{
            "NumAliases1000", {}, "numaliases 1000", kNumError, {{"Main", "MaxNumAliases", ""}}},
        SettingCase{"NumAliases0", {}, "numaliases 0", kNumError, {{"Main", "MaxNumAliases", ""}}},
        SettingCase{
            "NumAliasesNegative", {}, "numaliases -5", kNumError, {{"Main", "MaxNumAliases", ""}}},
        SettingCase{
            "NumAliasesFraction", {}, "numaliases 2.5", kNumError, {{"Main", "MaxNumAliases", ""}}},
        SettingCase{
            "NumAliasesWord", {}, "numaliases abc", kNumError, {{"Main", "MaxNumAliases", ""}}},
        SettingCase{"SepColorQueryFresh", {}, "sepcolor", "sepColor = '' [Default = '2']", {}},
        SettingCase{"SepColorQueryShowsTheDigit",
                    {{"Behavior", "SeparatorColor", "^5"}},
                    "sepcolor",
                    "sepColor = '5' [Default = '2']",
                    {}},
        SettingCase{"SepColor0",
                    {},
                    "sepcolor 0",
                    "sepColor set to '0'",
                    {{"Behavior", "SeparatorColor", "^0"}}},
        SettingCase{"SepColorTwoDigits",
                    {},
                    "sepcolor 12",
                    kSepError,
                    {{"Behavior", "SeparatorColor", ""}}},
        SettingCase{
            "SepColorLetter", {}, "sepcolor x", kSepError, {{"Behavior", "SeparatorColor", ""}}},
        SettingCase{"NameColor3",
                    {},
                    "namecolor 3",
                    "nameColor set to '3'",
                    {{"Behavior", "NameColor", "^3"}}},
        SettingCase{"NameColorLetter",
                    {},
                    "namecolor q",
                    "Error! - nameColor must be a single digit number! {Example: '/hh nameColor "
                    "7'}",
                    {{"Behavior", "NameColor", ""}}},
        SettingCase{"IssueDelayQueryFresh",
                    {},
                    "issuedelay",
                    "issueDelay = '2' [Default = '2', Range = '0-3']",
                    {}},
        SettingCase{"IssueDelayQueryMapsTheWaitName",
                    {{"Main", "CmdIssueDelay", "w2x4"}},
                    "issuedelay",
                    "issueDelay = '3' [Default = '2', Range = '0-3']",
                    {}},
        SettingCase{"IssueDelayQueryShowsStrangeValues",
                    {{"Main", "CmdIssueDelay", "w9"}},
                    "issuedelay",
                    "issueDelay = 'w9' [Default = '2', Range = '0-3']",
                    {}},
        SettingCase{"IssueDelayWordIsZero",
                    {},
                    "issuedelay abc",
                    "issueDelay set to 'abc" + kReexec,
                    {{"Main", "CmdIssueDelay", "w1"}}},
        SettingCase{"IssueDelayRoundsUp",
                    {},
                    "issuedelay 2.6",
                    "issueDelay set to '2.6" + kReexec,
                    {{"Main", "CmdIssueDelay", "w2x4"}}},
        SettingCase{"IssueDelayHalfToEven",
                    {},
                    "issuedelay 2.5",
                    "issueDelay set to '2.5" + kReexec,
                    {{"Main", "CmdIssueDelay", "w2x2"}}},
        SettingCase{"IssueDelayLeadingNumber",
                    {},
                    "issuedelay 1x",
                    "issueDelay set to '1x" + kReexec,
                    {{"Main", "CmdIssueDelay", "w2"}}},
        SettingCase{"IssueDelayAboveRange",
                    {},
                    "issuedelay 3.4",
                    "Error! Invalid issueDelay '3.4'. Valid Range = '0-3'.",
                    {{"Main", "CmdIssueDelay", ""}}},
        SettingCase{"IssueDelayBelowRange",
                    {},
                    "issuedelay -1",
                    "Error! Invalid issueDelay '-1'. Valid Range = '0-3'.",
                    {{"Main", "CmdIssueDelay", ""}}},
        SettingCase{
            "CommandKeyQueryFresh", {}, "commandkey", "commandKey = 'tab' [Default = 'tab']", {}},
        SettingCase{"CmdKeyQuery",
                    {{"Behavior", "CommandKey", "f6"}},
                    "cmdkey",
                    "commandKey = 'f6' [Default = 'tab']",
                    {}},
        SettingCase{"CommandKeySet",
                    {},
                    "commandkey f6",
                    "commandKey set to 'f6" + kReexec,
                    {{"Behavior", "CommandKey", "f6"}, {"Behavior", "CommandKeyCode", "117"}}},
        SettingCase{"CommandKeyUnknownNameStoredWithCodeZero",
                    {},
                    "cmdkey mouse1",
                    "commandKey set to 'mouse1" + kReexec,
                    {{"Behavior", "CommandKey", "mouse1"}, {"Behavior", "CommandKeyCode", "0"}}},
        SettingCase{"CommandKeyThatWouldBreakTheScript",
                    {},
                    "commandkey a\";quit",
                    "Error! Invalid argument - KeyName. {Command usage: '/hh commandKey "
                    "<KeyName>'}",
                    {{"Behavior", "CommandKey", ""}}},
        SettingCase{
            "StatusKeyQueryFresh", {}, "statuskey", "statusKey = 'f5' [Default = 'f5']", {}},
        SettingCase{"StatusKeySet",
                    {},
                    "statuskey f7",
                    "Status/Results key set to 'f7" + kReexec,
                    {{"Behavior", "StatusKey", "f7"}, {"Behavior", "StatusKeyCode", "118"}}}),
    [](const testing::TestParamInfo<SettingCase>& info) { return info.param.name; });

TEST(SettingsSideEffects, NumAliasesKeepsTheMemoryValueInStep) {
    struct Case {
        std::string line;
        int expected;
    };
    for (const Case& c : {Case{"numaliases 999", 999}, Case{"numaliases 1e2", 100},
                          Case{"numaliases 15e-1", 2}, Case{"numaliases 1000", 150}}) {
        InterpreterRig rig;
        rig.run(c.line);
        EXPECT_EQ(rig.state.numAliases, c.expected) << c.line;
    }
}

TEST(SettingsSideEffects, ColoursKeepTheMemoryValueInStep) {
    InterpreterRig rig;
    rig.run("sepcolor 4");
    rig.run("namecolor 1");
    rig.run("namecolor 12");
    EXPECT_EQ(rig.state.sepColor, "^4");
    EXPECT_EQ(rig.state.nameColor, "^1");
}

TEST(SettingsSideEffects, CommandKeyRebindsTheScriptAndTheHotKey) {
    InterpreterRig rig;
    // From the dump the argument keeps its case; the stored name is lower case.
    rig.runFromDump({"]/hh cmdkey F6"});
    EXPECT_EQ(rig.message(), "commandKey set to 'f6'. {Re-exec handleHound.cfg for changes to "
                             "take effect}");
    EXPECT_EQ(rig.ini("Behavior", "CommandKey"), "f6");
    EXPECT_EQ(rig.ini("Behavior", "CommandKeyCode"), "117");
    EXPECT_EQ(rig.program.calls, (std::vector<std::string>{"reregisterHotKey", "keyCodesChanged"}));
    const std::string script = readFile(rig.gameScriptPath());
    EXPECT_NE(script.find("bind \"f6\" \"vstr part1; vstr w2;\""), std::string::npos) << script;
    EXPECT_NE(script.find("Changed 'tab' to 'f6'"), std::string::npos);
}

TEST(SettingsSideEffects, StatusKeyRebindsTheScriptButNotTheHotKey) {
    InterpreterRig rig;
    rig.run("statuskey f7");
    EXPECT_EQ(rig.program.calls, std::vector<std::string>{"keyCodesChanged"});
    EXPECT_NE(readFile(rig.gameScriptPath()).find("bind \"f7\" \"exec hh.cfg\""),
              std::string::npos);
}

TEST(SettingsSideEffects, RefusedKeyChangesNothing) {
    InterpreterRig rig;
    rig.run("statuskey two words");
    EXPECT_TRUE(rig.program.calls.empty());
    EXPECT_EQ(readFile(rig.gameScriptPath()), kGameScript);
}

TEST(SettingsSideEffects, IssueDelayEditsTheScriptsWait) {
    InterpreterRig rig;
    rig.run("issuedelay 3");
    EXPECT_NE(readFile(rig.gameScriptPath()).find("vstr part1; vstr w2x4;"), std::string::npos);
}

TEST(SettingsCommands, BlankArgumentFromTheDumpIsNoDigit) {
    InterpreterRig rig;
    // The dump's command is not trimmed: the argument is one blank.
    rig.runFromDump({"]/hh sepcolor  "});
    EXPECT_EQ(rig.message(), kSepError);
    EXPECT_EQ(rig.ini("Behavior", "SeparatorColor"), "");
}

} // namespace
} // namespace hh::test
