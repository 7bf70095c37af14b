// Figures of handlehound-aliasdb binaries over loopback, side by side so that
// two builds are measured in one run on the same machine:
//   aliasdb_bench [--quick] [--postgres CONNINFO] SERVICE...
// For each binary, started on a fresh SQLite file:
//   - the GUID page of 999 aliases (target: under 5 ms) and ingest of
//     sightings at 1, 20 and 1,000 per request (target: 1,000 per second);
//   - 200 connections that each send one header byte a second for 20 s while
//     a fresh client asks GET /health: the share answered 200 within 1 s
//     (target: at least 95 %);
//   - resident memory around refused 1 MiB bodies (a JSON array of half a
//     million numbers): one (target: +24 MB at most), eight at once (+100 MB),
//     and 3 s later (back within 5 MB).
// Each binary serves a fresh SQLite file, or the PostgreSQL database given.
#include "common/Strings.h"
#include "fakes/FakePlatform.h"
#include "support/Process.h"
#include "support/RawHttp.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <functional>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using hh::test::Process;
using hh::test::Reply;

namespace {

bool quick = false;   // shorter runs, for checking the bench itself
std::string postgres; // a libpq connection string; SQLite when empty

class Service {
  public:
    explicit Service(const std::string& binary) {
        // Newer builds require a credential file; older ones refuse the option.
        for (bool withCredential : {true, false}) {
            std::vector<std::string> args = {"--listen", "127.0.0.1:0"};
            if (postgres.empty())
                args.insert(args.end(), {"--db", (dir_ / "aliases.sqlite").string()});
            else
                args.insert(args.end(), {"--postgres", postgres});
            if (withCredential)
                args.insert(args.end(), {"--credential", (dir_ / "credential").string()});
            process_ = std::make_unique<Process>(binary, args);
            const std::string marker = "listening on http://127.0.0.1:";
            hh::test::waitUntil(
                [&] {
                    return !process_->running() ||
                           process_->errors().find(marker) != std::string::npos;
                },
                5s);
            const std::string err = process_->errors();
            if (const auto at = err.find(marker); at != std::string::npos) {
                port_ = std::stoi(err.substr(at + marker.size()));
                if (withCredential)
                    credential_ = hh::test::readFile(dir_ / "credential");
                while (!credential_.empty() && credential_.back() == '\n')
                    credential_.pop_back();
                return;
            }
        }
        throw std::runtime_error("cannot start " + binary + ": " + process_->errors());
    }
    int port() const { return port_; }
    pid_t pid() const { return process_->pid(); }
    Reply get(const std::string& target, std::chrono::milliseconds wait = 5s) const {
        return hh::test::sendRaw(port_, request("GET", target), wait);
    }
    Reply post(const std::string& body) const {
        return hh::test::sendRaw(port_, request("POST", "/sightings", body));
    }
    std::string request(const std::string& method, const std::string& target,
                        const std::string& body = {}) const {
        return hh::test::requestBytes(port_, method, target, credential_, body);
    }

  private:
    hh::test::TempDir dir_;
    std::unique_ptr<Process> process_;
    int port_ = 0;
    std::string credential_;
};

std::string sightings(int count, const std::string& guid, const std::string& prefix) {
    std::string json = "[";
    for (int i = 0; i < count; ++i)
        json += std::string(i ? "," : "") + R"({"guid":")" + guid + R"(","name":")" + prefix +
                std::to_string(i) + R"(","mod":"osp"})";
    return json + "]";
}

double percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void pageAndIngest(const Service& s) {
    if (s.post(sightings(999, "abcdabcd", "Some Alias Name ")).status != 200)
        throw std::runtime_error("seeding the 999 aliases failed");
    std::vector<double> times;
    for (int i = 0; i < (quick ? 30 : 300); ++i) {
        const auto start = Clock::now();
        if (s.get("/?guid=abcdabcd").status != 200)
            throw std::runtime_error("the 999-alias page was not served");
        times.push_back(msSince(start));
    }
    std::printf("  GUID page of 999 aliases: median %.2f ms, p95 %.2f ms\n", percentile(times, 0.5),
                percentile(times, 0.95));
    for (int perRequest : {1, 20, 1000}) {
        const auto start = Clock::now();
        int stored = 0;
        for (int round = 0; msSince(start) < (quick ? 300 : 1500); ++round)
            if (s.post(sightings(perRequest, "1a2b3c4d",
                                 hh::concat({"r", std::to_string(round), "-"})))
                    .status == 200)
                stored += perRequest;
        std::printf("  ingest, %4d per request: %.0f sightings/s\n", perRequest,
                    stored * 1000.0 / msSince(start));
    }
}

