// The command pickup on arbitrary dump bytes.
#include "FuzzInput.h"
#include "common/Strings.h"
#include "gamelink/CommandPickup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view dump(reinterpret_cast<const char*>(data), size);
    const std::string command = hh::findCommandInText(dump, "/hh ");
    using hh::fuzz::check;
    if (dump.empty())
        check(command == "empty", "an empty dump answers empty");
    if (dump.find("/hh ") == std::string_view::npos && !dump.empty())
        check(command == "No_Command_Found", "no prefix answers No_Command_Found");
    check(command.find('\n') == std::string::npos, "a command is one line");
    check(command.find('\r') == std::string::npos, "no carriage return in a command");
    // Quoted mentions are cut out before the search and carriage returns after
    // it, so a command is a piece of the dump without either.
    if (command != "empty" && command != "No_Command_Found")
        check(hh::replaceAll(hh::replaceAll(dump, "'/hh", ""), "\r", "").find(command) !=
                  std::string::npos,
              "a command is part of the dump");
    return 0;
}
