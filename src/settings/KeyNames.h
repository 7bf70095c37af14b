#pragma once
#include <array>
#include <cstdint>
#include <string_view>

namespace hh {

class Dialogs;

inline constexpr std::size_t kKeyNameCount = 90;
// The game key names the dialogs offer, in order. The keypad minus is "kp_minus".
const std::array<std::string_view, kKeyNameCount>& keyNameList();

// Windows virtual-key code of a game key name, compared without regard to
// case; 0 for names the table does not know. "ALT" first shows a warning
// through `dialogs` (when given).
std::int32_t keyNameToCode(std::string_view keyName, Dialogs* dialogs);

} // namespace hh
