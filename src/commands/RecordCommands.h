#pragma once
// The commands that ask the alias database about more than one GUID:
//   all     every player of the dump's list: names known, most used other
//           name, first sighting (one request for the whole list)
//   seen    the GUIDs that used a name
//   check   players who wear another GUID's most used name
//   more    the next page of the last answer that did not fit
// Like a lookup, the first three end in a request; the answer's arrival
// makes the result call.
#include "commands/CommandContext.h"
#include "gamelink/PlayerList.h"
#include "lookup/PlayerRecords.h"

#include <string>

namespace hh {

class RecordCommands {
  public:
    explicit RecordCommands(CommandContext ctx);

    void all();
    void seen(const std::string& argument);
    void check();
    void more();

    // Lines of a player list answer on one page.
    static constexpr std::size_t kLinesPerPage = 16;
    // Linked names on one line of "all" without PunkBuster.
    static constexpr std::size_t kLinkedNamesShown = 4;

  private:
    // The players of the dump's last listing; false when there are none
    // (the player was told).
    bool currentPlayers(PlayerListing& listing);
    // "all" where there is no PunkBuster list: the names the console showed
    // on this server, each with the names its renames link it to.
    void allFromRenames(const std::vector<std::string>& names);
    // The database's failure as the player reads it; false when there was none.
    bool replyFailure(const RecordsReply& reply);
    // Shows the first page and keeps the rest for "more".
    void replyPages(std::vector<std::string> pages);
    std::string nameColour() const;

    CommandContext ctx_;
    RecordsClient records_;
};

} // namespace hh
