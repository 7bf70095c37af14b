#include "shell/qt/KeyNameList.h"

#include "shell/qt/QtText.h"

#include <QComboBox>

namespace hh {

void fillKeyNameList(QComboBox* list, const std::array<std::string_view, kKeyNameCount>& names) {
    list->clear();
    for (const std::string_view name : names)
        list->addItem(qs(std::string(name)));
}

void showKeyName(QComboBox* list, const std::string& name) {
    const QString text = qs(name);
    int index = list->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (index < 0) {
        list->insertItem(0, text);
        index = 0;
    }
    list->setCurrentIndex(index);
}

std::string keyNameShown(const QComboBox* list) {
    return bytesOf(list->currentText());
}

} // namespace hh
