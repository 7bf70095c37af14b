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
#include "lookup/NameThiefWatch.h"

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

bool RecordCommands::currentPlayers(std::vector<SightedPlayer>& players) {
    PlayerListing listing = currentPlayersIn(readDumpCreatingIt(ctx_.state.gDumpFileAbsPath));
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
    players = std::move(listing.players);
    return true;
}

bool RecordCommands::replyFailure(const RecordsReply& reply) {
    if (reply.error.empty())
        return false;
    if (reply.unreachable) {
        ctx_.result.readyForNextCmd(std::string(sounds::kClose),
                                    "Error! Check your Internet Connectivity", true, -1, true,
                                    false, false);
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
    std::vector<SightedPlayer> players;
    if (!currentPlayers(players))
        return;
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
    records_.seen(name, [this, shown](const RecordsReply& reply) {
        if (replyFailure(reply))
            return;
        if (reply.seen.empty()) {
            replyStandard(ctx_, sounds::kDefault,
                          "Nobody in the alias database has used " + shown + ".");
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

void RecordCommands::check() {
    std::vector<SightedPlayer> players;
    if (!currentPlayers(players))
        return;
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
