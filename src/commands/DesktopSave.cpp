#include "commands/DesktopSave.h"

#include "commands/TimeText.h"
#include "common/Strings.h"
#include "platform/Platform.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace hh {

SaveOutcome SaveTextToDesktop(Platform& platform, std::string& text) {
    SaveOutcome outcome;
    const std::filesystem::path desktop = platform.paths.desktopDir();
    outcome.path = desktop / kDesktopSaveFileName;
    text = replaceAll(text, ";", ":");

    // Many Linux desktops have no Desktop folder until something puts a file there.
    std::error_code ec;
    std::filesystem::create_directories(desktop, ec);
    if (ec) {
        outcome.error = ec.message();
        return outcome;
    }
    const std::string line = saveStampText(platform.clock.now()) + text + "\r\n";
    errno = 0;
    std::ofstream out(outcome.path, std::ios::binary | std::ios::app);
    if (out)
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
    if (out)
        out.close();
    if (!out) {
        outcome.error = errno != 0 ? std::strerror(errno) : "write failed";
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

} // namespace hh
