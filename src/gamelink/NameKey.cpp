#include "gamelink/NameKey.h"

#include "common/Strings.h"

namespace hh {

namespace {
bool isAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
} // namespace

std::string withoutColourCodes(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '^' && i + 1 < name.size() && isAsciiAlnum(name[i + 1])) {
            ++i;
            continue;
        }
        out += name[i];
    }
    return out;
}

std::string nameKey(std::string_view name) {
    return toLower(withoutColourCodes(name));
}

} // namespace hh
