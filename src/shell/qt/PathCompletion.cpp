#include "shell/qt/PathCompletion.h"

#include <QCompleter>
#include <QFileSystemModel>
#include <QLineEdit>

namespace hh {

void enablePathCompletion(QLineEdit* box) {
    auto* model = new QFileSystemModel(box);
    model->setFilter(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    model->setRootPath(QString());
    auto* completer = new QCompleter(model, box);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    box->setCompleter(completer);
}

} // namespace hh
