#include "lookup/NameThiefWatch.h"

#include "gamelink/NameKey.h"

namespace hh {

bool isDefaultPlayerName(std::string_view name) {
    const std::string key = nameKey(name);
    return key == "unnamedplayer" || key == "player";
}

std::vector<Namesake> suspectsAmong(const RecordsReply& reply,
                                    const std::vector<SightedPlayer>& players) {
    std::vector<Namesake> suspects;
    for (const auto& player : players)
        for (const auto& n : reply.namesakes)
            if (n.guid == player.guid && n.owner != player.guid && !isDefaultPlayerName(n.name))
                suspects.push_back(n);
    return suspects;
}

std::string namesakeText(const Namesake& n, const std::string& wearerName) {
    return "'" + wearerName + "' (GUID " + n.guid + ") wears the most used name of GUID " +
           n.owner + " (" + std::to_string(n.uses) + " uses" +
           (n.lastSeen.empty() ? "" : ", last seen " + n.lastSeen) + ")";
}

NameThiefWatch::NameThiefWatch(RecordsClient& client,
                               std::function<void(const std::string&)> consoleLine)
    : client_(client), consoleLine_(std::move(consoleLine)) {}

void NameThiefWatch::check(const std::vector<SightedPlayer>& players) {
    if (players.empty() || state_->notOurs)
        return;
    std::weak_ptr<State> weak = state_;
    client_.players(players, [weak, players, console = consoleLine_](const RecordsReply& reply) {
        const auto state = weak.lock();
        if (!state || !console)
            return;
        if (!reply.error.empty()) {
            if (!state->failureReported)
                console("Name thieves cannot be checked: the alias database " + reply.error +
                        (reply.unreachable ? "; further failures are not shown."
                                           : "; no more checks until Handlehound restarts."));
            state->failureReported = true;
            // Another database will not learn the request; one that could not
            // be reached may be up with the next dump.
            state->notOurs = !reply.unreachable;
            return;
        }
        for (const auto& n : suspectsAmong(reply, players)) {
            if (state->named.size() >= kMaxRemembered)
                state->named.clear(); // at worst a case is named once more
            if (!state->named.insert(n.guid + '\n' + nameKey(n.name) + '\n' + n.owner).second)
                continue;
            for (const auto& p : players)
                if (p.guid == n.guid)
                    console("Name thief? " + namesakeText(n, p.name) + ".");
        }
    });
}

} // namespace hh
