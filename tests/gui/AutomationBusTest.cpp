// The automation server on a session bus of its own (the test runs under dbus-run-session):
// real clients on connections of their own walk, read and change the main window's outline,
// keep cursors of their own, meet the errors, and lose objects they leave behind.

#include "core/automation/activation_file.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/services.h"
#include "gui/automation/AutomationRegistration.h"
#include "gui/automation/AutomationServer.h"
#include "gui/automation/MainFormAutomationHost.h"
#include "gui/automation/QuilAppBusObject.h"
#include "gui/common/ImageLists.h"
#include "gui/common/Prompter.h"
#include "gui/common/TProgressForm.h"
#include "gui/mainwindow/ContentsListModel.h"
#include "gui/mainwindow/TMainForm.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <unistd.h>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

using namespace quill;
using namespace quill::gui;

namespace {

const QString kService = QStringLiteral("Quil.Application");
const QString kInterface = QStringLiteral("Quil.Application");

// A client on a bus connection of its own, as another program would be. Calls block but
// let the server, which lives on this thread, answer them.
class Client {
public:
    explicit Client(QString name)
        : name_(std::move(name)),
          bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, name_)) {}
    ~Client() { Leave(); }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    // The connection closes once no handle to it is left.
    void Leave() {
        bus_.reset();
        QDBusConnection::disconnectFromBus(name_);
    }

    QDBusMessage CallOn(const QString& path, const QString& interface, const QString& method,
                        const QVariantList& args = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(kService, path, interface, method);
        message.setArguments(args);
        return bus_ ? bus_->call(message, QDBus::BlockWithGui, 5000) : QDBusMessage();
    }
    QDBusMessage Call(const QString& path, const QString& method, const QVariantList& args = {}) {
        return CallOn(path, kInterface, method, args);
    }
    // The call's one value; an invalid QVariant when the call failed.
    QVariant Value(const QString& path, const QString& method, const QVariantList& args = {}) {
        const QDBusMessage reply = Call(path, method, args);
        return reply.type() == QDBusMessage::ReplyMessage && reply.arguments().size() == 1
                   ? reply.arguments().constFirst()
                   : QVariant();
    }
    // A call whose answer the client does not wait for here.
    QDBusPendingCall Start(const QString& path, const QString& method,
                           const QVariantList& args = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(kService, path, kInterface, method);
        message.setArguments(args);
        return bus_->asyncCall(message, 5000);
    }
    QString Create() {
        const QDBusMessage reply =
            CallOn(QStringLiteral("/Quil/Application"), QStringLiteral("Quil.Application.Factory"),
                   QStringLiteral("CreateObject"));
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) {
            return {};
        }
        return qvariant_cast<QDBusObjectPath>(reply.arguments().constFirst()).path();
    }

private:
    QString name_;
    std::optional<QDBusConnection> bus_;
};

QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// My Contacts / Friends / Ann Lee (Home phone, Work phone) and Bob; Zeta Corp.
const char kData[] = "{Params}\r\n{0 11 }My Contacts~~~~~~32892645\r\n"
                     "{1 0 }Friends~~~~~~100\r\n{Fold}0\r\n"
                     "{2 3 }Ann Lee~~Ann Lee~~met at the fair~~200\r\n"
                     "{Pers}Ms.~~Ann~~~~Lee~~~~Home~~~~~~~~0\r\n"
                     "{3 6 }Home~~555-0100~~~~201\r\n{Phon}~~0\r\n"
                     "{3 6 }Work~~555-0199~~~~202\r\n{Phon}~~0\r\n"
                     "{2 3 }Bob~~Bob~~~~300\r\n{Pers}~~Bob~~~~~~~~~~~~~~~~0\r\n"
                     "{1 1 }Zeta Corp~~~~~~400\r\n{Orgn}~~~~~~~~~~0\r\n";

