#include "settings/KeyNames.h"

#include "common/Strings.h"
#include "platform/Dialogs.h"

#include <string>
#include <utility>

namespace hh {

const std::array<std::string_view, kKeyNameCount>& keyNameList() {
    static const std::array<std::string_view, kKeyNameCount> names = {
        "tab",
        "f1",
        "f2",
        "f3",
        "f4",
        "f5",
        "f6",
        "f7",
        "f8",
        "f9",
        "f10",
        "f11",
        "f12",
        "1",
        "2",
        "3",
        "4",
        "5",
        "6",
        "7",
        "8",
        "9",
        "0",
        "-",
        "=",
        "backspace",
        "q",
        "w",
        "e",
        "r",
        "t",
        "y",
        "u",
        "i",
        "o",
        "p",
        "[",
        "]",
        "\\",
        "a",
        "s",
        "d",
        "f",
        "g",
        "h",
        "j",
        "k",
        "l",
        ";",
        "'",
        "enter",
        "shift",
        "z",
        "x",
        "c",
        "v",
        "b",
        "n",
        "m",
        ",",
        ".",
        "/",
        "space",
        "leftarrow",
        "downarrow",
        "uparrow",
        "rightarrow",
        "ins",
        "home",
        "pgup",
        "del",
        "end",
        "pgdn",
        "pause",
        "slash",
        "*",
        "kp_minus",
        "kp_home",
        "kp_uparrow",
        "kp_pgup",
        "kp_leftarrow",
        "kp_5",
        "kp_rightarrow",
        "kp_end",
        "kp_downarrow",
        "kp_pgdn",
        "kp_plus",
        "kp_enter",
        "kp_ins",
        "kp_del",
    };
    return names;
}

namespace {

struct KeyCode {
    std::string_view upperName;
    std::int32_t code;
};

constexpr KeyCode kFixedCodes[] = {
    {"TAB", 9},        {"-", 189},
    {"=", 187},        {"BACKSPACE", 8},
    {"[", 219},        {"]", 221},
    {"\\", 220},       {";", 186},
    {"'", 222},        {"ENTER", 13},
    {"SHIFT", 16},     {",", 188},
    {".", 190},        {"/", 191},
    {"SPACE", 32},     {"LEFTARROW", 37},
    {"UPARROW", 38},   {"RIGHTARROW", 39},
    {"DOWNARROW", 40}, {"PGUP", 33},
    {"PGDN", 34},      {"END", 35},
    {"HOME", 36},      {"INS", 45},
    {"DEL", 46},       {"PAUSE", 19},
    {"SLASH", 111},    {"*", 106},
    {"KP_MINUS", 109}, {"KP_INS", 96},
    {"KP_END", 97},    {"KP_DOWNARROW", 98},
    {"KP_PGDN", 99},   {"KP_LEFTARROW", 100},
    {"KP_5", 101},     {"KP_RIGHTARROW", 102},
    {"KP_HOME", 103},  {"KP_UPARROW", 104},
    {"KP_PGUP", 105},  {"KP_PLUS", 107},
    {"KP_ENTER", 108}, {"KP_DEL", 110},
};

} // namespace

std::int32_t keyNameToCode(std::string_view keyName, Dialogs* dialogs) {
    const std::string name = toUpper(keyName);
    if (name.size() == 1) {
        const char c = name[0];
        if (c >= 'A' && c <= 'Z')
            return c;
        if (c >= '0' && c <= '9')
            return c;
    }
    if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F') {
        const std::string digits = name.substr(1);
        if (digits.find_first_not_of("0123456789") == std::string::npos && digits[0] != '0') {
            const int n = std::stoi(digits);
            if (n >= 1 && n <= 12)
                return 111 + n;
        }
    }
    for (const auto& entry : kFixedCodes)
        if (entry.upperName == name)
            return entry.code;
    if (name == "ALT" && dialogs)
        dialogs->messageBox("Warning! ALT key will not work for command repeat attempts.");
    return 0;
}

} // namespace hh
