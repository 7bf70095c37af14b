// "/hh all" as a player meets it: the headless program and the alias database
// it starts for its program folder, filled beforehand by importing console
// dumps, answering for a 16-player list.
//
//   all_players --binary build/handlehound --aliasdb build/handlehound-aliasdb
//               [--runs 200] [--dumps 2000] [--guids 3000]
//
// Each run writes a dump with the list and "/hh all" and waits (inotify) for
// the answer in hh.cfg. A "/hh hb" between runs keeps every run from being a
// repeat of the one before.
#include "Harness.h"
#include "support/GameFolder.h"
#include "support/Process.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

using namespace std::chrono;
using hh::bench::report;
using hh::bench::ResultWatch;
using hh::test::GameFolder;
using hh::test::Process;

namespace {

struct Options {
    std::string binary = "build/handlehound";
    std::string aliasdb = "build/handlehound-aliasdb";
    int runs = 200;
    int dumps = 2000;
    int guids = 3000;
};

std::string guidOf(int player) {
    char guid[9];
    std::snprintf(guid, sizeof guid, "%08x", 0x10000000u + static_cast<unsigned>(player) * 7919u);
    return guid;
}

// Players change names now and then: each has a few, the first the most.
std::string nameOf(int player, std::mt19937& rng) {
    std::geometric_distribution<int> alias(0.4);
    return "Player" + std::to_string(player) + "_" + std::to_string(alias(rng));
}

// The dumps a season of play leaves behind, one file a game, a day apart.
std::vector<std::string> writeDumps(const std::filesystem::path& folder, const Options& o) {
    std::mt19937 rng(17);
    std::uniform_int_distribution<int> anyone(0, o.guids - 1);
    std::vector<std::string> files;
    const auto start = std::filesystem::file_time_type::clock::now() - hours(24 * o.dumps);
    for (int d = 0; d < o.dumps; ++d) {
        std::vector<std::pair<std::string, std::string>> list;
        for (int p = 0; p < 16; ++p) {
            const int player = anyone(rng);
            list.emplace_back(guidOf(player), nameOf(player, rng));
        }
        std::string text;
        for (const auto& line : GameFolder::playerList(list))
            text += line + "\n";
        const auto file = folder / ("game" + std::to_string(d) + ".who");
        hh::test::writeFile(file, text);
        std::filesystem::last_write_time(file, start + hours(24 * d));
        files.push_back(file.string());
    }
    return files;
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    hh::bench::readOptions(argc, argv,
                           {{"--binary", [&](const std::string& v) { o.binary = v; }},
                            {"--aliasdb", [&](const std::string& v) { o.aliasdb = v; }},
                            {"--runs", [&](const std::string& v) { o.runs = std::stoi(v); }},
                            {"--dumps", [&](const std::string& v) { o.dumps = std::stoi(v); }},
                            {"--guids", [&](const std::string& v) { o.guids = std::stoi(v); }}});

    GameFolder g;
    const auto db = g.program() / "aliases.sqlite";
    const auto dumps = g.program() / "dumps";
    std::filesystem::create_directories(dumps);
    std::vector<std::string> importArgs = {"import", "--db", db.string(), "--mod", "osp"};
    const auto files = writeDumps(dumps, o);
    importArgs.insert(importArgs.end(), files.begin(), files.end());
    const auto t0 = steady_clock::now();
    Process import(o.aliasdb, importArgs);
    if (import.waitForExit(minutes(10)) != 0) {
        std::fprintf(stderr, "import failed: %s\n", import.errors().c_str());
        return 1;
    }
    std::printf("imported %d dumps of 16 players (%d GUIDs) in %.1f s, %.1f MB\n", o.dumps, o.guids,
                duration<double>(steady_clock::now() - t0).count(),
                static_cast<double>(std::filesystem::file_size(db)) / 1e6);

    // The program starts the service of its program folder on that file.
    Process program(o.binary,
                    {"--headless", "--always-on", "--quiet", "--program-dir", g.program().string()},
                    {"DISPLAY="});
    ResultWatch watch(g);
    if (!watch.waitFor([](const std::string& s) { return s.find("ENABLED") != std::string::npos; },
                       seconds(15))) {
        std::fprintf(stderr, "the program did not start: %s\n", program.errors().c_str());
        return 1;
    }

    // Players of the imported games, so most have records.
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> anyone(0, o.guids - 1);
    std::vector<double> samples;
    for (int i = 0; i < o.runs; ++i) {
        std::vector<std::pair<std::string, std::string>> list;
        for (int p = 0; p < 16; ++p) {
            const int player = anyone(rng);
            list.emplace_back(guidOf(player), nameOf(player, rng));
        }
        auto lines = GameFolder::playerList(list);
        lines.push_back("]/hh hb");
        g.writeDump(lines);
        watch.waitFor([](const std::string& s) { return s.find("ACTIVE") != std::string::npos; },
                      seconds(15));
        // A player types the next command seconds later; the recording the
        // last dump started is done by then.
        std::this_thread::sleep_for(milliseconds(100));
        lines.back() = "]/hh all";
        const auto start = steady_clock::now();
        g.writeDump(lines);
        if (!watch.waitFor(
                [](const std::string& s) {
                    return s.find("players ^3in ^3this ^3list") != std::string::npos;
                },
                seconds(15))) {
            std::fprintf(stderr, "no answer for run %d\n", i);
            continue;
        }
        samples.push_back(duration<double, std::milli>(steady_clock::now() - start).count());
    }
    report("/hh all, 16 players", samples);
    return 0;
}
