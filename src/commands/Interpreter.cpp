#include "commands/Interpreter.h"

#include "commands/ConsoleLog.h"
#include "commands/CountUpTimer.h"
#include "commands/HelpText.h"
#include "commands/PlayerLookup.h"
#include "commands/RecordCommands.h"
#include "commands/Reply.h"
#include "commands/SettingsCommands.h"
#include "commands/Texts.h"
#include "commands/UtilityCommands.h"
#include "commands/net/PingCommand.h"
#include "common/PathText.h"
#include "common/SharedState.h"
#include "common/Strings.h"
#include "gamelink/CommandPickup.h"
#include "gamelink/NameKey.h"
#include "gamelink/ResultCall.h"
#include "gamelink/ResultScript.h"
#include "platform/Platform.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace hh {
namespace {

constexpr std::string_view kPullToken = "pullfromfile"; // "pullFromFile" as processFile lowers it
constexpr std::string_view kDumpPrefix = "/hh ";
// Commands that always run afresh: their answers change by themselves.
constexpr std::string_view kNeverRepeated = "time, ping, ";
// Each "more" asks for the next page, never the last one again.
constexpr std::string_view kNextPage = "more";
// A dump whose command is the pull token itself would otherwise be pulled
// for ever; a few pulls also catch a dump rewritten while it is read.
constexpr int kMaxDumpPulls = 3;

} // namespace

struct Interpreter::Handlers {
    explicit Handlers(CommandContext& ctx)
        : utility(ctx), settings(ctx), countUp(ctx), players(ctx), ping(ctx), records(ctx) {}

    // Runs the handler of `word`; false when no word of the table matches.
    bool run(const std::string& word, const std::string& argument);
    static bool knows(std::string_view word);

    using Arg = const std::string&;
    struct Route {
        std::string_view word;
        void (*run)(Handlers&, Arg);
    };
    static const std::array<Route, 30> kRoutes;

    UtilityCommands utility;
    SettingsCommands settings;
    CountUpTimer countUp;
    PlayerLookup players;
    PingCommand ping;
    RecordCommands records;
};

// Compared in this order, exactly; the first match runs, and only a word none
// matches is a player's name: a player named "all" or "more" is reached with
// "/hh pb <slot>" or "/hh guid".
const std::array<Interpreter::Handlers::Route, 30> Interpreter::Handlers::kRoutes = {{
    {"quit", [](Handlers& h, Arg) { h.utility.quit(); }},
    {"disable", [](Handlers& h, Arg) { h.utility.disable(); }},
    {"heartbeat", [](Handlers& h, Arg) { h.utility.heartbeat(); }},
    {"hb", [](Handlers& h, Arg) { h.utility.heartbeat(); }},
    {"clear", [](Handlers& h, Arg) { h.utility.clear(); }},
    {"time", [](Handlers& h, Arg) { h.utility.time(); }},
    {"numaliases", [](Handlers& h, Arg a) { h.settings.numAliases(a); }},
    {"sepcolor", [](Handlers& h, Arg a) { h.settings.sepColor(a); }},
    {"namecolor", [](Handlers& h, Arg a) { h.settings.nameColor(a); }},
    {"commandkey", [](Handlers& h, Arg a) { h.settings.commandKey(a); }},
    {"cmdkey", [](Handlers& h, Arg a) { h.settings.commandKey(a); }},
    {"statuskey", [](Handlers& h, Arg a) { h.settings.statusKey(a); }},
    {"about", [](Handlers& h, Arg) { h.utility.about(); }},
    {"author", [](Handlers& h, Arg) { h.utility.author(); }},
    {"timer", [](Handlers& h, Arg a) { h.countUp.startCountTimer(a); }},
    {"commands", [](Handlers& h, Arg) { h.utility.help(); }},
    {"help", [](Handlers& h, Arg) { h.utility.help(); }},
    {"version", [](Handlers& h, Arg) { h.utility.version(); }},
    {"ver", [](Handlers& h, Arg) { h.utility.version(); }},
    {"pb", [](Handlers& h, Arg a) { h.players.byPbId(a); }},
    {"issuedelay", [](Handlers& h, Arg a) { h.settings.issueDelay(a); }},
    {"mod", [](Handlers& h, Arg a) { h.settings.mod(a); }},
    {"ping", [](Handlers& h, Arg a) { h.ping.run(a); }},
    {"save", [](Handlers& h, Arg a) { h.utility.save(a); }},
    {"copy", [](Handlers& h, Arg a) { h.utility.copy(a); }},
    {"guid", [](Handlers& h, Arg a) { h.players.byGuid(a); }},
    {"all", [](Handlers& h, Arg) { h.records.all(); }},
    {"more", [](Handlers& h, Arg) { h.records.more(); }},
    {"seen", [](Handlers& h, Arg a) { h.records.seen(a); }},
    {"check", [](Handlers& h, Arg) { h.records.check(); }},
}};

bool Interpreter::Handlers::knows(std::string_view word) {
    return std::any_of(kRoutes.begin(), kRoutes.end(),
                       [word](const Route& route) { return route.word == word; });
}

bool Interpreter::Handlers::run(const std::string& word, const std::string& argument) {
    for (const Route& route : kRoutes)
        if (route.word == word) {
            route.run(*this, argument);
            return true;
        }
    return false;
}

Interpreter::Interpreter(CommandContext context)
    : ctx_(context), handlers_(std::make_unique<Handlers>(ctx_)) {}

Interpreter::~Interpreter() = default;

