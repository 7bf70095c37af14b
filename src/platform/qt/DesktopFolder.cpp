#include "platform/ProgramPaths.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>

namespace hh {
namespace {

QString fromUserDirsFile() {
    QFile file(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
               QStringLiteral("/user-dirs.dirs"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    static const QRegularExpression line(QStringLiteral(R"(^\s*XDG_DESKTOP_DIR\s*=\s*"([^"]*)\")"));
    while (!file.atEnd()) {
        const auto match = line.match(QString::fromUtf8(file.readLine()));
        if (match.hasMatch())
            return match.captured(1).replace(QStringLiteral("$HOME"), QDir::homePath());
    }
    return {};
}

} // namespace

std::filesystem::path ProgramPaths::desktopDir() const {
    QString dir = qEnvironmentVariable("XDG_DESKTOP_DIR");
    if (dir.isEmpty())
        dir = fromUserDirsFile();
    if (dir.isEmpty())
        dir = QDir::homePath() + QStringLiteral("/Desktop");
    return std::filesystem::path(dir.toLocal8Bit().toStdString());
}

} // namespace hh
