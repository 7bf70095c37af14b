// The command pickup on arbitrary dump bytes.
#include "FuzzInput.h"
#include "common/Strings.h"
#include "gamelink/CommandPickup.h"

namespace {

// The last line the player typed ("]/hh " or "]\hh " at its start), as the
// pickup reads it, or "" when there is none.
std::string lastTypedLine(std::string_view dump, bool& found) {
    found = false;
    std::string last;
    for (std::size_t start = 0; start <= dump.size();) {
        const std::size_t end = std::min(dump.find('\n', start), dump.size());
        const std::string_view line = dump.substr(start, end - start);
        if (line.starts_with("]/hh ") || line.starts_with("]\\hh ")) {
            last = "]/" + std::string(line.substr(2));
            found = true;
        }
        start = end + 1;
    }
    return hh::replaceAll(hh::replaceAll(last, "'/hh", ""), "\r", "");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view dump(reinterpret_cast<const char*>(data), size);
    const std::string command = hh::findCommandInText(dump, "/hh ");
    using hh::fuzz::check;
    bool typed = false;
    const std::string line = lastTypedLine(dump, typed);
    if (dump.empty())
        check(command == "empty", "an empty dump answers empty");
    else if (!typed)
        check(command == "No_Command_Found", "only a typed line holds a command");
    else
        check(line.ends_with(command) && line.size() >= command.size() + 5,
              "the command ends the last typed line");
    check(command.find('\n') == std::string::npos, "a command is one line");
    check(command.find('\r') == std::string::npos, "no carriage return in a command");
    return 0;
}