void Interpreter::processFile(const std::string& strInCmd, int /*unused*/) {
    ctx_.modifiedCheck.stop();
    ctx_.clearClip.stop();
    auto [word, argument] = splitAtFirstBlank(toLower(trimBlanks(strInCmd)));
    if (const auto command = fetch(word, argument))
        dispatch(*command, argument);
}

std::string Interpreter::fetchCommand(std::string& word, std::string& argument) {
    return fetch(word, argument).value_or(std::string(texts::kReturnCmd));
}

std::optional<std::string> Interpreter::fetch(std::string& word, std::string& argument) {
    if (!word.empty() && word.size() < 2) {
        replyError(ctx_, "ERROR! NAME TOO SHORT. Name string must be at least 2 Characters long.");
        setLastCommand(word, argument);
        return std::nullopt;
    }
    bool pulled = false;
    for (int pulls = 0;; ++pulls) {
        if (word.empty()) {
            setLastCommand(word, argument);
            resumeListening(pulled);
            return std::nullopt;
        }
        if (word != kPullToken || pulls == kMaxDumpPulls)
            break;
        const std::string text = findCommandInDump(pathOf(ctx_.state.gDumpFileAbsPath), kDumpPrefix,
                                                   &ctx_.state.lastDumpText);
        pulled = true;
        if (answeredFromLog(text))
            return std::nullopt;
        // Without a blank the text is all word and the argument stays as it was.
        const auto blank = text.find(' ');
        word = text.substr(0, blank);
        if (blank != std::string::npos)
            argument = text.substr(blank + 1);
        ctx_.platform.events.processPendingEvents();
    }
    return unlessRepeat(word, argument);
}

void Interpreter::runLoggedCommand(const std::string& text) {
    ctx_.modifiedCheck.stop();
    ctx_.clearClip.stop();
    ctx_.state.lastLogCommand = text;
    const auto [word, argument] = splitAtFirstBlank(text);
    if (word.empty()) {
        setLastCommand(word, argument);
        resumeListening(false);
        return;
    }
    if (const auto command = unlessRepeat(word, argument))
        dispatch(*command, argument);
}

bool Interpreter::answeredFromLog(const std::string& dumpCommand) {
    SharedState& state = ctx_.state;
    // While the log is followed, the dump's newest typed line is one the log
    // showed as it was typed. The dump drops colour codes and wraps a long
    // line, so its text is the start of the log's.
    if (!state.consoleLogLive || state.lastLogCommand.empty() ||
        !startsWith(withoutColourCodes(state.lastLogCommand), dumpCommand))
        return false;
    const auto [word, argument] = splitAtFirstBlank(state.lastLogCommand);
    // The Command key's dump brings a fresh player list, which is what a
    // player lookup needs; any other command typed once runs once.
    if (word == "pb" || (!Handlers::knows(word) && argument.empty())) {
        clearLastCommand();
        return false;
    }
    ctx_.writer.restorePreviousScript(); // takes back "Updating Player List Info. . ."
    if (state.monitoringOn)
        ctx_.modifiedCheck.start();
    return true;
}

std::optional<std::string> Interpreter::unlessRepeat(const std::string& word,
                                                     const std::string& argument) {
    const SharedState& state = ctx_.state;
    if (word == state.gLastCommand && argument == state.gLastArg &&
        !contains(kNeverRepeated, state.gLastCommand) && word != kNextPage) {
        const int seconds = contains(helpText(), state.gLastCommand) ? 15 : -1;
        ctx_.result.readyForNextCmd(std::string(sounds::kDefault), std::string(texts::kRepeatLast),
                                    true, seconds, true, true, false);
        setLastCommand(word, argument);
        return std::nullopt;
    }
    setLastCommand(word, argument);
    return word;
}

void Interpreter::resumeListening(bool pulledFromDump) {
    // No result call follows, yet processFile stopped the watcher: re-arm it,
    // or the program would stop listening for good. The watcher has already
    // taken in this dump's time, so it waits for the next one.
    if (pulledFromDump)
        ctx_.writer.writeResultScript(""); // replaces "Updating Player List Info. . ."
    if (ctx_.state.monitoringOn)
        ctx_.modifiedCheck.start();
}

void Interpreter::dispatch(const std::string& word, const std::string& argument) {
    if (handlers_->run(word, argument))
        return;
    if (argument.empty()) {
        handlers_->players.byName(word);
        return;
    }
    replyError(ctx_, "Error! Unkown Command '" + word +
                         "'. {For a list of available commands, use '/hh help'.}");
}

void Interpreter::runTypedCommand(std::string word, std::string argument) {
    // A word the help text does not know is taken for a player's name.
    if (!contains(helpText(), word)) {
        if (word != ctx_.state.gLastCommand)
            ctx_.writer.writeResultScript("Searching for player: '^7" + word + "^3'. . .");
    } else if (word == "guid") {
        ctx_.writer.writeResultScript("Searching for player with GUID# '^7" + argument +
                                      "^3'. . .");
    } else if (word == "pb") {
        ctx_.writer.writeResultScript("Searching for player with PunkBuster ID number '^7" +
                                      argument + "^3'. . .");
    }
    if (word.empty())
        word = "-1"; // the lookup answers it with the unrecognized-command error
    processFile(word + " " + argument, 1);
}

void Interpreter::setLastCommand(const std::string& word, const std::string& argument) {
    ctx_.state.gLastCommand = word;
    ctx_.state.gLastArg = argument;
}

void Interpreter::clearLastCommand() {
    setLastCommand("", "");
}

void Interpreter::LogConsoleText(const std::string& consoleText) {
    hh::LogConsoleText(ctx_.platform, consoleText);
}

} // namespace hh
