#include "gui/automation/QuilAppBusObject.h"

#include "core/automation/dispatch.h"
#include "gui/automation/AutomationServer.h"
#include "platform/Utf8Text.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>

#include <cstdio>
#include <exception>
#include <functional>
#include <limits>

namespace quill::gui {
namespace {

std::string Utf8(const QString& text) {
    return text.toStdString();
}

// The bus type of a value no member takes, as the client wrote it.
QString BusType(const QVariant& value) {
    if (value.userType() == qMetaTypeId<QDBusArgument>()) {
        return qvariant_cast<QDBusArgument>(value).currentSignature();
    }
    if (const char* signature = QDBusMetaType::typeToSignature(value.metaType())) {
        return QString::fromLatin1(signature);
    }
    return QString::fromLatin1(value.metaType().name());
}

// A client's value as the dispatcher takes it; what it cannot be is a type mismatch, said
// with its position (from 1) among the arguments.
DispatchValue FromVariant(QVariant value, qsizetype position) {
    if (value.userType() == qMetaTypeId<QDBusVariant>()) {
        value = qvariant_cast<QDBusVariant>(value).variant();
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return static_cast<std::int32_t>(value.toInt());
    case QMetaType::UInt:
    case QMetaType::LongLong:
        return static_cast<std::int64_t>(value.toLongLong());
    case QMetaType::ULongLong: {
        const qulonglong n = value.toULongLong();
        // Beyond the signed range it cannot fit a member's integer anyway.
        return n > static_cast<qulonglong>(std::numeric_limits<std::int64_t>::max())
                   ? std::numeric_limits<std::int64_t>::max()
                   : static_cast<std::int64_t>(n);
    }
    case QMetaType::Double:
        return value.toDouble();
    case QMetaType::QString:
        return Utf8(value.toString());
    default:
        throw AutomationError(QStringLiteral("Type mismatch. (argument %1 is of the bus type "
                                             "\"%2\"; members take numbers, texts and booleans)")
                                  .arg(position)
                                  .arg(BusType(value))
                                  .toStdString());
    }
}

QVariant ToVariant(const DispatchValue& value) {
    if (const auto* b = std::get_if<bool>(&value)) {
        return *b;
    }
    if (const auto* i = std::get_if<std::int32_t>(&value)) {
        return *i;
    }
    if (const auto* s = std::get_if<std::string>(&value)) {
        return FromUtf8(*s);
    }
    if (const auto* l = std::get_if<std::int64_t>(&value)) {
        return static_cast<qlonglong>(*l);
    }
    return std::get<double>(value);
}

} // namespace

QuilAppBusObject::QuilAppBusObject(AutomationServer& server, IAutomationHost& host, QString path,
                                   QString creator)
    : QObject(&server), server_(server), app_(host), path_(std::move(path)),
      creator_(std::move(creator)), lastCall_(server.Now()) {}

void QuilAppBusObject::Dispose() {
    disposed_ = true;
    if (callsInProgress_ == 0) {
        deleteLater();
    }
}

template <typename Result, typename Member>
Result QuilAppBusObject::Serve(Member&& member, const std::optional<QVariantList>& earlyReply) {
    if (calledFromDBus() && !server_.Admit(*this)) {
        return Result();
    }
    lastCall_ = server_.Now();
    // Counted while the member runs, so that the object outlives every call it serves.
    struct InProgress {
        QuilAppBusObject& object;
        explicit InProgress(QuilAppBusObject& o) : object(o) { ++object.callsInProgress_; }
        ~InProgress() {
            if (--object.callsInProgress_ == 0 && object.disposed_) {
                object.deleteLater();
            }
        }
    } inProgress(*this);
    // A client's call times out long before a user closes an editor: it is answered when
    // the wait begins. Calls served meanwhile (on this object too) set hooks of their own.
    bool answered = false;
    struct Hook {
        TQuilApp& app;
        std::function<void()> previous;
        Hook(TQuilApp& a, std::function<void()> hook) : app(a), previous(a.BeforeUserWait()) {
            app.SetBeforeUserWait(std::move(hook));
        }
        ~Hook() { app.SetBeforeUserWait(std::move(previous)); }
    } hook(app_, earlyReply && calledFromDBus()
                     ? std::function<void()>([this, &answered, &earlyReply] {
                           if (answered) {
                               return;
                           }
                           answered = true;
                           setDelayedReply(true);
                           connection().send(message().createReply(*earlyReply));
                       })
                     : std::function<void()>());
    try {
        return member();
    } catch (const std::exception& e) {
        if (answered) {
            std::fprintf(stderr, "Quillmere: an automation call failed after its answer: %s\n",
                         e.what());
        } else if (calledFromDBus()) {
            sendErrorReply(QString::fromLatin1(kAutomationErrorName), QString::fromUtf8(e.what()));
        }
    }
    return Result();
}

void QuilAppBusObject::Insert(int kind, const QString& title, const QString& target,
                              const QString& comment, const QString& data) {
    Serve<void>([&] { app_.Insert(kind, Utf8(title), Utf8(target), Utf8(comment), Utf8(data)); });
}

void QuilAppBusObject::CopyClipboard() {
    Serve<void>([&] { app_.CopyClipboard(); });
}

void QuilAppBusObject::DoDefaultAction() {
    Serve<void>([&] { app_.DoDefaultAction(); }, QVariantList());
}

int QuilAppBusObject::quilID() {
    return Serve<int>([&] { return app_.quilID(); });
}

int QuilAppBusObject::quilClass() {
    return Serve<int>([&] { return app_.quilClass(); });
}

QString QuilAppBusObject::quilTitle() {
    return Serve<QString>([&] { return FromUtf8(app_.quilTitle()); });
}

QString QuilAppBusObject::quilTarget() {
    return Serve<QString>([&] { return FromUtf8(app_.quilTarget()); });
}

QString QuilAppBusObject::quilComment() {
    return Serve<QString>([&] { return FromUtf8(app_.quilComment()); });
}

QString QuilAppBusObject::quilField(const QString& name) {
    return Serve<QString>([&] { return FromUtf8(app_.quilField(Utf8(name))); });
}

void QuilAppBusObject::SetquilTitle(const QString& title) {
    Serve<void>([&] { app_.SetquilTitle(Utf8(title)); });
}

void QuilAppBusObject::SetquilTarget(const QString& target) {
    Serve<void>([&] { app_.SetquilTarget(Utf8(target)); });
}

void QuilAppBusObject::SetquilComment(const QString& comment) {
    Serve<void>([&] { app_.SetquilComment(Utf8(comment)); });
}

void QuilAppBusObject::SetquilField(const QString& name, const QString& value) {
    Serve<void>([&] { app_.SetquilField(Utf8(name), Utf8(value)); });
}

int QuilAppBusObject::ItemCount() {
    return Serve<int>([&] { return app_.ItemCount(); });
}

bool QuilAppBusObject::Items(int index) {
    return Serve<bool>([&] { return app_.Items(index); });
}

int QuilAppBusObject::CurrentItemIndex() {
    return Serve<int>([&] { return app_.CurrentItemIndex(); });
}

int QuilAppBusObject::NextSiblingIndex() {
    return Serve<int>([&] { return app_.NextSiblingIndex(); });
}

int QuilAppBusObject::ChildCount() {
    return Serve<int>([&] { return app_.ChildCount(); });
}

bool QuilAppBusObject::Child(int position) {
    return Serve<bool>([&] { return app_.Child(position); });
}

int QuilAppBusObject::SelectCount() {
    return Serve<int>([&] { return app_.SelectCount(); });
}

bool QuilAppBusObject::UserSelected(int position) {
    return Serve<bool>([&] { return app_.UserSelected(position); });
}

bool QuilAppBusObject::NextItemWithTitle(const QString& title) {
    return Serve<bool>([&] { return app_.NextItemWithTitle(Utf8(title)); });
}

bool QuilAppBusObject::ItemWithId(int id) {
    return Serve<bool>([&] { return app_.ItemWithId(id); });
}

void QuilAppBusObject::Release() {
    Serve<void>([&] { server_.Release(this); });
}

QVariantList QuilAppBusObject::Invoke(int dispid, int flags, const QVariantList& args) {
    return Serve<QVariantList>(
        [&] {
            std::vector<DispatchValue> arguments;
            arguments.reserve(static_cast<std::size_t>(args.size()));
            for (qsizetype i = 0; i < args.size(); ++i) {
                arguments.push_back(FromVariant(args[i], i + 1));
            }
            QVariantList result;
            if (const std::optional<DispatchValue> value =
                    quill::Invoke(app_, dispid, flags, arguments)) {
                result.append(ToVariant(*value));
            }
            return result;
        },
        // A method without a result answers with an empty list.
        QVariantList{QVariant::fromValue(QVariantList())});
}

} // namespace quill::gui
