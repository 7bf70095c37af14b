#pragma once
#include <functional>
#include <string>

namespace hh {

struct FetchResult {
    bool ok = false;      // a page arrived (any HTTP status with a body counts)
    int httpStatus = 0;   // 0 when no HTTP answer came
    std::string finalUrl; // address after redirects, normalised ("http://h/?guid=...")
    std::string body;     // page bytes, at most the fetcher's cap
    std::string error;    // what went wrong when !ok (time-out, refused, DNS, too big)
};

// Asynchronous GET. The callback runs later on the UI thread, exactly once.
class PageFetcher {
  public:
    virtual ~PageFetcher() = default;
    virtual void get(const std::string& url, std::function<void(const FetchResult&)> done) = 0;
    // Fire-and-forget POST of a JSON body; the callback (may be empty) gets
    // the outcome on the UI thread.
    virtual void postJson(const std::string& url, const std::string& json,
                          std::function<void(const FetchResult&)> done) = 0;
    // The program's own alias database wants its owner's secret. From now on,
    // requests to `origin` (scheme, host and port exactly as written here,
    // e.g. "http://127.0.0.1:41234") carry "Authorization: Bearer <secret>"
    // and follow no redirect; no other address ever gets the secret. A later
    // call replaces both; an empty secret sends none.
    virtual void setCredential(const std::string& origin, const std::string& secret) = 0;
};

} // namespace hh
