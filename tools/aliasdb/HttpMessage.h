#pragma once
// HTTP/1.1 requests and responses as the service needs them: one request per
// connection, a Content-Length body, no chunked uploads.
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace hh::aliasdb {

struct HttpRequest {
    std::string method;
    std::string target;                         // as sent, e.g. "/?guid=1a2b3c4d"
    std::string path;                           // target before '?', percent-decoded
    std::map<std::string, std::string> query;   // decoded; the first of repeated names wins
    std::map<std::string, std::string> headers; // names in lower case
    std::size_t contentLength = 0;
    std::string body;
};

struct HttpResponse {
    int status = 200;
    std::string contentType = "text/html; charset=utf-8";
    std::string body;
    std::map<std::string, std::string> headers; // extra headers
};

HttpResponse textResponse(int status, std::string body);

struct HeadParse {
    bool ok = false;
    int status = 0;    // the error status when !ok (400, 411, 501, ...)
    std::string error; // its reason, for the body
};

// Parses the request line and headers (the text before the empty line).
HeadParse parseRequestHead(std::string_view head, HttpRequest& out);

std::string serializeResponse(const HttpResponse& response);
const char* statusText(int status);
// %XX and, in queries, '+' for a blank. Malformed escapes stay as written.
std::string percentDecode(std::string_view text, bool plusIsBlank);
std::map<std::string, std::string> parseQuery(std::string_view query);

} // namespace hh::aliasdb
