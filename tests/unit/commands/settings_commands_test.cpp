// The settings commands: what they report, what they store in the ini file,
// and what they keep in step in memory, in the game-side script and in the
// key handling.
#include "InterpreterRig.h"

#include <gtest/gtest.h>

namespace hh::test {
namespace {

const std::string kReexec = "'. {Re-exec handleHound.cfg for changes to take effect}";

TEST(SettingsCommands, ReportStoreOrRefuse) {
    struct Stored {
        std::string section, key, value;
    };
    const std::string numError = "Error! Invalid argument - Number.";
    const std::string sepError = "Error! - sepColor must be a single digit number!";
    const struct {
        std::string line, message;       // message: its start
        std::vector<Stored> after = {};  // ini values afterwards
        std::vector<Stored> before = {}; // ini values written first
    } cases[] = {
        {"numaliases",
         "numAliases = '42' [Default = '150']",
         {},
         {{"Main", "MaxNumAliases", " 42 "}}},
        {"numaliases 999", "numAliases set to 999", {{"Main", "MaxNumAliases", "999"}}},
        {"numaliases 1000", numError},
        {"numaliases 0", numError},
        {"numaliases 2.5", numError},
        {"sepcolor", "sepColor = '5' [Default = '2']", {}, {{"Behavior", "SeparatorColor", "^5"}}},
        {"sepcolor 0", "sepColor set to '0'", {{"Behavior", "SeparatorColor", "^0"}}},
        {"sepcolor 12", sepError},
        {"namecolor 9", "nameColor set to '9'", {{"Behavior", "NameColor", "^9"}}},
        {"issuedelay", "issueDelay = '3'", {}, {{"Main", "CmdIssueDelay", "w2x4"}}},
        {"issuedelay 2.5", "issueDelay set to '2.5" + kReexec, {{"Main", "CmdIssueDelay", "w2x2"}}},
        {"issuedelay 3.4", "Error! Invalid issueDelay '3.4'. Valid Range = '0-3'."},
        {"cmdkey mouse1",
         "commandKey set to 'mouse1" + kReexec,
         {{"Behavior", "CommandKey", "mouse1"}, {"Behavior", "CommandKeyCode", "0"}}},
        {"commandkey a\";quit", "Error! Invalid argument - KeyName."},
        {"statuskey f7",
         "Status/Results key set to 'f7" + kReexec,
         {{"Behavior", "StatusKey", "f7"}, {"Behavior", "StatusKeyCode", "118"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        InterpreterRig rig;
        for (const auto& s : c.before)
            rig.settings.write(s.section, s.key, s.value);
        const std::string iniBefore = readFile(rig.folder.ini());
        rig.run(c.line);
        EXPECT_TRUE(rig.message().starts_with(c.message)) << rig.message();
        const bool refused = c.message.starts_with("Error!");
        EXPECT_EQ(rig.lastSound(), refused ? "close.wav" : "default.wav");
        for (const auto& s : c.after)
            EXPECT_EQ(rig.settings.read(s.section, s.key), s.value) << s.key;
        if (refused) {
            EXPECT_EQ(readFile(rig.folder.ini()), iniBefore);
            EXPECT_EQ(rig.state.numAliases, 150);
            EXPECT_EQ(rig.state.sepColor + rig.state.nameColor, "");
        }
    }
    // The dump's command is not trimmed: the argument is one blank.
    InterpreterRig rig;
    rig.runFromDump({"]/hh sepcolor  "});
    EXPECT_TRUE(rig.message().starts_with(sepError));
}

TEST(SettingsCommands, CommandKeyRebindsTheScriptAndTheHotKey) {
    InterpreterRig rig;
    // From the dump the argument keeps its case; the stored name is lower case.
    rig.runFromDump({"]/hh cmdkey F6"});
    EXPECT_EQ(rig.message(), "commandKey set to 'f6" + kReexec);
    EXPECT_EQ(rig.settings.read("Behavior", "CommandKey"), "f6");
    EXPECT_EQ(rig.settings.read("Behavior", "CommandKeyCode"), "117");
    EXPECT_EQ(rig.program.calls, (std::vector<std::string>{"reregisterHotKey", "keyCodesChanged"}));
    EXPECT_NE(readFile(rig.folder.game() / "baseq3" / "handleHound.cfg")
                  .find("bind \"f6\" \"vstr part1; vstr w2;\""),
              std::string::npos);
}

} // namespace
} // namespace hh::test
