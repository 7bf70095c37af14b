#pragma once
// Recording who was seen with which GUID: the player lines of each dump go to
// the alias database service so that later lookups know those names. The
// text rules below are shared with the service, which refuses a whole batch
// when one entry breaks them, so the program checks them before sending.
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace hh {

class Settings;
struct Platform;
struct FetchResult;

inline constexpr std::size_t kMaxSightingNameBytes = 64;
inline constexpr std::size_t kMaxSightingModBytes = 32;

// Exactly 8 characters of [0-9A-Za-z].
bool isSightingGuid(std::string_view guid);
// 1..maxBytes bytes of valid UTF-8 without control characters (C0, DEL, C1).
bool isSightingText(std::string_view text, std::size_t maxBytes);
bool isValidUtf8(std::string_view text);
// Appends one code point (at most U+10FFFF, no surrogates) as UTF-8.
void appendUtf8(std::string& out, char32_t codePoint);
// Dumps are 8-bit text in the Windows code page; text that already is valid
// UTF-8 is kept, anything else is read as Windows-1252.
std::string toUtf8FromDump(std::string_view bytes);
// "2026-12-05T14:00:00Z"
std::string isoUtc(std::chrono::system_clock::time_point t);
// A JSON string of text that passed isSightingText (no control characters).
std::string jsonQuoted(std::string_view text);
// The lookup address (with or without a trailing slash) + `path`.
std::string serviceUrl(std::string address, std::string_view path);
// Why a post to the alias service failed, "" when it was taken (HTTP 200).
std::string serviceFailure(const FetchResult& result);

struct SightedPlayer {
    std::string slot;
    std::string guid; // lower case
    std::string name; // original case, UTF-8, blanks trimmed
};
// The player on one line of a dump (CR LF or LF cut off), when the line is a
// player line whose GUID and name pass the rules above.
std::optional<SightedPlayer> sightedPlayerOn(std::string_view line);
// Every such player of a dump, in dump order (repeats included).
std::vector<SightedPlayer> sightedPlayersIn(std::string_view dump);
// The GUIDs the settings say never to record (NeverRecord and OwnGuid), lower case.
std::set<std::string> guidsNeverRecorded(const Settings& settings);

class SightingsReporter {
  public:
    SightingsReporter(Settings& settings, Platform& platform,
                      std::function<void(const std::string&)> consoleLine,
                      std::function<std::string()> lookupAddress);

    // Posts the players not already sent within the dedupe window. Never
    // waits for the service: the answer arrives later and is only checked.
    void recordFromDump(std::string_view dumpText, const std::string& mod);

    static constexpr std::chrono::minutes kRepostAfter{10};
    static constexpr std::size_t kMaxRemembered = 4096;

  private:
    // Shared with the answer callbacks, which may outlive the reporter.
    struct State {
        std::unordered_map<std::string, std::chrono::system_clock::time_point> lastSent;
        bool failureReported = false;
    };
    bool isDue(const std::string& key, std::chrono::system_clock::time_point now);
    static void onPosted(State& state, const FetchResult& result,
                         const std::vector<std::string>& keys,
                         const std::function<void(const std::string&)>& consoleLine,
                         const std::string& url);

    Settings& settings_;
    Platform& platform_;
    std::function<void(const std::string&)> consoleLine_;
    std::function<std::string()> lookupAddress_;
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

} // namespace hh
