// The settings writer and reader: whatever the file held, a legal value
// written under a legal key reads back unchanged, and the file keeps its shape.
#include "FuzzInput.h"
#include "settings/IniFile.h"

namespace {

bool legalName(const std::string& s) {
    if (s.empty())
        return false;
    for (unsigned char c : s)
        if (c < 0x20 || c == '[' || c == ']' || c == '=' || c >= 0x7F)
            return false;
    return s.front() != ' ';
}

bool legalValue(const std::string& s) {
    for (unsigned char c : s)
        if (c < 0x20 || c == '[' || c >= 0x7F)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto f = hh::fuzz::fields(data, size, 4);
    const std::string& content = f[0];
    const std::string& section = f[1];
    const std::string& key = f[2];
    const std::string& value = f[3];
    const std::string written = hh::iniWithKey(content, section, key, value);
    using hh::fuzz::check;
    check(written.size() >= 2 && written.compare(written.size() - 2, 2, "\r\n") == 0,
          "the file ends with exactly one CR LF");
    check(written.find("\r\n\r\n\r\n") == std::string::npos, "at most one blank line");
    // The writer drops every byte up to 13 at the start of the file; when those
    // are more than line ends, the first line it keeps may only then become a
    // section header, one the writer did not see when it placed the key.
    const std::size_t text = content.find_first_not_of(std::string("\r\n", 2));
    const bool plainStart =
        text == std::string::npos || static_cast<unsigned char>(content[text]) > 13;
    if (plainStart && legalName(section) && legalName(key) && legalValue(value))
        check(hh::iniValue(written, section, key) == value, "a written key reads back");
    return 0;
}
