#pragma once
// The ping command: "/hh ping <IP#/DNS Address>". Resolves the address and
// averages five ICMP echoes off the UI thread; the result call follows when
// the series ends. The dump watcher stays stopped meanwhile (the interpreter
// stopped it; the result call re-arms it).
//
// Only one series runs at a time. A ping that arrives while one runs (typed,
// or the Status key re-running it) waits and starts right after the running
// one has been answered; a newer waiting ping replaces an older one, so the
// queue never grows.
#include "commands/CommandContext.h"
#include "commands/net/PingWorker.h"

#include <optional>
#include <string>

namespace hh {

class PingCommand {
  public:
    explicit PingCommand(CommandContext& ctx);

    void run(const std::string& argument);

    // For tests: a series is running or waiting.
    bool busy() const { return worker_.busy() || waiting_.has_value(); }
    // For tests: blocks until the running series has posted its answer.
    void joinWorker() { worker_.join(); }

  private:
    void start(const std::string& argument);
    void finish(const PingAnswer& answer);

    CommandContext& ctx_;
    std::optional<std::string> waiting_;
    // Last member: destroyed first, so no answer arrives for a dead command.
    PingWorker worker_;
};

} // namespace hh
