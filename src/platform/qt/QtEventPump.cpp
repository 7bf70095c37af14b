#include "platform/qt/QtEventPump.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace hh {

void QtEventPump::processPendingEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventPump::postToUiThread(std::function<void()> work) {
    auto* app = QCoreApplication::instance();
    if (!app)
        return;
    QMetaObject::invokeMethod(
        app, [work = std::move(work)] { work(); }, Qt::QueuedConnection);
}

} // namespace hh
