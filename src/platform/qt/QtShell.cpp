#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QUrl>

namespace hh {

void QtShell::openFile(const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromLocal8Bit(path.c_str())));
}

void QtShell::openUrl(const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromUtf8(url.c_str())));
}

} // namespace hh
