// End-to-end answer time of the headless program, as a player meets it: the
// game writes its console dump (or a typed line to its console log), and the
// answer appears in hh.cfg. Also the idle cost while monitoring, the cost of
// a growing console log, and the start-up time.
//
//   latency --binary build/handlehound [--runs 40] [--idle-seconds 60] [--starts 5]
//           [--log-seconds 30] [--log-megabytes 100]
//   latency --wine build-windows/wine-run.sh --binary build-windows/handlehound.exe ...
//
// With --wine the Windows program runs under Wine, its folders given as Wine's
// Z: paths; the answer times then include Wine's own file notices.
//
// Each run starts the program on a temporary game folder, writes dumps the way
// the game does (LF line ends, a new file time) and waits for the final answer
// with inotify on the base folder. It measures with file-change events on and
// with them off (the 1 s poll alone), so the two are compared in one run.
#include "Harness.h"
#include "support/GameFolder.h"
#include "support/HttpTestServer.h"
#include "support/Process.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <poll.h>
#include <sys/inotify.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono;
using hh::bench::percentile;
using hh::bench::report;
using hh::bench::ResultWatch;
using hh::test::GameFolder;
using hh::test::Process;

namespace {

struct Options {
    std::string binary = "build/handlehound";
    std::string wine; // the script that runs a Windows program under Wine; "" for none
    int runs = 40;
    int idleSeconds = 60;
    int starts = 5;
    int logSeconds = 30;
    int logMegabytes = 100;
};

Options options;

// Wine maps drive Z: to the root of the Linux file system.
std::string folderArg(const std::filesystem::path& folder) {
    if (options.wine.empty())
        return folder.string();
    std::string text = "Z:" + folder.generic_string();
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

// Ends the program as Ctrl+C does: killing Wine's launcher would leave the
// Windows program running in the Wine server.
struct EndGently {
    void operator()(Process* p) const {
        p->signal(SIGINT);
        p->waitForExit(seconds(10));
        delete p;
    }
};
using Program = std::unique_ptr<Process, EndGently>;

// The program under test with its arguments, under Wine when asked (its
// settings then name the game folder as Windows sees it).
Program start(const GameFolder& g, bool events, const std::string& lookup) {
    if (!options.wine.empty())
        std::ofstream(g.ini(), std::ios::binary | std::ios::trunc)
            << "[Main]\r\nPath=" << folderArg(g.dump())
            << "\r\nNewUser=No\r\nCFGAt=" << folderArg(g.game() / "baseq3" / "handleHound.cfg")
            << "\r\nDumpFileName=handleHound.who\r\n";
    std::vector<std::string> a{"--headless",           "--always-on",  "--quiet", "--program-dir",
                               folderArg(g.program()), "--lookup-url", lookup};
    if (!events)
        a.push_back("--no-file-events");
    if (options.wine.empty())
        return Program(new Process(options.binary, a, {"DISPLAY="}));
    a.insert(a.begin(), options.binary);
    return Program(new Process(options.wine, a, {"DISPLAY="}));
}

std::string aliasPage(const std::string& guid) {
    std::string rows;
    for (int i = 0; i < 10; ++i)
        rows += "<tr><td><FONT size=1>" + guid + "_alias" + std::to_string(i) +
                "</FONT></td><td><FONT size=1>2026-12-0" + std::to_string(1 + i % 9) +
                "</FONT></td></tr>";
    return "<html><body><table><tr><th><b>Alias</b></th><th><b>Last Used</b></th></tr>" + rows +
           "</table><table><tr><th><b>Server Name</b></th></tr></table></body></html>";
}

struct Scenario {
    std::string name;
    std::function<std::vector<std::string>(int i)> dump;
    std::function<bool(int i, const std::string& script)> answered;
};

// Milliseconds from each `write` to the scenario's answer in hh.cfg.
std::vector<double> sample(ResultWatch& watch, const Scenario& sc, int runs,
                           const std::function<void(int)>& write) {
    std::vector<double> samples;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = steady_clock::now();
        write(i);
        if (!watch.waitFor([&](const std::string& s) { return sc.answered(i, s); }, seconds(15))) {
            std::fprintf(stderr, "no answer for run %d of %s\n", i, sc.name.c_str());
            continue;
        }
        samples.push_back(duration<double, std::milli>(steady_clock::now() - t0).count());
    }
    return samples;
}

std::map<std::string, std::vector<double>> measure(const Options& o, bool events,
                                                   const std::string& lookupUrl) {
    std::map<std::string, std::vector<double>> out;
    const auto players = GameFolder::playerList({{"1a2b3c4d", "Alpha"}, {"5e6f7a8b", "Bravo"}});
    const std::vector<Scenario> scenarios = {
        {"local (time, help)",
         [](int i) { return std::vector<std::string>{i % 2 ? "]/hh time" : "]/hh help"}; },
         [](int i, const std::string& s) {
             const bool help = s.find("recognizes") != std::string::npos;
             return i % 2 ? (!help && s.find("Updating") == std::string::npos &&
                             s.find("ENABLED") == std::string::npos)
                          : help;
         }},
        {"name lookup (local HTTP)",
         [players](int i) {
             auto lines = players;
             lines.push_back(i % 2 ? "]/hh bravo" : "]/hh alpha");
             return lines;
         },
         [](int i, const std::string& s) {
             return s.find(i % 2 ? "5e6f7a8b_alias0" : "1a2b3c4d_alias0") != std::string::npos;
         }},
    };
    for (const auto& sc : scenarios) {
        GameFolder g;
        const auto p = start(g, events, lookupUrl);
        ResultWatch watch(g);
        if (!watch.waitFor(
                [](const std::string& s) { return s.find("ENABLED") != std::string::npos; },
                seconds(60))) {
            std::fprintf(stderr, "the program did not start: %s\n", p->errors().c_str());
            std::exit(1);
        }
        out[sc.name + (events ? "" : " [poll only]")] =
            sample(watch, sc, events ? o.runs : std::max(4, o.runs / 4),
                   [&](int i) { g.writeDump(sc.dump(i)); });
    }
    return out;
}

// The console log as the engine writes it with "logfile 2": each print goes
// to the file at once, in one write.
class ConsoleLog {
  public:
    explicit ConsoleLog(const GameFolder& g) : path_(g.dump().parent_path() / "qconsole.log") {
        std::ofstream(path_, std::ios::trunc) << "logfile opened on Sat Dec  5 14:00:00 2026\n";
    }
    void print(const std::string& text) {
        std::ofstream out(path_, std::ios::app | std::ios::binary);
        out << text;
    }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

std::map<std::string, std::vector<double>> measureLogRoad(const Options& o,
                                                          const std::string& lookupUrl) {
    std::map<std::string, std::vector<double>> out;
    const std::vector<Scenario> scenarios = {
        {"log: local (time, help)",
         [](int i) { return std::vector<std::string>{i % 2 ? "]/hh time" : "]/hh help"}; },
         [](int i, const std::string& s) {
             const bool help = s.find("recognizes") != std::string::npos;
             return i % 2 ? (!help && s.find("ENABLED") == std::string::npos) : help;
         }},
        {"log: name by its links (local HTTP)",
         [](int i) { return std::vector<std::string>{i % 2 ? "]/hh bravo" : "]/hh alpha"}; },
         [](int i, const std::string& s) {
             return s.find(i % 2 ? "bravo_was" : "alpha_was") != std::string::npos;
         }},
    };
    for (const auto& sc : scenarios) {
        GameFolder g;
        ConsoleLog log(g);
        const auto p = start(g, true, lookupUrl);
        ResultWatch watch(g);
        watch.waitFor([](const std::string& s) { return s.find("ENABLED") != std::string::npos; },
                      seconds(15));
        // A dump the program has just created empty reads as one the game
        // is writing, which a lookup waits out; a player is never that quick.
        std::this_thread::sleep_for(milliseconds(1100));
        out[sc.name] =
            sample(watch, sc, o.runs, [&](int i) { log.print(sc.dump(i).front() + "\n"); });
    }
    return out;
}

struct ProcStat {
    double cpuSeconds = 0;
    long rssKb = 0;
};

ProcStat procStat(pid_t pid) {
    ProcStat s;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(stat)), {});
    const auto close = all.rfind(')');
    if (close != std::string::npos) {
        std::vector<std::string> f;
        std::string rest = all.substr(close + 2), tok;
        for (char c : rest) {
            if (c == ' ') {
                f.push_back(tok);
                tok.clear();
            } else {
                tok.push_back(c);
            }
        }
        if (f.size() > 13)
            s.cpuSeconds =
                (std::stod(f[11]) + std::stod(f[12])) / static_cast<double>(sysconf(_SC_CLK_TCK));
    }
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            s.rssKb = std::stol(line.substr(6));
    return s;
}

