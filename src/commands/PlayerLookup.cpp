#include "commands/PlayerLookup.h"

#include "commands/Numeric.h"
#include "commands/Reply.h"
#include "common/MainView.h"
#include "common/PathText.h"
#include "common/SharedState.h"
#include "common/Strings.h"
#include "gamelink/PlayerList.h"
#include "gamelink/ResultScript.h"
#include "lookup/LookupHandler.h"

namespace hh {
namespace {
const std::string kPbListHint =
    " {Enter '/pb_plist' to verify a given player's PunkBuster ID Number}";
const std::string kUsage = "{Command usage: '/hh <command>'} ";
const std::string kHelpHint = "{For a list of available commands, use '/hh help'.}";
} // namespace

PlayerLookup::PlayerLookup(CommandContext ctx) : ctx_(ctx) {}

void PlayerLookup::byPbId(const std::string& argument) {
    if (argument.empty()) {
        replyError(ctx_, "Error! Missing argument - PunkBuster ID Number. {Command Usage: '/hh pb "
                         "<PunkBuster ID Number>'}" +
                             kPbListHint);
        return;
    }
    ctx_.state.searchByPbId = true;
    byName(argument);
}

void PlayerLookup::byGuid(const std::string& argument) {
    // Only the length is checked: the database answers for anything else.
    if (argument.size() != 8) {
        replyError(ctx_, "Error! Invalid argument - GUID#. {A Valid GUID# contains exactly 8 "
                         "alpha/numeric characters}");
        return;
    }
    ctx_.state.searchName = "GUID";
    ctx_.state.searchValue = argument;
    ctx_.view.setStatusText("Searching for player with GUID# '" + argument + "'. . .");
    ctx_.lookup.lookupGuid(argument);
}

void PlayerLookup::byName(const std::string& searchText) {
    // The help line's placeholder copied as it stands names nobody.
    const std::string text = contains(searchText, "<command/name>") ? "" : searchText;
    const std::string key = commandKeyName(ctx_);
    const std::string dump = dumpInModText(ctx_);
    const std::string update =
        "{Press '" + key + "' to update the PlayerList info in '" + dump + "'}";

    if (text.empty() || text == "-1") {
        replyError(ctx_, "Error! Unrecognized command Or no command supplied. " + kUsage +
                             kHelpHint + " " + update);
        return;
    }
    if (text == "No_Command_Found") {
        replyError(ctx_, "Error! No Handlehound command was found in '" + dump + "'. " + kUsage +
                             kHelpHint + " {Press '" + key + "' to update the PlayerList info in " +
                             dump + "}");
        return;
    }

    SharedState& state = ctx_.state;
    state.searchName = text;
    state.searchValue = findPlayerInDump(pathOf(state.gDumpFileAbsPath), text, state.searchByPbId,
                                         state.searchName);
    const std::string& answer = state.searchValue;

    if (const std::string error = playerListProblem(ctx_, answer); !error.empty()) {
        // Without a PunkBuster list a name is still known by the renames the
        // console showed; the error stands when there are none.
        if (state.searchByPbId)
            replyError(ctx_, error);
        else
            ctx_.lookup.lookupNameLinks(text, error);
    } else if (answer.empty() && state.searchByPbId) {
        ctx_.view.appendConsole("\r\n>Punkbuster ID:  " + text);
        replyError(ctx_, isNumeric(text)
                             ? "No player found with PunkBuster ID Number '" + text + "'. " +
                                   update + kPbListHint
                             : "Error! The PunkBuster ID Number argument must be a Number. "
                               "{Command Usage: '/hh pb <PunkBuster ID Number>'}" +
                                   kPbListHint);
    } else if (answer.empty()) {
        ctx_.view.appendConsole("\r\n>Name:  " + text);
        replyError(ctx_, "Error! '" + text +
                             "' is not a valid PlayerName or Command. {You may verify a Player's "
                             "true name with 'pb_plist'.} " +
                             update +
                             " {For a list of commands and a brief explanation of each, use "
                             "'/hh help'}");
    } else {
        startAliasLookup(answer);
    }
}

std::string playerListProblem(const CommandContext& ctx, const std::string& answer) {
    const std::string key = commandKeyName(ctx);
    const std::string dump = dumpInModText(ctx);
    if (answer == "needPList")
        return "Error!  No PlayerList info found in '" + dump + "'.  '{Press " + key +
               "' to update the PlayerList info in '" + dump + "'}";
    if (answer == "empty")
        return "Error!  the dump file ('" + dump +
               "') is empty.  {You can change the current Mod setting with the '/hh mod' "
               "Command} {Press '" +
               key + "' to update the PlayerList info in '" + dump + "'}";
    return {};
}

void PlayerLookup::startAliasLookup(const std::string& guid) {
    const std::string name = ctx_.state.searchName;
    ctx_.view.appendConsole("\r\n>Name:  " + name + "\r\n GUID:  " + guid);
    ctx_.writer.writeResultScript("Searching for player: '^7" + name + "^3' (GUID: ^7" + guid +
                                  "^3). . .");
    ctx_.view.setStatusText("Searching for player: '" + name + "' (GUID: " + guid + "). . .");
    // A fetch that fails still arrives at the page handler, which reports it.
    ctx_.lookup.lookupGuid(guid);
}

} // namespace hh
