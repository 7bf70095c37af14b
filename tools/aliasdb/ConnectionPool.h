#pragma once
// Database connections handed to one thread at a time. Idle connections are
// kept for reuse up to a bound; a connection found broken is dropped.
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace hh::aliasdb {

template <class Connection> class ConnectionPool {
  public:
    using Opener = std::function<std::unique_ptr<Connection>(std::string& error)>;

    ConnectionPool(Opener open, std::size_t keepIdle) : open_(std::move(open)), keep_(keepIdle) {}

    class Lease {
      public:
        Lease(ConnectionPool* pool, std::unique_ptr<Connection> c)
            : pool_(pool), c_(std::move(c)) {}
        Lease(Lease&&) = default;
        ~Lease() {
            if (c_ && pool_)
                pool_->giveBack(std::move(c_));
        }
        explicit operator bool() const { return c_ != nullptr; }
        Connection& operator*() { return *c_; }
        Connection* operator->() { return c_.get(); }
        void discard() { c_.reset(); }

      private:
        ConnectionPool* pool_;
        std::unique_ptr<Connection> c_;
    };

    Lease acquire(std::string& error) {
        {
            std::lock_guard lock(mutex_);
            if (!idle_.empty()) {
                auto c = std::move(idle_.back());
                idle_.pop_back();
                return Lease(this, std::move(c));
            }
        }
        return Lease(this, open_(error));
    }

  private:
    void giveBack(std::unique_ptr<Connection> c) {
        std::lock_guard lock(mutex_);
        if (idle_.size() < keep_)
            idle_.push_back(std::move(c));
    }

    Opener open_;
    std::size_t keep_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Connection>> idle_;
};

} // namespace hh::aliasdb