// An item editor that, while it is open, does what the test says (another client's call).
class ReleasingEditor final : public IItemEditors {
public:
    explicit ReleasingEditor(std::function<QDBusMessage()> whileOpen)
        : whileOpen_(std::move(whileOpen)) {}
    bool EditNew(TNRBObject&) override { return true; }
    void Edit(TNRBObject&) override { reply = whileOpen_(); }
    QDBusMessage reply;

private:
    std::function<QDBusMessage()> whileOpen_;
};

} // namespace

class AutomationBusTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    QString previousDir_;
    std::unique_ptr<ImageLists> images_;
    std::unique_ptr<TMainForm> form_;
    std::unique_ptr<MainFormAutomationHost> host_;
    std::unique_ptr<AutomationServer> server_;
    int clients_ = 0;

    TMainForm& Form() { return *form_; }
    std::unique_ptr<Client> NewClient() {
        return std::make_unique<Client>(QStringLiteral("client%1").arg(++clients_));
    }
    TOutlineNode* NodeTitled(std::string_view title) {
        TOutlineNode* found = nullptr;
        Form().Outline().ForEachNode([&](TOutlineNode* node) {
            if (!found && node->Text() == title) {
                found = node;
            }
        });
        return found;
    }

private slots:
    void initTestCase() {
        // Only ever on a bus and a data home of the test's own: never the user's.
        if (qEnvironmentVariable("QUILL_PRIVATE_BUS") != QStringLiteral("1")) {
            QSKIP("runs only under dbus-run-session with a private XDG_DATA_HOME (ctest)");
        }
        QVERIFY(QDBusConnection::sessionBus().isConnected());
        QVERIFY(!qEnvironmentVariable("XDG_DATA_HOME").isEmpty());
        Prompter::SetStrict(true);
    }

    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(dir_->path());
        {
            QFile file(QStringLiteral("quil.dat"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(kData);
        }
        images_ = std::make_unique<ImageLists>();
        form_ = std::make_unique<TMainForm>(*images_, "quil.dat", "nrb.ini");
        InstallServices({nullptr, nullptr, images_.get(), nullptr, form_.get()});
        form_->show();
        host_ = std::make_unique<MainFormAutomationHost>(*form_);
        server_ = std::make_unique<AutomationServer>(*host_, true);
        QVERIFY(server_->Start(false));
    }

    void cleanup() {
        server_.reset();
        host_.reset();
        form_.reset();
        InstallServices({});
        QDir::setCurrent(previousDir_);
        dir_.reset();
    }

    void aClientWalksTheOutlineAndReadsEveryNode() {
        auto client = NewClient();
        const QString app = client->Create();
        QCOMPARE(app, QStringLiteral("/Quil/Application/1"));
        QCOMPARE(client->Value(app, "CurrentItemIndex").toInt(), 0);
        QCOMPARE(client->Value(app, "quilClass").toInt(), 11);
        QCOMPARE(client->Value(app, "quilTitle").toString(), QStringLiteral("My Contacts"));
        QCOMPARE(client->Value(app, "quilID").toInt(), 32892645);

        const int count = client->Value(app, "ItemCount").toInt();
        QCOMPARE(count, 5);
        QStringList titles;
        QList<int> classes;
        for (int i = 0; i < count; ++i) {
            QVERIFY(client->Value(app, "Items", {i}).toBool());
            titles << client->Value(app, "quilTitle").toString();
            classes << client->Value(app, "quilClass").toInt();
        }
        QCOMPARE(titles, (QStringList{"My Contacts", "Friends", "Ann Lee", "Bob", "Zeta Corp"}));
        QCOMPARE(classes,
                 (QList<int>{11, kFolderKind, kPersonKind, kPersonKind, kOrganizationKind}));
        QCOMPARE(client->Value(app, "Items", {count}).toBool(), false);
        QCOMPARE(client->Value(app, "CurrentItemIndex").toInt(), count - 1);

        // Ann's contact points through Child, and her fields.
        QVERIFY(client->Value(app, "ItemWithId", {200}).toBool());
        QCOMPARE(client->Value(app, "ChildCount").toInt(), 2);
        QCOMPARE(client->Value(app, "quilField", {QStringLiteral("First Name")}).toString(),
                 QStringLiteral("\"Ann\","));
        QCOMPARE(client->Value(app, "quilComment").toString(), QStringLiteral("met at the fair"));
        QVERIFY(client->Value(app, "Child", {1}).toBool());
        QCOMPARE(client->Value(app, "quilTitle").toString(), QStringLiteral("Work"));
        QCOMPARE(client->Value(app, "quilTarget").toString(), QStringLiteral("555-0199"));
        QCOMPARE(client->Value(app, "Child", {2}).toBool(), false);
    }

    void aClientInsertsAFolderRenamesItAndTheWindowShowsIt() {
        auto client = NewClient();
        const QString app = client->Create();
        QVERIFY(client->Value(app, "Items", {1}).toBool()); // Friends
        const QDBusMessage inserted =
            client->Call(app, "Insert", {kFolderKind, "Colleagues", "", "from a script", ""});
        QCOMPARE(inserted.type(), QDBusMessage::ReplyMessage);
        QCOMPARE(client->Value(app, "quilTitle").toString(), QStringLiteral("Friends"));

        TOutlineNode* colleagues = NodeTitled("Colleagues");
        QVERIFY(colleagues);
        QCOMPARE(Text(colleagues->Parent()->Text()), QStringLiteral("Friends"));
        const int index = colleagues->AbsoluteIndex();
        QVERIFY(client->Value(app, "Items", {index}).toBool());
        QCOMPARE(client->Value(app, "quilComment").toString(), QStringLiteral("from a script"));

        QCOMPARE(client->Call(app, "SetquilTitle", {"Coworkers"}).type(),
                 QDBusMessage::ReplyMessage);
        QCOMPARE(Text(colleagues->Text()), QStringLiteral("Coworkers"));
        QCOMPARE(client->Value(app, "quilTitle").toString(), QStringLiteral("Coworkers"));
        // Folders sort first: the renamed folder is now Friends' first child.
        QCOMPARE(colleagues->Row(), 0);
        // The window's list shows it under Friends.
        Form().SelectNode(colleagues->Parent());
        QCOMPARE(Form().Contents().index(0, 0).data().toString(), QStringLiteral("Coworkers"));

        // A phone under it, with its number as target.
        QVERIFY(client->Value(app, "Items", {colleagues->AbsoluteIndex()}).toBool());
        client->Call(app, "Insert", {kPhoneKind, "Desk", "555-0142", "", "{Phon}~~0"});
        QVERIFY(client->Value(app, "Child", {0}).toBool());
        QCOMPARE(client->Value(app, "quilField", {"Phone Number"}).toString(),
                 QStringLiteral("\"555-0142\","));
        client->Call(app, "SetquilTarget", {"555-0143"});
        QCOMPARE(Text(colleagues->Item()->ChildAt(0)->Target()), QStringLiteral("555-0143"));

        // Saved as the program saves, the outline holds what the client made.
        QVERIFY(Form().Write());
        QFile file(QStringLiteral("quil.dat"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray saved = file.readAll();
        QVERIFY(saved.contains("Coworkers~~~~from a script"));
        QVERIFY(saved.contains("Desk~~555-0143"));
    }

    void twoClientsKeepCursorsOfTheirOwn() {
        auto first = NewClient();
        auto second = NewClient();
        const QString a = first->Create();
        const QString b = second->Create();
        QVERIFY(a != b);
        QVERIFY(first->Value(a, "ItemWithId", {300}).toBool());
        QVERIFY(second->Value(b, "Items", {4}).toBool());
        QCOMPARE(first->Value(a, "quilTitle").toString(), QStringLiteral("Bob"));
        QCOMPARE(second->Value(b, "quilTitle").toString(), QStringLiteral("Zeta Corp"));
        // Objects are not tied to a connection: another client may call the first's object.
        QCOMPARE(second->Value(a, "quilTitle").toString(), QStringLiteral("Bob"));
    }

    void theUsersSelectionAndSearchReachTheClient() {
        auto client = NewClient();
        const QString app = client->Create();
        // The tree is active: one selected, the tree's node.
        Form().SelectNode(NodeTitled("Friends"));
        QCOMPARE(client->Value(app, "SelectCount").toInt(), 1);
        QVERIFY(client->Value(app, "UserSelected", {0}).toBool());
        QCOMPARE(client->Value(app, "quilTitle").toString(), QStringLiteral("Friends"));

        // The search finds the phone "Work" under Ann and selects it in the list.
        QVERIFY(client->Value(app, "NextItemWithTitle", {"work"}).toBool());
        QCOMPARE(Form().ActivePane(), TMainForm::Pane::MainItems);
        QCOMPARE(client->Value(app, "SelectCount").toInt(), 1);
        QCOMPARE(client->Value(app, "quilTitle").toString(), QStringLiteral("Work"));
        QCOMPARE(client->Value(app, "CurrentItemIndex").toInt(), 2); // Ann's node

        client->Call(app, "CopyClipboard");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("555-0199"));

        // Nothing matches: still true. The search let go of the list's entry, so the cursor
        // is the tree's selected node.
        QVERIFY(client->Value(app, "NextItemWithTitle", {"nobody at all"}).toBool());
        QCOMPARE(client->Value(app, "quilTitle").toString(), QStringLiteral("Ann Lee"));
    }

    void invokeCallsByDispatchIdentifier() {
        auto client = NewClient();
        const QString app = client->Create();
        const auto invoke = [&](int id, int flags, const QVariantList& args) {
            return client->Call(app, "Invoke", {id, flags, QVariant::fromValue(args)});
        };
        QDBusMessage reply = invoke(6, 2, {});
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        QVariantList values = qdbus_cast<QVariantList>(reply.arguments().constFirst());
        QCOMPARE(values.size(), 1);
        QCOMPARE(values.constFirst().toString(), QStringLiteral("My Contacts"));

        reply = invoke(11, 3, {QVariant::fromValue(QDBusVariant(4))});
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        values = qdbus_cast<QVariantList>(reply.arguments().constFirst());
        QCOMPARE(values.size(), 1);
        QCOMPARE(values.constFirst().toBool(), true);

        reply = invoke(6, 4, {QVariant::fromValue(QDBusVariant(QStringLiteral("Zeta Ltd")))});
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        QVERIFY(qdbus_cast<QVariantList>(reply.arguments().constFirst()).isEmpty());
        QVERIFY(NodeTitled("Zeta Ltd"));

        reply = invoke(42, 1, {});
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(reply.errorName(), QStringLiteral("Quil.Application.Error"));
        QCOMPARE(reply.errorMessage(),
                 QStringLiteral("Unknown name. (no member has the dispatch identifier 42)"));

        // A value no member can take, and one that does not convert, are named.
        reply = invoke(11, 2,
                       {QVariant::fromValue(QDBusVariant(
                           QVariant::fromValue(QDBusObjectPath(QStringLiteral("/somewhere")))))});
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(reply.errorMessage(),
                 QStringLiteral("Type mismatch. (argument 1 is of the bus type \"o\"; members "
                                "take numbers, texts and booleans)"));
        reply = invoke(11, 2, {QVariant::fromValue(QDBusVariant(QStringLiteral("four")))});
        QCOMPARE(reply.errorMessage(), QStringLiteral("Type mismatch. (Items, argument 1)"));
    }

    void failuresComeBackAsTheAutomationError() {
        auto client = NewClient();
        const QString app = client->Create();
        QDBusMessage reply = client->Call(app, "Insert", {kRootKind, "Again", "", "", ""});
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(reply.errorName(), QStringLiteral("Quil.Application.Error"));

        // The user deletes the node under the cursor: reads are empty, changes fail.
        QVERIFY(client->Value(app, "ItemWithId", {300}).toBool());
        Form().Outline().DeleteNode(NodeTitled("Bob"));
        QCOMPARE(client->Value(app, "quilTitle").toString(), QString());
        reply = client->Call(app, "SetquilComment", {"x"});
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(reply.errorName(), QStringLiteral("Quil.Application.Error"));
        QVERIFY(client->Value(app, "Items", {0}).toBool());
        QCOMPARE(client->Value(app, "quilTitle").toString(), QStringLiteral("My Contacts"));
    }

    void releaseEndsTheObjectAndTheLastOneEndsAClientsRun() {
        QSignalSpy ended(server_.get(), &AutomationServer::lastObjectReleased);
        auto client = NewClient();
        const QString a = client->Create();
        const QString b = client->Create();
        QCOMPARE(server_->ObjectCount(), std::size_t{2});
        QCOMPARE(client->Call(a, "Release").type(), QDBusMessage::ReplyMessage);
        QCOMPARE(client->Call(a, "quilTitle").type(), QDBusMessage::ErrorMessage);
        QCoreApplication::processEvents();
        QCOMPARE(ended.count(), 0);
        QCOMPARE(client->Call(b, "Release").type(), QDBusMessage::ReplyMessage);
        QTRY_COMPARE(ended.count(), 1);
        QCOMPARE(server_->ObjectCount(), std::size_t{0});
    }

    void aClientsRunEndsOnlyOnceTheUserHasClosedTheDialogs() {
        // The user is typing in an editor when the script releases its last object: the end
        // would close the editor and lose what was typed. It waits for the dialog.
        QSignalSpy ended(server_.get(), &AutomationServer::lastObjectReleased);
        auto client = NewClient();
        QDialog editor(form_.get());
        editor.setModal(true);
        editor.show();
        QVERIFY(QApplication::activeModalWidget() == &editor);
        QCOMPARE(client->Call(client->Create(), "Release").type(), QDBusMessage::ReplyMessage);
        QTest::qWait(500);
        QCOMPARE(ended.count(), 0);
        QVERIFY(editor.isVisible());
        editor.accept();
        QTRY_COMPARE(ended.count(), 1);

        // A client that comes back while the dialog is open keeps the run going.
        editor.show();
        const QString again = client->Create();
        QCOMPARE(client->Call(again, "Release").type(), QDBusMessage::ReplyMessage);
        QTest::qWait(300);
        const QString staying = client->Create();
        editor.accept();
        QTest::qWait(500);
        QCOMPARE(ended.count(), 1);
        QCOMPARE(client->Call(staying, "Release").type(), QDBusMessage::ReplyMessage);
        QTRY_COMPARE(ended.count(), 2);
    }

    void anObjectReleasedWhileItsOwnCallWaitsGoesOnlyAfterIt() {
        // The reminder's editor is modal; while it is open another client releases the object
        // whose DoDefaultAction opened it.
        auto client = NewClient();
        auto other = NewClient();
        const QString app = client->Create();
        QVERIFY(client->Value(app, "ItemWithId", {200}).toBool());
        client->Call(app, "Insert", {kReminderKind, "Call back", "", "", ""});
        QVERIFY(client->Value(app, "Child", {2}).toBool());
        QCOMPARE(client->Value(app, "quilClass").toInt(), kReminderKind);
        QPointer<QuilAppBusObject> object = server_->Object(app);
        QVERIFY(object);
        bool aliveAfterRelease = false;
        ReleasingEditor editor([&] {
            QDBusMessage reply = other->Call(app, "Release");
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            aliveAfterRelease = !object.isNull();
            return reply;
        });
        InstallServices({nullptr, nullptr, images_.get(), nullptr, form_.get(), &editor});
        QSignalSpy ended(server_.get(), &AutomationServer::lastObjectReleased);
        QCOMPARE(client->Call(app, "DoDefaultAction").type(), QDBusMessage::ReplyMessage);
        QCOMPARE(editor.reply.type(), QDBusMessage::ReplyMessage);
        QVERIFY(aliveAfterRelease);
        QTRY_VERIFY(object.isNull());
        QTRY_COMPARE(ended.count(), 1);
        QCOMPARE(server_->ObjectCount(), std::size_t{0});
        QCOMPARE(client->Call(app, "quilTitle").type(), QDBusMessage::ErrorMessage);
    }

    void anActionThatOpensAnEditorIsAnsweredBeforeTheUserCloses() {
        // A reminder's default action is its modal editor. The client is answered when the
        // action starts, not when the user is done: a client's call times out long before.
        auto client = NewClient();
        const QString app = client->Create();
        QVERIFY(client->Value(app, "ItemWithId", {200}).toBool());
        client->Call(app, "Insert", {kReminderKind, "Call back", "", "", ""});
        QVERIFY(client->Value(app, "Child", {2}).toBool());
        std::optional<QDBusPendingCall> pending;
        bool answeredWhileOpen = false;
        int opened = 0;
        ReleasingEditor editor([&] {
            ++opened;
            answeredWhileOpen =
                QTest::qWaitFor([&] { return pending && pending->isFinished(); }, 2000) &&
                !pending->isError();
            return QDBusMessage();
        });
        InstallServices({nullptr, nullptr, images_.get(), nullptr, form_.get(), &editor});
        for (const auto& [method, args] : std::vector<std::pair<QString, QVariantList>>{
                 {"DoDefaultAction", {}}, {"Invoke", {3, 1, QVariantList()}}}) {
            answeredWhileOpen = false;
            pending = client->Start(app, method, args);
            QTRY_VERIFY(pending->isFinished());
            QVERIFY2(answeredWhileOpen, qPrintable(method));
            QCOMPARE(pending->reply().type(), QDBusMessage::ReplyMessage);
        }
        QCOMPARE(opened, 2);
        // Without a current item the action still fails as an automation error.
        Form().Outline().DeleteNode(NodeTitled("Ann Lee"));
        const QDBusMessage reply = client->Call(app, "DoDefaultAction");
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(reply.errorName(), QStringLiteral("Quil.Application.Error"));
        QCOMPARE(opened, 2);
    }

    void aNormalRunDoesNotEndWithItsObjects() {
        server_.reset();
        server_ = std::make_unique<AutomationServer>(*host_, false);
        QVERIFY(server_->Start(false));
        QSignalSpy ended(server_.get(), &AutomationServer::lastObjectReleased);
        auto client = NewClient();
        client->Call(client->Create(), "Release");
        QTest::qWait(50);
        QCOMPARE(ended.count(), 0);
    }

    void objectsOfAClientThatLeftAreReleasedWhenIdle() {
        server_->SetIdleRelease(std::chrono::milliseconds(300), std::chrono::milliseconds(20));
        QSignalSpy ended(server_.get(), &AutomationServer::lastObjectReleased);
        auto staying = NewClient();
        auto leaving = NewClient();
        const QString kept = staying->Create();
        const QString orphan = leaving->Create();
        const QString used = leaving->Create();
        leaving->Leave();
        // Calls from another connection keep an object alive, however long it lasts.
        for (int i = 0; i < 8; ++i) {
            QTest::qWait(100);
            QCOMPARE(staying->Value(used, "ItemCount").toInt(), 5);
        }
        QVERIFY(!server_->Object(orphan));
        QVERIFY(server_->Object(used));
        QTRY_VERIFY_WITH_TIMEOUT(!server_->Object(used), 3000);
        // The creator still there keeps its object, idle or not.
        QVERIFY(server_->Object(kept));
        QCOMPARE(ended.count(), 0);
        QCOMPARE(staying->Value(kept, "quilID").toInt(), 32892645);
    }

    void callsFromAnotherUserAreRefused() {
        auto client = NewClient();
        const QString app = client->Create();
        server_->SetServedUserId(static_cast<uint>(::getuid()) + 1);
        QDBusMessage reply = client->Call(app, "quilTitle");
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(reply.errorName(), QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"));
        reply = client->CallOn(QStringLiteral("/Quil/Application"),
                               QStringLiteral("Quil.Application.Factory"),
                               QStringLiteral("CreateObject"));
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(server_->ObjectCount(), std::size_t{1});
        // Refused calls change nothing.
        reply = client->Call(app, "Insert", {kFolderKind, "Intruder", "", "", ""});
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QVERIFY(!NodeTitled("Intruder"));
    }

    void callsWhileLongWorkRunsAreRefusedAndWaitForIt() {
        // An import lets the event loop run between its chunks; a call served then would
        // work on a half-imported outline, and a search would take the work's progress window
        // (and with it the Cancel button and the modality) away.
        TProgressForm progress;
        Form().SetProgressWindow(&progress);
        server_->SetBusyTest(
            [&progress] { return progress.isVisible() ? progress.ActionText() : QString(); });
        server_->SetIdleRelease(std::chrono::milliseconds(100), std::chrono::milliseconds(20));
        auto client = NewClient();
        auto leaving = NewClient();
        const QString app = client->Create();
        const QString orphan = leaving->Create();
        leaving->Leave();
        progress.SetAction(QStringLiteral("Importing: vCard File (*.VCF)"));
        progress.SetCancellable(true);
        progress.ShowProgress();

        const auto refused = [](const QDBusMessage& reply) {
            return reply.type() == QDBusMessage::ErrorMessage &&
                   reply.errorName() == QStringLiteral("Quil.Application.Error") &&
                   reply.errorMessage().contains(QStringLiteral("Importing: vCard File (*.VCF)"));
        };
        QVERIFY(refused(client->Call(app, "Insert", {kFolderKind, "Scripted", "", "", ""})));
        QVERIFY(refused(client->Call(app, "NextItemWithTitle", {"Zeta"})));
        QVERIFY(refused(client->Call(app, "quilTitle")));
        QVERIFY(refused(client->CallOn(QStringLiteral("/Quil/Application"),
                                       QStringLiteral("Quil.Application.Factory"),
                                       QStringLiteral("CreateObject"))));
        QVERIFY(!NodeTitled("Scripted"));
        QVERIFY(progress.isVisible());
        QCOMPARE(progress.ActionText(), QStringLiteral("Importing: vCard File (*.VCF)"));
        // A client that left loses its objects only after the work: that may end the run.
        QTest::qWait(300);
        QVERIFY(server_->Object(orphan));

        progress.SetCancellable(false);
        progress.HideProgress();
        QCOMPARE(client->Call(app, "Insert", {kFolderKind, "Scripted", "", "", ""}).type(),
                 QDBusMessage::ReplyMessage);
        QVERIFY(NodeTitled("Scripted"));
        QTRY_VERIFY(!server_->Object(orphan));
        Form().SetProgressWindow(nullptr);
    }

    void aSecondServerFindsTheNameTakenAndLeavesTheRegistrationAlone() {
        const QString file =
            ActivationServicesDirectory() + QStringLiteral("/Quil.Application.service");
        QFile::remove(file);
        QVERIFY(server_->Serving());
        QDBusConnection other =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("second"));
        {
            AutomationServer second(*host_, false, other);
            QVERIFY(!second.Start(true));
            QVERIFY(!second.Serving());
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("second"));
        QVERIFY(!QFile::exists(file));
        // The first still answers.
        auto client = NewClient();
        QVERIFY(!client->Create().isEmpty());

        // A normal start that owns the name registers.
        server_.reset();
        server_ = std::make_unique<AutomationServer>(*host_, false);
        QVERIFY(server_->Start(true));
        QVERIFY(QFile::exists(file));
        QVERIFY(file.startsWith(qEnvironmentVariable("XDG_DATA_HOME")));
        QVERIFY(UnregisterServer(nullptr));
        QVERIFY(!QFile::exists(file));
    }
};

QTEST_MAIN(AutomationBusTest)
#include "AutomationBusTest.moc"
