#include "platform/qt/QtSoundPlayer.h"

#include <QApplication>
#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace hh {

QtSoundPlayer::QtSoundPlayer(bool quiet) : quiet_(quiet) {}

QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::play(const std::string& filePath) {
    if (quiet_)
        return;
    const QString path = QString::fromLocal8Bit(filePath.c_str());
    if (!QFileInfo::exists(path))
        return;
    // Without a device QSoundEffect accepts play() and reports playing for
    // ever, so the device is asked first.
    if (QMediaDevices::defaultAudioOutput().isNull()) {
        sayOnce("Sounds are off: no audio output device was found.");
        return;
    }
    QSoundEffect& effect = effectFor(filePath);
    effect.play();
    // A loaded effect whose device refuses to start (the sound server went
    // away) stops again inside play().
    if (effect.status() == QSoundEffect::Ready && !effect.isPlaying())
        sayOnce("Sounds are off: the audio output device refused to play.");
}

QSoundEffect& QtSoundPlayer::effectFor(const std::string& filePath) {
    auto& slot = effects_[filePath];
    if (!slot) {
        slot = std::make_unique<QSoundEffect>();
        QSoundEffect* effect = slot.get();
        QObject::connect(effect, &QSoundEffect::statusChanged, effect, [this, effect, filePath] {
            if (effect->status() == QSoundEffect::Error)
                sayOnce("The sound '" + filePath +
                        "' cannot be played: it is no readable WAV file.");
        });
        effect->setSource(QUrl::fromLocalFile(QString::fromLocal8Bit(filePath.c_str())));
    }
    return *slot;
}

void QtSoundPlayer::beep() {
    // The desktop's own bell; the headless program has no desktop to ring.
    if (!quiet_ && qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::beep();
}

void QtSoundPlayer::sayOnce(const std::string& line) {
    if (said_.insert(line).second && report_)
        report_(line);
}

} // namespace hh
