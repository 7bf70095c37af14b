#include "app/linux/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>
#include <unistd.h>

namespace hh {
namespace {

constexpr int kWaitMs = 1000;
constexpr qint64 kMaxRequestBytes = 16; // "show\n"; anything longer is not ours

// A full path in the user's private runtime folder; without one, a name
// that Qt places in the temporary folder, made private by UserAccessOption.
QString socketName(const std::filesystem::path& programDir) {
    const QByteArray folder = QByteArray::fromStdString(programDir.string());
    const QString key = QString::fromLatin1(
        QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.startsWith(QLatin1Char('/')) && QDir().mkpath(runtime + "/handlehound"))
        return runtime + "/handlehound/" + key + ".socket";
    return QStringLiteral("handlehound-%1-%2").arg(getuid()).arg(key);
}

} // namespace

SingleInstance::SingleInstance(const std::filesystem::path& programDir)
    : lock_(programDir), serverName_(socketName(programDir)) {
    if (!lock_.held())
        return;
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(serverName_); // a socket file left by a crash
    server_->listen(serverName_);
    QObject::connect(server_.get(), &QLocalServer::newConnection, [this] { acceptConnections(); });
}

SingleInstance::~SingleInstance() {
    if (server_)
        server_->close();
}

bool SingleInstance::askFirstToShow() {
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (!socket.waitForConnected(kWaitMs))
        return false;
    socket.write("show\n");
    const bool sent = socket.waitForBytesWritten(kWaitMs);
    socket.disconnectFromServer();
    return sent;
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            const QByteArray request = socket->read(kMaxRequestBytes);
            socket->readAll(); // bounded by the socket's own buffer; drop the rest
            if (request.startsWith("show") && onShow_)
                onShow_();
            socket->disconnectFromServer();
        });
    }
}

} // namespace hh
