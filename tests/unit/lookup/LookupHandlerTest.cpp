#include "lookup/LookupHandler.h"

#include "common/Strings.h"
#include "support/AliasPages.h"
#include "unit/gamelink/GameLinkRig.h"

#include <gtest/gtest.h>

namespace hh {
namespace {

using test::aliasPage;

const std::string kAddress = "http://127.0.0.1:27995";
const std::string kOwnPage = kAddress + "/?guid=1a2b3c4d";

// The lookup as the main window wires it, with the real result call writing
// hh.cfg into a temporary game folder.
struct LookupRig : test::GameLinkRig {
    LookupRig() {
        handler.setClearLastCommand([this] { ++lastCommandClears; });
        handler.setLookupUrlOverride(kAddress);
    }
    void lookFor(const std::string& name, const std::string& guid = "1a2b3c4d") {
        state.searchName = name;
        state.searchValue = guid;
        handler.lookupGuid(guid);
    }
    void answer(const std::string& finalUrl, const std::string& body, bool ok = true) {
        fp.pages.answer(ok ? test::fetched(body, 200, finalUrl) : test::unreached());
    }

    LookupHandler handler{state, settings, fp.platform, view, result};
    int lastCommandClears = 0;
};

// What one result call left behind, for every flag it has; `message` is
// the answer's start.
void expectResult(const LookupRig& rig, const std::string& sound, const std::string& message,
                  int expirySeconds, bool logged, bool copied) {
    EXPECT_EQ(rig.fp.sound.names(), std::vector<std::string>{sound});
    EXPECT_TRUE(rig.state.gLastStatusMsg.starts_with(message)) << rig.state.gLastStatusMsg;
    EXPECT_EQ(rig.folder.resultText(), renderResultScript(rig.state.gLastStatusMsg));
    EXPECT_TRUE(rig.modifiedCheck->isEnabled()) << "watcher not re-armed";
    EXPECT_EQ(rig.clearClip->isEnabled() ? rig.clearClip->interval() / 1000 : -1, expirySeconds);
    const std::string shown = trimBlanks(message.substr(0, message.find('{')));
    EXPECT_EQ(rig.fp.clipboard.text(), copied ? shown : "");
    EXPECT_EQ(rig.view.console.find("\r\n> ") != std::string::npos, logged);
}

TEST(LookupHandler, EveryPageOutcome) {
    const std::string three = aliasPage({"Alpha", "Bravo", "Charlie"}), none = test::noDataPage();
    const std::string list = "^7Alpha^2, ^7Bravo^2, ^7Charlie";
    const std::string noGuid = "No Player with GUID# '1a2b3c4d' was found.";
    const std::string noAliases = "-- No Aliases Found for Player 'Alpha' -- {Player has never "
                                  "visited a Vivereroz server before}";
    const std::string offline = "Error! Check your Internet Connectivity";
    const struct {
        std::string searchName, body;
        bool fetched;
        std::string sound;
        int expiry;
        bool logged, copied;
        std::string message, consoleHas;
    } cases[] = {
        {"GUID", three, true, "default.wav", -1, true, true, "3, GUID# '1a2b3c4d' = " + list, ""},
        {"Alpha", three, true, "default.wav", -1, false, true, "3, Alpha = " + list,
         "\r\n3 aliases found:\r\n    Alpha, Bravo, Charlie"},
        {"GUID", none, true, "close.wav", 15, true, false, noGuid, ""},
        {"GUID", aliasPage({}), true, "close.wav", 15, true, false, noGuid, ""},
        {"Alpha", none, true, "default.wav", -1, false, true, noAliases,
         "\r\n    -- No Aliases Found for Player 'Alpha' -- {Player has never"},
        {"GUID", "", false, "close.wav", -1, true, false, offline, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.searchName + ": " + c.message);
        LookupRig rig;
        rig.lookFor(c.searchName);
        rig.answer(kOwnPage, c.body, c.fetched);
        expectResult(rig, c.sound, c.message, c.expiry, c.logged, c.copied);
        EXPECT_NE(rig.view.console.find(c.consoleHas), std::string::npos) << rig.view.console;
    }
}

TEST(LookupHandler, PagesFromElsewhere) {
    for (const auto& [url, reported] :
         {std::pair{"http://elsewhere.example/?guid=1a2b3c4d", true}, {"", false}}) {
        SCOPED_TRACE(url);
        LookupRig rig;
        rig.state.searchName = "GUID";
        rig.handler.onLookupPageLoaded(url, aliasPage({"Alpha"}));
        EXPECT_EQ(rig.lastCommandClears, reported ? 1 : 0);
        if (!reported) {
            EXPECT_TRUE(rig.fp.dialogs.messages.empty());
            EXPECT_TRUE(rig.fp.sound.played.empty());
            EXPECT_EQ(rig.folder.resultText(), "");
            continue;
        }
        ASSERT_EQ(rig.fp.dialogs.messages.size(), 1u);
        EXPECT_TRUE(rig.fp.dialogs.messages[0].starts_with("Unknown URL.\n"));
        expectResult(rig, "close.wav", "UNKNOWN URL", -1, false, false);
    }
}

// LookupURL unset, empty or the address older versions used for it names the
// program's own alias database, at whatever address it runs now.
TEST(LookupHandler, AddressFormsAgreeWithTheirPages) {
    const std::string own = "http://127.0.0.1:41234";
    const struct {
        std::string configured; // override; empty: the setting
        std::string setting, guid, request;
        std::string finalUrl; // as the fetcher reports it; empty: none given
    } cases[] = {
        {kAddress, "", "1a2b3c4d", kAddress + "?guid=1a2b3c4d", kOwnPage},
        {kAddress, "", "1a2b3c4d", kAddress + "?guid=1a2b3c4d", ""},
        {kAddress, "", "a b&c", kAddress + "?guid=a%20b%26c", kAddress + "/?guid=a%20b%26c"},
        {"", "http://db.example:8080/", "1a2b3c4d", "http://db.example:8080?guid=1a2b3c4d",
         "http://db.example:8080/?guid=1a2b3c4d"},
        {"http://DB.Example:80", "", "1a2b3c4d", "http://DB.Example:80?guid=1a2b3c4d",
         "http://db.example/?guid=1a2b3c4d"},
        {"", "", "1a2b3c4d", own + "?guid=1a2b3c4d", own + "/?guid=1a2b3c4d"},
        {"", " http://127.0.0.1:27995/ ", "1a2b3c4d", own + "?guid=1a2b3c4d", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.request);
        LookupRig rig;
        rig.handler.setLookupUrlOverride(c.configured);
        rig.settings.write("Main", "LookupURL", c.setting);
        rig.handler.setOwnServiceAddress(own);
        EXPECT_EQ(rig.handler.usesOwnService(), c.request.starts_with(own));
        rig.lookFor("GUID", c.guid);
        ASSERT_EQ(rig.fp.pages.requests.size(), 1u);
        EXPECT_EQ(rig.fp.pages.requests[0].url, c.request);
        rig.answer(c.finalUrl, aliasPage({"Alpha"}));
        EXPECT_TRUE(rig.fp.dialogs.messages.empty());
        EXPECT_EQ(rig.fp.clipboard.text(), "1, GUID# '" + c.guid + "' = ^7Alpha");
    }
    // No address set and no own database running: nothing to ask.
    LookupRig rig;
    rig.handler.setLookupUrlOverride("");
    rig.handler.setOwnServiceAddress("");
    rig.lookFor("GUID");
    EXPECT_TRUE(rig.fp.pages.requests.empty());
    expectResult(rig, "close.wav", LookupHandler::noAddressError(), -1, true, false);
}

} // namespace
} // namespace hh
