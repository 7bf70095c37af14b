#include "platform/win32/Win32PageFetcher.h"

#include "platform/win32/WideText.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cwchar>
#include <mutex>
#include <thread>

namespace hh {

struct Win32PageFetcher::Shared {
    std::mutex lock;
    EventPump* uiThread = nullptr; // cleared when the fetcher goes
};

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kMaxRedirects = 3;

struct Address {
    bool secure = false;
    std::wstring host;
    INTERNET_PORT port = 0;
    std::wstring object; // path and query, never empty
};

// http or https with a host; anything else is refused before any traffic.
bool crack(std::wstring url, Address& out) {
    // "http://h:1?x" means "http://h:1/?x"; Wine's WinHttpCrackUrl only finds
    // a query after a path.
    const std::size_t host = url.find(L"://");
    if (host != std::wstring::npos) {
        const std::size_t end = url.find_first_of(L"/?#", host + 3);
        if (end != std::wstring::npos && url[end] != L'/')
            url.insert(end, L"/");
    }
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUrlPathLength =
        parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (url.empty() || !WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts) ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) ||
        parts.dwHostNameLength == 0)
        return false;
    out.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    out.host.assign(parts.lpszHostName, parts.dwHostNameLength);
    out.port = parts.nPort;
    out.object.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    if (out.object.empty() || out.object[0] != L'/')
        out.object.insert(0, L"/");
    out.object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    return true;
}

// "http://h:1?x" and "http://h:1/?x" are one address; pages report the second.
std::wstring textOf(const Address& a) {
    const bool defaultPort = a.port == (a.secure ? 443 : 80);
    return std::wstring(a.secure ? L"https://" : L"http://") + a.host +
           (defaultPort ? L"" : L":" + std::to_wstring(a.port)) + a.object;
}

// "http://h:80": the origin a credential is bound to, the port always written.
std::string originOf(const Address& a) {
    return utf8FromWide(std::wstring(a.secure ? L"https://" : L"http://") + a.host + L":" +
                        std::to_wstring(a.port));
}

// A Location header against the address it came from.
std::wstring resolved(const Address& base, const std::wstring& location) {
    if (location.find(L"://") != std::wstring::npos)
        return location;
    const std::wstring origin = textOf({base.secure, base.host, base.port, L""});
    if (location.rfind(L"//", 0) == 0)
        return std::wstring(base.secure ? L"https:" : L"http:") + location;
    if (!location.empty() && location[0] == L'/')
        return origin + location;
    const std::wstring path = base.object.substr(0, base.object.find(L'?'));
    return origin + path.substr(0, path.rfind(L'/') + 1) + location;
}

struct Handle {
    HINTERNET h = nullptr;
    ~Handle() {
        if (h)
            WinHttpCloseHandle(h);
    }
};

// WinHTTP's own time-outs count silence only: a server that sends a byte a
// second would hold a transfer for ever. At the deadline this reports the
// time-out and closes the open request, which on Windows ends whatever call
// waits on it (Wine's WinHTTP does not end it: that thread then finishes when
// the server lets go, and its late result is dropped).
class Deadline {
  public:
    Deadline(Clock::time_point at, std::function<void()> onPassed)
        : onPassed_(std::move(onPassed)), watcher_([this, at] { watch(at); }) {}
    ~Deadline() {
        {
            std::lock_guard<std::mutex> guard(lock_);
            finished_ = true;
        }
        wake_.notify_all();
        watcher_.join();
    }
    // The request from now on closed at the deadline; false (and closed) when
    // the deadline has passed already.
    bool watch(HINTERNET request) {
        std::lock_guard<std::mutex> guard(lock_);
        if (passed_) {
            WinHttpCloseHandle(request);
            return false;
        }
        open_ = request;
        return true;
    }
    // Closes the request unless the deadline did.
    void close(HINTERNET request) {
        std::lock_guard<std::mutex> guard(lock_);
        if (open_ == request) {
            WinHttpCloseHandle(request);
            open_ = nullptr;
        }
    }

  private:
    void watch(Clock::time_point at) {
        std::unique_lock<std::mutex> guard(lock_);
        if (wake_.wait_until(guard, at, [this] { return finished_; }))
            return;
        passed_ = true;
        if (open_)
            WinHttpCloseHandle(open_);
        open_ = nullptr;
        onPassed_();
    }

    std::function<void()> onPassed_;
    std::mutex lock_;
    std::condition_variable wake_;
    bool finished_ = false, passed_ = false;
    HINTERNET open_ = nullptr;
    std::thread watcher_; // last: it uses the members above
};

