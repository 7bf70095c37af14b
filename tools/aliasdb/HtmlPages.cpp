#include "HtmlPages.h"

#include <map>

namespace hh::aliasdb {

namespace {

std::string document(std::string_view title, std::string_view body) {
    std::string out = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>";
    out += escapeHtml(title);
    out += "</title></head>\n<body>\n<h1>";
    out += escapeHtml(title);
    out += "</h1>\n";
    out += body;
    out += "</body></html>\n";
    return out;
}

std::string searchForm(std::string_view query) {
    return "<form action=\"/search\" method=\"get\"><p>GUID or part of a name: "
           "<input name=\"q\" maxlength=\"64\" value=\"" +
           escapeHtml(query) + "\"> <input type=\"submit\" value=\"Search\"></p></form>\n";
}

std::string guidLink(const std::string& guid) {
    return "<a href=\"/?guid=" + guid + "\">" + guid + "</a>";
}

} // namespace

std::string escapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string aliasPage(const std::string& guid, const std::vector<AliasRow>& rows) {
    std::string body = searchForm({});
    body.reserve(body.size() + rows.size() * 120 + 512);
    body += "<table border=\"1\" cellpadding=\"3\">\n"
            "<tr><th><b>Alias</b></th><th><b>Last Used</b></th><th>Times Seen</th>"
            "<th>Mod</th></tr>\n";
    std::map<std::string, std::int64_t> modLastSeen;
    for (const auto& row : rows) {
        // The program reads uses and last sighting from the name's own tag;
        // readers that know only the cells pass over the attributes.
        body += "<tr><td><FONT size=1 data-uses=\"" + std::to_string(row.timesSeen) +
                "\" data-last=\"" + dateOf(row.lastSeen) + "\">";
        body += escapeHtml(row.name);
        body += "</FONT></td><td><FONT size=1>";
        body += dateOf(row.lastSeen);
        body += "</FONT></td><td>" + std::to_string(row.timesSeen) + "</td><td>";
        body += escapeHtml(row.lastMod);
        body += "</td></tr>\n";
        if (!row.lastMod.empty() && modLastSeen[row.lastMod] < row.lastSeen)
            modLastSeen[row.lastMod] = row.lastSeen;
    }
    body += "</table>\n<table border=\"1\" cellpadding=\"3\">\n"
            "<tr><th><b>Server Name</b></th><th>Last Seen</th></tr>\n";
    for (const auto& [mod, lastSeen] : modLastSeen)
        body += "<tr><td>" + escapeHtml(mod) + "</td><td>" + dateOf(lastSeen) + "</td></tr>\n";
    body += "</table>\n";
    return document("Aliases of GUID " + guid, body);
}

std::string noDataPage(std::string_view guid, std::string_view why) {
    std::string body = "<p><b>No data found</b> for GUID " + escapeHtml(guid) + ".</p>\n";
    if (!why.empty())
        body += "<p>" + escapeHtml(why) + "</p>\n";
    return document("Aliases", body + searchForm({}));
}

std::string searchFormPage() {
    return document("Alias database", searchForm({}) +
                                          "<p>Look up every name seen with a PunkBuster GUID, or "
                                          "every GUID that used a name.</p>\n");
}

std::string searchResultsPage(std::string_view query, const std::vector<NameMatch>& matches,
                              std::size_t limit) {
    std::string body = searchForm(query);
    if (matches.empty()) {
        body += "<p>No name contains \"" + escapeHtml(query) + "\".</p>\n";
        return document("Search", body);
    }
    body += "<table border=\"1\" cellpadding=\"3\">\n<tr><th>Name</th><th>GUID</th>"
            "<th>Last Seen</th><th>Times Seen</th></tr>\n";
    for (const auto& m : matches)
        body += "<tr><td>" + escapeHtml(m.name) + "</td><td>" + guidLink(m.guid) + "</td><td>" +
                dateOf(m.lastSeen) + "</td><td>" + std::to_string(m.timesSeen) + "</td></tr>\n";
    body += "</table>\n";
    if (matches.size() >= limit)
        body += "<p>Only the " + std::to_string(limit) + " most recent matches are shown.</p>\n";
    return document("Search", body);
}

} // namespace hh::aliasdb
