#pragma once
#include "platform/Dialogs.h"

class QWidget;

namespace hh {

// Modal Qt dialogs owned by a parent window (may be null).
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void messageBox(const std::string& text, MessageIcon icon) override;
    std::optional<std::string> inputBox(const std::string& title,
                                        const std::string& prompt) override;
    std::optional<std::string> openFile(const std::string& title, const std::string& filter,
                                        const std::string& initialDir) override;

  private:
    QWidget* parent_;
};

} // namespace hh
