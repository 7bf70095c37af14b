#include "lookup/GameText.h"

namespace hh {

std::string gameName(std::string_view name, const std::string& colour) {
    std::string out;
    std::string current = colour;
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        if (c == '^') {
            if (i + 1 < name.size() && name[i + 1] >= '0' && name[i + 1] <= '9') {
                current = name.substr(i, 2);
                out += current;
                ++i;
            }
            continue;
        }
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = ' ';
        else if (c == '\\')
            c = '|';
        else if (c == '{')
            c = '[';
        else if (c == '}')
            c = ']';
        out += c;
        if (c == ' ')
            out += current;
    }
    return out;
}

} // namespace hh
