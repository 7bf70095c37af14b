#include "Privacy.h"

#include "SightingBatch.h"

#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace hh::aliasdb {

namespace {

constexpr std::size_t kRowsPerRead = 1000;

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

bool exportRecords(AliasStore& store, const std::string& guid, ExportFormat format,
                   const std::filesystem::path& file, std::size_t& rows, std::string& error) {
    rows = 0;
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = "cannot create " + file.string() + ": " + std::strerror(errno) +
                (errno == EEXIST ? " (choose another --output)" : "");
        return false;
    }
    const bool json = format == ExportFormat::Json;
    bool ok = writeAll(fd, json ? "[" : "guid,name,first_seen,last_seen,times_seen,mod\r\n", error);
    std::string afterGuid, afterName;
    for (bool more = ok; more && ok;) {
        std::vector<GuidAliasRow> page;
        ok = store.exportRows(guid == "all" ? std::string() : guid, afterGuid, afterName,
                              kRowsPerRead, page, error);
        std::string text;
        for (const auto& r : page) {
            text += json ? jsonLine(r, rows == 0) : csvLine(r);
            ++rows;
        }
        ok = ok && writeAll(fd, text, error);
        more = page.size() == kRowsPerRead;
        if (!page.empty()) {
            afterGuid = page.back().guid;
            afterName = page.back().row.name;
        }
    }
    ok = ok && (!json || writeAll(fd, rows ? "\n]\n" : "]\n", error));
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

} // namespace hh::aliasdb
