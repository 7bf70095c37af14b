#include "lookup/LookupHandler.h"

#include "common/MainView.h"
#include "common/SharedState.h"
#include "common/Strings.h"
#include "gamelink/ResultCall.h"
#include "gamelink/Sightings.h"
#include "lookup/AliasList.h"
#include "lookup/AliasPage.h"
#include "lookup/NameHistory.h"
#include "platform/Platform.h"
#include "settings/Settings.h"

#include <algorithm>

namespace hh {
namespace {

// What a browser shows when it reaches no server; a failed fetch is handed
// to the page handler as this page so that every failure takes one road.
constexpr const char* kBrowserErrorPage = "Cannot find server or DNS Error";
constexpr const char* kAuthorContact = "bugs@handlehound.example";

std::string orDefault(const std::string& value, const char* fallback) {
    return value.empty() ? std::string(fallback) : value;
}

// The form in which a fetched page reports its address: scheme and host in
// lower case, no default port, and "/" after the host when there is no path.
// Both the request and the recognised prefix go through it so they agree.
std::string normaliseUrl(std::string_view url) {
    const auto schemeEnd = url.find("://");
    if (schemeEnd == std::string_view::npos)
        return std::string(url);
    const std::string scheme = toLower(url.substr(0, schemeEnd));
    const auto hostStart = schemeEnd + 3;
    auto hostEnd = url.find_first_of("/?#", hostStart);
    if (hostEnd == std::string_view::npos)
        hostEnd = url.size();
    std::string host = toLower(url.substr(hostStart, hostEnd - hostStart));
    if ((scheme == "http" && endsWith(host, ":80")) ||
        (scheme == "https" && endsWith(host, ":443")))
        host.erase(host.rfind(':'));
    const std::string_view rest = url.substr(hostEnd);
    return concat({scheme, "://", host, rest.starts_with('/') ? "" : "/", rest});
}

} // namespace

LookupHandler::LookupHandler(SharedState& state, Settings& settings, Platform& platform,
                             MainView& view, ResultCall& result)
    : state_(state), settings_(settings), platform_(platform), view_(view), result_(result) {}

void LookupHandler::setLookupUrlOverride(const std::string& url) {
    urlOverride_ = url;
}

bool LookupHandler::usesOwnService() const {
    return trimBlanks(urlOverride_).empty() && settings_.lookupUrl().empty();
}

void LookupHandler::setOwnServiceAddress(const std::string& address) {
    ownServiceAddress_ = address;
}

std::string LookupHandler::lookupAddress() const {
    std::string address = trimBlanks(urlOverride_.empty() ? settings_.lookupUrl() : urlOverride_);
    if (address.empty())
        address = ownServiceAddress_;
    while (!address.empty() && address.back() == '/')
        address.pop_back();
    return address;
}

void LookupHandler::setClearLastCommand(std::function<void()> clearLastCommand) {
    clearLastCommand_ = std::move(clearLastCommand);
}

std::string LookupHandler::noAddressError() {
    return "Error! No alias database to ask. {Set its address in handleHound.ini, Main / "
           "LookupURL, or start Handlehound with --lookup-url URL}";
}

void LookupHandler::lookupGuid(const std::string& guid) {
    if (lookupAddress().empty()) {
        result_.readyForNextCmd("close.wav", noAddressError(), true, -1, true, false, false);
        return;
    }
    const std::string request = lookupAddress() + "?guid=" + percentEncoded(guid);
    platform_.pages.get(request, [this, request](const FetchResult& fetched) {
        if (!fetched.ok) {
            onLookupPageLoaded(normaliseUrl(request), kBrowserErrorPage);
            return;
        }
        const std::string& address = fetched.finalUrl.empty() ? request : fetched.finalUrl;
        onLookupPageLoaded(normaliseUrl(address), fetched.body);
    });
}

void LookupHandler::lookupNameLinks(const std::string& name, const std::string& withoutLinks,
                                    const std::string& withoutLinksSound) {
    view_.setStatusText("Searching for names linked to '" + name + "'. . .");
    const std::string request = serviceUrl(lookupAddress(), "/links?name=" + percentEncoded(name));
    platform_.pages.get(request, [this, name, withoutLinks,
                                  withoutLinksSound](const FetchResult& fetched) {
        const std::size_t limit = static_cast<std::size_t>(std::max<int>(state_.numAliases, 1));
        const auto links = fetched.ok && fetched.httpStatus == 200
                               ? parseNameLinks(fetched.body, limit)
                               : std::vector<NameLink>{};
        if (links.empty()) {
            result_.readyForNextCmd(withoutLinksSound, withoutLinks, true, 15, true, false, false);
            return;
        }
        const AliasColours colours{orDefault(state_.nameColor, "^7"),
                                   orDefault(state_.sepColor, "^2")};
        result_.readyForNextCmd("default.wav", nameHistoryLine(name, links, colours), true, -1,
                                true, true, false);
    });
}

void LookupHandler::onLookupPageLoaded(const std::string& url, const std::string& html) {
    if (!startsWith(url, normaliseUrl(lookupAddress() + "?guid"))) {
        // A blank page or an empty address is a browser's start, not a page.
        if (url.empty() || url == "http:///")
            return;
        platform_.dialogs.messageBox(std::string("Unknown URL.\nPlease report this error to "
                                                 "the author of Handlehound: ") +
                                         kAuthorContact,
                                     MessageIcon::Critical);
        result_.readyForNextCmd("close.wav", "UNKNOWN URL", true, -1, false, false, false);
        // The next command must not be taken for a repeat of this one.
        if (clearLastCommand_)
            clearLastCommand_();
        return;
    }

    const AliasColours colours{orDefault(state_.nameColor, "^7"), orDefault(state_.sepColor, "^2")};
    const ParsedAliases parsed = parseAliasPage(html, state_.numAliases, colours);
    const bool byGuid = state_.searchName == "GUID";
    if (parsed.list == "error") {
        result_.readyForNextCmd("close.wav", "Error! Check your Internet Connectivity", true, -1,
                                true, false, false);
        return;
    }

    std::string line;
    if (parsed.list.empty()) {
        if (byGuid) {
            result_.readyForNextCmd(
                "close.wav",
                "No Player with GUID# '" + state_.searchValue +
                    "' was found. {You may verify a player's GUID# with the 'pb_plist' command} "
                    "{You must type in the GUID# - pressing Ctrl+V will not work} {The GUID# CAN "
                    "refer to a player not currently on the server}",
                true, 15, true, false, false);
            return;
        }
        line = "-- No Aliases Found for Player '" + state_.searchName +
               "' -- {Player has never visited a Vivereroz server before}";
        view_.appendConsole("\r\n    " + line);
    } else {
        const AliasListAnswer answer = aliasListAnswer(
            parsed, byGuid ? "GUID# '" + state_.searchValue + "'" : state_.searchName,
            state_.numAliases, colours, settings_.aliasesInPageOrder());
        state_.aliasCount = answer.aliasCount;
        state_.countPrefix = answer.countPrefix;
        line = answer.pages.front();
        pages_.keep({answer.pages, true, byGuid});
        if (!byGuid)
            view_.appendConsole("\r\n" + std::to_string(answer.aliasCount) +
                                " aliases found:\r\n    " + answer.consoleList);
    }
    result_.readyForNextCmd("default.wav", trimBlanks(line), true, -1, byGuid, true, false);
}

} // namespace hh
