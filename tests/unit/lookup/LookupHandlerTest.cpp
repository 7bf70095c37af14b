#include "lookup/LookupHandler.h"

#include "common/SharedState.h"
#include "common/Strings.h"
#include "fakes/FakePlatform.h"
#include "gamelink/ResultCall.h"
#include "gamelink/ResultScript.h"
#include "settings/Settings.h"
#include "support/AliasPages.h"
#include "support/GameFolder.h"

#include <gtest/gtest.h>

namespace hh {
namespace {

using test::aliasPage;

const std::string kAddress = "http://127.0.0.1:27995";
const std::string kOwnPage = kAddress + "/?guid=1a2b3c4d";
const std::string kNoGuidHint =
    "' was found. {You may verify a player's GUID# with the 'pb_plist' command} {You must type "
    "in the GUID# - pressing Ctrl+V will not work} {The GUID# CAN refer to a player not currently "
    "on the server}";

// The lookup as the main window wires it, with the real result call writing
// hh.cfg into a temporary game folder.
struct LookupRig {
    LookupRig() {
        fp.paths.program = folder.program();
        state.gDumpFileAbsPath = folder.dump().string();
        handler.setClearLastCommand([this] { ++lastCommandClears; });
        handler.setLookupUrlOverride(kAddress);
    }
    void lookFor(const std::string& name, const std::string& guid = "1a2b3c4d") {
        state.searchName = name;
        state.searchValue = guid;
        handler.lookupGuid(guid);
    }
    void answer(const std::string& finalUrl, const std::string& body, bool ok = true) {
        FetchResult r;
        r.ok = ok;
        r.httpStatus = ok ? 200 : 0;
        r.finalUrl = finalUrl;
        r.body = body;
        r.error = ok ? "" : "Connection refused";
        fp.pages.answer(r);
    }
    std::string script() const { return folder.resultText(); }

