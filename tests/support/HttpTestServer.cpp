#include "support/HttpTestServer.h"

#include "common/Strings.h"

#include <httplib.h>

#include <chrono>
#include <stdexcept>

namespace hh::test {
namespace {

constexpr std::size_t kChunk = 64 * 1024; // filler written at a time

} // namespace

HttpTestServer::HttpTestServer(std::function<HttpReply(const HttpRequest&)> handler)
    : handler_(std::move(handler)), server_(std::make_unique<httplib::Server>()) {
    server_->set_payload_max_length(1024 * 1024);
    server_->set_keep_alive_max_count(1);
    const auto serve = [this](const httplib::Request& in, httplib::Response& out) {
        HttpRequest request{in.method, in.target, {}, in.body};
        for (const auto& [name, value] : in.headers)
            request.headers.emplace(toLower(name), value);
        {
            std::lock_guard<std::mutex> guard(mutex_);
            requests_.push_back(request);
        }
        respond(handler_(request), out);
    };
    server_->Get(".*", serve);
    server_->Post(".*", serve);
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0)
        throw std::runtime_error("test server: cannot listen on 127.0.0.1");
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() only reaches a server that is already listening.
    while (!server_->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

HttpTestServer::~HttpTestServer() {
    stopping_ = true;
    server_->stop();
    thread_.join();
}

std::string HttpTestServer::baseUrl() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

std::vector<HttpRequest> HttpTestServer::requests() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return requests_;
}

bool HttpTestServer::pause(int ms) const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!stopping_ && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return !stopping_;
}

void HttpTestServer::respond(const HttpReply& reply, httplib::Response& out) {
    out.status = reply.status;
    for (const auto& [name, value] : reply.headers)
        out.set_header(name, value);
    const std::string body = reply.body;
    switch (reply.behaviour) {
    case HttpReply::Behaviour::Normal:
        out.set_content(body, "text/html");
        break;
    case HttpReply::Behaviour::NeverAnswer:
        while (pause(20)) {
        }
        break;
    case HttpReply::Behaviour::CloseEarly:
        // A provider that gives up makes the server close the connection.
        out.set_content_provider(body.size(), "text/html",
                                 [body](std::size_t, std::size_t, httplib::DataSink& sink) {
                                     sink.write(body.data(), body.size() / 2);
                                     return false;
                                 });
        break;
    case HttpReply::Behaviour::Trickle:
        out.set_content_provider(body.size(), "text/html",
                                 [this, body, ms = reply.trickleMs](std::size_t offset, std::size_t,
                                                                    httplib::DataSink& sink) {
                                     return sink.write(body.data() + offset, 1) && pause(ms);
                                 });
        break;
    case HttpReply::Behaviour::Huge: {
        const auto total = static_cast<std::size_t>(reply.hugeBytes);
        const auto filler = [this, total](std::size_t offset, httplib::DataSink& sink) {
            static const std::string chunk(kChunk, 'x');
            if (offset >= total) {
                sink.done();
                return true;
            }
            return !stopping_ && sink.write(chunk.data(), std::min(kChunk, total - offset));
        };
        if (reply.announceLength)
            out.set_content_provider(
                total, "text/html",
                [filler](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                    return filler(offset, sink);
                });
        else
            out.set_content_provider("text/html", filler);
        break;
    }
    }
}

} // namespace hh::test
