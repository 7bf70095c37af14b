#include "app/linux/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalSocket>
#include <unistd.h>

namespace hh {
namespace {

constexpr int kWaitMs = 1000;
constexpr qint64 kMaxRequestBytes = 16; // "show\n"; anything longer is not ours

} // namespace

SingleInstance::SingleInstance(const std::filesystem::path& programDir) {
    const QByteArray folder = QByteArray::fromStdString(programDir.string());
    serverName_ =
        QStringLiteral("handlehound-%1-%2")
            .arg(getuid())
            .arg(QString::fromLatin1(
                QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16)));
    lock_ = std::make_unique<QLockFile>(
        QString::fromStdString((programDir / "handlehound.lock").string()));
    // A lock left by a program that died is taken over (QLockFile checks its PID).
    first_ = lock_->tryLock(0);
    if (!first_)
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
    if (first_)
        lock_->unlock();
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
