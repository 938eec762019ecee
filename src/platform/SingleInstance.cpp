#include "platform/SingleInstance.h"

#include "platform/Places.h"

#include "core/app/command_line.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QtEndian>

#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

namespace quill::platform {
namespace {

constexpr char kReceipt = '\x06';
constexpr quint32 kLongestMessage = 1u << 20; // far beyond any command line
constexpr int kHeaderSize = 4;
// sockaddr_un's sun_path holds 108 bytes with the closing zero.
constexpr qsizetype kLongestSocketPath = 100;

bool SameUser(qintptr descriptor) {
    const long long uid = PeerUserId(descriptor);
    // Where the system cannot tell, the user-only socket file is the guard.
    return uid < 0 || uid == static_cast<long long>(::getuid());
}

QByteArray Frame(const QString& text) {
    const QByteArray payload = text.toUtf8();
    QByteArray frame(kHeaderSize, '\0');
    qToBigEndian(static_cast<quint32>(payload.size()), frame.data());
    return frame + payload;
}

} // namespace

long long PeerUserId(qintptr socketDescriptor) {
#ifdef SO_PEERCRED
    struct ucred credentials {};
    socklen_t length = sizeof credentials;
    if (socketDescriptor >= 0 && ::getsockopt(static_cast<int>(socketDescriptor), SOL_SOCKET,
                                              SO_PEERCRED, &credentials, &length) == 0) {
        return static_cast<long long>(credentials.uid);
    }
#else
    Q_UNUSED(socketDescriptor);
#endif
    return -1;
}

SingleInstance::SingleInstance(const QString& dataDirectory, QObject* parent)
    : QObject(parent), path_(ServerPathFor(dataDirectory)) {}

SingleInstance::~SingleInstance() {
    Close();
}

QString SingleInstance::ServerPathFor(const QString& dataDirectory) {
    const QString name = Places::DataDirectoryTag(dataDirectory) + QStringLiteral(".socket");
    QString path = Places::RuntimeDirectory() + QLatin1Char('/') + name;
    if (path.toLocal8Bit().size() > kLongestSocketPath) {
        path = QDir::tempPath() + QLatin1Char('/') + name;
    }
    return path;
}

bool SingleInstance::TryHandOver(const QStringList& arguments, int timeoutMs, bool* acknowledged) {
    if (acknowledged) {
        *acknowledged = false;
    }
    QLocalSocket socket;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(&socket, &QLocalSocket::connected, &loop, &QEventLoop::quit);
    connect(&socket, &QLocalSocket::errorOccurred, &loop, &QEventLoop::quit);
    connect(&socket, &QLocalSocket::readyRead, &loop, &QEventLoop::quit);
    connect(&socket, &QLocalSocket::disconnected, &loop, &QEventLoop::quit);

    socket.connectToServer(path_);
    if (socket.state() == QLocalSocket::ConnectingState) {
        timer.start(timeoutMs);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (socket.state() != QLocalSocket::ConnectedState) {
        return false; // nobody listens, or the socket file is stale
    }
    if (!SameUser(socket.socketDescriptor())) {
        socket.abort();
        return false;
    }

    std::vector<std::string> args;
    args.reserve(static_cast<std::size_t>(arguments.size()));
    for (const QString& argument : arguments) {
        args.push_back(argument.toStdString());
    }
    QByteArray answer;
    connect(&socket, &QLocalSocket::readyRead, &loop,
            [&socket, &answer] { answer += socket.readAll(); });
    socket.write(Frame(QString::fromStdString(JoinCommandLine(args))));
    socket.flush();

    timer.start(timeoutMs);
    while (timer.isActive() && socket.state() == QLocalSocket::ConnectedState && answer.isEmpty()) {
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (acknowledged) {
        *acknowledged = answer.startsWith(kReceipt);
    }
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::Listen(QString* error) {
    if (IsListening()) {
        return true;
    }
    if (QFileInfo::exists(path_) || QFileInfo(path_).isSymLink()) {
        // Someone answering on it is a running instance; otherwise the file is left over.
        QLocalSocket probe;
        probe.connectToServer(path_);
        if (probe.state() == QLocalSocket::ConnectedState || probe.waitForConnected(1000)) {
            probe.abort();
            if (error) {
                *error = QStringLiteral("Another instance is running.");
            }
            return false;
        }
        QLocalServer::removeServer(path_);
    }
    auto server = std::make_unique<QLocalServer>(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(path_)) {
        if (error) {
            *error = server->errorString();
        }
        return false;
    }
    server_ = server.release();
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::AcceptConnections);
    return true;
}

bool SingleInstance::IsListening() const {
    return server_ && server_->isListening();
}

void SingleInstance::Close() {
    if (server_) {
        server_->close();
        delete server_;
        server_ = nullptr;
    }
}

void SingleInstance::AcceptConnections() {
    while (server_ && server_->hasPendingConnections()) {
        QLocalSocket* socket = server_->nextPendingConnection();
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!SameUser(socket->socketDescriptor())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        // A client that never finishes its message is dropped.
        QTimer::singleShot(kDefaultTimeoutMs, socket, [socket] { socket->abort(); });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadFrom(socket); });
        if (socket->bytesAvailable() > 0) {
            ReadFrom(socket);
        }
    }
}

void SingleInstance::ReadFrom(QLocalSocket* socket) {
    // The socket keeps what has come so far; a message is taken whole or not at all.
    if (socket->property("quillDone").toBool() || socket->bytesAvailable() < kHeaderSize) {
        return;
    }
    const QByteArray header = socket->peek(kHeaderSize);
    const quint32 length = qFromBigEndian<quint32>(header.constData());
    if (length > kLongestMessage) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < kHeaderSize + static_cast<qint64>(length)) {
        return;
    }
    socket->read(kHeaderSize);
    const QString text = QString::fromUtf8(socket->read(length));
    socket->setProperty("quillDone", true);
    socket->write(QByteArray(1, kReceipt));
    socket->flush();
    socket->disconnectFromServer();
    // Handed on from the event loop, after the receipt is on its way.
    QTimer::singleShot(0, this, [this, text] { emit commandLineReceived(text); });
}

} // namespace quill::platform
