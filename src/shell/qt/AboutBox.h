#pragma once
// frmAbout: maker, version and contact links.
#include <QDialog>
#include <filesystem>
#include <string>

namespace hh {

class Shell;

class AboutBox : public QDialog {
  public:
    AboutBox(Shell& shell, const std::filesystem::path& programDir, QWidget* parent = nullptr);
};

} // namespace hh
