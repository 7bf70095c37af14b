// Whatever a message holds, hh.cfg stays a script of harmless echo lines.
#include "FuzzInput.h"
#include "gamelink/ResultScript.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view message(reinterpret_cast<const char*>(data), size);
    if (message == "none")
        return 0;
    const std::string script = hh::renderResultScript(message);
    using hh::fuzz::check;
    check(script.size() < 16 * 1024, "the file fits the engine's command buffer");
    std::size_t start = 0;
    while (start < script.size()) {
        const std::size_t end = script.find("\r\n", start);
        check(end != std::string::npos, "every line ends with CR LF");
        const std::string_view line(script.data() + start, end - start);
        check(line.substr(0, 5) == "echo ", "every line is an echo line");
        check(line.size() + 2 < 1023, "every line is under 1,023 bytes");
        for (unsigned char c : line)
            check(c >= 0x20 && c <= 0x7E, "only printable ASCII");
        check(line.find(';') == std::string_view::npos, "no command separator");
        check(line.find('"') == std::string_view::npos, "no double quote");
        check(line.find("//") == std::string_view::npos, "no line comment");
        check(line.find("/*") == std::string_view::npos, "no block comment");
        start = end + 2;
    }
    return 0;
}
