#pragma once
// A status bar panel that reports a left click (the state icon panel).
#include <QLabel>
#include <QMouseEvent>
#include <functional>

namespace hh {

class ClickableLabel : public QLabel {
  public:
    using QLabel::QLabel;
    std::function<void()> onClicked;

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
            onClicked)
            onClicked();
        QLabel::mouseReleaseEvent(event);
    }
};

} // namespace hh
