#pragma once
// HTTP for the lookup and for recording sightings, on WinHTTP: https with
// the system's certificates and proxy, no library to ship. Bounded as on
// Linux: a time-out over the whole transfer, a cap on the body, http and
// https only, at most three redirects and never from https to http.
//
// Each transfer runs on a thread of its own (WinHTTP's blocking calls), with
// a session of its own; its result reaches the UI thread through the pump.
#include "platform/EventPump.h"
#include "platform/PageFetcher.h"

#include <cstdint>
#include <memory>
#include <string>

namespace hh {

class Win32PageFetcher : public PageFetcher {
  public:
    explicit Win32PageFetcher(EventPump& uiThread);
    // Transfers still open are cut off without their callbacks.
    ~Win32PageFetcher() override;

    void get(const std::string& url, std::function<void(const FetchResult&)> done) override;
    void postJson(const std::string& url, const std::string& json,
                  std::function<void(const FetchResult&)> done) override;
    void setCredential(const std::string& origin, const std::string& secret) override;

    void setTimeoutMs(int ms) { getTimeoutMs_ = ms; }
    void setPostTimeoutMs(int ms) { postTimeoutMs_ = ms; }
    void setMaxBodyBytes(std::int64_t bytes) { maxBodyBytes_ = bytes; }

    struct Shared; // what the transfer threads and this object both reach

  private:
    void start(const std::string& url, const std::string* postBody, int timeoutMs,
               std::function<void(const FetchResult&)> done);

    EventPump& uiThread_;
    std::shared_ptr<Shared> shared_;
    std::string credentialOrigin_; // "http://127.0.0.1:41234"
    std::string credential_;       // "Bearer <secret>", "" for none
    int getTimeoutMs_ = 10000;
    int postTimeoutMs_ = 5000;
    std::int64_t maxBodyBytes_ = 4 * 1024 * 1024;
};

} // namespace hh
