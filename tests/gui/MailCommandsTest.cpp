// The main window's ways to mail, fax and the browser, driven offscreen with recording
// stand-ins for the messaging service and the browser: double-clicks, the popup's Send
// Mail, a document dropped on an entry, Get Browser URL and the maker's web pages.

#include "../core/comm_fakes.h"
#include "core/comm/browser_dde.h"
#include "core/comm/email.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/item_factory.h"
#include "core/storage/profile_file.h"
#include "gui/common/ImageLists.h"
#include "gui/common/Prompter.h"
#include "gui/mainwindow/ContentsListModel.h"
#include "gui/mainwindow/MailHost.h"
#include "gui/mainwindow/TMainForm.h"
#include "platform/QtClipboard.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <memory>

using namespace quill;
using namespace quill::gui;

namespace {

// Every call as "open TARGET"; dialing is not this suite's business.
class RecordingShell final : public IShell {
public:
    QStringList opened;
    void OpenDocument(std::string_view path) override {
        opened << QString::fromStdString(std::string(path));
    }
    void StartProgram(std::string_view, std::string_view, std::string_view) override {}
    void MakeCall(std::string_view, std::string_view, std::string_view, std::string_view) override {
    }
};

QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QStringList Recipients(const MapiMessage& message) {
    QStringList list;
    for (const MapiRecipDesc& r : message.recips) {
        list << Text(r.address);
    }
    return list;
}

} // namespace

class MailCommandsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    QString previousDir_;
    std::unique_ptr<ImageLists> images_;
    platform::QtClipboard clipboard_;
    RecordingShell shell_;
    test::FakeMapi mapi_;
    test::FakeBrowserLink link_;
    std::unique_ptr<TBrowserDDE> browser_;
    std::unique_ptr<TMainForm> form_;
    std::unique_ptr<TMailHost> host_;

    TMainForm& Form() { return *form_; }
    TNRBObject* Make(int kind, std::string_view title, TOutlineNode* parent,
                     std::string_view target = "") {
        return CreateItem(kind, title, target, "", 0, "", parent, &form_->Outline());
    }
    TPersonObject* Person(std::string_view name, std::string_view address) {
        auto* person = static_cast<TPersonObject*>(Make(kPersonKind, name, Form().Root()));
        Make(kEMailKind, "Home", person->Node(), address);
        person->SetPrimaryEMail("Home");
        return person;
    }
    void SetMailMode(int mode) {
        QVERIFY(WriteProfileInt("nrb.ini", "Settings", "INetMail", mode));
    }
    QModelIndex IndexOf(TNRBObject* item) {
        return Form().Contents().index(Form().Contents().RowOf(item), 0);
    }
    void SelectEntries(const std::vector<TNRBObject*>& items) {
        QAbstractItemView* view = Form().ListView();
        view->setFocus();
        view->selectionModel()->clear();
        for (TNRBObject* item : items) {
            view->selectionModel()->select(IndexOf(item),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        QFocusEvent focus(QEvent::FocusIn);
        QCoreApplication::sendEvent(view, &focus);
    }

private slots:
    void initTestCase() { Prompter::SetStrict(true); }

    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(dir_->path());
        images_ = std::make_unique<ImageLists>();
        Prompter::Reset();
        shell_.opened.clear();
        mapi_ = test::FakeMapi();
        link_ = test::FakeBrowserLink();
        browser_ = std::make_unique<TBrowserDDE>(link_, "IExplore", "");
        form_ = std::make_unique<TMainForm>(*images_, "quil.dat", "nrb.ini");
        host_ = std::make_unique<TMailHost>(*form_);
        InstallServices({nullptr, nullptr, images_.get(), &clipboard_, form_.get(), nullptr,
                         nullptr, &shell_, &mapi_, browser_.get(), host_.get()});
    }

    void cleanup() {
        InstallServices({});
        host_.reset();
        form_.reset();
        QVERIFY2(Prompter::Unanswered().isEmpty(), qPrintable(Prompter::Unanswered().join("; ")));
        QDir::setCurrent(previousDir_);
        dir_.reset();
    }

    void doubleClicksMailFaxAndBrowse() {
        SetMailMode(1);
        link_.running = {"IExplore"};
        TPersonObject* ann = Person("Ann", "ann@example.org");
        TNRBObject* fax = Make(kFaxKind, "Office", ann->Node(), "555-0100");
        TNRBObject* site = Make(kWebsiteKind, "Ann's page", ann->Node(), "https://ann.example/");
        Form().SelectNode(ann->Node());
        SelectEntries({ann->PrimaryContact(kEMailKind)});
        Form().ActivateEntry(IndexOf(ann->PrimaryContact(kEMailKind)));
        QCOMPARE(shell_.opened, QStringList{"mailto:ann@example.org"});

        Form().ActivateEntry(IndexOf(fax));
        QCOMPARE(mapi_.sent.size(), std::size_t(1));
        QCOMPARE(Recipients(mapi_.sent[0]), QStringList{"FAX:555-0100"});
        QCOMPARE(mapi_.log, (std::vector<std::string>{"send 0|11"}));

        Form().ActivateEntry(IndexOf(site));
        QCOMPARE(link_.Lines("request https"),
                 (std::vector<std::string>{"request https://ann.example/,,0xFFFFFFFF"}));
        QVERIFY(Prompter::Asked().isEmpty());
    }

    void aFailedFaxShowsTheErrorBox() {
        mapi_.sendResult = MAPI_E_NOT_SUPPORTED;
        TNRBObject* fax = Make(kFaxKind, "Office", Form().Root(), "555-0100");
        Form().SelectNode(Form().Root());
        Prompter::QueueAnswer(QMessageBox::Ok);
        Form().ActivateEntry(IndexOf(fax));
        QCOMPARE(
            Prompter::Asked(),
            QStringList{"Error|MAPI Error. Unable to send Fax using Windows Messaging Services"});
    }

    void popupSendMailAsksBeforeMailingSeveral() {
        SetMailMode(1);
        TPersonObject* ann = Person("Ann", "ann@example.org");
        TPersonObject* bob = Person("Bob", "bob@example.org");
        TPersonObject* cy = Person("Cy", "cy@example.org");
        Form().SelectNode(Form().Root());
        SelectEntries({ann, bob, cy});
        QAction* send = Form().Action(QStringLiteral("ListPaneMail"));
        QVERIFY(send);
        Prompter::QueueAnswer(QMessageBox::No);
        send->trigger();
        QCOMPARE(Prompter::Asked(),
                 QStringList{QStringLiteral("Confirm|") +
                             QString::fromLatin1(kMultipleRecipientsQuestion.data(),
                                                 kMultipleRecipientsQuestion.size())});
        QVERIFY(mapi_.sent.empty());
        QVERIFY(shell_.opened.isEmpty());
        Prompter::QueueAnswer(QMessageBox::Yes);
        send->trigger();
        QCOMPARE(mapi_.sent.size(), std::size_t(1));
        QCOMPARE(Recipients(mapi_.sent[0]),
                 (QStringList{"ann@example.org", "bob@example.org", "cy@example.org"}));
        // In mode 2 the same goes without a question.
        SetMailMode(2);
        send->trigger();
        QCOMPARE(mapi_.sent.size(), std::size_t(2));
        QCOMPARE(Prompter::Asked().size(), 2);
    }

    void aDroppedDocumentIsFaxedAndMailed() {
        SetMailMode(2);
        const QString path = dir_->filePath(QStringLiteral("offer.pdf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("%PDF");
        file.close();
        TPersonObject* ann = Person("Ann", "ann@example.org");
        Make(kFaxKind, "Office", ann->Node(), "555-0100");
        ann->SetPrimaryFax("Office");
        TNRBObject* doc = Make(kDocumentKind, "Offer", Form().Root(), path.toStdString());
        Form().SelectNode(Form().Root());
        SelectEntries({doc});
        QVERIFY(Form().AcceptsDocumentDropOn(ann));
        Prompter::QueueAnswer(QMessageBox::Yes);
        Prompter::QueueAnswer(QMessageBox::Yes);
        Form().DropDocumentOn(ann);
        QCOMPARE(mapi_.sent.size(), std::size_t(2));
        QCOMPARE(Recipients(mapi_.sent[0]), QStringList{"FAX:555-0100"});
        QCOMPARE(Recipients(mapi_.sent[1]), QStringList{"ann@example.org"});
        for (const MapiMessage& message : mapi_.sent) {
            QCOMPARE(message.files.size(), std::size_t(1));
            QCOMPARE(Text(message.files[0].pathName), path);
        }
    }

    void getBrowserUrlMakesAWebsiteUnderTheSelectedNode() {
        link_.running = {"NETSCAPE"};
        link_.replies["NETSCAPE|WWW_GetWindowInfo|0xFFFFFFFF"] =
            "\"https://news.example/today\",\"Today's News\",\"\"";
        browser_->DefaultApp = "/usr/bin/firefox"; // never started for this
        link_.startsService["/usr/bin/firefox"] = "NETSCAPE";
        TNRBObject* work = Make(kFolderKind, "Work", Form().Root());
        Make(kWebsiteKind, "Zeta", work->Node(), "https://zeta.example/");
        Form().SelectNode(work->Node());
        QAction* get = Form().Action(QStringLiteral("GetUrlBtn"));
        QVERIFY(get);
        QVERIFY(get->isEnabled());
        get->trigger();
        QCOMPARE(work->Node()->ChildCount(), std::size_t(2));
        TNRBObject* site = work->Node()->ChildAt(0)->Item(); // sorted before "Zeta"
        QCOMPARE(site->Kind(), std::uint8_t(kWebsiteKind));
        QCOMPARE(Text(site->Title()), QStringLiteral("Today's News"));
        QCOMPARE(Text(site->Target()), QStringLiteral("https://news.example/today"));
        QVERIFY(Form().Contents().RowOf(site) >= 0); // the list shows it
        QVERIFY(!browser_->AutoLoad);

        // No browser running: nothing is started and nothing is made, and the user is told.
        QVERIFY(Prompter::Asked().isEmpty());
        link_.running.clear();
        link_.log.clear();
        Prompter::QueueAnswer(QMessageBox::Ok);
        get->trigger();
        QCOMPARE(work->Node()->ChildCount(), std::size_t(2));
        QVERIFY(link_.Lines("start ").empty());
        QCOMPARE(Prompter::Boxes().size(), 1);
        QVERIFY(Prompter::Boxes().back().text.startsWith(
            QStringLiteral("No running web browser was found")));

        // A browser that runs but gives no page: told so, not that none runs.
        link_.running = {"Mosaic"};
        Prompter::QueueAnswer(QMessageBox::Ok);
        get->trigger();
        QCOMPARE(work->Node()->ChildCount(), std::size_t(2));
        QCOMPARE(Prompter::Boxes().size(), 2);
        QVERIFY(Prompter::Boxes().back().text.startsWith(
            QStringLiteral("The web browser did not give the address")));
    }

    void theMakersPagesOpenThroughTheBrowserLink() {
        link_.running = {"IExplore"};
        QAction* home = Form().Action(QStringLiteral("OrvaneHome"));
        QVERIFY(home);
        browser_->AutoLoad = false;
        home->trigger();
        QVERIFY(browser_->AutoLoad);
        QCOMPARE(link_.Lines("request https"),
                 (std::vector<std::string>{"request https://quillmere.org/,,0xFFFFFFFF"}));
    }

    void theRecipientPickerAnswersWithTheChosenRow() {
        const std::vector<MailCandidate> entries{{"Finn", "finn@home.example", nullptr},
                                                 {"Finn", "finn@work.example", nullptr}};
        Prompter::QueueDialog([](QDialog& dialog) {
            auto* list = dialog.findChild<QListWidget*>(QStringLiteral("Recipients"));
            if (!list || list->count() != 2 ||
                list->item(1)->text() != QLatin1String("Finn <finn@work.example>")) {
                return int(QDialog::Rejected);
            }
            list->setCurrentRow(1);
            return int(QDialog::Accepted);
        });
        QCOMPARE(host_->PickRecipient(QStringLiteral("Finn"), entries),
                 std::optional<std::size_t>(1));
        Prompter::QueueDialog([](QDialog&) { return int(QDialog::Rejected); });
        QVERIFY(!host_->PickRecipient(QStringLiteral("Finn"), entries));

        Prompter::QueueAnswer(QMessageBox::Yes);
        QVERIFY(host_->ConfirmFax("Office", "555-0100", "/tmp/offer.pdf"));
        Prompter::QueueAnswer(QMessageBox::No);
        QVERIFY(!host_->ConfirmFax("", "555-0100", ""));
        QCOMPARE(Prompter::Asked(),
                 (QStringList{"Send Fax|Send offer.pdf by fax to Office at 555-0100?",
                              "Send Fax|Send a fax cover page to 555-0100?"}));
    }
};

QTEST_MAIN(MailCommandsTest)
#include "MailCommandsTest.moc"
