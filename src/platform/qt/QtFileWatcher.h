#pragma once
#include "platform/FileWatcher.h"

#include <QFileSystemWatcher>

namespace hh {

// inotify through QFileSystemWatcher. The folder is watched as well as the
// file: a file that is replaced or created later drops out of a file watch.
class QtFileWatcher : public FileWatcher {
  public:
    QtFileWatcher();
    void watch(const std::string& filePath, std::function<void()> onChange) override;
    void setEnabled(bool enabled) { enabled_ = enabled; }

  private:
    void changed();
    QFileSystemWatcher watcher_;
    QString file_;
    std::function<void()> onChange_;
    bool enabled_ = true;
};

} // namespace hh