// Each dripper keeps one connection open (reconnecting when cut) and sends
// one byte of a request head a second.
void slowClients(const Service& s) {
    const int kDrippers = 200;
    const auto duration = quick ? 5s : 20s;
    const std::string head = "GET /health HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(s.port()) +
                             "\r\nX-Slow: " + std::string(400, 'a');
    struct Dripper {
        int fd = -1;
        std::size_t sent = 0;
    };
    std::vector<Dripper> drippers(kDrippers);
    std::atomic<bool> attacking{true};
    int cuts = 0;
    std::thread attack([&] {
        auto nextTick = Clock::now();
        while (attacking) {
            const bool tick = Clock::now() >= nextTick;
            if (tick)
                nextTick += 1s;
            std::vector<pollfd> fds;
            for (auto& d : drippers) {
                if (d.fd < 0) {
                    d.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
                    sockaddr_in addr{};
                    addr.sin_family = AF_INET;
                    addr.sin_port = htons(static_cast<std::uint16_t>(s.port()));
                    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
                    ::connect(d.fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
                    d.sent = 0;
                }
                if (tick && d.sent < head.size() &&
                    ::send(d.fd, head.data() + d.sent, 1, MSG_NOSIGNAL) == 1)
                    ++d.sent;
                fds.push_back({d.fd, POLLIN, 0});
            }
            ::poll(fds.data(), fds.size(), 50);
            for (std::size_t i = 0; i < fds.size(); ++i) {
                if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                    continue;
                char sink[4096];
                if (::recv(fds[i].fd, sink, sizeof sink, MSG_DONTWAIT) > 0 &&
                    !(fds[i].revents & (POLLHUP | POLLERR)))
                    continue; // an answer (408, 503); the close follows
                ::close(fds[i].fd);
                drippers[i].fd = -1;
                ++cuts;
            }
        }
        for (auto& d : drippers)
            if (d.fd >= 0)
                ::close(d.fd);
    });

    std::this_thread::sleep_for(2s); // let every dripper connect
    std::vector<double> times;
    int answered = 0;
    const auto start = Clock::now();
    while (Clock::now() - start < duration) {
        const auto asked = Clock::now();
        const Reply r = s.get("/health", 1s);
        const double ms = msSince(asked);
        times.push_back(ms);
        answered += r.status == 200 && ms <= 1000;
        std::this_thread::sleep_for(100ms);
    }
    attacking = false;
    attack.join();
    std::printf("  200 slow clients: /health 200 within 1 s in %.1f %% of %zu tries "
                "(median %.0f ms, p95 %.0f ms); the service ended %d of their connections\n",
                100.0 * answered / static_cast<double>(times.size()), times.size(),
                percentile(times, 0.5), percentile(times, 0.95), cuts);
}

long residentKiB(pid_t pid) {
    std::ifstream statm("/proc/" + std::to_string(pid) + "/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// Peak resident memory while `work` runs, sampled every millisecond.
long peakWhile(pid_t pid, const std::function<void()>& work) {
    std::atomic<bool> done{false};
    std::atomic<long> peak{residentKiB(pid)};
    std::thread sampler([&] {
        while (!done) {
            peak = std::max(peak.load(), residentKiB(pid));
            std::this_thread::sleep_for(1ms);
        }
    });
    work();
    std::this_thread::sleep_for(100ms);
    done = true;
    sampler.join();
    return peak;
}

void refusedBodies(const Service& s) {
    std::string body = "[";
    while (body.size() + 4 < 1024 * 1024)
        body += "0,";
    body += "0]";
    const std::string request = s.request("POST", "/sightings", body);
    std::this_thread::sleep_for(1s);
    const long before = residentKiB(s.pid());
    std::atomic<int> status{0};
    const long one =
        peakWhile(s.pid(), [&] { status = hh::test::sendRaw(s.port(), request).status; });
    const long eight = peakWhile(s.pid(), [&] {
        std::vector<std::thread> senders;
        for (int i = 0; i < 8; ++i)
            senders.emplace_back([&] { hh::test::sendRaw(s.port(), request); });
        for (auto& t : senders)
            t.join();
    });
    std::this_thread::sleep_for(3s);
    const long after = residentKiB(s.pid());
    std::printf("  refused 1 MiB bodies (HTTP %d): resident %.1f MB before; peak +%.1f MB for one, "
                "+%.1f MB for eight at once; %+.1f MB 3 s later\n",
                status.load(), before / 1024.0, (one - before) / 1024.0, (eight - before) / 1024.0,
                (after - before) / 1024.0);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> binaries;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--quick")
            quick = true;
        else if (std::string(argv[i]) == "--postgres" && i + 1 < argc)
            postgres = argv[++i];
        else
            binaries.emplace_back(argv[i]);
    }
    if (binaries.empty()) {
        std::fprintf(stderr,
                     "usage: aliasdb_bench [--quick] [--postgres CONNINFO] SERVICE_BINARY...\n");
        return 2;
    }
    for (const auto& binary : binaries) {
        std::printf("%s\n", binary.c_str());
        std::fflush(stdout);
        try {
            {
                Service s(binary);
                pageAndIngest(s);
                refusedBodies(s);
            }
            Service s(binary);
            slowClients(s);
        } catch (const std::exception& e) {
            std::printf("  failed: %s\n", e.what());
        }
        std::fflush(stdout);
    }
    return 0;
}
