#include "platform/ChromiumDevTools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <QUrl>

#include <unistd.h>

namespace quill::platform {
namespace {

constexpr int kTimeoutMs = 3000;
constexpr char kListenState[] = "0A";

// Socket table addresses are hexadecimal in the kernel's byte order: 127.0.0.1 is
// "0100007F" and ::1 "00000000000000000000000001000000" on little-endian machines.
bool IsLoopback(const QByteArray& hexAddress) {
    if (hexAddress.size() == 8) {
        bool ok = false;
        const quint32 raw = hexAddress.toUInt(&ok, 16);
        return ok && (raw & 0xFFu) == 127; // the first octet sits in the lowest byte
    }
    if (hexAddress.size() == 32) {
        if (hexAddress == "00000000000000000000000001000000") {
            return true;
        }
        // An IPv4 loopback address mapped into IPv6 (::ffff:127.x.x.x).
        return hexAddress.startsWith("0000000000000000FFFF0000") && IsLoopback(hexAddress.right(8));
    }
    return false;
}

// True when the headers have arrived and so has the body of the length they announce.
bool ResponseComplete(const QByteArray& response) {
    const qsizetype end = response.indexOf("\r\n\r\n");
    if (end < 0) {
        return false;
    }
    for (const QByteArray& line : response.left(end).split('\n')) {
        const QByteArray header = line.trimmed();
        if (header.toLower().startsWith("content-length:")) {
            bool ok = false;
            const qsizetype length = header.mid(15).trimmed().toLongLong(&ok);
            return ok && response.size() - (end + 4) >= length;
        }
    }
    return false;
}

// The target list gives titles HTML-escaped.
QString UnescapedTitle(QString title) {
    title.replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&quot;"), QLatin1String("\""))
        .replace(QLatin1String("&#39;"), QLatin1String("'"))
        .replace(QLatin1String("&amp;"), QLatin1String("&"));
    return title;
}

} // namespace

std::optional<quint16> AnnouncedDevToolsPort(const QString& userDataDirectory) {
    QFile file(QDir(userDataDirectory).filePath(QStringLiteral("DevToolsActivePort")));
    if (QFileInfo(file).ownerId() != ::getuid() || !file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    bool ok = false;
    const uint port = file.readLine().trimmed().toUInt(&ok);
    if (!ok || port == 0 || port > 65535) {
        return std::nullopt;
    }
    return static_cast<quint16>(port);
}

bool LoopbackListenerOwnedBy(quint16 port, uint user, const QString& procRoot) {
    for (const char* table : {"/net/tcp", "/net/tcp6"}) {
        QFile file(procRoot + QLatin1String(table));
        if (!file.open(QIODevice::ReadOnly)) {
            continue;
        }
        file.readLine(); // the heading
        while (!file.atEnd()) {
            const QList<QByteArray> fields = file.readLine().simplified().split(' ');
            // sl local_address rem_address st tx:rx tr:when retrnsmt uid ...
            if (fields.size() < 8 || fields[3] != kListenState) {
                continue;
            }
            const QList<QByteArray> local = fields[1].split(':');
            bool portOk = false;
            bool userOk = false;
            if (local.size() == 2 && local[1].toUInt(&portOk, 16) == port && portOk &&
                IsLoopback(local[0]) && fields[7].toUInt(&userOk) == user && userOk) {
                return true;
            }
        }
    }
    return false;
}

std::optional<DevToolsEndpoint> DevToolsEndpoint::Find(const QString& userDataDirectory) {
    const std::optional<quint16> port = AnnouncedDevToolsPort(userDataDirectory);
    if (!port || !LoopbackListenerOwnedBy(*port, ::getuid())) {
        return std::nullopt;
    }
    return DevToolsEndpoint(*port);
}

std::optional<QByteArray> HttpResponseBody(const QByteArray& response) {
    const qsizetype end = response.indexOf("\r\n\r\n");
    if (end < 0) {
        return std::nullopt;
    }
    const QList<QByteArray> status = response.left(response.indexOf("\r\n")).split(' ');
    if (status.size() < 2 || !status[0].startsWith("HTTP/1.") || status[1] != "200") {
        return std::nullopt;
    }
    return response.mid(end + 4);
}

std::optional<QByteArray> DevToolsEndpoint::Request(const QByteArray& method,
                                                    const QByteArray& path) const {
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port_);
    if (!socket.waitForConnected(kTimeoutMs)) {
        return std::nullopt;
    }
    const QByteArray host = "127.0.0.1:" + QByteArray::number(port_);
    socket.write(method + ' ' + path + " HTTP/1.1\r\nHost: " + host +
                 "\r\nConnection: close\r\n\r\n");
    QByteArray response;
    // The browser may keep the connection open: the response ends with its announced length.
    while (!ResponseComplete(response) && socket.state() == QAbstractSocket::ConnectedState &&
           socket.waitForReadyRead(kTimeoutMs)) {
        response += socket.readAll();
    }
    response += socket.readAll();
    return HttpResponseBody(response);
}

std::optional<PageInfo> DevToolsEndpoint::FirstPage() const {
    const std::optional<QByteArray> body = Request("GET", "/json/list");
    if (!body) {
        return std::nullopt;
    }
    for (const QJsonValue& value : QJsonDocument::fromJson(*body).array()) {
        const QJsonObject target = value.toObject();
        if (target.value(QStringLiteral("type")).toString() != QLatin1String("page")) {
            continue;
        }
        const QString url = target.value(QStringLiteral("url")).toString();
        const QString title = UnescapedTitle(target.value(QStringLiteral("title")).toString());
        return PageInfo{url, title.isEmpty() ? url : title};
    }
    return std::nullopt;
}

std::optional<QString> DevToolsEndpoint::OpenTab(const QString& url) const {
    const std::optional<QByteArray> body =
        Request("PUT", "/json/new?" + QUrl::toPercentEncoding(url));
    if (!body) {
        return std::nullopt;
    }
    const QString id =
        QJsonDocument::fromJson(*body).object().value(QStringLiteral("id")).toString();
    if (id.isEmpty()) {
        return std::nullopt;
    }
    return id;
}

bool DevToolsEndpoint::Activate(const QString& targetId) const {
    return Request("GET", "/json/activate/" + QUrl::toPercentEncoding(targetId)).has_value();
}

} // namespace quill::platform
