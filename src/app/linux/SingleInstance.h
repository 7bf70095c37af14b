#pragma once
// One running program per program folder: a lock file decides which start
// is first, and a local socket lets a later start ask the first to come to
// the front.
#include <QLocalServer>
#include <QLockFile>
#include <filesystem>
#include <functional>
#include <memory>

namespace hh {

class SingleInstance {
  public:
    explicit SingleInstance(const std::filesystem::path& programDir);
    ~SingleInstance();
    bool isFirst() const { return first_; }
    // A later start: sends "show" to the first. False when it could not be
    // reached (it may be ending).
    bool askFirstToShow();
    // The first start: called on the UI thread for each "show" received.
    void setOnShowRequest(std::function<void()> onShow) { onShow_ = std::move(onShow); }

  private:
    void acceptConnections();

    QString serverName_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
    std::function<void()> onShow_;
    bool first_ = false;
};

} // namespace hh
