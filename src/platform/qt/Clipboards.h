#pragma once
#include "platform/Clipboard.h"

namespace hh {

// The desktop clipboard (needs a QGuiApplication).
class QtClipboard : public Clipboard {
  public:
    std::string text() const override;
    void setText(const std::string& text) override;
};

} // namespace hh
