#include "platform/posix/XdgAutostart.h"

#include "platform/Files.h"
#include "platform/posix/XdgFolders.h"

#include <system_error>

namespace hh {
namespace fs = std::filesystem;

XdgAutostart::XdgAutostart(fs::path entryFile, std::vector<std::string> command)
    : entryFile_(std::move(entryFile)), command_(std::move(command)) {}

fs::path XdgAutostart::userEntryFile() {
    return xdgBaseFolder("XDG_CONFIG_HOME", ".config") / "autostart" / "handlehound.desktop";
}

bool XdgAutostart::enabled() const {
    const auto text = readWholeFile(entryFile_);
    return text && text->find("\nHidden=true") == std::string::npos &&
           text->find("\nX-GNOME-Autostart-enabled=false") == std::string::npos;
}

std::string XdgAutostart::setEnabled(bool on) {
    std::error_code ec;
    if (!on) {
        fs::remove(entryFile_, ec);
        return ec ? "Cannot remove " + entryFile_.string() + ": " + ec.message() : "";
    }
    fs::create_directories(entryFile_.parent_path(), ec);
    const std::string entry = "[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=Handlehound\n"
                              "Comment=Waits in the tray for the game to start\n"
                              "Exec=" +
                              desktopEntryExec(command_) +
                              "\n"
                              "Icon=handlehound\n"
                              "Terminal=false\n";
    std::string error;
    if (!writeFileAtomically(entryFile_, entry, &error))
        return "Cannot write " + entryFile_.string() + ": " + error;
    return {};
}

std::string desktopEntryExec(const std::vector<std::string>& command) {
    constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string exec;
    for (const auto& argument : command) {
        std::string word;
        for (const char c : argument) {
            if (c == '"' || c == '`' || c == '$' || c == '\\')
                word += '\\';
            word += c == '%' ? "%%" : std::string(1, c); // a lone % starts a field code
        }
        if (argument.empty() || argument.find_first_of(kReserved) != std::string::npos)
            word = '"' + word + '"';
        // The file's own string escapes come on top: a backslash is written
        // twice, a line break as \n.
        if (!exec.empty())
            exec += ' ';
        for (const char c : word)
            exec += c == '\\' ? "\\\\" : c == '\n' ? "\\n" : std::string(1, c);
    }
    return exec;
}

} // namespace hh
