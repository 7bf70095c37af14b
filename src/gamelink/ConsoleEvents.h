#pragma once
// What the game console tells about the players around us: who connected,
// entered the game, changed name, left or was kicked, and which server we
// joined. Every Quake III engine prints the same lines (the server code is
// shared); the console log keeps their colour codes, the dump drops them.
#include <optional>
#include <string>
#include <string_view>

namespace hh {

enum class ConsoleEventKind {
    Connected,
    Entered,
    Renamed,
    Disconnected,
    Kicked,
    Server,
    GameStart
};

struct ConsoleEvent {
    ConsoleEventKind kind;
    std::string name;    // as printed, colour codes kept where the line has them
    std::string newName; // Renamed: the name taken
    // Server: "ip:port" of a server joined, or "localhost" for a game this
    // client runs itself.
    std::string server;
};

enum class ConsoleForm { Log, Dump };

// The event a console line tells of, or nullopt. A line the player typed
// ("]" + text) is never an event.
std::optional<ConsoleEvent> parseConsoleEvent(std::string_view line, ConsoleForm form);

const char* consoleEventWord(ConsoleEventKind kind); // "connected", "renamed", ...

} // namespace hh
