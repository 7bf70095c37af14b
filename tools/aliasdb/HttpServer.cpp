#include "HttpServer.h"

#include "RequestGuard.h"
#include "common/Strings.h"

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <list>
#include <optional>
#include <thread>

namespace hh::aliasdb {

namespace net = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = net::ip::tcp;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

// How long a refused client may go on sending before the connection closes.
constexpr milliseconds kDrainTime{500};

// The handler of the worker thread this runs on.
thread_local const RequestHandler* tWorkerHandler = nullptr;

std::string printable(std::string_view text, std::size_t cap = 200) {
    std::string out;
    for (char c : text.substr(0, cap))
        out += (c >= 0x20 && c < 0x7F) ? c : '?';
    if (text.size() > cap)
        out += "...";
    return out;
}

// The answer to a request the parser refused.
HttpResponse headRefusal(beast::error_code ec, const ServerOptions& options) {
    using E = http::error;
    if (ec == E::header_limit)
        return textResponse(431, "request line and headers exceed " +
                                     std::to_string(options.maxHeadBytes) + " bytes");
    if (ec == E::body_limit)
        return textResponse(413, "request body exceeds " + std::to_string(options.maxBodyBytes) +
                                     " bytes");
    if (ec == E::bad_version)
        return textResponse(505, "only HTTP/1.0 and HTTP/1.1 are served");
    if (ec == E::bad_transfer_encoding)
        return textResponse(501, "chunked request bodies are not accepted; send Content-Length");
    if (ec == E::bad_content_length)
        return textResponse(400, "malformed or conflicting Content-Length");
    if (ec == E::bad_field || ec == E::bad_value || ec == E::bad_obs_fold)
        return textResponse(400, "malformed header line");
    return textResponse(400, "malformed request line");
}

} // namespace

struct HttpServer::Impl {
    class Connection;

    Impl(ServerOptions o, std::vector<RequestHandler> w, LogSink l)
        : options(std::move(o)), handlers(std::move(w)), log(std::move(l)) {}

    void accept();
    void tickLog();
    void admit(tcp::socket socket);
    bool cutOldestWaiting();
    void finishStopIfIdle();

    ServerOptions options;
    std::vector<RequestHandler> handlers;
    RequestLog log; // I/O thread only
    net::io_context io{1};
    net::steady_timer logTimer{io};
    net::io_context work;
    tcp::acceptor acceptor{io};
    int port = 0;
    bool stopping = false;
    // I/O thread only: admitted connections in accept order, and how many
    // turned-away clients are being answered 503.
    std::list<Connection*> live;
    std::size_t refusing = 0;
    std::optional<net::executor_work_guard<net::io_context::executor_type>> ioGuard;
};

class HttpServer::Impl::Connection : public std::enable_shared_from_this<Connection> {
  public:
    enum class Phase { Head, Body, Route, Reply, Drain, Done };

    Connection(Impl& server, tcp::socket socket, bool admitted)
        : server_(server), socket_(std::move(socket)), deadline_(server.io),
          buffer_(server.options.maxHeadBytes + 64 * 1024), admitted_(admitted) {
        beast::error_code ec;
        const auto peer = socket_.remote_endpoint(ec);
        peer_ = ec ? "?" : peer.address().to_string();
        if (admitted_)
            slot_ = server_.live.insert(server_.live.end(), this);
        else
            ++server_.refusing;
    }
    ~Connection() { release(); }

    Phase phase() const { return phase_; }
    const std::string& peer() const { return peer_; }

    void start() {
        phase_ = Phase::Head;
        head_.emplace();
        head_->header_limit(static_cast<std::uint32_t>(server_.options.maxHeadBytes));
        head_->body_limit(server_.options.maxBodyBytes);
        setDeadline(started_ + milliseconds(server_.options.headTimeoutMs));
        http::async_read_header(
            socket_, buffer_, *head_,
            [self = shared_from_this()](beast::error_code ec, std::size_t) { self->onHead(ec); });
    }

    void refuseBusy() { reply(textResponse(503, "too many connections, try again"), true); }

    // Ends the connection at once, whatever it was doing.
    void cut() {
        beast::error_code ignored;
        socket_.close(ignored);
        finish();
    }

  private:
    void setDeadline(Clock::time_point when) {
        timedOut_ = false;
        deadline_.expires_at(when);
        // A deadline that expired just as it was replaced must not count.
        deadline_.async_wait(
            [weak = weak_from_this(), generation = ++deadlines_](beast::error_code ec) {
                auto self = weak.lock();
                if (ec || !self || generation != self->deadlines_)
                    return;
                self->timedOut_ = true;
                beast::error_code ignored;
                // Reads and writes in flight end with operation_aborted.
                self->socket_.cancel(ignored);
            });
    }

    void clearDeadline() {
        ++deadlines_;
        deadline_.cancel();
    }

