// The command pickup on arbitrary dump bytes.
#include "FuzzInput.h"
#include "gamelink/CommandPickup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view dump(reinterpret_cast<const char*>(data), size);
    const std::string command = hh::findCommandInText(dump, "/hh ");
    using hh::fuzz::check;
    const bool typed = dump.starts_with("]/hh ") || dump.starts_with("]\\hh ") ||
                       dump.find("\n]/hh ") != std::string_view::npos ||
                       dump.find("\n]\\hh ") != std::string_view::npos;
    if (dump.empty())
        check(command == "empty", "an empty dump answers empty");
    else if (!typed)
        check(command == "No_Command_Found", "only a typed line holds a command");
    check(command.find('\n') == std::string::npos, "a command is one line");
    check(command.find('\r') == std::string::npos, "no carriage return in a command");
    return 0;
}
