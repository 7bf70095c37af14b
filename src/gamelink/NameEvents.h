#pragma once
// A name history without PunkBuster: the arrivals, name changes and leaves
// the console shows go to the alias database as name links, each tied to the
// server it happened on and to the stretch of time we stayed there (a
// session), so that names two players swap on different servers, or on one
// server on different days, are never joined.
#include "gamelink/ConsoleEvents.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace hh {

class Settings;
struct Platform;

class NameEventReporter {
  public:
    NameEventReporter(Settings& settings, Platform& platform,
                      std::function<void(const std::string&)> consoleLine,
                      std::function<std::string()> lookupAddress);

    // One console line; an event it tells of waits for flush().
    void takeLine(std::string_view line, ConsoleForm form);
    // The lines of a dump that the previous dump did not already hold; with
    // `record` false only remembers where this dump ends.
    void takeDump(std::string_view dumpText, bool record = true);
    // Posts what was taken since the last flush (unless recording is off).
    void flush();

    // Keeps `names` at the names present on the current server.
    void trackPresenceIn(std::vector<std::string>& names) { present_ = &names; }

    const std::string& server() const { return server_; }
    std::size_t pendingCount() const { return pending_.size(); }

    // A batch is posted early when it grows this long.
    static constexpr std::size_t kMaxPending = 1000;
    // The dump wraps console rows at this width.
    static constexpr std::size_t kDumpRowWidth = 78;
    // A server holds at most 64 players.
    static constexpr std::size_t kMaxPresent = 64;

  private:
    void take(const ConsoleEvent& event);
    // A session starts at each server joined and at each game start.
    void startSession(std::string server);
    void updatePresence(const ConsoleEvent& event, const std::string& name,
                        const std::string& newName);

    Settings& settings_;
    Platform& platform_;
    std::function<void(const std::string&)> consoleLine_;
    std::function<std::string()> lookupAddress_;
    std::string server_;  // "" until a connect is seen
    std::string session_; // server + the time we joined it
    std::int64_t seq_ = 0;
    std::vector<std::string> pending_; // JSON objects
    // The last rows of the previous dump, to find where the new rows begin.
    std::vector<std::string> dumpTail_;
    std::shared_ptr<bool> failureReported_ = std::make_shared<bool>(false);
    std::vector<std::string>* present_ = nullptr;
};

} // namespace hh