// CPU while the game prints 100 lines a second (chat, frags, now and then a
// rename), and memory with a large log: one the program finds at start, and
// one that the game rewrites to that size while the program follows it.
void measureGrowingLog(const Options& o, const std::string& lookupUrl) {
    GameFolder g;
    ConsoleLog log(g);
    const std::string filler(40, '.');
    const long long bytes = static_cast<long long>(o.logMegabytes) << 20;
    {
        std::ofstream out(log.path(), std::ios::app | std::ios::binary);
        for (long long written = 0; written < bytes; written += 64)
            out << "Sarge^7: ^2" << filler << std::string(64 - 53, 'x') << "\n";
    }
    const auto p = start(g, true, lookupUrl);
    ResultWatch watch(g);
    watch.waitFor([](const std::string& s) { return s.find("ENABLED") != std::string::npos; },
                  seconds(15));
    std::this_thread::sleep_for(seconds(1));
    std::printf("== console log of %d MB found at start: resident %ld kB\n", o.logMegabytes,
                procStat(p->pid()).rssKb);

    const ProcStat a = procStat(p->pid());
    const auto start = steady_clock::now();
    for (int i = 0; i < o.logSeconds * 100; ++i) {
        log.print(i % 100 == 99
                      ? "Old" + std::to_string(i) + "^7 renamed to New" + std::to_string(i) + "\n"
                      : "Sarge^7: ^2" + filler + "\n");
        std::this_thread::sleep_until(start + milliseconds(10 * (i + 1)));
    }
    const ProcStat b = procStat(p->pid());
    std::printf("== console log growing at 100 lines/s for %d s: cpu %.3f%% of a core, resident "
                "%ld kB\n",
                o.logSeconds, 100.0 * (b.cpuSeconds - a.cpuSeconds) / o.logSeconds, b.rssKb);

    // A game start truncates the log; here it is then written full at once.
    const auto t0 = steady_clock::now();
    {
        std::ofstream out(log.path(), std::ios::trunc | std::ios::binary);
        for (long long written = 0; written < bytes; written += 64)
            out << "Sarge^7: ^2" << filler << std::string(64 - 53, 'x') << "\n";
        out << "]/hh time\n";
    }
    const double writeMs = duration<double, std::milli>(steady_clock::now() - t0).count();
    const bool answered = watch.waitFor(
        [](const std::string& s) {
            return s.find("^3PM") != std::string::npos || s.find("^3AM") != std::string::npos;
        },
        seconds(60));
    const ProcStat c = procStat(p->pid());
    std::printf("== log rewritten to %d MB while followed: written in %.0f ms, answered %s "
                "%.0f ms after, cpu %.2f s, resident %ld kB\n",
                o.logMegabytes, writeMs, answered ? "" : "NOT",
                duration<double, std::milli>(steady_clock::now() - t0).count() - writeMs,
                c.cpuSeconds - b.cpuSeconds, c.rssKb);
}

} // namespace

