// The alias page parser, formatter and splitter on arbitrary pages.
#include "FuzzInput.h"
#include "lookup/AliasPage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto f = hh::fuzz::fields(data, size, 2);
    const std::int16_t limit =
        f[1].empty() ? 150 : static_cast<std::int16_t>(1 + (f[1][0] & 0xFF) * 4);
    const auto parsed = hh::parseAliasPage(f[0], limit, hh::AliasColours{});
    using hh::fuzz::check;
    check(parsed.aliasCount >= 0 && parsed.aliasCount <= 999, "at most 999 aliases");
    const std::string split = hh::splitLongLine(parsed.list);
    std::size_t joins = 0;
    for (std::size_t pos = split.find("\\n\\t"); pos != std::string::npos;
         pos = split.find("\\n\\t", pos + 4))
        ++joins;
    check(joins <= 3, "a line is split into at most four parts");
    hh::splitLongLine(f[0]); // raw input may hold the joiner itself: only no crash here
    return 0;
}
