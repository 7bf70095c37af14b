#include "platform/qt/QtPageFetcher.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace hh {
namespace {

constexpr int kMaxRedirects = 3;
// Qt buffers at most this much between our reads, so a fast server cannot
// push far past the body cap before we look.
constexpr qint64 kReadBufferBytes = 256 * 1024;

struct Transfer {
    std::function<void(const FetchResult&)> done;
    QByteArray body;
    std::string failure; // set when we ended the transfer ourselves
};

// "http://h:1?x" and "http://h:1/?x" are one address; pages report the second.
std::string normalisedUrl(QUrl url) {
    if (url.path().isEmpty() && !url.host().isEmpty())
        url.setPath(QStringLiteral("/"));
    return url.toString().toStdString();
}

// Scheme, host and port, each as Qt normalises it ("http://127.0.0.1:80").
std::string originOf(const QUrl& url) {
    const int port = url.port(url.scheme().toLower() == QLatin1String("https") ? 443 : 80);
    return (url.scheme().toLower() + QStringLiteral("://") + url.host() + QLatin1Char(':') +
            QString::number(port))
        .toStdString();
}

// HTTP error statuses still bring a page (a 500 page simply has no aliases);
// everything else that went wrong means no page came.
bool isStatusError(QNetworkReply::NetworkError error) {
    const int code = static_cast<int>(error);
    return (code >= QNetworkReply::ContentAccessDenied &&
            code <= QNetworkReply::UnknownContentError) ||
           error == QNetworkReply::ProtocolInvalidOperationError ||
           (code >= QNetworkReply::InternalServerError &&
            code <= QNetworkReply::UnknownServerError);
}

FetchResult resultOf(QNetworkReply* reply, const Transfer& transfer) {
    FetchResult result;
    result.finalUrl = normalisedUrl(reply->url());
    result.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const auto error = reply->error();
    if (!transfer.failure.empty()) {
        result.error = transfer.failure;
    } else if (error == QNetworkReply::NoError || (result.httpStatus > 0 && isStatusError(error))) {
        result.ok = true;
        result.body = transfer.body.toStdString();
    } else {
        result.error = reply->errorString().toStdString();
    }
    return result;
}

} // namespace

QtPageFetcher::QtPageFetcher() : manager_(std::make_unique<QNetworkAccessManager>()) {}

QtPageFetcher::~QtPageFetcher() {
    // Open transfers must not call back into a program that is shutting down.
    for (QNetworkReply* reply : manager_->findChildren<QNetworkReply*>()) {
        reply->disconnect();
        reply->abort();
    }
}

void QtPageFetcher::get(const std::string& url, std::function<void(const FetchResult&)> done) {
    start(url, nullptr, getTimeoutMs_, std::move(done));
}

void QtPageFetcher::postJson(const std::string& url, const std::string& json,
                             std::function<void(const FetchResult&)> done) {
    const QByteArray body = QByteArray::fromStdString(json);
    start(url, &body, postTimeoutMs_, std::move(done));
}

void QtPageFetcher::setCredential(const std::string& origin, const std::string& secret) {
    const QUrl url(QString::fromStdString(origin), QUrl::StrictMode);
    credentialOrigin_ = url.isValid() && !url.host().isEmpty() ? originOf(url) : std::string();
    credential_ = secret.empty() || credentialOrigin_.empty()
                      ? QByteArray()
                      : "Bearer " + QByteArray::fromStdString(secret);
}

void QtPageFetcher::start(const std::string& url, const QByteArray* postBody, int timeoutMs,
                          std::function<void(const FetchResult&)> done) {
    auto transfer = std::make_shared<Transfer>();
    transfer->done = std::move(done);
    const auto finish = [transfer](const FetchResult& result) {
        auto callback = std::move(transfer->done);
        transfer->done = nullptr;
        if (callback)
            callback(result);
    };

    const QUrl target(QString::fromStdString(url), QUrl::StrictMode);
    const QString scheme = target.scheme().toLower();
    if (!target.isValid() || target.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        FetchResult refused;
        refused.finalUrl = url;
        refused.error = "only http and https addresses can be fetched: " + url;
        // Callers expect the answer later, never inside their own call.
        QTimer::singleShot(0, manager_.get(), [finish, refused] { finish(refused); });
        return;
    }

    QNetworkRequest request(target);
    if (!credential_.isEmpty() && originOf(target) == credentialOrigin_) {
        request.setRawHeader("Authorization", credential_);
        // A redirect could carry the header to another address.
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::ManualRedirectPolicy);
    } else {
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::NoLessSafeRedirectPolicy);
        request.setMaximumRedirectsAllowed(kMaxRedirects);
    }
    // Qt's own time-out only counts silence; the timer below bounds the whole transfer.
    request.setTransferTimeout(timeoutMs);
    QNetworkReply* reply = nullptr;
    if (postBody) {
        request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
        reply = manager_->post(request, *postBody);
    } else {
        reply = manager_->get(request);
    }
    reply->setReadBufferSize(kReadBufferBytes);

    const qint64 cap = maxBodyBytes_;
    const auto endWith = [reply, transfer](std::string why) {
        transfer->failure = std::move(why);
        transfer->body.clear();
        reply->abort();
    };
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, [endWith, timeoutMs] {
        endWith("no complete answer within " + std::to_string(timeoutMs) + " ms");
    });
    deadline->start(timeoutMs);

    const auto tooLarge = [cap] {
        return "the page is larger than " + std::to_string(cap) + " bytes";
    };
    QObject::connect(
        reply, &QNetworkReply::metaDataChanged, reply, [reply, endWith, cap, tooLarge] {
            const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
            if (length.isValid() && length.toLongLong() > cap)
                endWith(tooLarge());
        });
    QObject::connect(reply, &QNetworkReply::readyRead, reply,
                     [reply, transfer, endWith, cap, tooLarge] {
                         if (!transfer->failure.empty())
                             return;
                         transfer->body += reply->readAll();
                         if (transfer->body.size() > cap)
                             endWith(tooLarge());
                     });
    QObject::connect(reply, &QNetworkReply::finished, reply,
                     [reply, deadline, transfer, finish, cap, tooLarge] {
                         deadline->stop();
                         if (transfer->failure.empty()) {
                             transfer->body += reply->readAll();
                             if (transfer->body.size() > cap)
                                 transfer->failure = tooLarge();
                         }
                         const FetchResult result = resultOf(reply, *transfer);
                         reply->deleteLater();
                         finish(result);
                     });
}

} // namespace hh
