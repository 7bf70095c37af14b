#pragma once
// Starting the program at login the freedesktop way: a desktop entry in
// $XDG_CONFIG_HOME/autostart/. The session settings of a desktop may switch
// it off by adding Hidden=true, which counts as off here too.
#include <filesystem>
#include <string>
#include <vector>

namespace hh {

class XdgAutostart {
  public:
    // `command`: the program and its arguments, as the entry runs them.
    XdgAutostart(std::filesystem::path entryFile, std::vector<std::string> command);
    // $XDG_CONFIG_HOME/autostart/handlehound.desktop
    static std::filesystem::path userEntryFile();

    bool enabled() const;
    // "" when done, else why not.
    std::string setEnabled(bool on);

  private:
    std::filesystem::path entryFile_;
    std::vector<std::string> command_;
};

// The Exec value for a command: each argument that needs it in double quotes,
// with the characters the desktop entry rules reserve escaped.
std::string desktopEntryExec(const std::vector<std::string>& command);

} // namespace hh
