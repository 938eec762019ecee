#pragma once
// One automation object on the session bus, at /Quil/Application/<n>, interface
// "Quil.Application": every member of the dispatch table as a method of the same name (puts
// as Set<member>), Invoke to call by dispatch identifier, and Release, which ends it. The
// values follow the cursor, so they are methods rather than bus properties, which proxies
// would cache. A member's failure reaches the client as the error "Quil.Application.Error".

#include "core/automation/quil_app.h"

#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QVariantList>

#include <optional>

namespace quill::gui {

class AutomationServer;

inline constexpr char kAutomationErrorName[] = "Quil.Application.Error";

class QuilAppBusObject final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "Quil.Application")

public:
    // A child of the server, which it must not outlive.
    QuilAppBusObject(AutomationServer& server, IAutomationHost& host, QString path,
                     QString creator);

    const QString& Path() const { return path_; }
    // The unique bus name of the connection that created the object.
    const QString& Creator() const { return creator_; }
    TQuilApp& App() { return app_; }

    // When a call last reached the object, and since when its creator is gone (ms, on the
    // server's clock).
    qint64 LastCall() const { return lastCall_; }
    std::optional<qint64> CreatorGoneSince() const { return creatorGoneSince_; }
    void SetCreatorGoneSince(qint64 when) { creatorGoneSince_ = when; }
    // Deletes the object once no call of its own is being served: a modal dialog opened by
    // one of its members may let another client release it meanwhile.
    void Dispose();

public slots:
    void Insert(int kind, const QString& title, const QString& target, const QString& comment,
                const QString& data);
    void CopyClipboard();
    void DoDefaultAction();
    int quilID();
    int quilClass();
    QString quilTitle();
    QString quilTarget();
    QString quilComment();
    QString quilField(const QString& name);
    void SetquilTitle(const QString& title);
    void SetquilTarget(const QString& target);
    void SetquilComment(const QString& comment);
    void SetquilField(const QString& name, const QString& value);
    int ItemCount();
    bool Items(int index);
    int CurrentItemIndex();
    int NextSiblingIndex();
    int ChildCount();
    bool Child(int position);
    int SelectCount();
    bool UserSelected(int position);
    bool NextItemWithTitle(const QString& title);
    bool ItemWithId(int id);
    // Ends the object; its path answers no more calls.
    void Release();
    // Calls a member by dispatch identifier with the flags 1 method, 2 property get and
    // 4 property put; the value comes back as a one-element array, empty for a member
    // without one.
    QVariantList Invoke(int dispid, int flags, const QVariantList& args);

private:
    // Admits the caller, notes the call, runs the member and turns a failure into the
    // error reply; a refused or failed call gives the empty value. With an early reply, a
    // member about to wait for the user (TQuilApp::BeforeUserWait) answers with it first.
    template <typename Result, typename Member>
    Result Serve(Member&& member, const std::optional<QVariantList>& earlyReply = std::nullopt);

    AutomationServer& server_;
    TQuilApp app_;
    QString path_;
    QString creator_;
    qint64 lastCall_ = 0;
    std::optional<qint64> creatorGoneSince_;
    int callsInProgress_ = 0;
    bool disposed_ = false;
};

} // namespace quill::gui
