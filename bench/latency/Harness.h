#pragma once
// What the end-to-end harnesses share: waiting for an answer in the result
// script (inotify), and percentiles of the times measured.
#include "support/GameFolder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <poll.h>
#include <string>
#include <sys/inotify.h>
#include <unistd.h>
#include <vector>

namespace hh::bench {

class ResultWatch {
  public:
    explicit ResultWatch(const hh::test::GameFolder& g) : g_(g) {
        fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        inotify_add_watch(fd_, (g.game() / "baseq3").c_str(), IN_MOVED_TO | IN_CLOSE_WRITE);
    }
    ~ResultWatch() { close(fd_); }
    bool waitFor(const std::function<bool(const std::string&)>& done,
                 std::chrono::milliseconds timeout) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            if (done(g_.resultText()))
                return true;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  end - std::chrono::steady_clock::now())
                                  .count();
            if (left <= 0)
                return false;
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(std::min<long long>(left, 5))) > 0) {
                char buf[4096];
                while (read(fd_, buf, sizeof buf) > 0) {
                }
            }
        }
    }

  private:
    const hh::test::GameFolder& g_;
    int fd_;
};

inline double percentile(std::vector<double> v, double p) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const auto idx = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(idx, v.size() - 1)];
}

inline void report(const char* name, const std::vector<double>& ms) {
    std::printf("%-28s n=%3zu  p50 %8.2f ms  p90 %8.2f ms  p99 %8.2f ms  max %8.2f ms\n", name,
                ms.size(), percentile(ms, 0.5), percentile(ms, 0.9), percentile(ms, 0.99),
                ms.empty() ? 0.0 : *std::max_element(ms.begin(), ms.end()));
}

// "--name value" pairs handed to the setter of each name; others are ignored.
inline void
readOptions(int argc, char** argv,
            const std::map<std::string, std::function<void(const std::string&)>>& setters) {
    for (int i = 1; i + 1 < argc; i += 2)
        if (const auto it = setters.find(argv[i]); it != setters.end())
            it->second(argv[i + 1]);
}

} // namespace hh::bench
