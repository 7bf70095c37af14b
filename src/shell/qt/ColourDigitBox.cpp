#include "shell/qt/ColourDigitBox.h"

#include "setup/OptionsDialog.h"
#include "shell/qt/QtText.h"

#include <QKeyEvent>

namespace hh {

ColourDigitBox::ColourDigitBox(std::function<void()> beep, QWidget* parent)
    : QLineEdit(parent), beep_(std::move(beep)) {
    setMaxLength(1);
}

void ColourDigitBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    setSelection(0, 1);
}

void ColourDigitBox::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    const bool character = typed.size() == 1 && (typed[0].isPrint() || typed[0] == QChar('\b'));
    if (event->key() == Qt::Key_Delete || !character ||
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const char c = typed[0].unicode() < 0x100 ? char(typed[0].unicode()) : '?';
    const ColourKeyOutcome outcome = colourBoxKey(bytesOf(text()), c);
    if (outcome.accepted)
        setText(qs(outcome.text));
    else if (beep_)
        beep_();
    setSelection(0, 1);
    event->accept();
}

} // namespace hh
