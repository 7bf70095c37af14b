#pragma once
// One running program per program folder: the folder's lock decides which
// start is first, and a local socket (in $XDG_RUNTIME_DIR when there is one)
// lets a later start ask the first to come to the front.
#include "app/InstanceLock.h"

#include <QLocalServer>
#include <filesystem>
#include <functional>
#include <memory>

namespace hh {

class SingleInstance {
  public:
    explicit SingleInstance(const std::filesystem::path& programDir);
    ~SingleInstance();
    bool isFirst() const { return lock_.held(); }
    // A later start: who holds the folder (or why it could not be locked).
    const std::string& refusal() const { return lock_.refusal(); }
    // A later start: sends "show" to the first. False when it could not be
    // reached (it may be ending).
    bool askFirstToShow();
    // The first start: called on the UI thread for each "show" received.
    void setOnShowRequest(std::function<void()> onShow) { onShow_ = std::move(onShow); }

  private:
    void acceptConnections();

    InstanceLock lock_;
    QString serverName_;
    std::unique_ptr<QLocalServer> server_;
    std::function<void()> onShow_;
};

} // namespace hh
