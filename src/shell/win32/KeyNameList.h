#pragma once
// The key lists (drop-down combo boxes) of the Options and Setup dialogs.
#include "settings/KeyNames.h"

#include <windows.h>

#include <array>
#include <string>
#include <string_view>

namespace hh::win32 {

void fillKeyNameList(HWND list, const std::array<std::string_view, kKeyNameCount>& names);
// Shows `name`; a name the list lacks (an ini edited by hand) is added on
// top so that storing the dialog unchanged keeps it.
void showKeyName(HWND list, const std::string& name);
std::string keyNameShown(HWND list);

} // namespace hh::win32
