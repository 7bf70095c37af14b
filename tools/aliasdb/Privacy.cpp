#include "Privacy.h"

#include "SightingBatch.h"
#include "gamelink/NameKey.h"

#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <set>

namespace hh::aliasdb {

namespace {

constexpr std::size_t kRowsPerRead = 1000;
constexpr std::size_t kMaxNamesPerGuid = 100000;

std::string csvLine(const GuidAliasRow& r) {
    return csvCell(r.guid) + "," + csvCell(r.row.name) + "," + isoOf(r.row.firstSeen) + "," +
           isoOf(r.row.lastSeen) + "," + std::to_string(r.row.timesSeen) + "," +
           csvCell(r.row.lastMod) + "\r\n";
}

std::string jsonLine(const GuidAliasRow& r, bool first) {
    const nlohmann::json entry = {
        {"guid", r.guid},
        {"name", r.row.name},
        {"first_seen", isoOf(r.row.firstSeen)},
        {"last_seen", isoOf(r.row.lastSeen)},
        {"times_seen", r.row.timesSeen},
        {"mod", r.row.lastMod},
    };
    return std::string(first ? "\n" : ",\n") +
           entry.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

bool writeAll(int fd, const std::string& text, std::string& error) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = std::strerror(errno);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::string csvCell(std::string_view text) {
    std::string out = "\"";
    if (!text.empty() && text.front() != '\0' && std::strchr("=+-@\t\r", text.front()))
        out += '\'';
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

namespace {

// Writes a new file only its owner may read: `header`, then each page
// `nextPage` returns (an empty page ends), then `footer`. On failure nothing
// is left behind.
bool exportToFile(const std::filesystem::path& file, const std::string& header,
                  const std::function<bool(std::string& text, std::size_t& rows, bool& more,
                                           std::string& error)>& nextPage,
                  const std::function<std::string(std::size_t rows)>& footer, std::size_t& rows,
                  std::string& error) {
    rows = 0;
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = "cannot create " + file.string() + ": " + std::strerror(errno) +
                (errno == EEXIST ? " (choose another --output)" : "");
        return false;
    }
    bool ok = writeAll(fd, header, error);
    for (bool more = ok; more && ok;) {
        std::string text;
        ok = nextPage(text, rows, more, error) && writeAll(fd, text, error);
    }
    ok = ok && writeAll(fd, footer(rows), error);
    if (::close(fd) != 0 && ok) {
        error = std::strerror(errno);
        ok = false;
    }
    if (!ok) {
        error = "cannot export to " + file.string() + ": " + error;
        ::unlink(file.c_str());
    }
    return ok;
}

std::string jsonFooter(std::size_t rows) {
    return rows ? "\n]\n" : "]\n";
}

std::string eventCsvLine(const NameEvent& e) {
    return csvCell(e.session) + "," + std::to_string(e.seq) + "," + csvCell(e.kind) + "," +
           csvCell(e.name) + "," + csvCell(e.newName) + "," + csvCell(e.server) + "," +
           isoOf(e.at) + "\r\n";
}

std::string eventJsonLine(const NameEvent& e, bool first) {
    const nlohmann::json entry = {
        {"session", e.session},  {"seq", e.seq},       {"kind", e.kind},    {"name", e.name},
        {"new_name", e.newName}, {"server", e.server}, {"at", isoOf(e.at)},
    };
    return std::string(first ? "\n" : ",\n") +
           entry.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

} // namespace

bool exportRecords(AliasStore& store, const std::string& guid, ExportFormat format,
                   const std::filesystem::path& file, std::size_t& rows, std::string& error) {
    const bool json = format == ExportFormat::Json;
    std::string afterGuid, afterName;
    return exportToFile(
        file, json ? "[" : "guid,name,first_seen,last_seen,times_seen,mod\r\n",
        [&](std::string& text, std::size_t& count, bool& more, std::string& why) {
            std::vector<GuidAliasRow> page;
            if (!store.exportRows(guid == "all" ? std::string() : guid, afterGuid, afterName,
                                  kRowsPerRead, page, why))
                return false;
            for (const auto& r : page) {
                text += json ? jsonLine(r, count == 0) : csvLine(r);
                ++count;
            }
            more = page.size() == kRowsPerRead;
            if (!page.empty()) {
                afterGuid = page.back().guid;
                afterName = page.back().row.name;
            }
            return true;
        },
        [json](std::size_t count) { return json ? jsonFooter(count) : std::string(); }, rows,
        error);
}

bool exportNameEvents(AliasStore& store, ExportFormat format, const std::filesystem::path& file,
                      std::size_t& rows, std::string& error) {
    const bool json = format == ExportFormat::Json;
    std::string afterSession;
    std::int64_t afterSeq = 0;
    return exportToFile(
        file, json ? "[" : "session,seq,kind,name,new_name,server,at\r\n",
        [&](std::string& text, std::size_t& count, bool& more, std::string& why) {
            std::vector<NameEvent> page;
            if (!store.exportNameEvents(afterSession, afterSeq, kRowsPerRead, page, why))
                return false;
            for (const auto& e : page) {
                text += json ? eventJsonLine(e, count == 0) : eventCsvLine(e);
                ++count;
            }
            more = page.size() == kRowsPerRead;
            if (!page.empty()) {
                afterSession = page.back().session;
                afterSeq = page.back().seq;
            }
            return true;
        },
        [json](std::size_t count) { return json ? jsonFooter(count) : std::string(); }, rows,
        error);
}

bool forgetPlayer(AliasStore& store, const std::string& guid, std::size_t& rows,
                  std::size_t& events, std::string& error) {
    rows = events = 0;
    std::vector<AliasRow> names;
    if (!store.aliasesOf(guid, kMaxNamesPerGuid, names, error))
        return false;
    std::set<std::string> keys;
    for (const AliasRow& row : names)
        if (const std::string key = nameKey(row.name); !key.empty())
            keys.insert(key);
    for (const std::string& key : keys) {
        std::size_t removed = 0;
        if (!store.forgetName(key, removed, error))
            return false;
        events += removed;
    }
    return store.forgetGuid(guid, rows, error);
}

} // namespace hh::aliasdb