    test::GameFolder folder;
    test::FakePlatform fp;
    SharedState state;
    Settings settings{folder.ini()};
    test::FakeMainView view;
    ResultScriptWriter writer{state, settings, [](const std::string&) {}};
    std::unique_ptr<Timer> modifiedCheck = fp.clock.createTimer();
    std::unique_ptr<Timer> clearClip = fp.clock.createTimer();
    ResultCall result{state, settings, fp.platform, view, writer, *modifiedCheck, *clearClip};
    LookupHandler handler{state, settings, fp.platform, view, result};
    int lastCommandClears = 0;
};

// What one result call left behind, for every flag it has.
struct Expected {
    std::string sound;
    std::string message;
    int expirySeconds; // -1: no expiry armed
    bool logged;
    bool copied;
};

void expectResult(const LookupRig& rig, const Expected& e, const std::string& what) {
    EXPECT_EQ(rig.fp.sound.names(), std::vector<std::string>{e.sound}) << what;
    EXPECT_EQ(rig.script(), renderResultScript(e.message)) << what;
    EXPECT_TRUE(rig.modifiedCheck->isEnabled()) << what << ": watcher not re-armed";
    EXPECT_EQ(rig.clearClip->isEnabled(), e.expirySeconds > 0) << what;
    if (e.expirySeconds > 0) {
        EXPECT_EQ(rig.clearClip->interval(), e.expirySeconds * 1000) << what;
    }
    const std::string shown = trimBlanks(e.message.substr(0, e.message.find('{')));
    EXPECT_EQ(rig.fp.clipboard.text(), e.copied ? shown : "") << what;
    EXPECT_EQ(rig.view.console.find("\r\n> ") != std::string::npos, e.logged) << what;
}

TEST(LookupHandler, EveryPageOutcome) {
    const std::string threeAliases = "^7Alpha^2, ^7Bravo^2, ^7Charlie";
    const struct {
        const char* what;
        std::string searchName;
        std::string body;
        bool fetched;
        Expected result;
        std::string consoleHas;
    } cases[] = {
        {"guid with aliases",
         "GUID",
         aliasPage({"Alpha", "Bravo", "Charlie"}),
         true,
         {"default.wav", "3, GUID# '1a2b3c4d' = " + threeAliases, -1, true, true},
         ""},
        {"name with aliases",
         "Alpha",
         aliasPage({"Alpha", "Bravo", "Charlie"}),
         true,
         {"default.wav", "3, Alpha = " + threeAliases, -1, false, true},
         "\r\n3 aliases found:\r\n    Alpha, Bravo, Charlie"},
        {"guid without data",
         "GUID",
         test::noDataPage(),
         true,
         {"close.wav", "No Player with GUID# '1a2b3c4d" + kNoGuidHint, 15, true, false},
         ""},
        {"guid with an empty table",
         "GUID",
         aliasPage({}),
         true,
         {"close.wav", "No Player with GUID# '1a2b3c4d" + kNoGuidHint, 15, true, false},
         ""},
        {"name without data",
         "Alpha",
         test::noDataPage(),
         true,
         {"default.wav",
          "-- No Aliases Found for Player 'Alpha' -- {Player has never visited a Vivereroz "
          "server before}",
          -1, false, true},
         "\r\n    -- No Aliases Found for Player 'Alpha' -- {Player has never"},
        {"fetch failed",
         "GUID",
         "",
         false,
         {"close.wav", "Error! Check your Internet Connectivity", -1, true, false},
         ""},
        {"browser error page",
         "Alpha",
         "Cannot find server or DNS Error",
         true,
         {"close.wav", "Error! Check your Internet Connectivity", -1, true, false},
         ""},
    };
    for (const auto& c : cases) {
        LookupRig rig;
        rig.lookFor(c.searchName);
        ASSERT_EQ(rig.fp.pages.requests.size(), 1u);
        EXPECT_EQ(rig.fp.pages.requests[0].url, kAddress + "?guid=1a2b3c4d");
        rig.answer(kOwnPage, c.body, c.fetched);
        expectResult(rig, c.result, c.what);
        EXPECT_NE(rig.view.console.find(c.consoleHas), std::string::npos)
            << c.what << ": " << rig.view.console;
        EXPECT_TRUE(rig.fp.dialogs.messages.empty()) << c.what;
        EXPECT_EQ(rig.lastCommandClears, 0) << c.what;
    }
}

TEST(LookupHandler, AliasListIsCleanedForTheConsole) {
    LookupRig rig;
    rig.lookFor("Tom");
    rig.answer(kOwnPage,
               aliasPage({"Tom &amp; Jerry", "semi;colon", "a/b\\c", "(paren)", "^1Red"}));
    EXPECT_EQ(rig.fp.clipboard.text(), "5, Tom = ^7Tom ^7 ^7Jerry^2, ^7semicolon^2, ^7a|b|c^2, "
                                       "^7[paren]^2, ^71Red");
    EXPECT_NE(rig.view.console.find("\r\n5 aliases found:\r\n    Tom  Jerry, semicolon, a|b|c, "
                                    "[paren], 1Red"),
              std::string::npos)
        << rig.view.console;
}

TEST(LookupHandler, ColoursComeFromTheSettingsMirrors) {
    const struct {
        std::string name, separator, expected;
    } cases[] = {
        {"", "", "2, GUID# '1a2b3c4d' = ^7A ^7b^2, ^7C"},
        {"^3", "^5", "2, GUID# '1a2b3c4d' = ^3A ^3b^5, ^3C"},
    };
    for (const auto& c : cases) {
        LookupRig rig;
        rig.state.nameColor = c.name;
        rig.state.sepColor = c.separator;
        rig.lookFor("GUID");
        rig.answer(kOwnPage, aliasPage({"A b", "C"}));
        EXPECT_EQ(rig.fp.clipboard.text(), c.expected);
    }
}

TEST(LookupHandler, LongListsAreLimitedAndSplit) {
    LookupRig rig;
    rig.state.numAliases = 150;
    rig.lookFor("GUID");
    rig.answer(kOwnPage, aliasPage(test::numberedNames(200)));
    const std::string line = rig.fp.clipboard.text();
    EXPECT_EQ(line.rfind("150/200, GUID# '1a2b3c4d' = ^7Player0^2, ^7Player1^2, ", 0), 0u);
    EXPECT_NE(line.find("\\n\\t"), std::string::npos);
    EXPECT_NE(line.find("^7Player149"), std::string::npos);
    EXPECT_EQ(line.find("Player150"), std::string::npos);
    EXPECT_EQ(rig.state.aliasCount, 200);
    EXPECT_EQ(rig.state.countPrefix, "150/200, ");
}

TEST(LookupHandler, PagesFromElsewhere) {
    const struct {
        std::string url;
        bool reported;
    } cases[] = {
        {"http://elsewhere.example/?guid=1a2b3c4d", true},
        {kAddress + "/other?guid=1a2b3c4d", true},
        {"HTTP://127.0.0.1:27995/?GUID=1", true}, // the prefix is compared with its case
        {"http:///", false},
        {"", false},
    };
    for (const auto& c : cases) {
        LookupRig rig;
        rig.state.searchName = "GUID";
        rig.handler.onLookupPageLoaded(c.url, aliasPage({"Alpha"}));
        if (!c.reported) {
            EXPECT_TRUE(rig.fp.dialogs.messages.empty()) << c.url;
            EXPECT_TRUE(rig.fp.sound.played.empty()) << c.url;
            EXPECT_EQ(rig.script(), "") << c.url;
            EXPECT_EQ(rig.lastCommandClears, 0) << c.url;
            continue;
        }
        ASSERT_EQ(rig.fp.dialogs.messages.size(), 1u) << c.url;
        EXPECT_EQ(rig.fp.dialogs.messages[0].rfind("Unknown URL.\n", 0), 0u);
        EXPECT_NE(rig.fp.dialogs.messages[0].find("bugs@handlehound.example"), std::string::npos);
        expectResult(rig, {"close.wav", "UNKNOWN URL", -1, false, false}, c.url);
        EXPECT_EQ(rig.lastCommandClears, 1) << c.url;
    }
}

TEST(LookupHandler, AddressFormsAgreeWithTheirPages) {
    const struct {
        std::string configured; // override; empty: the setting
        std::string setting;
        std::string guid;
        std::string request;
        std::string finalUrl; // as the fetcher reports it; empty: none given
    } cases[] = {
        {kAddress, "", "1a2b3c4d", kAddress + "?guid=1a2b3c4d", kOwnPage},
        {kAddress + "/", "", "1a2b3c4d", kAddress + "?guid=1a2b3c4d", kOwnPage},
        {"", "http://db.example:8080/", "1a2b3c4d", "http://db.example:8080?guid=1a2b3c4d",
         "http://db.example:8080/?guid=1a2b3c4d"},
        {"http://DB.Example:80", "", "1a2b3c4d", "http://DB.Example:80?guid=1a2b3c4d",
         "http://db.example/?guid=1a2b3c4d"},
        {kAddress, "", "1a2b3c4d", kAddress + "?guid=1a2b3c4d", ""},
        {kAddress, "", "a b&c", kAddress + "?guid=a%20b%26c", kAddress + "/?guid=a%20b%26c"},
    };
    for (const auto& c : cases) {
        LookupRig rig;
        rig.handler.setLookupUrlOverride(c.configured);
        rig.settings.write("Main", "LookupURL", c.setting);
        rig.lookFor("GUID", c.guid);
        ASSERT_EQ(rig.fp.pages.requests.size(), 1u);
        EXPECT_EQ(rig.fp.pages.requests[0].url, c.request);
        rig.answer(c.finalUrl, aliasPage({"Alpha"}));
        EXPECT_TRUE(rig.fp.dialogs.messages.empty()) << c.request;
        EXPECT_EQ(rig.fp.clipboard.text(), "1, GUID# '" + c.guid + "' = ^7Alpha") << c.request;
    }
}

} // namespace
} // namespace hh