    // True when a read did not bring what it was for; the connection is then
    // answered or ended.
    bool readFailed(beast::error_code ec, const char* tooSlow) {
        if (phase_ == Phase::Done)
            return true; // cut meanwhile
        if (timedOut_)
            reply(textResponse(408, tooSlow), true);
        else if (ec == http::error::end_of_stream || ec == http::error::partial_message ||
                 ec == net::error::connection_reset || ec == net::error::eof ||
                 ec == net::error::operation_aborted)
            finish(); // nobody left to answer
        else if (ec)
            reply(headRefusal(ec, server_.options), true);
        return ec || timedOut_;
    }

    void onHead(beast::error_code ec) {
        if (readFailed(ec, "the request head took too long"))
            return;

        const auto& head = head_->get();
        request_.method = std::string(head.method_string());
        request_.target = std::string(head.target());
        for (const auto& field : head)
            request_.headers.emplace(toLower(std::string(field.name_string())),
                                     std::string(field.value()));
        if (head.version() != 10 && head.version() != 11)
            return reply(textResponse(505, "only HTTP/1.0 and HTTP/1.1 are served"), true);
        if (request_.target.empty() || request_.target.front() != '/')
            return reply(textResponse(400, "malformed request line"), true);
        if (auto refusal = refusalFor(request_, {server_.port, server_.options.credential}))
            return reply(std::move(*refusal), true);
        if (head_->chunked())
            return reply(textResponse(501, "chunked request bodies are not accepted; send "
                                           "Content-Length"),
                         true);
        const std::uint64_t length = head_->content_length().value_or(0);
        if (!head_->content_length() && request_.method == "POST")
            return reply(textResponse(411, "a POST needs a Content-Length"), true);
        splitTarget(request_);
        if (length == 0)
            return route();

        phase_ = Phase::Body;
        body_.emplace(std::move(*head_));
        head_.reset();
        body_->body_limit(server_.options.maxBodyBytes);
        body_->get().body().reserve(static_cast<std::size_t>(length));
        const auto bodyTime = milliseconds(
            1000 + length * 1000 / std::max<std::size_t>(1, server_.options.minBodyBytesPerSecond));
        setDeadline(std::min(started_ + milliseconds(server_.options.requestTimeoutMs),
                             Clock::now() + bodyTime));
        http::async_read(
            socket_, buffer_, *body_,
            [self = shared_from_this()](beast::error_code ec, std::size_t) { self->onBody(ec); });
    }

    void onBody(beast::error_code ec) {
        if (readFailed(ec, "the request body arrived too slowly"))
            return;
        request_.body = std::move(body_->get().body());
        body_.reset();
        route();
    }

    void route() {
        phase_ = Phase::Route;
        clearDeadline();
        net::post(server_.work, [self = shared_from_this()] {
            HttpResponse response;
            try {
                response = (*tWorkerHandler)(self->request_);
            } catch (const std::exception& e) {
                response = textResponse(500, std::string("internal error: ") + e.what());
            }
            net::post(self->server_.io, [self, r = std::move(response)]() mutable {
                self->reply(std::move(r), false);
            });
        });
    }

    void reply(HttpResponse r, bool refusal) {
        if (phase_ == Phase::Done)
            return;
        phase_ = Phase::Reply;
        status_ = r.status;
        bodyBytes_ = r.body.size();
        response_.result(static_cast<unsigned>(r.status));
        response_.version(11);
        response_.set(http::field::content_type, r.contentType);
        response_.set(http::field::connection, "close");
        response_.set(http::field::cache_control, "no-store");
        for (const auto& [name, value] : r.headers)
            response_.set(name, value);
        response_.body() = std::move(r.body);
        response_.prepare_payload();
        setDeadline(Clock::now() + milliseconds(server_.options.requestTimeoutMs));
        http::async_write(socket_, response_,
                          [self = shared_from_this(), refusal](beast::error_code ec, std::size_t) {
                              self->onWritten(ec, refusal);
                          });
    }

    void onWritten(beast::error_code ec, bool refusal) {
        logLine();
        if (ec || !refusal)
            return finish();
        // The unread rest of the request would make the close send a reset,
        // which can destroy the answer before the client reads it.
        phase_ = Phase::Drain;
        beast::error_code ignored;
        socket_.shutdown(tcp::socket::shutdown_send, ignored);
        setDeadline(Clock::now() + kDrainTime);
        drain();
    }

    void drain() {
        static char sink[16 * 1024]; // the I/O thread's alone
        socket_.async_read_some(net::buffer(sink),
                                [self = shared_from_this()](beast::error_code ec, std::size_t) {
                                    if (ec || self->phase_ == Phase::Done)
                                        return self->finish();
                                    self->drain();
                                });
    }

    void logLine() {
        const auto ms = std::chrono::duration<double, std::milli>(Clock::now() - started_).count();
        char took[32];
        std::snprintf(took, sizeof took, "%.1fms", ms);
        const std::string line = request_.method.empty() ? "-"
                                                         : "\"" + printable(request_.method) + " " +
                                                               printable(request_.target) + "\"";
        server_.log.write(peer_ + " " + line + " " + std::to_string(status_) + " " +
                              std::to_string(bodyBytes_) + " " + took,
                          std::to_string(status_), status_ >= 400);
    }

