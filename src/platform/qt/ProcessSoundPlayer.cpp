#include "platform/qt/ProcessSoundPlayer.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace hh {
namespace {

QString player() {
    static const QString found = [] {
        for (const char* candidate : {"paplay", "aplay"}) {
            const QString path = QStandardPaths::findExecutable(QString::fromLatin1(candidate));
            if (!path.isEmpty())
                return path;
        }
        return QString();
    }();
    return found;
}

} // namespace

void ProcessSoundPlayer::play(const std::string& filePath) {
    const QString path = QString::fromLocal8Bit(filePath.c_str());
    if (quiet_ || player().isEmpty() || !QFileInfo::exists(path))
        return;
    QStringList args;
    if (player().endsWith(QLatin1String("aplay")))
        args << QStringLiteral("-q");
    args << path;
    QProcess::startDetached(player(), args);
}

void ProcessSoundPlayer::beep() {
    if (!quiet_)
        play("/usr/share/sounds/freedesktop/stereo/bell.oga");
}

} // namespace hh
