#pragma once
// Files open in WordPad, as the program has always opened its text files;
// addresses in the user's browser or mail program.
#include "platform/Shell.h"

namespace hh::win32 {

class Win32Shell : public Shell {
  public:
    void openFile(const std::string& path) override;
    void openUrl(const std::string& url) override;
};

} // namespace hh::win32
