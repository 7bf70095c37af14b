#include "gamelink/NameEvents.h"

#include "gamelink/NameKey.h"
#include "gamelink/Sightings.h"
#include "platform/Platform.h"
#include "settings/Settings.h"

#include <algorithm>

namespace hh {
namespace {

// Enough rows to find where a dump left off: the engine's own "Dumped
// console text" line stands among them, so they rarely repeat elsewhere.
constexpr std::size_t kDumpTailRows = 8;

std::vector<std::string_view> rowsOf(std::string_view text) {
    std::vector<std::string_view> rows;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view row = text.substr(0, end);
        if (!row.empty() && row.back() == '\r')
            row.remove_suffix(1);
        rows.push_back(row);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return rows;
}

// The console wraps a line before a word that no longer fits the row, so a
// row followed by one whose first word would have fitted ended there.
bool mayWrapInto(std::string_view row, std::string_view next) {
    const std::size_t word = std::min(next.find(' '), next.size());
    return !next.empty() && row.size() + 1 + word >= NameEventReporter::kDumpRowWidth;
}

} // namespace

NameEventReporter::NameEventReporter(Settings& settings, Platform& platform,
                                     std::function<void(const std::string&)> consoleLine,
                                     std::function<std::string()> lookupAddress)
    : settings_(settings), platform_(platform), consoleLine_(std::move(consoleLine)),
      lookupAddress_(std::move(lookupAddress)) {}

void NameEventReporter::takeLine(std::string_view line, ConsoleForm form) {
    if (auto event = parseConsoleEvent(line, form))
        take(*event);
}

void NameEventReporter::takeDump(std::string_view dumpText, bool record) {
    const std::vector<std::string_view> rows = rowsOf(dumpText);
    std::size_t first = 0;
    const std::size_t k = dumpTail_.size();
    // The console keeps its newest rows: the previous dump's last rows stand
    // somewhere in this one, and what follows them is new.
    for (std::size_t end = rows.size(); k > 0 && end >= k; --end)
        if (std::equal(dumpTail_.begin(), dumpTail_.end(),
                       rows.begin() + static_cast<std::ptrdiff_t>(end - k))) {
            first = end;
            break;
        }
    for (std::size_t i = record ? first : rows.size(); i < rows.size(); ++i) {
        // Half of a wrapped line would record a cut name.
        const bool wrapped = (i + 1 < rows.size() && mayWrapInto(rows[i], rows[i + 1])) ||
                             (i > 0 && mayWrapInto(rows[i - 1], rows[i]));
        if (!wrapped)
            takeLine(rows[i], ConsoleForm::Dump);
    }
    dumpTail_.assign(rows.end() - static_cast<std::ptrdiff_t>(std::min(rows.size(), kDumpTailRows)),
                     rows.end());
}

void NameEventReporter::startSession(std::string server) {
    server_ = std::move(server);
    if (present_)
        present_->clear();
    session_ = isoUtc(platform_.clock.now()) + " " + (server_.empty() ? "?" : server_) + " " +
               std::to_string(++seq_);
}

void NameEventReporter::take(const ConsoleEvent& event) {
    if (event.kind == ConsoleEventKind::Server || event.kind == ConsoleEventKind::GameStart) {
        startSession(event.server);
        return;
    }
    if (session_.empty())
        startSession("");
    const std::string name = toUtf8FromDump(event.name);
    const std::string newName = toUtf8FromDump(event.newName);
    const bool renamed = event.kind == ConsoleEventKind::Renamed;
    if (!isSightingText(name, kMaxSightingNameBytes) ||
        (renamed && !isSightingText(newName, kMaxSightingNameBytes)))
        return;
    updatePresence(event, name, newName);
    std::string json =
        "{\"kind\":" + jsonQuoted(consoleEventWord(event.kind)) + ",\"name\":" + jsonQuoted(name);
    if (renamed)
        json += ",\"new_name\":" + jsonQuoted(newName);
    if (!server_.empty())
        json += ",\"server\":" + jsonQuoted(server_);
    json += ",\"session\":" + jsonQuoted(session_) +
            ",\"at\":" + jsonQuoted(isoUtc(platform_.clock.now())) + ",\"seq\":\"" +
            std::to_string(++seq_) + "\"}";
    pending_.push_back(std::move(json));
    if (pending_.size() >= kMaxPending)
        flush();
}

void NameEventReporter::updatePresence(const ConsoleEvent& event, const std::string& name,
                                       const std::string& newName) {
    if (!present_)
        return;
    std::vector<std::string>& names = *present_;
    const std::string key = nameKey(name);
    const auto it = std::find_if(names.begin(), names.end(),
                                 [&](const std::string& n) { return nameKey(n) == key; });
    switch (event.kind) {
    case ConsoleEventKind::Connected:
    case ConsoleEventKind::Entered:
        if (it != names.end())
            *it = name; // the log's colours over the dump's plain name
        else if (names.size() < kMaxPresent)
            names.push_back(name);
        break;
    case ConsoleEventKind::Renamed:
        if (it != names.end())
            *it = newName;
        else if (names.size() < kMaxPresent)
            names.push_back(newName);
        break;
    case ConsoleEventKind::Disconnected:
    case ConsoleEventKind::Kicked:
        if (it != names.end())
            names.erase(it);
        break;
    default:
        break;
    }
}

void NameEventReporter::flush() {
    if (pending_.empty())
        return;
    std::string json = "[";
    for (const std::string& record : pending_)
        json += (json.size() > 1 ? "," : "") + record;
    json += "]";
    pending_.clear();
    const std::string address = lookupAddress_();
    if (!settings_.recordSightings() || address.empty())
        return; // off, or no alias database to record into
    const std::string url = serviceUrl(address, "/names");
    platform_.pages.postJson(
        url, json,
        [reported = failureReported_, console = consoleLine_, url](const FetchResult& result) {
            const std::string why = serviceFailure(result);
            if (why.empty() || *reported || !console)
                return;
            *reported = true;
            console("Could not record name changes at " + url + " (" + why +
                    "); further failures are not shown.");
        });
}

} // namespace hh
