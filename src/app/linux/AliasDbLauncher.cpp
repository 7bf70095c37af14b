#include "app/linux/AliasDbLauncher.h"

#include "app/ThisSystem.h"
#include "settings/Settings.h"

#include <QTcpSocket>
#include <csignal>
#include <sys/prctl.h>

namespace hh {

namespace {

bool somethingAnswers(const QString& host, quint16 port) {
    QTcpSocket probe;
    probe.connectToHost(host, port);
    // Loopback: a refused connection comes back at once; a listener at once too.
    return probe.waitForConnected(300);
}

} // namespace

std::string AliasDbLauncher::startIfNeeded(const std::string& lookupAddress,
                                           const std::filesystem::path& programDir,
                                           const std::filesystem::path& logDir) {
    std::string address = lookupAddress;
    while (!address.empty() && address.back() == '/')
        address.pop_back();
    if (address != kDefaultLookupUrl)
        return {};
    const QString host = QStringLiteral("127.0.0.1");
    const quint16 port = 27995;
    if (somethingAnswers(host, port))
        return {};
    const auto binary = executableDir() / "handlehound-aliasdb";
    if (!std::filesystem::exists(binary))
        return "The alias database (handlehound-aliasdb) was not found beside the program; "
               "lookups will report a connectivity error.";
    process_ = std::make_unique<QProcess>();
    process_->setProgram(QString::fromLocal8Bit(binary.c_str()));
    process_->setArguments({QStringLiteral("--listen"),
                            host + QLatin1Char(':') + QString::number(port), QStringLiteral("--db"),
                            QString::fromLocal8Bit((programDir / "aliases.sqlite").c_str())});
    // Its one line per request goes to a log of its own, not into ours.
    std::error_code ec;
    std::filesystem::create_directories(logDir, ec);
    // The service is ours: when this program dies without its own shutdown
    // (a lost X display ends an Xlib program at once), the service goes too.
    process_->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process_->setStandardOutputFile(QProcess::nullDevice());
    process_->setStandardErrorFile(QString::fromLocal8Bit((logDir / "aliasdb.log").c_str()),
                                   QIODevice::Append);
    process_->start();
    if (!process_->waitForStarted(3000))
        return "The alias database could not be started: " + process_->errorString().toStdString();
    return "Started the alias database on " + std::string(kDefaultLookupUrl) + ".";
}

AliasDbLauncher::~AliasDbLauncher() {
    if (process_ && process_->state() != QProcess::NotRunning) {
        process_->terminate();
        if (!process_->waitForFinished(3000))
            process_->kill();
        process_->waitForFinished(1000);
    }
}

} // namespace hh
