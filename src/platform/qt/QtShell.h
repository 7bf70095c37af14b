#pragma once
#include "platform/Shell.h"

namespace hh {

// Opens files with the desktop's default editor and addresses in the browser.
class QtShell : public Shell {
  public:
    void openFile(const std::string& path) override;
    void openUrl(const std::string& url) override;
};

} // namespace hh
