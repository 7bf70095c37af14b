#include "RunningService.h"

#include <stdexcept>

namespace hh::aliasdb::test {

RunningService::RunningService(ServerOptions options, SqliteOptions storeOptions) {
    std::string error;
    store_ = SqliteStore::open(temp_ / "aliases.sqlite", error, storeOptions);
    if (!store_)
        throw std::runtime_error(error);
    service_ = std::make_unique<AliasService>(*store_, [] { return kNow; });
    options.port = 0;
    server_ = std::make_unique<HttpServer>(
        options, [this](const HttpRequest& r) { return service_->handle(r); },
        [this](const std::string& line) {
            std::lock_guard lock(logLock_);
            log_.push_back(line);
        });
    if (!server_->listen(error))
        throw std::runtime_error(error);
    thread_ = std::thread([this] { server_->run(); });
}

RunningService::~RunningService() {
    server_->stop();
    thread_.join();
}

std::vector<std::string> RunningService::logLines() const {
    std::lock_guard lock(logLock_);
    return log_;
}

} // namespace hh::aliasdb::test