class Transfer {
  public:
    // `credential` goes only to `credentialOrigin`, and such a request follows
    // no redirect: a redirect could carry it to another address.
    Transfer(const std::string& url, const std::string* postBody, int timeoutMs, std::int64_t cap,
             std::string credentialOrigin, std::string credential)
        : url_(url), post_(postBody != nullptr), body_(post_ ? *postBody : std::string()),
          timeoutMs_(timeoutMs), deadline_(Clock::now() + std::chrono::milliseconds(timeoutMs)),
          cap_(cap), credentialOrigin_(std::move(credentialOrigin)),
          credential_(std::move(credential)) {}

    // `onDeadline` runs on another thread when the deadline passes first.
    FetchResult run(const std::function<void(const FetchResult&)>& onDeadline) {
        FetchResult result;
        result.finalUrl = url_;
        Address address;
        if (!crack(wideFromUtf8(url_), address)) {
            result.error = "only http and https addresses can be fetched: " + url_;
            return result;
        }
        Deadline deadline(deadline_, [this, &onDeadline] {
            FetchResult late;
            late.finalUrl = url_;
            failed(late, ERROR_WINHTTP_TIMEOUT);
            onDeadline(late);
        });
        Handle session{WinHttpOpen(L"Handlehound", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                   WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0)};
        if (!session.h) {
            failed(result, GetLastError());
            return result;
        }
        for (int redirects = 0;; ++redirects) {
            std::wstring location;
            if (!exchange(session.h, deadline, address, result, location))
                return result;
            if (location.empty())
                return result;
            if (redirects == kMaxRedirects) {
                result = {};
                result.error = "too many redirects";
                return result;
            }
            Address next;
            if (!crack(resolved(address, location), next) || (address.secure && !next.secure)) {
                result = {};
                result.error = "redirect refused: " + utf8FromWide(location);
                return result;
            }
            address = next;
            if (result.httpStatus != 307 && result.httpStatus != 308)
                post_ = false; // as browsers do: the redirected request is a GET
        }
    }

  private:
    int leftMs() const {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
        return static_cast<int>(std::max<long long>(left.count(), 1));
    }
    bool pastDeadline() const { return Clock::now() >= deadline_; }

    bool failed(FetchResult& result, DWORD error) {
        result.ok = false;
        result.body.clear();
        result.error = error == ERROR_WINHTTP_TIMEOUT || pastDeadline()
                           ? "no complete answer within " + std::to_string(timeoutMs_) + " ms"
                           : systemErrorText(error);
        return false;
    }
    bool tooLarge(FetchResult& result) {
        result.ok = false;
        result.body.clear();
        result.error = "the page is larger than " + std::to_string(cap_) + " bytes";
        return false;
    }

    // One request and its answer. Fills `location` when the answer is a redirect.
    bool exchange(HINTERNET session, Deadline& deadline, const Address& address,
                  FetchResult& result, std::wstring& location) {
        result = {};
        result.finalUrl = utf8FromWide(textOf(address));
        Handle connection{WinHttpConnect(session, address.host.c_str(), address.port, 0)};
        if (!connection.h)
            return failed(result, GetLastError());
        HINTERNET opened =
            WinHttpOpenRequest(connection.h, post_ ? L"POST" : L"GET", address.object.c_str(),
                               nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                               address.secure ? WINHTTP_FLAG_SECURE : 0);
        if (!opened)
            return failed(result, GetLastError());
        if (!deadline.watch(opened))
            return failed(result, ERROR_WINHTTP_TIMEOUT);
        const struct Request {
            Deadline& deadline;
            HINTERNET h;
            ~Request() { deadline.close(h); }
        } request{deadline, opened};
        // Redirects are followed here, by the rules above, the same on every system.
        DWORD disable = WINHTTP_DISABLE_REDIRECTS;
        WinHttpSetOption(request.h, WINHTTP_OPTION_DISABLE_FEATURE, &disable, sizeof disable);
        const int left = leftMs();
        WinHttpSetTimeouts(request.h, left, left, left, left);
        std::wstring headers = post_ ? L"Content-Type: application/json\r\n" : L"";
        const bool credited = !credential_.empty() && originOf(address) == credentialOrigin_;
        if (credited)
            headers += L"Authorization: " + wideFromUtf8(credential_) + L"\r\n";
        const bool sent = WinHttpSendRequest(
            request.h, headers.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers.c_str(),
            headers.empty() ? 0 : static_cast<DWORD>(-1L),
            post_ ? const_cast<char*>(body_.data()) : WINHTTP_NO_REQUEST_DATA,
            static_cast<DWORD>(post_ ? body_.size() : 0),
            static_cast<DWORD>(post_ ? body_.size() : 0), 0);
        if (!sent || !WinHttpReceiveResponse(request.h, nullptr))
            return failed(result, GetLastError());

        DWORD status = 0, size = sizeof status;
        WinHttpQueryHeaders(request.h, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                            WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX);
        result.httpStatus = static_cast<int>(status);
        if (!credited &&
            (status == 301 || status == 302 || status == 303 || status == 307 || status == 308)) {
            wchar_t buffer[2048];
            DWORD bytes = sizeof buffer;
            if (WinHttpQueryHeaders(request.h, WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX,
                                    buffer, &bytes, WINHTTP_NO_HEADER_INDEX)) {
                location.assign(buffer, bytes / sizeof(wchar_t));
                return true;
            }
        }
        unsigned long long announced = 0;
        wchar_t lengthText[32];
        DWORD lengthBytes = sizeof lengthText;
        if (WinHttpQueryHeaders(request.h, WINHTTP_QUERY_CONTENT_LENGTH,
                                WINHTTP_HEADER_NAME_BY_INDEX, lengthText, &lengthBytes,
                                WINHTTP_NO_HEADER_INDEX))
            announced = std::wcstoull(lengthText, nullptr, 10);
        if (announced > static_cast<unsigned long long>(cap_))
            return tooLarge(result);
        return readBody(request.h, result);
    }

