#include "gamelink/ConsoleEvents.h"

#include "common/Strings.h"

#include <array>

namespace hh {
namespace {

// Engine names are at most 36 bytes with their colour codes; anything far
// longer is no name.
constexpr std::size_t kMaxNameBytes = 64;
constexpr std::size_t kMaxServerBytes = 64;

// The engine ends every name it prints with "^7" (white) before the rest of
// the line; the dump has the colour codes removed.
std::string nameEnd(ConsoleForm form) {
    return form == ConsoleForm::Log ? "^7 " : " ";
}

// Chat stands as "<name>^7: <text>", so text another player says could
// otherwise pose as an event ("x^7 renamed to Bob"). Real names rarely hold
// the chat mark; those few are not recorded.
bool usableName(std::string_view name, ConsoleForm form) {
    const std::string_view chatMark = form == ConsoleForm::Log ? "^7:" : ": ";
    return !name.empty() && name.size() <= kMaxNameBytes && !contains(name, chatMark);
}

struct Suffix {
    std::string_view words;
    ConsoleEventKind kind;
};

// Lines the server sends to every client when a player arrives or leaves.
constexpr std::array<Suffix, 5> kSuffixes = {{
    {"connected", ConsoleEventKind::Connected},
    {"entered the game", ConsoleEventKind::Entered},
    {"disconnected", ConsoleEventKind::Disconnected},
    {"timed out", ConsoleEventKind::Disconnected},
    {"was kicked", ConsoleEventKind::Kicked},
}};

std::optional<ConsoleEvent> serverEvent(std::string_view line) {
    // The client prints "<address typed> resolved to <ip:port>" on every
    // connect; a game the client runs itself starts its own server.
    constexpr std::string_view kResolved = " resolved to ";
    if (const auto at = line.find(kResolved); at != std::string_view::npos) {
        const std::string_view typed = line.substr(0, at);
        const std::string_view address = line.substr(at + kResolved.size());
        // Neither part holds a blank; a chat line that says the words does.
        if (typed.empty() || address.empty() || address.size() > kMaxServerBytes ||
            contains(typed, " ") || contains(address, " "))
            return std::nullopt;
        return ConsoleEvent{ConsoleEventKind::Server, {}, {}, std::string(address)};
    }
    if (line == "------ Server Initialization ------")
        return ConsoleEvent{ConsoleEventKind::Server, {}, {}, "localhost"};
    if (line.starts_with("logfile opened on ") && !contains(line, "^7"))
        return ConsoleEvent{ConsoleEventKind::GameStart, {}, {}, {}};
    return std::nullopt;
}

} // namespace

std::optional<ConsoleEvent> parseConsoleEvent(std::string_view line, ConsoleForm form) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const std::string end = nameEnd(form);

    const std::string renamed = end + "renamed to ";
    if (const auto at = line.find(renamed); at != std::string_view::npos) {
        const std::string_view oldName = line.substr(0, at);
        const std::string_view newName = line.substr(at + renamed.size());
        if (!usableName(oldName, form) || !usableName(newName, form))
            return std::nullopt;
        return ConsoleEvent{
            ConsoleEventKind::Renamed, std::string(oldName), std::string(newName), {}};
    }
    for (const Suffix& suffix : kSuffixes) {
        const std::string tail = end + std::string(suffix.words);
        if (!endsWith(line, tail))
            continue;
        const std::string_view name = line.substr(0, line.size() - tail.size());
        if (!usableName(name, form))
            return std::nullopt;
        return ConsoleEvent{suffix.kind, std::string(name), {}, {}};
    }
    return serverEvent(line);
}

const char* consoleEventWord(ConsoleEventKind kind) {
    switch (kind) {
    case ConsoleEventKind::Connected:
        return "connected";
    case ConsoleEventKind::Entered:
        return "entered";
    case ConsoleEventKind::Renamed:
        return "renamed";
    case ConsoleEventKind::Disconnected:
        return "disconnected";
    case ConsoleEventKind::Kicked:
        return "kicked";
    case ConsoleEventKind::Server:
        return "server";
    case ConsoleEventKind::GameStart:
        return "gamestart";
    }
    return "";
}

} // namespace hh
