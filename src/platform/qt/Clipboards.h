#pragma once
#include "platform/Clipboard.h"

namespace hh {

// The desktop clipboard (needs a QGuiApplication).
class QtClipboard : public Clipboard {
  public:
    std::string text() const override;
    void setText(const std::string& text) override;
};

// The headless program has no desktop clipboard; it keeps the text itself so
// that the expiry rules still hold.
class InProcessClipboard : public Clipboard {
  public:
    std::string text() const override { return text_; }
    void setText(const std::string& text) override { text_ = text; }

  private:
    std::string text_;
};

} // namespace hh
