#include "commands/ConsoleLog.h"

#include "commands/Texts.h"
#include "commands/TimeText.h"
#include "common/RotatingLogFile.h"
#include "platform/Files.h"
#include "platform/Platform.h"

namespace hh {

std::string compactConsoleLog(std::string_view logText) {
    std::string kept;
    std::size_t start = 0;
    while (start <= logText.size()) {
        auto end = logText.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = logText.size();
        const std::string_view line = logText.substr(start, end - start);
        if (!line.empty() && line != " ") {
            kept.append(line);
            kept.append("\r\n");
        }
        start = end + 1;
    }
    return kept + "     \r\n\r\n";
}

void LogConsoleText(Platform& platform, const std::string& consoleText) {
    RotatingLogFile log(platform.paths.logDir() / "console.log");
    const auto& path = log.path();
    const std::string record = std::string(91, '*') + "\r\n" +
                               generalDateTimeText(platform.clock.now()) + "\r\n" + consoleText +
                               "\r\n";
    std::string error;
    std::optional<std::string> old = std::string();
    if (log.makeRoom(record.size(), &error) && fileExists(path) && !(old = readWholeFile(path)))
        error = "Cannot read " + path.string();

    if (error.empty()) {
        // One atomic rewrite instead of append-then-compact: a crash between
        // the two would otherwise leave a half-compacted log.
        if (!writeFileAtomically(path, compactConsoleLog(*old + record), &error) && error.empty())
            error = "Cannot write " + path.string();
    }
    if (!error.empty())
        platform.dialogs.messageBox(error + "\r\nPlease report this error in LogConsoleText to " +
                                        std::string(texts::kAuthorHandle) + ".",
                                    MessageIcon::Critical);
}

} // namespace hh
