#pragma once
#include <string>

namespace hh {

// Opens documents and addresses with the desktop's default programs, and
// asks the desktop session to start this program when the user logs in.
class Shell {
  public:
    virtual ~Shell() = default;
    virtual void openFile(const std::string& path) = 0;
    virtual void openUrl(const std::string& url) = 0;

    // Whether this session can start the program at login at all.
    virtual bool offersStartAtLogin() const { return false; }
    virtual bool startsAtLogin() const { return false; }
    // "" when done, else why not.
    virtual std::string setStartAtLogin(bool on) {
        return on ? "Starting Handlehound at login is not offered here." : "";
    }
};

} // namespace hh
