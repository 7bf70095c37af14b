#include "HttpMessage.h"

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

} // namespace

HttpResponse wrongMethod(const char* allowed) {
    HttpResponse r = textResponse(405, std::string("use ") + allowed);
    r.headers["Allow"] = allowed;
    return r;
}

HttpResponse textResponse(int status, std::string body) {
    HttpResponse r;
    r.status = status;
    r.contentType = "text/plain; charset=utf-8";
    r.body = std::move(body);
    if (!r.body.empty() && r.body.back() != '\n')
        r.body += '\n';
    return r;
}

void splitTarget(HttpRequest& request) {
    const auto q = request.target.find('?');
    request.path = percentDecode(std::string_view(request.target).substr(0, q), false);
    if (q != std::string::npos)
        request.query = parseQuery(std::string_view(request.target).substr(q + 1));
}

} // namespace hh::aliasdb
