#pragma once
// A one-digit colour box: keeps its first character selected so a typed digit
// replaces the digit there; any other typed character (Backspace included)
// is refused with a beep. Only Delete empties it.
#include <QLineEdit>
#include <functional>

namespace hh {

class ColourDigitBox : public QLineEdit {
  public:
    ColourDigitBox(std::function<void()> beep, QWidget* parent = nullptr);

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    std::function<void()> beep_;
};

} // namespace hh
