#include "SightingBatch.h"

#include "JsonArrayReader.h"
#include "common/Strings.h"
#include "gamelink/Sightings.h"

#include <chrono>

namespace hh::aliasdb {

namespace {

std::optional<int> fixedDigits(std::string_view text, std::size_t at, std::size_t count) {
    if (at + count > text.size())
        return std::nullopt;
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool readEntry(const JsonObject& entry, std::int64_t now, Sighting& out, std::string& error) {
    error = checkStringFields(entry, {"guid", "name", "seen_at", "mod"});
    if (!error.empty())
        return false;
    const JsonField* guid = findField(entry, "guid");
    const JsonField* name = findField(entry, "name");
    if (!guid || !name) {
        error = "guid and name are required";
        return false;
    }
    if (!isSightingGuid(*guid->text)) {
        error = "guid must be exactly 8 letters or digits";
        return false;
    }
    out.guid = toLower(*guid->text);
    out.name = *name->text;
    if (!isSightingText(out.name, kMaxSightingNameBytes)) {
        error = "name must be 1 to 64 bytes without control characters";
        return false;
    }
    if (const JsonField* mod = findField(entry, "mod"))
        out.mod = *mod->text;
    if (!out.mod.empty() && !isSightingText(out.mod, kMaxSightingModBytes)) {
        error = "mod must be at most 32 bytes without control characters";
        return false;
    }
    out.seenAt = now;
    if (const JsonField* seenAt = findField(entry, "seen_at")) {
        const auto when = parseIsoUtc(*seenAt->text);
        if (!when) {
            error = "seen_at must be an ISO-8601 UTC time such as 2026-12-05T14:00:00Z";
            return false;
        }
        if (*when > now + kMaxFutureSeconds) {
            error = "seen_at lies in the future";
            return false;
        }
        out.seenAt = *when;
    }
    return true;
}

} // namespace

BatchParse parseSightingBatch(std::string_view body, std::int64_t nowSeconds) {
    BatchParse out;
    // No field of a valid entry is longer than a name; anything far longer is
    // refused before it is looked at.
    const ArrayRules rules{"sightings", kMaxBatchEntries, 4 * kMaxSightingNameBytes};
    out.error = readObjectArray(body, rules, [&](const JsonObject& entry) {
        Sighting s;
        std::string why;
        if (readEntry(entry, nowSeconds, s, why))
            out.sightings.push_back(std::move(s));
        return why;
    });
    if (!out.error.empty())
        out.sightings.clear();
    return out;
}

std::optional<std::int64_t> parseIsoUtc(std::string_view t) {
    using namespace std::chrono;
    const auto y = fixedDigits(t, 0, 4), mo = fixedDigits(t, 5, 2), d = fixedDigits(t, 8, 2);
    const auto h = fixedDigits(t, 11, 2), mi = fixedDigits(t, 14, 2), s = fixedDigits(t, 17, 2);
    if (!y || !mo || !d || !h || !mi || !s || t[4] != '-' || t[7] != '-' || t[10] != 'T' ||
        t[13] != ':' || t[16] != ':')
        return std::nullopt;
    std::string_view rest = t.substr(19);
    if (!rest.empty() && rest.front() == '.') {
        std::size_t n = 1;
        while (n < rest.size() && n <= 9 && rest[n] >= '0' && rest[n] <= '9')
            ++n;
        if (n == 1)
            return std::nullopt;
        rest.remove_prefix(n);
    }
    if (rest != "Z" && rest != "+00:00")
        return std::nullopt;
    const year_month_day date{year{*y}, month{static_cast<unsigned>(*mo)},
                              day{static_cast<unsigned>(*d)}};
    if (*y < 1970 || !date.ok() || *h > 23 || *mi > 59 || *s > 59)
        return std::nullopt;
    const auto at = sys_days{date} + hours{*h} + minutes{*mi} + seconds{*s};
    return at.time_since_epoch().count();
}

std::string isoOf(std::int64_t seconds) {
    return isoUtc(std::chrono::system_clock::time_point{std::chrono::seconds{seconds}});
}

std::string dateOf(std::int64_t seconds) {
    return isoOf(seconds).substr(0, 10);
}

} // namespace hh::aliasdb