int main(int argc, char** argv) {
    Options& o = options;
    hh::bench::readOptions(
        argc, argv,
        {{"--binary", [&](const std::string& v) { o.binary = v; }},
         {"--wine", [&](const std::string& v) { o.wine = v; }},
         {"--runs", [&](const std::string& v) { o.runs = std::stoi(v); }},
         {"--idle-seconds", [&](const std::string& v) { o.idleSeconds = std::stoi(v); }},
         {"--starts", [&](const std::string& v) { o.starts = std::stoi(v); }},
         {"--log-seconds", [&](const std::string& v) { o.logSeconds = std::stoi(v); }},
         {"--log-megabytes", [&](const std::string& v) { o.logMegabytes = std::stoi(v); }}});

    hh::test::HttpTestServer server([](const hh::test::HttpRequest& r) {
        hh::test::HttpReply reply;
        if (const auto name = r.target.find("/links?name="); name != std::string::npos) {
            reply.body =
                "link\tname=" + r.target.substr(name + 12) + "_was\tat=1796479200\tserver=x\n";
            return reply;
        }
        const auto at = r.target.find("guid=");
        reply.body = aliasPage(at == std::string::npos ? "" : r.target.substr(at + 5, 8));
        return reply;
    });

    std::printf("== answer time: dump written -> final answer in hh.cfg\n");
    const auto withEvents = measure(o, true, server.baseUrl());
    const auto pollOnly = measure(o, false, server.baseUrl());
    for (const auto& [name, v] : withEvents)
        report(name.c_str(), v);
    for (const auto& [name, v] : pollOnly)
        report(name.c_str(), v);
    for (const auto& [name, v] : withEvents) {
        const auto it = pollOnly.find(name + " [poll only]");
        if (it != pollOnly.end() && percentile(v, 0.5) > 0)
            std::printf("%-28s poll-only p50 / events p50 = %.0fx\n", name.c_str(),
                        percentile(it->second, 0.5) / percentile(v, 0.5));
    }

    std::printf("== start-up: exec -> ENABLED script written (headless)\n");
    std::vector<double> starts;
    for (int i = 0; i < o.starts; ++i) {
        GameFolder g;
        ResultWatch watch(g);
        const auto t0 = steady_clock::now();
        const auto p = start(g, true, server.baseUrl());
        if (watch.waitFor(
                [](const std::string& s) { return s.find("ENABLED") != std::string::npos; },
                seconds(15)))
            starts.push_back(duration<double, std::milli>(steady_clock::now() - t0).count());
    }
    report("start-up", starts);

    std::printf("== console log road: typed line written to the log -> final answer in hh.cfg\n");
    for (const auto& [name, v] : measureLogRoad(o, server.baseUrl()))
        report(name.c_str(), v);
    if (o.logSeconds > 0)
        measureGrowingLog(o, server.baseUrl());

    if (o.idleSeconds > 0) {
        std::printf("== idle while monitoring, %d s, no command\n", o.idleSeconds);
        GameFolder g;
        ResultWatch watch(g);
        const auto p = start(g, true, server.baseUrl());
        watch.waitFor([](const std::string& s) { return s.find("ENABLED") != std::string::npos; },
                      seconds(15));
        std::this_thread::sleep_for(seconds(2));
        const ProcStat a = procStat(p->pid());
        std::this_thread::sleep_for(seconds(o.idleSeconds));
        const ProcStat b = procStat(p->pid());
        std::printf("cpu %.3f%% of a core, resident %ld kB\n",
                    100.0 * (b.cpuSeconds - a.cpuSeconds) / o.idleSeconds, b.rssKb);
    }
    return 0;
}
