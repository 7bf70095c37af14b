#include "fakes/FakePlatform.h"
#include "settings/KeyNames.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <set>
#include <sstream>

namespace hh {
namespace {

using test::TempDir;

struct CatalogueCase {
    const char* section;
    const char* key;
    const char* stored; // nullptr: key absent
    std::function<std::string(const Settings&)> read;
    std::string expected;
};

std::string yesNo(bool b) {
    return b ? "true" : "false";
}

TEST(Catalogue, EachReaderAppliesItsDefault) {
    const CatalogueCase cases[] = {
        {"Main", "NewUser", nullptr, [](auto& s) { return yesNo(s.isNewUser()); }, "true"},
        {"Main", "NewUser", "Yes", [](auto& s) { return yesNo(s.isNewUser()); }, "true"},
        {"Main", "NewUser", "No", [](auto& s) { return yesNo(s.isNewUser()); }, "false"},
        {"Main", "StartMin", "True", [](auto& s) { return yesNo(s.startMin()); }, "true"},
        {"Main", "StartMin", "true", [](auto& s) { return yesNo(s.startMin()); }, "false"},
        {"Main", "StartMinHH", nullptr, [](auto& s) { return yesNo(s.startMinHH()); }, "false"},
        {"Main", "ID", "Developer", [](auto& s) { return yesNo(s.isDeveloper()); }, "true"},
        {"Main", "ID", "developer", [](auto& s) { return yesNo(s.isDeveloper()); }, "false"},
        {"Main", "MaxNumAliases", nullptr,
         [](auto& s) { return std::to_string(s.numAliasesAtLoad()); }, "150"},
        {"Main", "MaxNumAliases", "0", [](auto& s) { return std::to_string(s.numAliasesAtLoad()); },
         "150"},
        {"Main", "MaxNumAliases", "2.9",
         [](auto& s) { return std::to_string(s.numAliasesAtLoad()); }, "2"},
        {"Main", "MaxNumAliases", "999",
         [](auto& s) { return std::to_string(s.numAliasesAtLoad()); }, "999"},
        {"Main", "MaxNumAliases", "abc",
         [](auto& s) { return std::to_string(s.numAliasesAtLoad()); }, "150"},
        {"Main", "CmdIssueDelay", nullptr, [](auto& s) { return s.cmdIssueDelayRaw(); }, ""},
        {"Main", "CmdIssueDelay", nullptr, [](auto& s) { return s.cmdIssueDelayOr("w2"); }, "w2"},
        {"Main", "DumpFileName", nullptr, [](auto& s) { return s.dumpFileName(); },
         "handleHound.who"},
        {"Main", "BaseFolder", nullptr, [](auto& s) { return s.baseFolder(); }, "baseq3"},
        {"Main", "GameWindowTitle", nullptr, [](auto& s) { return s.gameWindowTitle(); },
         "Quake 3: Arena"},
        {"Behavior", "NameColor", nullptr, [](auto& s) { return s.nameColorRaw(); }, ""},
        {"Behavior", "SeparatorColor", "^4", [](auto& s) { return s.sepColorRaw(); }, "^4"},
        {"Behavior", "CommandKey", nullptr, [](auto& s) { return s.commandKey(); }, "tab"},
        {"Behavior", "StatusKey", nullptr, [](auto& s) { return s.statusKey(); }, "f5"},
        {"Behavior", "CommandKeyCode", nullptr,
         [](auto& s) { return std::to_string(s.commandKeyCode()); }, "9"},
        {"Behavior", "CommandKeyCode", "112",
         [](auto& s) { return std::to_string(s.commandKeyCode()); }, "112"},
        {"Behavior", "CommandKeyCode", "tab",
         [](auto& s) { return std::to_string(s.commandKeyCode()); }, "9"},
        {"Behavior", "CommandKeyCode", "1e300",
         [](auto& s) { return std::to_string(s.commandKeyCode()); }, "9"},
        {"Behavior", "StatusKeyCode", nullptr,
         [](auto& s) { return std::to_string(s.statusKeyCode()); }, "116"},
        {"Behavior", "StatusKeyCode", "-5",
         [](auto& s) { return std::to_string(s.statusKeyCode()); }, "116"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        Settings settings(dir / "handleHound.ini");
        if (c.stored) {
            ASSERT_TRUE(settings.write(c.section, c.key, c.stored));
        }
        EXPECT_EQ(c.read(settings), c.expected)
            << c.section << "/" << c.key << "=" << (c.stored ? c.stored : "(absent)");
    }
}

TEST(Catalogue, SettersWriteTheKeysTheReadersRead) {
    TempDir dir;
    Settings settings(dir / "handleHound.ini");
    settings.setCommandKey("f6");
    settings.setCommandKeyCode(117);
    settings.setNameColorRaw("^3");
    settings.setCmdIssueDelay("w2x4");
    EXPECT_EQ(settings.read("Behavior", "CommandKey"), "f6");
    EXPECT_EQ(settings.commandKeyCode(), 117);
    EXPECT_EQ(settings.read("Behavior", "NameColor"), "^3");
    EXPECT_EQ(settings.read("Main", "CmdIssueDelay"), "w2x4");
}

TEST(KeyNames, TheNinetyNamesInOrder) {
    // In the order the dialogs offer them, blank-separated.
    std::istringstream order(
        "tab f1 f2 f3 f4 f5 f6 f7 f8 f9 f10 f11 f12 1 2 3 4 5 6 7 8 9 0 - = backspace "
        "q w e r t y u i o p [ ] \\ a s d f g h j k l ; ' enter shift z x c v b n m , . / "
        "space leftarrow downarrow uparrow rightarrow ins home pgup del end pgdn pause slash * "
        "kp_minus kp_home kp_uparrow kp_pgup kp_leftarrow kp_5 kp_rightarrow kp_end "
        "kp_downarrow kp_pgdn kp_plus kp_enter kp_ins kp_del");
    const std::vector<std::string> expected{std::istream_iterator<std::string>(order), {}};
    const auto& names = keyNameList();
    ASSERT_EQ(names.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(names[i], expected[i]) << "entry " << i + 1;
}

TEST(KeyNames, EveryOfferedNameHasItsOwnCode) {
    test::FakeDialogs dialogs;
    std::set<std::int32_t> codes;
    for (const auto name : keyNameList()) {
        const std::int32_t code = keyNameToCode(name, &dialogs);
        EXPECT_NE(code, 0) << name;
        EXPECT_TRUE(codes.insert(code).second) << name << " shares code " << code;
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(KeyNames, CodesOfTheTable) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"tab", 9},
        {"TAB", 9},
        {"f1", 112},
        {"F5", 116},
        {"f5", 116},
        {"f12", 123},
        {"f13", 0},
        {"f0", 0},
        {"f01", 0},
        {"a", 65},
        {"Z", 90},
        {"0", 48},
        {"9", 57},
        {"-", 189},
        {"=", 187},
        {"backspace", 8},
        {"[", 219},
        {"]", 221},
        {"\\", 220},
        {";", 186},
        {"'", 222},
        {"enter", 13},
        {"kp_enter", 108},
        {"shift", 16},
        {",", 188},
        {".", 190},
        {"/", 191},
        {"space", 32},
        {"leftarrow", 37},
        {"uparrow", 38},
        {"rightarrow", 39},
        {"downarrow", 40},
        {"pgup", 33},
        {"pgdn", 34},
        {"end", 35},
        {"home", 36},
        {"ins", 45},
        {"del", 46},
        {"pause", 19},
        {"slash", 111},
        {"*", 106},
        {"kp_minus", 109},
        {"kp_ins", 96},
        {"kp_end", 97},
        {"kp_downarrow", 98},
        {"kp_pgdn", 99},
        {"kp_leftarrow", 100},
        {"kp_5", 101},
        {"kp_rightarrow", 102},
        {"kp_home", 103},
        {"kp_uparrow", 104},
        {"kp_pgup", 105},
        {"kp_plus", 107},
        {"kp_del", 110},
        {"ctrl", 0},
        {"", 0},
        {"tab ", 0},
    };
    for (const auto& [name, code] : cases)
        EXPECT_EQ(keyNameToCode(name, nullptr), code) << "'" << name << "'";
}

TEST(KeyNames, AltWarnsOnceInAnyCaseOtherUnknownNamesSilently) {
    for (const char* name : {"ALT", "alt", "Alt"}) {
        test::FakeDialogs dialogs;
        EXPECT_EQ(keyNameToCode(name, &dialogs), 0);
        EXPECT_EQ(
            dialogs.messages,
            std::vector<std::string>{"Warning! ALT key will not work for command repeat attempts."})
            << name;
    }
    test::FakeDialogs dialogs;
    EXPECT_EQ(keyNameToCode("ctrl", &dialogs), 0);
    EXPECT_EQ(keyNameToCode("altgr", &dialogs), 0);
    EXPECT_TRUE(dialogs.messages.empty());
}

} // namespace
} // namespace hh
