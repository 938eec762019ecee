#pragma once
// The program as automation server on the session bus. It owns the name "Quil.Application",
// serves the factory at /Quil/Application (interface "Quil.Application.Factory", method
// CreateObject), which makes one object with its own cursor per call, and keeps those
// objects until their Release.
//
// Command-line clients use a new connection for every call, so an object is not tied to the
// connection that created it; but once its creator has left the bus, an object that no call
// reaches for ten minutes is released, as the objects of a vanished client are. Calls are
// served only to the user the program runs as.
//
// Started by a client, the program ends when its last object goes: the server says so with
// lastObjectReleased(), after the Release that caused it has been answered, and once the user
// has closed the dialogs open then (an editor the user is typing in is not cut off).
//
// Long work (an import, an export, a search) lets the event loop run while it goes on, so a
// call could reach the outline half-way through it: such calls are refused with an error that
// names the work, and the client calls again when it is done.

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <map>

class QDBusContext;

namespace quill {
class IAutomationHost;
}

namespace quill::gui {

class QuilAppBusObject;
class QuilAppFactory;

inline constexpr char kFactoryPath[] = "/Quil/Application";

class AutomationServer final : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kIdleRelease = std::chrono::minutes(10);

    // startedByClient: the run was started with "-AUTOMATION" or "-EMBEDDING".
    AutomationServer(IAutomationHost& host, bool startedByClient,
                     QDBusConnection connection = QDBusConnection::sessionBus(),
                     QObject* parent = nullptr);
    ~AutomationServer() override;

    // Serves the factory and takes the bus name. False, having said why on standard error,
    // when there is no session bus or another program owns the name: the program then runs
    // without automation. registerServer writes the activation file as well (a normal
    // start), once the name is ours.
    bool Start(bool registerServer);
    bool Serving() const { return serving_; }

    // How long an object whose creator left may go without calls, and how often that is
    // looked at (tests shorten both).
    void SetIdleRelease(std::chrono::milliseconds idle, std::chrono::milliseconds sweep);
    // The user whose calls are served (the program's own by default; tests change it).
    void SetServedUserId(uint uid) { servedUid_ = uid; }
    // What long work is under way ("Importing: vCard File (*.VCF)"); empty when none.
    void SetBusyTest(std::function<QString()> busyWith) { busyWith_ = std::move(busyWith); }

    std::size_t ObjectCount() const { return objects_.size(); }
    QuilAppBusObject* Object(const QString& path) const;

    // Used by the bus objects.
    QDBusObjectPath CreateObject(const QString& creator);
    void Release(QuilAppBusObject* object);
    // Whether the caller of the call being served runs as the served user and no long work
    // is under way; when not, the call is answered with an access error or the automation
    // error naming the work.
    bool Admit(QDBusContext& call);
    qint64 Now() const { return clock_.elapsed(); }

signals:
    // The last object went, and the run was started by a client.
    void lastObjectReleased();

private:
    void Sweep();
    // Says lastObjectReleased() once no dialog, menu or long work is open, unless a client
    // has made a new object meanwhile.
    void EndWhenUserIsDone();
    QString BusyWith() const;

    IAutomationHost& host_;
    bool startedByClient_;
    QDBusConnection connection_;
    QuilAppFactory* factory_ = nullptr;
    bool serving_ = false;
    bool ownsName_ = false;
    int nextObject_ = 1;
    std::map<int, QuilAppBusObject*> objects_;
    QHash<QString, uint> callerUids_;
    uint servedUid_;
    bool endPending_ = false;
    std::function<QString()> busyWith_;
    std::chrono::milliseconds idle_ = kIdleRelease;
    QTimer sweep_;
    QElapsedTimer clock_;
};

} // namespace quill::gui
