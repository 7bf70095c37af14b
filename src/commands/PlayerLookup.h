#pragma once
// The lookups: a player by PunkBuster slot or by name through the dump's
// player list, and a GUID straight to the alias database. A found GUID ends
// in a page request; the page's handler makes the result call.
#include "commands/CommandContext.h"

#include <string>

namespace hh {

class PlayerLookup {
  public:
    explicit PlayerLookup(CommandContext ctx);

    void byPbId(const std::string& argument);
    void byGuid(const std::string& argument);
    void byName(const std::string& searchText);

  private:
    void startAliasLookup(const std::string& guid);

    CommandContext ctx_;
};

// The error for a player list's problem ("needPList", "empty"), or "" for
// any other answer.
std::string playerListProblem(const CommandContext& ctx, const std::string& answer);

} // namespace hh
