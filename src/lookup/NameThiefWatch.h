#pragma once
// Someone in the player list wears the most used name of another GUID: the
// console pane says so at once, one line per new case (the same wearer,
// name and owner are not named again while the program runs).
#include "lookup/PlayerRecords.h"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace hh {

// The names engines give players who never chose one; strangers share them
// all the time, so wearing one is no theft.
bool isDefaultPlayerName(std::string_view name);
// Namesakes of the listing that are worth naming, in listing order.
std::vector<Namesake> suspectsAmong(const RecordsReply& reply,
                                    const std::vector<SightedPlayer>& players);
// "'Bob' (GUID 1a2b3c4d) wears the most used name of GUID 9f9f9f9f (40 uses,
// last seen 2026-12-01)", with the wearer's name as the dump shows it.
std::string namesakeText(const Namesake& n, const std::string& wearerName);

class NameThiefWatch {
  public:
    NameThiefWatch(RecordsClient& client, std::function<void(const std::string&)> consoleLine);
    // Asks the database about the listing; the warnings come when it answers.
    void check(const std::vector<SightedPlayer>& players);

    static constexpr std::size_t kMaxRemembered = 4096;

  private:
    // Shared with the answer callbacks, which may outlive the watch.
    struct State {
        std::set<std::string> named;
        bool failureReported = false;
        bool notOurs = false;
    };
    RecordsClient& client_;
    std::function<void(const std::string&)> consoleLine_;
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

} // namespace hh
