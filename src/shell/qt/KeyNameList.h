#pragma once
// The key lists of the Options and Setup dialogs.
#include "settings/KeyNames.h"

#include <array>
#include <string>
#include <string_view>

class QComboBox;

namespace hh {

void fillKeyNameList(QComboBox* list, const std::array<std::string_view, kKeyNameCount>& names);
// Shows `name`; a name the list lacks (an ini edited by hand) is added on
// top so that storing the dialog unchanged keeps it.
void showKeyName(QComboBox* list, const std::string& name);
std::string keyNameShown(const QComboBox* list);

} // namespace hh
