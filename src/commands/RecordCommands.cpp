#include "commands/RecordCommands.h"

#include "commands/PlayerLookup.h"
#include "commands/Reply.h"
#include "commands/Texts.h"
#include "common/MainView.h"
#include "common/SharedState.h"
#include "common/Strings.h"
#include "gamelink/CommandPickup.h"
#include "gamelink/NameKey.h"
#include "gamelink/PlayerList.h"
#include "gamelink/ResultCall.h"
#include "gamelink/ResultScript.h"
#include "lookup/GameText.h"
#include "lookup/LookupHandler.h"
#include "lookup/NameHistory.h"
#include "lookup/NameThiefWatch.h"
#include "platform/Platform.h"

#include <algorithm>
#include <memory>

namespace hh {
namespace {

const std::string kSeenUsage = " {Command usage: '/hh seen <name>'}";

std::string plural(std::size_t n, const std::string& one, const std::string& many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Searching notes go to the game at once, as for a lookup.
void showSearching(CommandContext& ctx, const std::string& gameText, const std::string& plain) {
    ctx.writer.writeResultScript(gameText);
    ctx.view.setStatusText(plain);
}

} // namespace

RecordCommands::RecordCommands(CommandContext ctx)
    : ctx_(ctx), records_(ctx.platform, [&lookup = ctx.lookup] { return lookup.lookupAddress(); }) {
}

std::string RecordCommands::nameColour() const {
    return ctx_.state.nameColor.empty() ? "^7" : ctx_.state.nameColor;
}

bool RecordCommands::currentPlayers(PlayerListing& listing) {
    if (const std::string error = playerListProblem(ctx_, listing.problem); !error.empty()) {
        replyError(ctx_, error);
        return false;
    }
    if (listing.players.empty()) {
        const std::string dump = dumpInModText(ctx_);
        replyError(ctx_, "Error! The player list in '" + dump + "' holds no players. {Press '" +
                             commandKeyName(ctx_) + "' to update the PlayerList info in '" + dump +
                             "'}");
        return false;
    }
    return true;
}

bool RecordCommands::replyFailure(const RecordsReply& reply) {
    if (reply.error.empty())
        return false;
    if (reply.unreachable) {
        ctx_.result.readyForNextCmd(std::string(sounds::kClose),
                                    ctx_.lookup.lookupAddress().empty()
                                        ? LookupHandler::noAddressError()
                                        : "Error! Check your Internet Connectivity",
                                    true, -1, true, false, false);
        return true;
    }
    replyError(ctx_, "Error! The alias database at '" + ctx_.lookup.lookupAddress() +
                         "' cannot answer this: it " + reply.error +
                         ". {'/hh all', '/hh seen' and '/hh check' need Handlehound's own alias "
                         "database} {'/hh <name>' still looks up one player}");
    return true;
}

void RecordCommands::replyPages(std::vector<std::string> pages) {
    const std::string first = pages.front();
    ctx_.lookup.pages().keep({std::move(pages), false, true});
    ctx_.result.readyForNextCmd(std::string(sounds::kDefault), first, true, -1, true, false, false);
}

void RecordCommands::all() {
    PlayerListing listing = currentPlayersIn(readDumpCreatingIt(ctx_.state.gDumpFileAbsPath));
    // Without a PunkBuster list the console still showed who came and who
    // changed name.
    if (!listing.problem.empty() && !ctx_.state.namesOnServer.empty()) {
        allFromRenames(ctx_.state.namesOnServer);
        return;
    }
    if (!currentPlayers(listing))
        return;
    const std::vector<SightedPlayer> players = std::move(listing.players);
    const std::string looking = "Looking up all " + plural(players.size(), "player", "players");
    showSearching(ctx_, looking + ". . .", looking + ". . .");
    records_.players(players, [this, players](const RecordsReply& reply) {
        if (replyFailure(reply))
            return;
        const std::string nc = nameColour();
        std::vector<std::string> lines;
        for (const auto& player : players) {
            std::string line = nc + gameName(player.name, nc) + "^3 - ";
            const PlayerRecord* record = nullptr;
            for (const auto& r : reply.players)
                if (r.guid == player.guid)
                    record = &r;
            if (!record || record->aliases == 0) {
                lines.push_back(line + "no record");
                continue;
            }
            line += plural(static_cast<std::size_t>(record->aliases), "alias", "aliases");
            if (!record->otherName.empty())
                line += ", most used " + nc + gameName(record->otherName, nc) + "^3(" +
                        std::to_string(record->otherUses) + ")";
            if (!record->firstSeen.empty())
                line += ", first seen " + record->firstSeen;
            lines.push_back(line);
        }
        replyPages(linePages(plural(players.size(), "player", "players") + " in this list:", lines,
                             kLinesPerPage));
    });
}

void RecordCommands::seen(const std::string& argument) {
    const std::string name = trimBlanks(toUtf8FromDump(argument));
    if (name.empty()) {
        replyError(ctx_, "Error! Missing argument - Name." + kSeenUsage);
        return;
    }
    if (!isSightingText(name, kMaxSightingNameBytes) || nameKey(name).empty()) {
        replyError(ctx_, "Error! A name is 1 to 64 characters, more than colour codes and no "
                         "control characters." +
                             kSeenUsage);
        return;
    }
    const std::string shown = "'^7" + gameName(name, "^7") + "^3'";
    showSearching(ctx_, "Looking up who used " + shown + ". . .",
                  "Looking up who used '" + withoutColourCodes(name) + "'. . .");
    records_.seen(name, [this, name, shown](const RecordsReply& reply) {
        if (replyFailure(reply))
            return;
        if (reply.seen.empty()) {
            // No GUID wore it: the renames the console showed may still know it.
            ctx_.lookup.lookupNameLinks(name,
                                        "Nobody in the alias database has used " + shown + ".",
                                        std::string(sounds::kDefault));
            return;
        }
        const std::string nc = nameColour();
        std::vector<std::string> lines;
        for (const auto& s : reply.seen)
            lines.push_back(nc + gameName(s.name, nc) + "^3 - GUID " + s.guid + ", " +
                            plural(static_cast<std::size_t>(s.uses), "use", "uses") +
                            (s.lastSeen.empty() ? "" : ", last seen " + s.lastSeen));
        replyPages(linePages(shown + " was used by " + plural(reply.seen.size(), "GUID", "GUIDs") +
                                 " (most used name, last seen first):",
                             lines, kLinesPerPage));
    });
}

void RecordCommands::allFromRenames(const std::vector<std::string>& names) {
    const std::string looking =
        "Looking up the renames of " + plural(names.size(), "player", "players");
    showSearching(ctx_, looking + ". . .", looking + ". . .");
    struct Gathered {
        std::vector<std::vector<NameLink>> links;
        std::size_t left = 0;
        bool unreachable = false;
    };
    auto gathered = std::make_shared<Gathered>();
    gathered->links.resize(names.size());
    gathered->left = names.size();
    const std::string address = ctx_.lookup.lookupAddress();
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string url = serviceUrl(address, "/links?name=" + percentEncoded(names[i]));
        ctx_.platform.pages.get(url, [this, names, gathered, i](const FetchResult& fetched) {
            if (fetched.ok && fetched.httpStatus == 200)
                gathered->links[i] = parseNameLinks(fetched.body, kLinkedNamesShown + 1);
            gathered->unreachable |= !fetched.ok;
            if (--gathered->left > 0)
                return;
            if (gathered->unreachable) {
                RecordsReply failed;
                failed.error = "could not be reached";
                failed.unreachable = true;
                replyFailure(failed);
                return;
            }
            const std::string nc = nameColour();
            std::vector<std::string> lines;
            for (std::size_t n = 0; n < names.size(); ++n) {
                const auto& links = gathered->links[n];
                std::string line = nc + gameName(names[n], nc) + "^3 - ";
                if (links.empty())
                    line += "no renames seen";
                for (std::size_t k = 0; k < std::min(links.size(), kLinkedNamesShown); ++k)
                    line += (k == 0 ? "was " : "^3, ") + nc + gameName(links[k].name, nc);
                if (links.size() > kLinkedNamesShown)
                    line += "^3, ...";
                lines.push_back(line);
            }
            replyPages(linePages(plural(names.size(), "player", "players") +
                                     " on this server, names from renames newest first:",
                                 lines, kLinesPerPage));
        });
    }
}

void RecordCommands::check() {
    PlayerListing listing = currentPlayersIn(readDumpCreatingIt(ctx_.state.gDumpFileAbsPath));
    if (!currentPlayers(listing))
        return;
    const std::vector<SightedPlayer> players = std::move(listing.players);
    const std::string looking =
        "Checking " + plural(players.size(), "player", "players") + " for name thieves";
    showSearching(ctx_, looking + ". . .", looking + ". . .");
    records_.players(players, [this, players](const RecordsReply& reply) {
        if (replyFailure(reply))
            return;
        const auto suspects = suspectsAmong(reply, players);
        if (suspects.empty()) {
            replyStandard(ctx_, sounds::kDefault,
                          "No name thieves among the " +
                              plural(players.size(), "player", "players") + " of this list.");
            return;
        }
        const std::string nc = nameColour();
        std::vector<std::string> lines;
        for (const auto& n : suspects)
            for (const auto& p : players)
                if (p.guid == n.guid)
                    lines.push_back(namesakeText(n, nc + gameName(p.name, nc) + "^3"));
        replyPages(linePages(
            plural(suspects.size(), "suspect", "suspects") + " in this player list:", lines,
            kLinesPerPage));
    });
}

void RecordCommands::more() {
    std::string whyNot;
    AnswerPages& pages = ctx_.lookup.pages();
    const auto page = pages.next(whyNot);
    if (!page) {
        replyStandard(ctx_, startsWith(whyNot, "Error!") ? sounds::kClose : sounds::kDefault,
                      whyNot);
        return;
    }
    ctx_.result.readyForNextCmd(std::string(sounds::kDefault), *page, true, -1, pages.answer().log,
                                pages.answer().copyToClip, false);
}

} // namespace hh