    bool readBody(HINTERNET request, FetchResult& result) {
        char buffer[65536];
        for (;;) {
            if (pastDeadline())
                return failed(result, ERROR_WINHTTP_TIMEOUT);
            DWORD receiveMs = static_cast<DWORD>(leftMs());
            WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_TIMEOUT, &receiveMs, sizeof receiveMs);
            DWORD read = 0;
            if (!WinHttpReadData(request, buffer, sizeof buffer, &read))
                return failed(result, GetLastError());
            if (read == 0)
                break;
            result.body.append(buffer, read);
            if (static_cast<std::int64_t>(result.body.size()) > cap_)
                return tooLarge(result);
        }
        // HTTP error statuses still bring a page (a 500 page simply has no aliases).
        result.ok = true;
        return true;
    }

    std::string url_;
    bool post_;
    std::string body_;
    int timeoutMs_;
    Clock::time_point deadline_;
    std::int64_t cap_;
    std::string credentialOrigin_, credential_;
};

} // namespace

Win32PageFetcher::Win32PageFetcher(EventPump& uiThread)
    : uiThread_(uiThread), shared_(std::make_shared<Shared>()) {
    shared_->uiThread = &uiThread_;
}

Win32PageFetcher::~Win32PageFetcher() {
    std::lock_guard<std::mutex> lock(shared_->lock);
    shared_->uiThread = nullptr;
}

void Win32PageFetcher::get(const std::string& url, std::function<void(const FetchResult&)> done) {
    start(url, nullptr, getTimeoutMs_, std::move(done));
}

void Win32PageFetcher::postJson(const std::string& url, const std::string& json,
                                std::function<void(const FetchResult&)> done) {
    start(url, &json, postTimeoutMs_, std::move(done));
}

void Win32PageFetcher::setCredential(const std::string& origin, const std::string& secret) {
    Address address;
    credentialOrigin_ = crack(wideFromUtf8(origin), address) ? originOf(address) : std::string();
    credential_ = secret.empty() || credentialOrigin_.empty() ? std::string() : "Bearer " + secret;
}

void Win32PageFetcher::start(const std::string& url, const std::string* postBody, int timeoutMs,
                             std::function<void(const FetchResult&)> done) {
    auto transfer = std::make_shared<Transfer>(url, postBody, timeoutMs, maxBodyBytes_,
                                               credentialOrigin_, credential_);
    // The first of the answer and the deadline is delivered, once.
    auto deliver = [shared = shared_, once = std::make_shared<std::once_flag>(),
                    done = std::move(done)](const FetchResult& result) {
        std::call_once(*once, [&] {
            std::lock_guard<std::mutex> lock(shared->lock);
            if (shared->uiThread && done)
                shared->uiThread->postToUiThread([done, result] { done(result); });
        });
    };
    // Detached: a transfer ends by its own deadline; one still running when
    // the program ends has no one left to tell and ends with the process.
    std::thread([transfer, deliver] { deliver(transfer->run(deliver)); }).detach();
}

} // namespace hh
