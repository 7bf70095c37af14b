// The main window's position in the per-user store, in twips.
#include "shell/WindowPlacement.h"
#include "shell/qt/MainWindow.h"
#include "shell/qt/QtText.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

namespace hh {
void MainWindow::restorePlacement() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QSettings store(qpath(positionFile_.string()), QSettings::IniFormat);
    store.beginGroup(QStringLiteral("Settings"));
    bool leftOk = false, topOk = false;
    const int left = store.value(QStringLiteral("Left"), pixelsToTwips(x())).toInt(&leftOk);
    const int top = store.value(QStringLiteral("Top"), pixelsToTwips(y())).toInt(&topOk);
    if (!leftOk || !topOk)
        return;
    const QRect s = screen->geometry();
    const auto place = savedPlacement(left, top, PixelRect{x(), y(), width(), height()},
                                      PixelRect{s.x(), s.y(), s.width(), s.height()});
    if (place)
        move(place->left, place->top);
}

void MainWindow::savePlacement() {
    QSettings store(qpath(positionFile_.string()), QSettings::IniFormat);
    store.beginGroup(QStringLiteral("Settings"));
    store.setValue(QStringLiteral("Left"), QString::number(pixelsToTwips(x())));
    store.setValue(QStringLiteral("Top"), QString::number(pixelsToTwips(y())));
}

} // namespace hh
