#pragma once
// The alias database that ships with the program, private to its program
// folder: handlehound-aliasdb beside this executable, on a free port of
// 127.0.0.1, with a fresh random secret in a folder only this user can open.
// The secret reaches the service in a file and the page fetcher for the
// service's own address only. The service ends with the program; when it dies
// or stops answering /health it is started once more, and the console says so.
#include <QProcess>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace hh {

class PageFetcher;

class AliasDbLauncher {
  public:
    struct Hooks {
        // The service's address after every start; "" while none runs.
        std::function<void(const std::string& address)> onAddress;
        std::function<void(const std::string& line)> consoleLine;
    };

    explicit AliasDbLauncher(PageFetcher& pages);
    ~AliasDbLauncher();

    // Starts the service over the program folder's aliases.sqlite; its
    // request log goes to `logDir`.
    void start(const std::filesystem::path& programDir, const std::filesystem::path& logDir,
               Hooks hooks);

    static constexpr int kHealthCheckMs = 30000;

  private:
    bool launch(std::string& why);
    void checkHealth();
    void lost(const std::string& why);
    void stopProcess();

    PageFetcher& pages_;
    Hooks hooks_;
    std::filesystem::path programDir_, logDir_, runDir_;
    std::unique_ptr<QProcess> process_;
    QTimer healthTimer_;
    std::string address_;
    int restartsLeft_ = 1;
    // Answers of /health may come after the launcher is gone.
    std::shared_ptr<AliasDbLauncher*> self_ = std::make_shared<AliasDbLauncher*>(this);
};

} // namespace hh
