#pragma once
#include <string>

namespace hh {

// Opens documents and addresses with the desktop's default programs.
class Shell {
  public:
    virtual ~Shell() = default;
    virtual void openFile(const std::string& path) = 0;
    virtual void openUrl(const std::string& url) = 0;
};

} // namespace hh
