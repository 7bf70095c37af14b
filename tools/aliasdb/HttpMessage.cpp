#include "HttpMessage.h"

#include "common/Strings.h"

namespace hh::aliasdb {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string_view trimOws(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

HeadParse refuse(int status, std::string why) {
    return {false, status, std::move(why)};
}

bool isToken(std::string_view s) {
    if (s.empty())
        return false;
    for (char c : s)
        if (c <= ' ' || c >= 0x7F || c == ':' || c == '(' || c == ')' || c == '"')
            return false;
    return true;
}

} // namespace

HttpResponse textResponse(int status, std::string body) {
    HttpResponse r;
    r.status = status;
    r.contentType = "text/plain; charset=utf-8";
    r.body = std::move(body);
    if (!r.body.empty() && r.body.back() != '\n')
        r.body += '\n';
    return r;
}

std::string percentDecode(std::string_view text, bool plusIsBlank) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
            hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else if (c == '+' && plusIsBlank) {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

std::map<std::string, std::string> parseQuery(std::string_view query) {
    std::map<std::string, std::string> out;
    while (!query.empty()) {
        const auto amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        if (pair.empty())
            continue;
        const auto eq = pair.find('=');
        const std::string name = percentDecode(pair.substr(0, eq), true);
        const std::string value =
            eq == std::string_view::npos ? std::string() : percentDecode(pair.substr(eq + 1), true);
        out.emplace(name, value);
    }
    return out;
}

HeadParse parseRequestHead(std::string_view head, HttpRequest& out) {
    auto lineEnd = head.find("\r\n");
    const std::string_view requestLine = head.substr(0, lineEnd);
    const auto sp1 = requestLine.find(' ');
    const auto sp2 = sp1 == std::string_view::npos ? sp1 : requestLine.find(' ', sp1 + 1);
    if (sp2 == std::string_view::npos || requestLine.find(' ', sp2 + 1) != std::string_view::npos)
        return refuse(400, "malformed request line");
    out.method = std::string(requestLine.substr(0, sp1));
    out.target = std::string(requestLine.substr(sp1 + 1, sp2 - sp1 - 1));
    const std::string_view version = requestLine.substr(sp2 + 1);
    if (!isToken(out.method) || out.target.empty() || out.target.front() != '/')
        return refuse(400, "malformed request line");
    if (version != "HTTP/1.1" && version != "HTTP/1.0")
        return refuse(505, "only HTTP/1.0 and HTTP/1.1 are served");

    while (lineEnd != std::string_view::npos && lineEnd + 2 < head.size()) {
        const auto from = lineEnd + 2;
        lineEnd = head.find("\r\n", from);
        const std::string_view line = head.substr(from, lineEnd - from);
        const auto colon = line.find(':');
        if (colon == std::string_view::npos || !isToken(line.substr(0, colon)))
            return refuse(400, "malformed header line");
        const std::string name = toLower(line.substr(0, colon));
        const std::string value(trimOws(line.substr(colon + 1)));
        auto [it, fresh] = out.headers.emplace(name, value);
        if (!fresh && name == "content-length" && it->second != value)
            return refuse(400, "conflicting Content-Length headers");
    }

    if (out.headers.count("transfer-encoding"))
        return refuse(501, "chunked request bodies are not accepted; send Content-Length");
    if (auto it = out.headers.find("content-length"); it != out.headers.end()) {
        const std::string& digits = it->second;
        if (digits.empty() || digits.size() > 12 ||
            digits.find_first_not_of("0123456789") != std::string::npos)
            return refuse(400, "malformed Content-Length");
        out.contentLength = std::stoull(digits);
    } else if (out.method == "POST") {
        return refuse(411, "a POST needs a Content-Length");
    }

    const auto q = out.target.find('?');
    out.path = percentDecode(std::string_view(out.target).substr(0, q), false);
    if (q != std::string::npos)
        out.query = parseQuery(std::string_view(out.target).substr(q + 1));
    return {true, 0, {}};
}

const char* statusText(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 302:
        return "Found";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 411:
        return "Length Required";
    case 413:
        return "Content Too Large";
    case 431:
        return "Request Header Fields Too Large";
    case 500:
        return "Internal Server Error";
    case 501:
        return "Not Implemented";
    case 503:
        return "Service Unavailable";
    case 505:
        return "HTTP Version Not Supported";
    default:
        return "Unknown";
    }
}

std::string serializeResponse(const HttpResponse& response) {
    std::string out =
        "HTTP/1.1 " + std::to_string(response.status) + " " + statusText(response.status) + "\r\n";
    out += "Content-Type: " + response.contentType + "\r\n";
    out += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
    out += "Connection: close\r\nCache-Control: no-store\r\n";
    for (const auto& [name, value] : response.headers)
        out += name + ": " + value + "\r\n";
    out += "\r\n";
    out += response.body;
    return out;
}

} // namespace hh::aliasdb
