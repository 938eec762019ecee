#pragma once
// The single-instance rule on a per-user local socket. The first start listens; a
// second start connects, sends its whole command line, waits for the receipt and ends.
//
// The socket lives in the user's runtime directory ($XDG_RUNTIME_DIR, else a user-only
// directory in the temporary directory) under a name made of
// the user id and a hash of the data directory, so that two instances with different
// QUILLMERE_HOME directories do not meet. The socket file is readable by the user only, and
// both sides check the other's user id (SO_PEERCRED) and drop a peer of another user.
//
// Wire form: the command line as UTF-8 text (core JoinCommandLine: arguments quoted so that
// a path with blanks or quotes arrives whole) behind its length as a 4-byte big-endian
// number; the receipt is one byte 0x06 sent back before the text is handed on.
//
// Use at start-up, before any window is made:
//     SingleInstance instance(places.DataDirectory());
//     if (instance.TryHandOver(arguments)) return 0;    // a running instance has it
//     if (!instance.Listen() && instance.TryHandOver(arguments)) return 0;  // lost a race
//     connect(&instance, &SingleInstance::commandLineReceived, ...OpenCommandLine...);

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

namespace quill::platform {

class SingleInstance final : public QObject {
    Q_OBJECT

public:
    static constexpr int kDefaultTimeoutMs = 5000;

    explicit SingleInstance(const QString& dataDirectory, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The full path of the socket for a data directory.
    static QString ServerPathFor(const QString& dataDirectory);
    const QString& ServerPath() const { return path_; }

    // Second start: connects to a running instance of the same user and data directory and
    // hands it the command line (arguments[0] the program path; with no further arguments
    // the running instance only comes forward). True when an instance answered the
    // connection: the caller ends at once, whether or not the receipt came in time
    // (acknowledged says which). False when nothing listens, the socket file is stale, or
    // the listener belongs to another user: the caller is the first instance.
    // Runs a local event loop while it waits, so a server in the same thread answers too.
    bool TryHandOver(const QStringList& arguments, int timeoutMs = kDefaultTimeoutMs,
                     bool* acknowledged = nullptr);

    // First start: listens on the socket, user-only access. A stale socket file (nobody
    // answers on it) is removed first. False when another instance is listening there, or
    // the socket cannot be made (error says why).
    bool Listen(QString* error = nullptr);
    bool IsListening() const;
    void Close();

signals:
    // A second start's whole command line, emitted from the event loop after its receipt
    // was sent (with both ends in one thread, possibly while TryHandOver still waits).
    void commandLineReceived(const QString& commandLine);

private:
    void AcceptConnections();
    void ReadFrom(QLocalSocket* socket);

    QString path_;
    QLocalServer* server_ = nullptr;
};

// The user id of the process at the other end of a connected local socket, or -1 when it
// cannot be told.
long long PeerUserId(qintptr socketDescriptor);

} // namespace quill::platform
