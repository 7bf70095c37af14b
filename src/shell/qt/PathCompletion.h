#pragma once
class QLineEdit;

namespace hh {

// File-system path completion for a text box: files and folders, no web
// addresses.
void enablePathCompletion(QLineEdit* box);

} // namespace hh
