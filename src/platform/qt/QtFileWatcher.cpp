#include "platform/qt/QtFileWatcher.h"

#include <QDir>
#include <QFileInfo>

namespace hh {

QtFileWatcher::QtFileWatcher() {
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, [this] { changed(); });
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, [this] { changed(); });
}

void QtFileWatcher::watch(const std::string& filePath, std::function<void()> onChange) {
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    onChange_ = std::move(onChange);
    file_ = QString::fromLocal8Bit(filePath.c_str());
    if (!enabled_ || file_.isEmpty())
        return;
    const QFileInfo info(file_);
    if (info.dir().exists())
        watcher_.addPath(info.absolutePath());
    if (info.exists())
        watcher_.addPath(file_);
}

void QtFileWatcher::changed() {
    // A replaced file leaves the watch list; put it back.
    if (!file_.isEmpty() && QFileInfo::exists(file_) && !watcher_.files().contains(file_))
        watcher_.addPath(file_);
    if (onChange_)
        onChange_();
}

} // namespace hh
