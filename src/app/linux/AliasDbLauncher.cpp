#include "app/linux/AliasDbLauncher.h"

#include "app/ThisSystem.h"
#include "platform/PageFetcher.h"

#include <sys/prctl.h>

#include <csignal>
#include <cstdlib>
#include <fstream>

namespace hh {

namespace fs = std::filesystem;

namespace {

constexpr int kReadyWithinMs = 5000;

std::string firstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// A folder of its own (mode 0700) for the secret and the port, in the user's
// runtime folder when there is one.
fs::path privateFolder(std::string& why) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::error_code ec;
    const fs::path base = runtime && *runtime && fs::is_directory(runtime, ec)
                              ? fs::path(runtime)
                              : fs::temp_directory_path(ec);
    std::string pattern = (base / "handlehound-aliasdb-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        why = "cannot create a private folder in " + base.string();
        return {};
    }
    return pattern;
}

} // namespace

AliasDbLauncher::AliasDbLauncher(PageFetcher& pages) : pages_(pages) {}

AliasDbLauncher::~AliasDbLauncher() {
    healthTimer_.stop();
    stopProcess();
}

void AliasDbLauncher::start(const fs::path& programDir, const fs::path& logDir, Hooks hooks) {
    programDir_ = programDir;
    logDir_ = logDir;
    hooks_ = std::move(hooks);
    std::string why;
    if (!launch(why)) {
        hooks_.consoleLine("The alias database could not be started (" + why +
                           "); lookups will report a connectivity error.");
        return;
    }
    hooks_.onAddress(address_);
    hooks_.consoleLine("Started the alias database on " + address_ + ".");
    QObject::connect(&healthTimer_, &QTimer::timeout, &healthTimer_, [this] { checkHealth(); });
    healthTimer_.start(kHealthCheckMs);
    checkHealth();
}

bool AliasDbLauncher::launch(std::string& why) {
    const fs::path binary = executableDir() / "handlehound-aliasdb";
    std::error_code ec;
    if (!fs::exists(binary, ec)) {
        why = "handlehound-aliasdb was not found beside the program";
        return false;
    }
    // A fresh secret and port for every start: whatever an earlier service
    // had is worth nothing now.
    runDir_ = privateFolder(why);
    if (runDir_.empty())
        return false;
    const auto arg = [](const fs::path& p) { return QString::fromStdString(p.string()); };
    process_ = std::make_unique<QProcess>();
    process_->setProgram(arg(binary));
    process_->setArguments({QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"),
                            QStringLiteral("--db"), arg(programDir_ / "aliases.sqlite"),
                            QStringLiteral("--credential"), arg(runDir_ / "credential"),
                            QStringLiteral("--port-file"), arg(runDir_ / "port"),
                            QStringLiteral("--log"), arg(logDir_ / "aliasdb.log")});
    // When this program dies without its own shutdown (a lost X display ends
    // an Xlib program at once), the service goes too.
    process_->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process_->setStandardOutputFile(QProcess::nullDevice());
    process_->start();
    // The port file appears once the service accepts requests.
    for (int waited = 0; !fs::exists(runDir_ / "port", ec); waited += 20) {
        if (process_->waitForFinished(20) || waited >= kReadyWithinMs ||
            process_->state() == QProcess::NotRunning) {
            const std::string said = process_->readAllStandardError().trimmed().toStdString();
            why = said.empty() ? "it did not start within 5 s" : said;
            stopProcess();
            return false;
        }
    }
    const std::string port = firstLine(runDir_ / "port");
    const std::string secret = firstLine(runDir_ / "credential");
    address_ = "http://127.0.0.1:" + port;
    pages_.setCredential(address_, secret);
    QObject::connect(process_.get(), &QProcess::finished, &healthTimer_,
                     [this](int status, QProcess::ExitStatus how) {
                         const std::string why =
                             how == QProcess::CrashExit
                                 ? "it crashed"
                                 : "it ended with status " + std::to_string(status);
                         // Not inside the signal of the process about to be replaced.
                         QTimer::singleShot(0, &healthTimer_, [this, why] { lost(why); });
                     });
    return true;
}

void AliasDbLauncher::checkHealth() {
    if (!process_)
        return;
    pages_.get(address_ + "/health", [weak = std::weak_ptr(self_),
                                      asked = address_](const FetchResult& r) {
        const auto self = weak.lock();
        if (!self || asked != (*self)->address_ || (r.ok && r.httpStatus == 200))
            return;
        (*self)->lost("it did not answer /health: " +
                      (r.error.empty() ? "HTTP " + std::to_string(r.httpStatus) : r.error));
    });
}

void AliasDbLauncher::lost(const std::string& why) {
    if (!process_)
        return; // already handled
    stopProcess();
    hooks_.onAddress({});
    if (restartsLeft_ == 0) {
        hooks_.consoleLine("The alias database stopped again (" + why +
                           "); lookups report a connectivity error until Handlehound is "
                           "started again.");
        return;
    }
    --restartsLeft_;
    std::string failure;
    if (!launch(failure)) {
        hooks_.consoleLine("The alias database stopped (" + why +
                           ") and could not be started again: " + failure);
        return;
    }
    hooks_.onAddress(address_);
    hooks_.consoleLine("The alias database stopped (" + why + "); started it again on " + address_ +
                       ".");
}

void AliasDbLauncher::stopProcess() {
    if (process_) {
        process_->disconnect();
        if (process_->state() != QProcess::NotRunning) {
            process_->terminate();
            if (!process_->waitForFinished(3000))
                process_->kill();
            process_->waitForFinished(1000);
        }
        process_.reset();
    }
    address_.clear();
    pages_.setCredential({}, {});
    std::error_code ec;
    if (!runDir_.empty())
        fs::remove_all(runDir_, ec);
    runDir_.clear();
}

} // namespace hh
