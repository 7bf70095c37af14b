#pragma once
#include <optional>
#include <string>

namespace hh {

enum class MessageIcon { None, Information, Exclamation, Critical };

// Modal dialogs. The headless program prints message boxes to standard error
// and answers input and file boxes with "cancelled".
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual void messageBox(const std::string& text, MessageIcon icon = MessageIcon::None) = 0;
    virtual std::optional<std::string> inputBox(const std::string& title,
                                                const std::string& prompt) = 0;
    virtual std::optional<std::string> openFile(const std::string& title,
                                                const std::string& filter,
                                                const std::string& initialDir) = 0;
};

} // namespace hh
