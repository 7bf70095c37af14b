// The work done for each command: the pickup, the player search, the result
// script, and a settings read.
#include "commands/HelpText.h"
#include "fakes/FakePlatform.h"
#include "gamelink/CommandPickup.h"
#include "gamelink/PlayerList.h"
#include "gamelink/ResultScript.h"
#include "settings/IniFile.h"
#include "support/GameFolder.h"

#include <benchmark/benchmark.h>

namespace {

// A console dump of about `bytes` bytes: chat and game lines, the player
// list, and a command near the end, as the game writes it.
std::string consoleDump(std::size_t bytes) {
    std::string text;
    int i = 0;
    while (text.size() < bytes) {
        text += "Player" + std::to_string(i % 17) + ": gg, nice shot with the rail at " +
                std::to_string(i) + "\n";
        if (i % 50 == 0)
            text += "]/hh guid 1a2b3c4d\n";
        ++i;
    }
    text += "]/hh save meet  at the flag\nDumped console text to handleHound.who.\n\n";
    return text;
}

void BM_FindCommandInDump(benchmark::State& state) {
    hh::test::TempDir dir;
    const auto path = dir / "handleHound.who";
    hh::test::writeFile(path, consoleDump(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(hh::findCommandInDump(path, "/hh "));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FindCommandInDump)->Arg(64 << 10)->Arg(1 << 20);

void BM_FindPlayerInDump64(benchmark::State& state) {
    std::vector<std::pair<std::string, std::string>> players;
    for (int i = 0; i < 64; ++i) {
        char guid[9];
        std::snprintf(guid, sizeof guid, "%08x", 0x1a2b0000 + i * 7919);
        players.emplace_back(guid, "Player Number " + std::to_string(i));
    }
    auto lines = hh::test::GameFolder::playerList(players);
    std::string dump = consoleDump(32 << 10);
    for (const auto& l : lines)
        dump += l + "\n";
    hh::test::TempDir dir;
    const auto path = dir / "handleHound.who";
    hh::test::writeFile(path, dump);
    std::string name;
    for (auto _ : state)
        benchmark::DoNotOptimize(hh::findPlayerInDump(path, "number 63", false, name));
}
BENCHMARK(BM_FindPlayerInDump64);

void BM_RenderHelpScript(benchmark::State& state) {
    const std::string message = hh::helpMessage();
    for (auto _ : state)
        benchmark::DoNotOptimize(hh::renderResultScript(message));
}
BENCHMARK(BM_RenderHelpScript);

void BM_INIread(benchmark::State& state) {
    hh::test::TempDir dir;
    const auto ini = dir / "handleHound.ini";
    hh::test::writeFile(ini, "[Main]\r\nPath=/home/p/.q3a/osp/handleHound.txt\r\nNewUser=No\r\n"
                             "MaxNumAliases=150\r\nCmdIssueDelay=w2\r\n\r\n[Behavior]\r\n"
                             "NameColor=^7\r\nSeparatorColor=^2\r\nCommandKey=tab\r\n"
                             "CommandKeyCode=9\r\nStatusKey=f5\r\nStatusKeyCode=116\r\n");
    for (auto _ : state)
        benchmark::DoNotOptimize(hh::INIread(ini, "Behavior", "StatusKeyCode"));
}
BENCHMARK(BM_INIread);

} // namespace