    void finish() {
        if (phase_ == Phase::Done)
            return;
        phase_ = Phase::Done;
        clearDeadline();
        beast::error_code ignored;
        socket_.close(ignored);
        release();
        server_.finishStopIfIdle();
    }

    // Gives the slot (or the refusal's place) back, once.
    void release() {
        if (released_)
            return;
        released_ = true;
        if (admitted_)
            server_.live.erase(slot_);
        else
            --server_.refusing;
    }

    Impl& server_;
    tcp::socket socket_;
    net::steady_timer deadline_;
    beast::flat_buffer buffer_;
    const bool admitted_;
    const Clock::time_point started_ = Clock::now();
    std::list<Connection*>::iterator slot_;
    bool released_ = false;
    bool timedOut_ = false;
    unsigned deadlines_ = 0;
    Phase phase_ = Phase::Head;
    std::string peer_;
    std::optional<http::request_parser<http::empty_body>> head_;
    std::optional<http::request_parser<http::string_body>> body_;
    HttpRequest request_;
    http::response<http::string_body> response_;
    int status_ = 0;
    std::size_t bodyBytes_ = 0;
};

void HttpServer::Impl::accept() {
    acceptor.async_accept(io, [this](beast::error_code ec, tcp::socket socket) {
        if (stopping)
            return;
        if (!ec)
            admit(std::move(socket));
        accept();
    });
}

void HttpServer::Impl::admit(tcp::socket socket) {
    if (live.size() < options.maxConnections || cutOldestWaiting()) {
        std::make_shared<Connection>(*this, std::move(socket), true)->start();
        return;
    }
    // Every slot is in a route: a real overload. Say so, within bounds.
    if (refusing < options.maxConnections)
        std::make_shared<Connection>(*this, std::move(socket), false)->refuseBusy();
}

bool HttpServer::Impl::cutOldestWaiting() {
    using Phase = Connection::Phase;
    for (Connection* c : live)
        if (c->phase() == Phase::Head || c->phase() == Phase::Body || c->phase() == Phase::Drain) {
            log.write(c->peer() + " - cut to make room", "cut", true);
            c->cut();
            return true;
        }
    return false;
}

void HttpServer::Impl::finishStopIfIdle() {
    if (stopping && live.empty() && refusing == 0) {
        logTimer.cancel();
        log.close();
        ioGuard.reset();
    }
}

void HttpServer::Impl::tickLog() {
    logTimer.expires_after(std::chrono::seconds(1));
    logTimer.async_wait([this](beast::error_code ec) {
        if (ec || stopping)
            return;
        log.endPeriodIfDue();
        tickLog();
    });
}

HttpServer::HttpServer(ServerOptions options, std::vector<RequestHandler> workers, LogSink log)
    : impl_(std::make_unique<Impl>(std::move(options), std::move(workers), std::move(log))) {}

HttpServer::~HttpServer() = default;

bool HttpServer::listen(std::string& error) {
    const std::string where = impl_->options.host + ":" + std::to_string(impl_->options.port);
    beast::error_code ec;
    const auto address = net::ip::make_address_v4(impl_->options.host, ec);
    if (ec || impl_->options.port < 0 || impl_->options.port > 65535) {
        error = "not an IPv4 address and port: " + where;
        return false;
    }
    const tcp::endpoint endpoint(address, static_cast<std::uint16_t>(impl_->options.port));
    auto& acceptor = impl_->acceptor;
    acceptor.open(endpoint.protocol(), ec);
    if (!ec)
        acceptor.set_option(net::socket_base::reuse_address(true), ec);
    if (!ec)
        acceptor.bind(endpoint, ec);
    if (!ec)
        acceptor.listen(net::socket_base::max_listen_connections, ec);
    if (ec) {
        error = "cannot listen on " + where + ": " + ec.message();
        return false;
    }
    impl_->port = acceptor.local_endpoint().port();
    return true;
}

int HttpServer::port() const {
    return impl_->port;
}

void HttpServer::run() {
    Impl& s = *impl_;
    s.ioGuard.emplace(s.io.get_executor());
    auto workGuard = net::make_work_guard(s.work);
    std::vector<std::thread> workers;
    for (const auto& handler : s.handlers)
        workers.emplace_back([&s, &handler] {
            tWorkerHandler = &handler;
            s.work.run();
        });
    s.accept();
    s.tickLog();
    s.io.run();
    workGuard.reset();
    for (auto& t : workers)
        t.join();
}

void HttpServer::stop() {
    Impl& s = *impl_;
    net::post(s.io, [&s] {
        if (s.stopping)
            return;
        s.stopping = true;
        beast::error_code ignored;
        s.acceptor.close(ignored);
        using Phase = Impl::Connection::Phase;
        const std::list<Impl::Connection*> open = s.live;
        for (auto* c : open)
            if (c->phase() != Phase::Route && c->phase() != Phase::Reply)
                c->cut();
        s.finishStopIfIdle();
    });
}

} // namespace hh::aliasdb
