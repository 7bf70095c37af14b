#include "platform/qt/Clipboards.h"

#include <QClipboard>
#include <QGuiApplication>

namespace hh {

// Game text is 8-bit; Latin-1 maps every byte to one character and back.
std::string QtClipboard::text() const {
    return QGuiApplication::clipboard()->text().toLatin1().toStdString();
}

void QtClipboard::setText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromLatin1(text.data(), qsizetype(text.size())));
}

} // namespace hh
