#include "gamelink/Sightings.h"

#include "common/Strings.h"
#include "common/UtcTime.h"
#include "platform/Platform.h"
#include "settings/Settings.h"

#include <array>
#include <cstdint>

namespace hh {

namespace {

// Windows-1252 code points of the bytes 0x80..0x9F; 0 marks an unassigned byte.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Length of the UTF-8 sequence starting at s[i], or 0 when it is malformed
// (overlong forms, surrogates and code points past U+10FFFF included).
std::size_t utf8SequenceAt(std::string_view s, std::size_t i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80)
        return 1;
    std::size_t len = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        lo = b0 == 0xE0 ? 0xA0 : 0x80;
        hi = b0 == 0xED ? 0x9F : 0xBF;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        lo = b0 == 0xF0 ? 0x90 : 0x80;
        hi = b0 == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + len > s.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if (b < (k == 1 ? lo : 0x80) || b > (k == 1 ? hi : 0xBF))
            return 0;
    }
    return len;
}

} // namespace

bool isSightingGuid(std::string_view guid) {
    if (guid.size() != 8)
        return false;
    for (char c : guid) {
        const bool alnum =
            (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!alnum)
            return false;
    }
    return true;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
        return;
    }
    const int extra = cp < 0x800 ? 1 : cp < 0x10000 ? 2 : 3;
    static constexpr unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(kLead[extra] | (cp >> (6 * extra)));
    for (int k = extra - 1; k >= 0; --k)
        out += static_cast<char>(0x80 | ((cp >> (6 * k)) & 0x3F));
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len = utf8SequenceAt(text, i);
        if (len == 0)
            return false;
        i += len;
    }
    return true;
}

bool isSightingText(std::string_view text, std::size_t maxBytes) {
    if (text.empty() || text.size() > maxBytes || !isValidUtf8(text))
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        const bool c1 =
            b == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0;
        if (b < 0x20 || b == 0x7F || c1)
            return false;
    }
    return true;
}

std::string toUtf8FromDump(std::string_view bytes) {
    if (isValidUtf8(bytes))
        return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            out += c;
        else if (b < 0xA0)
            appendUtf8(out, kCp1252High[b - 0x80] ? kCp1252High[b - 0x80] : U'?');
        else
            appendUtf8(out, b);
    }
    return out;
}

std::string jsonQuoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

std::string serviceFailure(const FetchResult& result) {
    if (result.ok && result.httpStatus == 200)
        return {};
    return result.error.empty() ? "HTTP " + std::to_string(result.httpStatus) : result.error;
}

std::string serviceUrl(std::string address, std::string_view path) {
    if (!address.empty() && address.back() == '/')
        address.pop_back();
    return address + std::string(path);
}

std::string isoUtc(std::chrono::system_clock::time_point t) {
    std::string text = utcDateTimeText(t);
    text[10] = 'T';
    return text + "Z";
}

std::optional<SightedPlayer> sightedPlayerOn(std::string_view line) {
    // Columns counted from 1: slot 1-2, GUID 4-11, name from 31 on.
    constexpr std::size_t kGuidAt = 3, kNameAt = 30;
    if (line.size() <= kNameAt || !contains(toLower(line), "(valid"))
        return std::nullopt;
    const std::string_view guid = line.substr(kGuidAt, 8);
    std::string name = trimBlanks(toUtf8FromDump(line.substr(kNameAt)));
    if (!isSightingGuid(guid) || !isSightingText(name, kMaxSightingNameBytes))
        return std::nullopt;
    return SightedPlayer{trimBlanks(line.substr(0, 2)), toLower(guid), std::move(name)};
}

std::vector<SightedPlayer> sightedPlayersIn(std::string_view dump) {
    std::vector<SightedPlayer> players;
    for (std::size_t start = 0; start <= dump.size();) {
        std::size_t end = dump.find('\n', start);
        if (end == std::string_view::npos)
            end = dump.size();
        std::string_view line = dump.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (auto player = sightedPlayerOn(line))
            players.push_back(std::move(*player));
    }
    return players;
}

