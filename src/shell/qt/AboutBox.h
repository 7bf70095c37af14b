#pragma once
// frmAbout: maker, version and contact links.
#include <QDialog>
#include <filesystem>
#include <string>

namespace hh {

class Shell;

inline constexpr const char* kCompanyName = "Kennel Works";
inline constexpr const char* kBugReportUrl = "https://handlehound.example/bugs";
inline constexpr const char* kEmailUrl = "mailto:bugs@handlehound.example";
inline constexpr const char* kWebsiteUrl = "https://handlehound.example";

std::string aboutCaption(); // "<company> - Handlehound"
std::string aboutVersion(); // "Version 1.0.0"

class AboutBox : public QDialog {
  public:
    AboutBox(Shell& shell, const std::filesystem::path& programDir, QWidget* parent = nullptr);
};

} // namespace hh
