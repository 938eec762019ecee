#include "gui/automation/AutomationServer.h"

#include "core/automation/activation_file.h"
#include "gui/automation/AutomationRegistration.h"
#include "gui/automation/QuilAppBusObject.h"
#include "gui/automation/QuilAppFactory.h"

#include <QApplication>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <vector>

namespace quill::gui {
namespace {

QString BusName() {
    return QString::fromLatin1(kAutomationBusName.data(),
                               static_cast<qsizetype>(kAutomationBusName.size()));
}

// How often a client's run that is over looks again whether the user is done.
constexpr std::chrono::milliseconds kEndRetry(200);

void SayOnStandardError(const QString& text) {
    std::fprintf(stderr, "Quillmere: %s\n", text.toLocal8Bit().constData());
}

} // namespace

AutomationServer::AutomationServer(IAutomationHost& host, bool startedByClient,
                                   QDBusConnection connection, QObject* parent)
    : QObject(parent), host_(host), startedByClient_(startedByClient),
      connection_(std::move(connection)), servedUid_(static_cast<uint>(::getuid())) {
    clock_.start();
    SetIdleRelease(kIdleRelease, std::chrono::seconds(30));
    connect(&sweep_, &QTimer::timeout, this, &AutomationServer::Sweep);
}

AutomationServer::~AutomationServer() {
    // Clients see the name go at once, so that a new call starts a new program.
    if (ownsName_) {
        connection_.unregisterService(BusName());
    }
    for (const auto& [number, object] : objects_) {
        connection_.unregisterObject(object->Path());
        delete object;
    }
    if (serving_) {
        connection_.unregisterObject(QString::fromLatin1(kFactoryPath));
    }
    delete factory_;
}

bool AutomationServer::Start(bool registerServer) {
    if (!connection_.isConnected()) {
        SayOnStandardError(QStringLiteral("no session bus (%1); running without automation.")
                               .arg(connection_.lastError().message()));
        return false;
    }
    factory_ = new QuilAppFactory(*this);
    if (!connection_.registerObject(QString::fromLatin1(kFactoryPath), factory_,
                                    QDBusConnection::ExportAllSlots)) {
        SayOnStandardError(QStringLiteral("cannot serve %1 on the session bus; running "
                                          "without automation.")
                               .arg(QString::fromLatin1(kFactoryPath)));
        return false;
    }
    serving_ = true;
    if (!connection_.registerService(BusName())) {
        SayOnStandardError(QStringLiteral("the automation name %1 is owned by another program; "
                                          "running without automation.")
                               .arg(BusName()));
        connection_.unregisterObject(QString::fromLatin1(kFactoryPath));
        serving_ = false;
        return false;
    }
    ownsName_ = true;
    if (registerServer) {
        QString error;
        if (!RegisterServer(&error)) {
            SayOnStandardError(error);
        }
    }
    sweep_.start();
    return true;
}

void AutomationServer::SetIdleRelease(std::chrono::milliseconds idle,
                                      std::chrono::milliseconds sweep) {
    idle_ = idle;
    sweep_.setInterval(sweep);
}

QuilAppBusObject* AutomationServer::Object(const QString& path) const {
    for (const auto& [number, object] : objects_) {
        if (object->Path() == path) {
            return object;
        }
    }
    return nullptr;
}

QDBusObjectPath AutomationServer::CreateObject(const QString& creator) {
    const int number = nextObject_++;
    const QString path = QStringLiteral("%1/%2").arg(QString::fromLatin1(kFactoryPath)).arg(number);
    auto* object = new QuilAppBusObject(*this, host_, path, creator);
    if (!connection_.registerObject(path, object, QDBusConnection::ExportAllSlots)) {
        delete object;
        return {};
    }
    objects_.emplace(number, object);
    return QDBusObjectPath(path);
}

void AutomationServer::Release(QuilAppBusObject* object) {
    for (auto it = objects_.begin(); it != objects_.end(); ++it) {
        if (it->second != object) {
            continue;
        }
        connection_.unregisterObject(object->Path());
        objects_.erase(it);
        // It may be answering the call that released it, or another of its own.
        object->Dispose();
        if (objects_.empty() && startedByClient_ && !endPending_) {
            endPending_ = true;
            // Queued, so that the Release is answered before the program ends.
            QMetaObject::invokeMethod(this, &AutomationServer::EndWhenUserIsDone,
                                      Qt::QueuedConnection);
        }
        return;
    }
}

bool AutomationServer::Admit(QDBusContext& call) {
    const QString caller = call.message().service();
    auto known = callerUids_.constFind(caller);
    uint uid = 0;
    if (known != callerUids_.constEnd()) {
        uid = *known;
    } else {
        const QDBusReply<uint> reply = connection_.interface()->serviceUid(caller);
        if (!reply.isValid()) {
            call.sendErrorReply(QDBusError::AccessDenied,
                                QStringLiteral("The caller's user could not be established."));
            return false;
        }
        uid = reply.value();
        // Unique names are never given out twice.
        callerUids_.insert(caller, uid);
    }
    if (uid != servedUid_) {
        call.sendErrorReply(QDBusError::AccessDenied,
                            QStringLiteral("Quillmere serves only the user it runs as."));
        return false;
    }
    if (const QString work = BusyWith(); !work.isEmpty()) {
        call.sendErrorReply(
            QString::fromLatin1(kAutomationErrorName),
            QStringLiteral("Quillmere is busy (%1); call again when that is done.").arg(work));
        return false;
    }
    return true;
}

void AutomationServer::EndWhenUserIsDone() {
    if (!objects_.empty()) {
        endPending_ = false;
        return;
    }
    // The end would close them: an editor's typing or a question's answer would be lost.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget() ||
        !BusyWith().isEmpty()) {
        QTimer::singleShot(kEndRetry, this, &AutomationServer::EndWhenUserIsDone);
        return;
    }
    endPending_ = false;
    emit lastObjectReleased();
}

QString AutomationServer::BusyWith() const {
    return busyWith_ ? busyWith_() : QString();
}

void AutomationServer::Sweep() {
    // Releasing the last object ends a client's run, which would stop the work: it waits.
    if (objects_.empty() || !BusyWith().isEmpty()) {
        return;
    }
    const qint64 now = Now();
    // One question to the bus per creator that was still there.
    std::set<QString> present;
    std::set<QString> asked;
    QDBusConnectionInterface* bus = connection_.interface();
    for (const auto& [number, object] : objects_) {
        const QString& creator = object->Creator();
        if (object->CreatorGoneSince() || creator.isEmpty() || asked.count(creator)) {
            continue;
        }
        asked.insert(creator);
        const QDBusReply<bool> registered = bus->isServiceRegistered(creator);
        if (registered.isValid() && registered.value()) {
            present.insert(creator);
        }
    }
    std::vector<QuilAppBusObject*> idle;
    for (const auto& [number, object] : objects_) {
        if (!object->CreatorGoneSince() && asked.count(object->Creator()) &&
            !present.count(object->Creator())) {
            object->SetCreatorGoneSince(now);
        }
        if (const std::optional<qint64> gone = object->CreatorGoneSince()) {
            if (now - std::max(*gone, object->LastCall()) >= idle_.count()) {
                idle.push_back(object);
            }
        }
    }
    for (QuilAppBusObject* object : idle) {
        Release(object);
    }
    // Unique names of callers long gone need not be remembered.
    if (callerUids_.size() > 4096) {
        callerUids_.clear();
    }
}

} // namespace quill::gui
