// Console lines as the engines print them (seen live with Debian's OpenArena
// and ioquake3; id's 1.32 prints the same server lines and its own connect
// line), in the log's form with colour codes and the dump's without; and the
// lines other players could use to fake an event.
#include "gamelink/ConsoleEvents.h"

#include <gtest/gtest.h>

namespace hh {
namespace {

std::string describe(const std::optional<ConsoleEvent>& e) {
    if (!e)
        return "-";
    std::string s = consoleEventWord(e->kind);
    if (!e->name.empty())
        s += " " + e->name;
    if (!e->newName.empty())
        s += " > " + e->newName;
    if (!e->server.empty())
        s += " @" + e->server;
    return s;
}

TEST(ConsoleEvents, LinesOfEachEngine) {
    const struct {
        ConsoleForm form;
        std::string line, event;
    } cases[] = {
        // OpenArena and ioquake3, console log.
        {ConsoleForm::Log, "Sarge^7 connected", "connected Sarge"},
        {ConsoleForm::Log, "UnnamedPlayer^7 entered the game", "entered UnnamedPlayer"},
        {ConsoleForm::Log, "Alpha^7 renamed to ^1Bra^7vo", "renamed Alpha > ^1Bra^7vo"},
        {ConsoleForm::Log, "Charlie^7 disconnected", "disconnected Charlie"},
        {ConsoleForm::Log, "Sarge^7 was kicked", "kicked Sarge"},
        {ConsoleForm::Log, "Lagger^7 timed out", "disconnected Lagger"},
        {ConsoleForm::Log, "localhost:43194 resolved to 127.0.0.1:43194",
         "server @127.0.0.1:43194"},
        {ConsoleForm::Log, "------ Server Initialization ------", "server @localhost"},
        {ConsoleForm::Log, "logfile opened on Sun Dec  6 11:17:36 2026", "gamestart"},
        // id's 1.32: its connect line, and the dump's form of the server lines.
        {ConsoleForm::Log, "q3.example.org resolved to 192.0.2.7:27960", "server @192.0.2.7:27960"},
        {ConsoleForm::Dump, "Sarge connected", "connected Sarge"},
        {ConsoleForm::Dump, "Sarge was kicked\r", "kicked Sarge"},
        // Not events: chat saying the words, typed lines, other prints.
        {ConsoleForm::Log, "Eve^7: ^2Bob^7 renamed to Alice", "-"},
        {ConsoleForm::Dump, "Eve: Bob renamed to Alice", "-"},
        {ConsoleForm::Log, "Eve^7: ^2a resolved to 1.2.3.4:5", "-"},
        {ConsoleForm::Log, "]/name Alpha", "-"},
        {ConsoleForm::Log, "^7 connected", "-"},
        {ConsoleForm::Log, "Sarge^7 was railed by Eve^7", "-"},
        {ConsoleForm::Log, std::string(70, 'x') + "^7 connected", "-"},
        {ConsoleForm::Log, "h resolved to " + std::string(65, '1'), "-"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(describe(parseConsoleEvent(c.line, c.form)), c.event) << c.line;
}

} // namespace
} // namespace hh
