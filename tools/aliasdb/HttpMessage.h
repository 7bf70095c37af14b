#pragma once
// A request and its answer as the service's routes see them; the server turns
// the bytes on the wire into these and back.
#include <map>
#include <string>
#include <string_view>

namespace hh::aliasdb {

struct HttpRequest {
    std::string method;
    std::string target;                         // as sent, e.g. "/?guid=1a2b3c4d"
    std::string path;                           // target before '?', percent-decoded
    std::map<std::string, std::string> query;   // decoded; the first of repeated names wins
    std::map<std::string, std::string> headers; // names in lower case
    std::string body;
};

struct HttpResponse {
    int status = 200;
    std::string contentType = "text/html; charset=utf-8";
    std::string body;
    std::map<std::string, std::string> headers; // extra headers
};

HttpResponse textResponse(int status, std::string body);
// 405 naming the method the route takes.
HttpResponse wrongMethod(const char* allowed);

// Splits the target into the decoded path and query (%XX, and '+' for a
// blank in the query; malformed escapes stay as written).
void splitTarget(HttpRequest& request);

} // namespace hh::aliasdb
