#pragma once
// The body of POST /sightings: a JSON array of
// {"guid": "1a2b3c4d", "name": "Player", "seen_at": "2026-12-05T14:00:00Z", "mod": "osp"}
// (seen_at and mod optional). One bad entry refuses the whole batch.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hh::aliasdb {

struct Sighting {
    std::string guid; // lower case
    std::string name;
    std::int64_t seenAt = 0; // seconds since 1970 UTC
    std::string mod;         // may be empty
};

inline constexpr std::size_t kMaxBatchEntries = 10000;
// Clocks of players' machines drift; a date further ahead is refused so that
// it cannot sit on top of an alias list for ever.
inline constexpr std::int64_t kMaxFutureSeconds = 24 * 3600;

struct BatchParse {
    std::vector<Sighting> sightings;
    std::string error; // the reason for a 400 when not empty
};

BatchParse parseSightingBatch(std::string_view body, std::int64_t nowSeconds);

// "YYYY-MM-DDTHH:MM:SS[.fraction]Z" or with "+00:00"; years 1970..9999.
std::optional<std::int64_t> parseIsoUtc(std::string_view text);
// "YYYY-MM-DD"
std::string dateOf(std::int64_t seconds);
std::string isoOf(std::int64_t seconds);

} // namespace hh::aliasdb
