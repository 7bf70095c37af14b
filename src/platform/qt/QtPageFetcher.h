#pragma once
// HTTP for the lookup and for recording sightings, on QNetworkAccessManager.
// Every transfer is bounded: a time-out over the whole transfer (a server
// that trickles bytes cannot hold it open), a cap on the body, http and https
// only, at most three redirects and never from https to http.
#include "platform/PageFetcher.h"

#include <QByteArray>

#include <memory>

class QNetworkAccessManager;
class QNetworkRequest;

namespace hh {

class QtPageFetcher : public PageFetcher {
  public:
    // Needs the Qt application object; callbacks run on the thread that
    // creates the fetcher. Transfers still open when it goes are dropped
    // without their callbacks (that happens only at shutdown).
    QtPageFetcher();
    ~QtPageFetcher() override;

    void get(const std::string& url, std::function<void(const FetchResult&)> done) override;
    void postJson(const std::string& url, const std::string& json,
                  std::function<void(const FetchResult&)> done) override;
    void setCredential(const std::string& origin, const std::string& secret) override;

    // Tests shorten the limits so that a slow or huge answer ends quickly.
    void setTimeoutMs(int ms) { getTimeoutMs_ = ms; }
    void setPostTimeoutMs(int ms) { postTimeoutMs_ = ms; }
    void setMaxBodyBytes(qint64 bytes) { maxBodyBytes_ = bytes; }

  private:
    void start(const std::string& url, const QByteArray* postBody, int timeoutMs,
               std::function<void(const FetchResult&)> done);

    std::unique_ptr<QNetworkAccessManager> manager_;
    std::string credentialOrigin_; // as originOf() gives it
    QByteArray credential_;        // "Bearer <secret>", empty for none
    int getTimeoutMs_ = 10000;
    int postTimeoutMs_ = 5000;
    qint64 maxBodyBytes_ = 4 * 1024 * 1024;
};

} // namespace hh