std::set<std::string> guidsNeverRecorded(const Settings& settings) {
    std::set<std::string> guids;
    std::string list = settings.neverRecordRaw() + " " + settings.ownGuid();
    for (char& c : list)
        if (c == ',' || c == ';' || c == '\t')
            c = ' ';
    for (std::size_t start = 0; start < list.size();) {
        std::size_t end = list.find(' ', start);
        if (end == std::string::npos)
            end = list.size();
        const std::string_view word = std::string_view(list).substr(start, end - start);
        if (isSightingGuid(word))
            guids.insert(toLower(word));
        start = end + 1;
    }
    return guids;
}

SightingsReporter::SightingsReporter(Settings& settings, Platform& platform,
                                     std::function<void(const std::string&)> consoleLine,
                                     std::function<std::string()> lookupAddress)
    : settings_(settings), platform_(platform), consoleLine_(std::move(consoleLine)),
      lookupAddress_(std::move(lookupAddress)) {}

bool SightingsReporter::isDue(const std::string& key, std::chrono::system_clock::time_point now) {
    auto& sent = state_->lastSent;
    const auto it = sent.find(key);
    if (it != sent.end() && now - it->second < kRepostAfter)
        return false;
    if (it == sent.end() && sent.size() >= kMaxRemembered) {
        std::erase_if(sent, [&](const auto& entry) { return now - entry.second >= kRepostAfter; });
        // Still full of fresh entries: forgetting them costs at most one repost each.
        if (sent.size() >= kMaxRemembered)
            sent.clear();
    }
    sent[key] = now;
    return true;
}

void SightingsReporter::recordFromDump(std::string_view dumpText, const std::string& mod) {
    const std::string address = lookupAddress_();
    if (!settings_.recordSightings() || address.empty())
        return; // off, or no alias database to record into
    const auto now = platform_.clock.now();
    const std::string seenAt = jsonQuoted(isoUtc(now));
    const std::string modUtf8 = toUtf8FromDump(mod);
    const std::string modField = isSightingText(modUtf8, kMaxSightingModBytes)
                                     ? ",\"mod\":" + jsonQuoted(modUtf8)
                                     : std::string();
    const std::set<std::string> neverRecorded = guidsNeverRecorded(settings_);
    std::string json = "[";
    std::vector<std::string> keys;
    for (const auto& player : sightedPlayersIn(dumpText)) {
        if (neverRecorded.contains(player.guid))
            continue;
        std::string key = player.guid + '\n' + player.name;
        if (!isDue(key, now))
            continue;
        keys.push_back(std::move(key));
        if (json.size() > 1)
            json += ',';
        json += "{\"guid\":" + jsonQuoted(player.guid) + ",\"name\":" + jsonQuoted(player.name) +
                ",\"seen_at\":" + seenAt + modField + "}";
    }
    if (keys.empty())
        return;
    json += ']';

    const std::string url = serviceUrl(address, "/sightings");
    std::weak_ptr<State> weak = state_;
    platform_.pages.postJson(
        url, json,
        [weak, keys = std::move(keys), console = consoleLine_, url](const FetchResult& result) {
            if (auto state = weak.lock())
                onPosted(*state, result, keys, console, url);
        });
}

void SightingsReporter::onPosted(State& state, const FetchResult& result,
                                 const std::vector<std::string>& keys,
                                 const std::function<void(const std::string&)>& consoleLine,
                                 const std::string& url) {
    const std::string why = serviceFailure(result);
    if (why.empty())
        return;
    // A refused batch would be refused again; anything else (no service yet,
    // storage trouble) is worth another try with the next dump.
    const bool refused = result.httpStatus >= 400 && result.httpStatus < 500;
    if (!refused)
        for (const auto& key : keys)
            state.lastSent.erase(key);
    if (state.failureReported || !consoleLine)
        return;
    state.failureReported = true;
    consoleLine("Could not record player sightings at " + url + " (" + why +
                "); further failures are not shown.");
}

} // namespace hh
