#pragma once
// Change notices for the dump through ReadDirectoryChangesW on its folder,
// read on a thread of their own and handed to the UI thread.
#include "platform/EventPump.h"
#include "platform/FileWatcher.h"

#include <atomic>
#include <memory>
#include <thread>

namespace hh {

class Win32FileWatcher : public FileWatcher {
  public:
    explicit Win32FileWatcher(EventPump& uiThread) : uiThread_(uiThread) {}
    ~Win32FileWatcher() override;
    void watch(const std::string& filePath, std::function<void()> onChange) override;
    // Off: the dump watcher's 1 s poll alone notices changes.
    void setEnabled(bool enabled) { enabled_ = enabled; }

  private:
    void stop();

    EventPump& uiThread_;
    bool enabled_ = true;
    void* stopEvent_ = nullptr; // HANDLE
    std::thread reader_;
    // Notices already posted when the watch changes find this false.
    std::shared_ptr<std::atomic<bool>> current_;
};

} // namespace hh
