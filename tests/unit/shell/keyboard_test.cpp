#include "common/SharedState.h"
#include "fakes/FakePlatform.h"
#include "settings/Settings.h"
#include "shell/Keyboardhandler.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace hh {
namespace {

using test::FakePlatform;

constexpr std::uint32_t kSlash = 0xBF, kBackslash = 0xDC, kSpace = 0x20, kEnter = 0x0D,
                        kBack = 0x08, kEsc = 0x1B, kConsole = 0xC0, kUp = 0x26, kDown = 0x28,
                        kShift = 0x10, kTab = 9, kF5 = 116, kF6 = 117;

// Virtual-key codes of a text: letters and digits are their own codes.
std::vector<std::uint32_t> keys(const std::string& text) {
    std::vector<std::uint32_t> out;
    for (char c : text) {
        if (c >= 'a' && c <= 'z')
            out.push_back(static_cast<std::uint32_t>(c - 'a' + 'A'));
        else if (c == ' ')
            out.push_back(kSpace);
        else if (c == '/')
            out.push_back(kSlash);
        else if (c == '.')
            out.push_back(0xBE);
        else
            out.push_back(static_cast<std::uint32_t>(c));
    }
    return out;
}

std::vector<std::uint32_t> operator+(std::vector<std::uint32_t> a,
                                     const std::vector<std::uint32_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

using TypedRun = std::pair<std::string, std::string>;

class KeyboardTest : public ::testing::Test {
  protected:
    KeyboardTest()
        : settings(fp.temp / "handleHound.ini"), clearClip(fp.clock.createTimer()),
          keyboard(state, settings, fp.keys, view, *clearClip, callbacks()) {
        keyboard.hookKeyboard();
        clearClip->setInterval(15000);
        clearClip->start();
    }

    KeyboardCallbacks callbacks() {
        return {[this](const std::string& line) { processed.push_back(line); },
                [this](const std::string& w, const std::string& a) { runs.emplace_back(w, a); },
                [this] {
                    ++clears;
                    state.gLastCommand.clear();
                    state.gLastArg.clear();
                }};
    }

    void type(const std::vector<std::uint32_t>& codes) {
        for (auto vk : codes)
            fp.keys.release(vk);
    }

    FakePlatform fp;
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
    std::vector<std::uint32_t> codes;
    std::vector<TypedRun> runs;
    int state;
    std::string prefix, command, argument;
    std::optional<std::string> status;
};

class CaptureTest : public KeyboardTest, public ::testing::WithParamInterface<CaptureCase> {};

TEST_P(CaptureTest, FollowsTheTypedLine) {
    const CaptureCase& c = GetParam();
    type(c.codes);
    EXPECT_EQ(runs, c.runs);
    EXPECT_EQ(keyboard.captureState(), c.state);
    EXPECT_EQ(keyboard.prefixWord(), c.prefix);
    EXPECT_EQ(keyboard.commandWord(), c.command);
    EXPECT_EQ(keyboard.argument(), c.argument);
    if (c.status) {
        EXPECT_EQ(view.statusText, *c.status);
    }
    EXPECT_TRUE(processed.empty());
}

const std::vector<std::uint32_t> kHh = keys("/hh ");

INSTANTIATE_TEST_SUITE_P(
    Keyboard, CaptureTest,
    ::testing::Values(
        CaptureCase{"TimeBeforeEnter", keys("/hh time"), {}, 2, "HH", "TIME", "", "/hh time "},
        CaptureCase{"BlankAfterWordStartsArgument",
                    keys("/hh time "),
                    {},
                    3,
                    "HH",
                    "TIME",
                    "",
                    "/hh time "},
        CaptureCase{"TimeRuns",
                    keys("/hh time") + std::vector{kEnter},
                    {{"time", ""}},
                    0,
                    "",
                    "",
                    "",
                    "/hh time "},
        CaptureCase{"BackslashPrefix",
                    std::vector{kBackslash} + keys("hh time") + std::vector{kEnter},
                    {{"time", ""}},
                    0,
                    "",
                    "",
                    "",
                    std::nullopt},
        CaptureCase{"SlashAloneShowsSlash", keys("/"), {}, 1, "", "", "", "/"},
        CaptureCase{"BackslashAloneShowsSlash", {kBackslash}, {}, 1, "", "", "", "/"},
        CaptureCase{"OtherPrefixResets",
                    keys("/hx time") + std::vector{kEnter},
                    {},
                    0,
                    "",
                    "",
                    "",
                    "/hx  "},
        CaptureCase{"EnterAfterPrefixResets",
                    keys("/hh") + std::vector{kEnter},
                    {},
                    0,
                    "",
                    "",
                    "",
                    "/hh  "},
        CaptureCase{"EnterWithEmptyWordRuns",
                    kHh + std::vector{kEnter},
                    {{"", ""}},
                    0,
                    "",
                    "",
                    "",
                    std::nullopt},
        CaptureCase{"BlanksBeforeWordIgnored",
                    kHh + std::vector{kSpace, kSpace} + keys("hb"),
                    {},
                    2,
                    "HH",
                    "HB",
                    "",
                    "/hh hb "},
        CaptureCase{"BlanksInArgumentKept",
                    keys("/hh save a  b ") + std::vector{kEnter},
                    {{"save", "a  b "}},
                    0,
                    "",
                    "",
                    "",
                    "/hh save a  b "},
        CaptureCase{"PingWithDots",
                    keys("/hh ping 10.0.0.1") + std::vector{kEnter},
                    {{"ping", "10.0.0.1"}},
                    0,
                    "",
                    "",
                    "",
                    std::nullopt},
        CaptureCase{"KeypadDigitsAndOperators",
                    kHh + keys("pb ") + std::vector<std::uint32_t>{0x61, 0x69, 0x6B, 0x6F, kEnter},
                    {{"pb", "19+/"}},
                    0,
                    "",
                    "",
                    "",
                    std::nullopt},
        CaptureCase{"PunctuationBecomesCharacters",
                    kHh + keys("copy ") + std::vector<std::uint32_t>{0xBA, 0xBB, 0xDB, 0xDC, 0xDD},
                    {},
                    3,
                    "HH",
                    "COPY",
                    ";=[\\]",
                    "/hh copy ;=[\\]"},
        CaptureCase{"ConsoleKeyResets",
                    keys("/hh gu") + std::vector{kConsole},
                    {},
                    0,
                    "",
                    "",
                    "",
                    "/hh gu "},
        CaptureCase{"EscapeResets",
                    keys("/hh guid 12") + std::vector{kEsc},
                    {},
                    0,
                    "",
                    "",
                    "",
                    std::nullopt},
        CaptureCase{
            "UpArrowResets", keys("/h") + std::vector{kUp}, {}, 0, "", "", "", std::nullopt},
        CaptureCase{"DownArrowResets",
                    keys("/hh a b") + std::vector{kDown},
                    {},
                    0,
                    "",
                    "",
                    "",
                    std::nullopt},
        CaptureCase{"UnnamedKeysIgnored",
                    keys("/hh t") + std::vector{kShift, kF5, 0x25u} + keys("ime"),
                    {},
                    2,
                    "HH",
                    "TIME",
                    "",
                    "/hh time "},
        CaptureCase{"BackspaceInWord",
                    keys("/hh timx") + std::vector{kBack} + keys("e"),
                    {},
                    2,
                    "HH",
                    "TIME",
                    "",
                    "/hh time "},
        CaptureCase{"BackspaceFromEmptyWordKeepsPrefix",
                    kHh + std::vector{kBack},
                    {},
                    1,
                    "HH",
                    "",
                    "",
                    "/hh  "},
        CaptureCase{"BackspaceThenSpaceReentersWord",
                    kHh + std::vector{kBack, kSpace} + keys("time") + std::vector{kEnter},
                    {{"time", ""}},
                    0,
                    "",
                    "",
                    "",
                    std::nullopt},
        CaptureCase{"BackspaceFromArgumentKeepsWord",
                    keys("/hh pb 7") + std::vector{kBack, kBack} + keys("x") + std::vector{kEnter},
                    {{"pbx", ""}},
                    0,
                    "",
                    "",
                    "",
                    std::nullopt},
        CaptureCase{"BackspaceAllTheWayToIdle",
                    keys("/hh t") + std::vector{kBack, kBack, kBack, kBack, kBack} + keys("time "),
                    {},
                    0,
                    "",
                    "",
                    "",
                    "/h  "},
        CaptureCase{"NextSlashAfterRunStartsAgain",
                    keys("/hh hb") + std::vector{kEnter} + keys("/hh ti"),
                    {{"hb", ""}},
                    2,
                    "HH",
                    "TI",
                    "",
                    "/hh ti "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeyboardTest, RunningStopsTheExpiryAndSelectsTheCommandLine) {
    type(keys("/hh time"));
    EXPECT_TRUE(clearClip->isEnabled());
    EXPECT_EQ(view.commandLineSelections, 0);
    type({kEnter});
    EXPECT_FALSE(clearClip->isEnabled());
    EXPECT_EQ(view.commandLineSelections, 1);
}

TEST_F(KeyboardTest, WordsAreBoundedToAConsoleLine) {
    type(kHh + keys("x ") + std::vector<std::uint32_t>(1000, 'A') + std::vector{kSpace});
    EXPECT_EQ(keyboard.argument().size(), Keyboardhandler::kMaxWordLength);
    type({kEnter});
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].second, std::string(Keyboardhandler::kMaxWordLength, 'a'));
}

struct IdleCase {
    const char* name;
    std::string lastCommand, lastArg;
    bool pending;
    std::uint32_t key;
    std::vector<std::string> processed;
    bool pendingAfter;
    int clears;
};

class IdleKeyTest : public KeyboardTest, public ::testing::WithParamInterface<IdleCase> {};

TEST_P(IdleKeyTest, StatusAndCommandKeys) {
    const IdleCase& c = GetParam();
    state.gLastCommand = c.lastCommand;
    state.gLastArg = c.lastArg;
    state.commandPending = c.pending;
    type({c.key});
    EXPECT_EQ(processed, c.processed);
    EXPECT_EQ(state.commandPending, c.pendingAfter);
    EXPECT_EQ(clears, c.clears);
    // The answer's expiry stops exactly when a fresh command runs.
    EXPECT_EQ(clearClip->isEnabled(), c.processed.empty());
    EXPECT_EQ(keyboard.captureState(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keyboard, IdleKeyTest,
    ::testing::Values(
        IdleCase{"StatusRerunsTime", "time", "", false, kF5, {"time "}, false, 0},
        IdleCase{"StatusRerunsPing", "ping", "10.0.0.1", false, kF5, {"ping 10.0.0.1"}, false, 0},
        IdleCase{"StatusWithEmptyLastCommand", "", "abc", false, kF5, {" abc"}, false, 0},
        IdleCase{"StatusAfterOtherCommand", "guid", "1a2b3c4d", false, kF5, {}, false, 0},
        IdleCase{"StatusAfterPartOfWord", "tim", "", false, kF5, {"tim "}, false, 0},
        IdleCase{"StatusWhilePending", "time", "", true, kF5, {}, true, 0},
        IdleCase{"CommandKeySetsPending", "guid", "x", false, kTab, {}, true, 1},
        IdleCase{"CommandKeyWhilePending", "time", "", true, kTab, {}, true, 1},
        IdleCase{"OtherKeyNothing", "time", "", false, 'T', {}, false, 0},
        IdleCase{"ZeroCodeNothing", "time", "", false, 0, {}, false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeyboardTest, CommandKeyEmptiesTheLastCommand) {
    state.gLastCommand = "guid";
    state.gLastArg = "1a2b3c4d";
    type({kTab});
    EXPECT_EQ(state.gLastCommand, "");
    EXPECT_EQ(state.gLastArg, "");
}

TEST_F(KeyboardTest, StatusKeyEqualToCommandKey) {
    settings.write("Behavior", "StatusKeyCode", "9");
    keyboard.refreshKeyCodes();
    state.gLastCommand = "time";
    type({kTab}); // no command pending: the Status key case wins
    EXPECT_EQ(processed, std::vector<std::string>{"time "});
    EXPECT_FALSE(state.commandPending);
    state.commandPending = true;
    type({kTab}); // pending: it is the Command key
    EXPECT_EQ(processed.size(), 1u);
    EXPECT_EQ(clears, 1);
}

TEST_F(KeyboardTest, KeyCodesAreCachedUntilRefreshed) {
    state.gLastCommand = "time";
    settings.write("Behavior", "StatusKeyCode", std::to_string(kF6));
    type({kF6});
    EXPECT_TRUE(processed.empty());
    type({kF5});
    EXPECT_EQ(processed.size(), 1u);
    keyboard.refreshKeyCodes();
    type({kF5});
    EXPECT_EQ(processed.size(), 1u);
    type({kF6});
    EXPECT_EQ(processed.size(), 2u);
}

TEST_F(KeyboardTest, KeyCodesOfNoKeyMatchNothing) {
    // 0 is what a key name without a code (alt) stores; 300 is beyond any key.
    settings.write("Behavior", "CommandKeyCode", "0");
    settings.write("Behavior", "StatusKeyCode", "300");
    keyboard.refreshKeyCodes();
    state.gLastCommand = "time";
    for (std::uint32_t vk : {0u, kTab, kF5, 300u})
        type({vk});
    EXPECT_TRUE(processed.empty());
    EXPECT_FALSE(state.commandPending);
    EXPECT_EQ(clears, 0);
}

TEST_F(KeyboardTest, HookFollowsTheSourceAndKeepsTheHalfTypedLine) {
    EXPECT_TRUE(keyboard.isKeyboardHooked());
    keyboard.hookKeyboard();
    EXPECT_EQ(fp.keys.installs, 1);
    type(keys("/hh ti"));
    keyboard.unhookKeyboard();
    EXPECT_FALSE(keyboard.isKeyboardHooked());
    type(keys("xyz")); // not seen while unhooked
    keyboard.unhookKeyboard();
    EXPECT_EQ(fp.keys.removals, 1);
    keyboard.hookKeyboard();
    type(keys("me") + std::vector{kEnter});
    EXPECT_EQ(runs, (std::vector<TypedRun>{{"time", ""}}));
}

TEST_F(KeyboardTest, UnavailableSourceLeavesTheHookOff) {
    keyboard.unhookKeyboard();
    fp.keys.isAvailable = false;
    keyboard.hookKeyboard();
    EXPECT_FALSE(keyboard.isKeyboardHooked());
    type(keys("/hh time") + std::vector{kEnter});
    EXPECT_TRUE(runs.empty());
}

TEST(KeyObserverMessage, NamesTheReasonAndTheDumpRoad) {
    const std::string m = keyObserverUnavailableMessage("Wayland session");
    EXPECT_NE(m.find("Wayland session"), std::string::npos);
    EXPECT_NE(m.find("dump"), std::string::npos);
    EXPECT_EQ(m.find('\n'), std::string::npos);
}

struct NameCase {
    std::uint32_t vk;
    const char* name;
    std::uint32_t rewritten;
};

class KeyNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(KeyNameTest, NameAndRewrittenCode) {
    KeyRecord record;
    record.vkCode = GetParam().vk;
    record.scanCode = 0x2A;
    EXPECT_EQ(keyNameOf(record), GetParam().name);
    EXPECT_EQ(record.vkCode, GetParam().rewritten);
    EXPECT_EQ(record.scanCode, 0x2Au);
}

INSTANTIATE_TEST_SUITE_P(
    Keyboard, KeyNameTest,
    ::testing::Values(
        NameCase{0x41, "A", 0x41}, NameCase{0x5A, "Z", 0x5A}, NameCase{0x30, "0", 0x30},
        NameCase{0x39, "9", 0x39}, NameCase{0x60, "0", 0x30}, NameCase{0x69, "9", 0x39},
        NameCase{0x6A, "*", 0x2A}, NameCase{0x6B, "+", 0x2B}, NameCase{0x6C, ",", 0x2C},
        NameCase{0x6D, "-", 0x2D}, NameCase{0x6E, ".", 0x2E}, NameCase{0x6F, "/", 0x2F},
        NameCase{0xBA, ";", 0x3B}, NameCase{0xBB, "=", 0x3D}, NameCase{0xBC, ",", 0x2C},
        NameCase{0xBD, "-", 0x2D}, NameCase{0xBE, ".", 0x2E}, NameCase{0xBF, "/", 0x2F},
        NameCase{0xDB, "[", 0x5B}, NameCase{0xDC, "\\", 0x5C}, NameCase{0xDD, "]", 0x5D},
        NameCase{0x20, "SPACE", 0x20}, NameCase{0x0D, "ENTER", 0x0D},
        NameCase{0x08, "BACKSPACE", 0x08}, NameCase{0x1B, "ESC", 0x1B}, NameCase{0xC0, "ESC", 0xC0},
        NameCase{0x26, "UPDOWNARROW", 0x26}, NameCase{0x28, "UPDOWNARROW", 0x28},
        NameCase{0x25, "", 0x25}, NameCase{0x27, "", 0x27}, NameCase{0x40, "", 0x40},
        NameCase{0x3A, "", 0x3A}, NameCase{0x5B, "", 0x5B}, NameCase{0x70, "", 0x70},
        NameCase{0xDE, "", 0xDE}, NameCase{0x10, "", 0x10}, NameCase{0, "", 0},
        NameCase{0xFFFFFFFF, "", 0xFFFFFFFF}));

} // namespace
} // namespace hh
