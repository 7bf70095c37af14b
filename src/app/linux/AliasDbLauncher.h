#pragma once
// The alias database that ships with the program: when the lookup address
// is the default one and nothing answers there, start handlehound-aliasdb
// beside this executable, and stop it again when the program ends.
#include <QProcess>
#include <filesystem>
#include <memory>
#include <string>

namespace hh {

class AliasDbLauncher {
  public:
    // Returns a line for the console pane ("" when there is nothing to say).
    std::string startIfNeeded(const std::string& lookupAddress,
                              const std::filesystem::path& programDir,
                              const std::filesystem::path& logDir);
    ~AliasDbLauncher();

  private:
    std::unique_ptr<QProcess> process_;
};

} // namespace hh
