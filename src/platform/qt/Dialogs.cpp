#include "platform/qt/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace hh {
namespace {

QString fromBytes(const std::string& s) {
    return QString::fromLatin1(s.data(), qsizetype(s.size()));
}
std::string toBytes(const QString& s) {
    return s.toLatin1().toStdString();
}

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void QtDialogs::messageBox(const std::string& text, MessageIcon icon) {
    QMessageBox box(qtIcon(icon), QApplication::applicationName(), fromBytes(text), QMessageBox::Ok,
                    parent_);
    box.exec();
}

std::optional<std::string> QtDialogs::inputBox(const std::string& title,
                                               const std::string& prompt) {
    bool ok = false;
    const QString answer = QInputDialog::getText(parent_, fromBytes(title), fromBytes(prompt),
                                                 QLineEdit::Normal, {}, &ok);
    if (!ok)
        return std::nullopt;
    return toBytes(answer);
}

std::optional<std::string> QtDialogs::openFile(const std::string& title, const std::string& filter,
                                               const std::string& initialDir) {
    const QString path = QFileDialog::getOpenFileName(parent_, fromBytes(title),
                                                      fromBytes(initialDir), fromBytes(filter));
    if (path.isEmpty())
        return std::nullopt;
    return path.toLocal8Bit().toStdString();
}

} // namespace hh
