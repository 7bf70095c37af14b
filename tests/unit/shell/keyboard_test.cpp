#include "common/SharedState.h"
#include "fakes/FakePlatform.h"
#include "settings/Settings.h"
#include "shell/Keyboardhandler.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace hh {
namespace {

using Codes = std::vector<std::uint32_t>;
using TypedRun = std::pair<std::string, std::string>;
constexpr std::uint32_t kTab = 9, kF5 = 116;
constexpr auto caseName = [](const auto& info) { return std::string(info.param.name); };

// Virtual-key codes of a text. Letters, digits, blank, \b and \x1b are their
// own codes; \n is Enter.
Codes keys(const std::string& text) {
    static const std::map<char, std::uint32_t> special = {{'/', 0xBF}, {'\\', 0xDC}, {';', 0xBA},
                                                          {'=', 0xBB}, {'[', 0xDB},  {']', 0xDD},
                                                          {'\n', 0x0D}};
    Codes out;
    for (char c : text) {
        const auto it = special.find(c);
        out.push_back(it != special.end() ? it->second : std::uint32_t(std::toupper(c)));
    }
    return out;
}

Codes operator+(Codes a, const Codes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class KeyboardTest : public ::testing::Test {
  protected:
    KeyboardTest()
        : settings(fp.temp / "handleHound.ini"), clearClip(fp.clock.createTimer()),
          keyboard(state, settings, fp.keys, view, *clearClip,
                   {[this](const std::string& line) { processed.push_back(line); },
                    [this](const std::string& w, const std::string& a) { runs.emplace_back(w, a); },
                    [this] { ++clears; }}) {
        keyboard.hookKeyboard();
        clearClip->setInterval(15000);
        clearClip->start();
    }

    void type(const Codes& codes) {
        for (auto vk : codes)
            fp.keys.release(vk);
    }

    test::FakePlatform fp;
    SharedState state;
    Settings settings;
    test::FakeMainView view;
    std::unique_ptr<Timer> clearClip;
    std::vector<TypedRun> runs;
    std::vector<std::string> processed;
    int clears = 0;
    Keyboardhandler keyboard;
};

struct CaptureCase {
    const char* name;
    Codes codes;
    const char* runs; // word|argument; per run
    int state;
    const char* words;  // prefix|command|argument
    const char* status; // nullptr: not checked
};

class CaptureTest : public KeyboardTest, public ::testing::WithParamInterface<CaptureCase> {};

TEST_P(CaptureTest, FollowsTheTypedLine) {
    const CaptureCase& c = GetParam();
    type(c.codes);
    std::string ran;
    for (const auto& [word, argument] : runs)
        ran += word + "|" + argument + ";";
    EXPECT_EQ(ran, c.runs);
    EXPECT_EQ(keyboard.captureState(), c.state);
    EXPECT_EQ(keyboard.prefixWord() + "|" + keyboard.commandWord() + "|" + keyboard.argument(),
              c.words);
    if (c.status) {
        EXPECT_EQ(view.statusText, c.status);
    }
    EXPECT_TRUE(processed.empty());
    // Running stops the answer's expiry and selects the developer command line.
    EXPECT_EQ(clearClip->isEnabled(), runs.empty());
    EXPECT_EQ(view.commandLineSelections, int(runs.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Keyboard, CaptureTest,
    ::testing::ValuesIn(std::vector<CaptureCase>{
        {"TimeRunsBlanksBeforeWordIgnored", keys("/hh  time\n"), "time|;", 0, "||", "/hh time "},
        {"BackslashPrefix", keys("\\hh time\n"), "time|;", 0, "||", nullptr},
        {"OtherPrefixResets", keys("/hx time\n"), "", 0, "||", "/hx  "},
        {"EnterWithEmptyWordRuns", keys("/hh \n"), "|;", 0, "||", nullptr},
        {"BlanksInArgumentKept", keys("/hh save a  b \n"), "save|a  b ;", 0, "||",
         "/hh save a  b "},
        {"KeypadDigitsAndOperators", keys("/hh pb ") + Codes{0x61, 0x69, 0x6B, 0x6F, 13},
         "pb|19+/;", 0, "||", nullptr},
        {"PunctuationBecomesCharacters", keys("/hh copy ;=[\\]"), "", 3, "HH|COPY|;=[\\]",
         "/hh copy ;=[\\]"},
        {"EscapeResets", keys("/hh guid 12\x1b"), "", 0, "||", nullptr},
        {"ConsoleKeyResets", keys("/hh gu") + Codes{0xC0}, "", 0, "||", nullptr},
        {"DownArrowResets", keys("/hh a b") + Codes{0x28}, "", 0, "||", nullptr},
        // Keypad and punctuation ranges end where they should.
        {"RangeEdges", keys("/hh x ") + Codes{0x60, 0xBC, 0x5A, 0x40, 0x3A, 0x5B, 0x70, 0xDE}, "",
         3, "HH|X|0,Z", nullptr},
        {"UnnamedKeysIgnored", keys("/hh t") + Codes{0x10, kF5, 0x25} + keys("ime"), "", 2,
         "HH|TIME|", "/hh time "},
        {"BackspaceFromArgumentKeepsWord", keys("/hh pb 7\b\bx\n"), "pbx|;", 0, "||", nullptr},
        {"BackspaceAllTheWayToIdle", keys("/hh t\b\b\b\b\btime "), "", 0, "||", "/h  "},
        {"NextSlashAfterRunStartsAgain", keys("/hh hb\n/hh ti"), "hb|;", 2, "HH|TI|", "/hh ti "}}),
    caseName);

TEST_F(KeyboardTest, WordsAreBoundedToAConsoleLine) {
    type(keys("/hh x " + std::string(1000, 'a') + " "));
    EXPECT_EQ(keyboard.argument().size(), Keyboardhandler::kMaxWordLength);
    type(keys("\n"));
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].second, std::string(Keyboardhandler::kMaxWordLength, 'a'));
}

struct IdleCase {
    const char* name;
    std::string lastCommand;
    bool pending;
    const char *commandCode, *statusCode; // stored codes, "" = default
    std::uint32_t key;
    std::vector<std::string> processed;
    bool pendingAfter;
    int clears;
};

class IdleKeyTest : public KeyboardTest, public ::testing::WithParamInterface<IdleCase> {};

TEST_P(IdleKeyTest, StatusAndCommandKeys) {
    const IdleCase& c = GetParam();
    if (*c.commandCode)
        settings.write("Behavior", "CommandKeyCode", c.commandCode);
    if (*c.statusCode)
        settings.write("Behavior", "StatusKeyCode", c.statusCode);
    keyboard.refreshKeyCodes();
    state.gLastCommand = c.lastCommand;
    state.gLastArg = "abc";
    state.commandPending = c.pending;
    type({c.key});
    EXPECT_EQ(processed, c.processed);
    EXPECT_EQ(state.commandPending, c.pendingAfter);
    EXPECT_EQ(clears, c.clears);
    // The answer's expiry stops exactly when a fresh command runs.
    EXPECT_EQ(clearClip->isEnabled(), c.processed.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Keyboard, IdleKeyTest,
    ::testing::ValuesIn(std::vector<IdleCase>{
        {"StatusRerunsTime", "time", false, "", "", kF5, {"time abc"}, false, 0},
        {"StatusAfterOtherCommand", "guid", false, "", "", kF5, {}, false, 0},
        {"StatusWhilePending", "time", true, "", "", kF5, {}, true, 0},
        {"CommandKeySetsPending", "guid", false, "", "", kTab, {}, true, 1},
        // One key for both: the Status key unless a command is pending.
        {"SharedKeyIdleIsStatus", "time", false, "", "9", kTab, {"time abc"}, false, 0},
        {"SharedKeyPendingIsCommand", "time", true, "", "9", kTab, {}, true, 1},
        // 0 is what a key name without a code (alt) stores; 300 is beyond any key.
        {"CodeBeyondKeysMatchesNothing", "time", false, "0", "300", kF5, {}, false, 0}}),
    caseName);

TEST_F(KeyboardTest, HookFollowsTheSourceAndKeepsTheHalfTypedLine) {
    keyboard.hookKeyboard();
    EXPECT_EQ(fp.keys.installs, 1);
    type(keys("/hh ti"));
    keyboard.unhookKeyboard();
    type(keys("xyz")); // not seen while unhooked
    keyboard.hookKeyboard();
    type(keys("me\n"));
    EXPECT_EQ(runs, (std::vector<TypedRun>{{"time", ""}}));

    // An unavailable source leaves the hook off.
    keyboard.unhookKeyboard();
    fp.keys.isAvailable = false;
    keyboard.hookKeyboard();
    EXPECT_FALSE(keyboard.isKeyboardHooked());
}

} // namespace
} // namespace hh
