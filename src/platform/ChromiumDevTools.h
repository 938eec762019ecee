#pragma once
// What a Chromium-family browser shows, asked of the DevTools endpoint that a browser
// started with remote debugging announces in its profile's "DevToolsActivePort" file. Only
// a loopback port whose listening socket belongs to this user is spoken to: a stale file
// could name a port that another user's program has taken since.

#include "platform/FirefoxSession.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace quill::platform {

// The port named in the profile's file; none when there is no such file or it is not this
// user's.
std::optional<quint16> AnnouncedDevToolsPort(const QString& userDataDirectory);

// True when the port has a listening socket on a loopback address owned by the user, as
// the kernel's socket tables (procRoot/net/tcp and tcp6) list them.
bool LoopbackListenerOwnedBy(quint16 port, uint user,
                             const QString& procRoot = QStringLiteral("/proc"));

// A DevTools endpoint on 127.0.0.1 that passed the checks above.
class DevToolsEndpoint {
public:
    explicit DevToolsEndpoint(quint16 port) : port_(port) {}
    // The endpoint of the profile when it is there and this user's; none otherwise.
    static std::optional<DevToolsEndpoint> Find(const QString& userDataDirectory);

    quint16 Port() const { return port_; }
    // The first page target of the browser: what its selected tab shows.
    std::optional<PageInfo> FirstPage() const;
    // Opens the address in a new tab; the new target's id.
    std::optional<QString> OpenTab(const QString& url) const;
    // Brings the target's tab and window forward.
    bool Activate(const QString& targetId) const;

private:
    std::optional<QByteArray> Request(const QByteArray& method, const QByteArray& path) const;
    quint16 port_;
};

// The body of an HTTP/1.x response when its status is 200; none otherwise.
std::optional<QByteArray> HttpResponseBody(const QByteArray& response);

} // namespace quill::platform
