// The messaging service on the desktop against the real tools: xdg-email hands the message
// to a mailto handler set through xdg-mime (a recording program here, so the exact text a
// mail client gets is checked), names resolve among the outline's items, and faxes go to
// sendfax when there is one. Every run uses private XDG directories.

#include "core/comm/email.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "platform/LinuxMapi.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace quill;
using namespace quill::platform;

namespace {

// Answers the messaging service's questions as the test says, and remembers them.
class ScriptedDialogs final : public IMailDialogs {
public:
    std::optional<std::size_t> pick;
    bool sendFax = true;
    QStringList asked;
    std::optional<std::size_t> PickRecipient(const QString& name,
                                             const std::vector<MailCandidate>& entries) override {
        QStringList shown;
        for (const MailCandidate& e : entries) {
            shown << QString::fromStdString(e.address);
        }
        asked << QStringLiteral("pick %1: %2").arg(name, shown.join(QLatin1Char(' ')));
        return pick;
    }
    bool ConfirmFax(const QString& recipient, const QString& number,
                    const QString& document) override {
        asked << QStringLiteral("fax %1|%2|%3").arg(recipient, number, document);
        return sendFax;
    }
    void ShowMailProblem(const QString& text) override {
        asked << QStringLiteral("problem ") + text;
    }
};

class RecordingHost final : public IMailHost {
public:
    QStringList errors;
    std::string SettingsFile() const override { return {}; }
    bool ItemListActive() const override { return false; }
    std::vector<const TNRBObject*> SelectedListItems() const override { return {}; }
    bool Confirm(std::string_view) override { return false; }
    void ShowError(std::string_view text) override {
        errors << QString::fromStdString(std::string(text));
    }
};

bool WriteScript(const QString& path, const QString& body) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(("#!/bin/sh\n" + body + "\n").toUtf8());
    file.close();
    return file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

class MailLinkTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void composerGetsRecipientsSubjectBodyAndFiles();
    void namesResolveAmongTheOutlinesItems();
    void anAmbiguousNameIsPickedOrTheSendIsCancelled();
    void mailerFailuresBecomeMapiCodes();
    void aMessageThatReachesNoMailProgramIsExplained();
    void faxWithoutAFaxClientFailsAndShowsTheError();
    void faxGoesToSendfaxAfterTheUserConfirms();

private:
    QStringList Recorded(const QString& file) const;
    TPersonObject* Person(const char* name, const char* address);

    QTemporaryDir dir_;
    QString recordFile_;
    QString bin_;
    QByteArray path_;
    TOutline outline_;
    TOutlineNode* root_ = nullptr;
    ScriptedDialogs dialogs_;
    bool haveMailer_ = false;
};

void MailLinkTest::initTestCase() {
    QVERIFY(dir_.isValid());
    root_ = outline_.CreateRoot();
    // Everything the desktop tools read or write stays in the test's directory.
    const QString config = dir_.filePath(QStringLiteral("config"));
    const QString data = dir_.filePath(QStringLiteral("data"));
    bin_ = dir_.filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(config) && QDir().mkpath(data + "/applications") && QDir().mkpath(bin_));
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    qputenv("XDG_DATA_HOME", data.toUtf8());
    qputenv("XDG_CURRENT_DESKTOP", "X-Generic");
    qputenv("HOME", dir_.path().toUtf8());
    qunsetenv("MAILER");
    qunsetenv("KDE_FULL_SESSION");
    qunsetenv("GNOME_DESKTOP_SESSION_ID");
    qunsetenv("DESKTOP_SESSION");
    // xdg-open hands addresses to desktop handlers only when there is a display to show
    // them on; nothing here connects to it.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("DISPLAY", ":99");
    }
    path_ = qgetenv("PATH");

    haveMailer_ = !QStandardPaths::findExecutable(QStringLiteral("xdg-email")).isEmpty();
    if (!haveMailer_) {
        return;
    }
    recordFile_ = dir_.filePath(QStringLiteral("mail-client.txt"));
    const QString client = bin_ + QStringLiteral("/record-mail");
    QVERIFY(WriteScript(
        client,
        QStringLiteral("for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '%1'").arg(recordFile_)));
    QFile desktop(data + QStringLiteral("/applications/quill-test-mail.desktop"));
    QVERIFY(desktop.open(QIODevice::WriteOnly));
    desktop.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=Recorder\nExec=%1 %u\n"
                                 "MimeType=x-scheme-handler/mailto;\n")
                      .arg(client)
                      .toUtf8());
    desktop.close();
    QCOMPARE(
        QProcess::execute(QStringLiteral("xdg-mime"),
                          {QStringLiteral("default"), QStringLiteral("quill-test-mail.desktop"),
                           QStringLiteral("x-scheme-handler/mailto")}),
        0);
}

void MailLinkTest::cleanup() {
    QFile::remove(recordFile_);
    qputenv("PATH", path_);
    dialogs_ = ScriptedDialogs();
}

QStringList MailLinkTest::Recorded(const QString& file) const {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

TPersonObject* MailLinkTest::Person(const char* name, const char* address) {
    auto* person =
        static_cast<TPersonObject*>(CreateItem(kPersonKind, name, name, "", 0, "", root_));
    CreateItem(kEMailKind, "Home", address, "", 0, "", person->Node());
    person->SetPrimaryEMail("Home");
    return person;
}

void MailLinkTest::composerGetsRecipientsSubjectBodyAndFiles() {
    if (!haveMailer_) {
        QSKIP("xdg-email (xdg-utils) is not installed");
    }
    Person("Ann Lee", "ann@example.org");
    const QString attachment = dir_.filePath(QStringLiteral("my offer.txt"));
    QFile file(attachment);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("offer");
    file.close();

    LinuxMapi mapi([this] { return &outline_; }, dialogs_);
    TEmail mail(mapi);
    mail.Recipient = {"Ann Lee"};
    mail.CC = {"bob@example.org"};
    mail.Bcc = {"cy@example.org"};
    mail.Subject = "Hi, there & more";
    mail.Text = "Z\xC3\xBCrich 100%";
    mail.Attachment = {attachment.toStdString()};
    QCOMPARE(mail.Send(), SUCCESS_SUCCESS);
    const QString expected =
        QStringLiteral("mailto:?to=Ann%20Lee%20%3Cann@example.org%3E&cc=bob@example.org"
                       "&bcc=cy@example.org&subject=Hi%2C%20there%20%26%20more"
                       "&body=Z%C3%BCrich%20100%25&attach=") +
        QString(attachment).replace(QLatin1Char(' '), QStringLiteral("%20"));
    QCOMPARE(Recorded(recordFile_), QStringList{expected});
    QCOMPARE(QString::fromStdString(mail.Recipient.front()), QStringLiteral("Ann Lee"));

    // A recipient that looks like an option stays a recipient.
    TEmail odd(mapi);
    odd.Recipient = {"--attach=/etc/passwd@example.org"};
    QCOMPARE(odd.Send(), SUCCESS_SUCCESS);
    QCOMPARE(Recorded(recordFile_),
             QStringList{QStringLiteral("mailto:?to=--attach%3D/etc/passwd@example.org")});
}

void MailLinkTest::namesResolveAmongTheOutlinesItems() {
    Person("Dora", "dora@example.org");
    LinuxMapi mapi([this] { return &outline_; }, dialogs_);
    MapiRecipDesc* resolved = nullptr;
    QCOMPARE(mapi.ResolveName(0, "dora", 0, resolved), SUCCESS_SUCCESS);
    QVERIFY(resolved);
    QCOMPARE(QString::fromStdString(resolved->name), QStringLiteral("Dora"));
    QCOMPARE(QString::fromStdString(resolved->address), QStringLiteral("dora@example.org"));
    mapi.FreeBuffer(resolved);
    QCOMPARE(mapi.ResolveName(0, "eve@example.org", 0, resolved), SUCCESS_SUCCESS);
    QVERIFY(resolved);
    QCOMPARE(QString::fromStdString(resolved->address), QStringLiteral("eve@example.org"));
    mapi.FreeBuffer(resolved);
    QCOMPARE(mapi.ResolveName(0, "Nobody", MAPI_DIALOG, resolved), MAPI_E_UNKNOWN_RECIPIENT);
    QVERIFY(!resolved);
    QVERIFY(dialogs_.asked.isEmpty());

    MapiSession session = 0;
    QCOMPARE(mapi.Logon(std::nullopt, std::nullopt, MAPI_LOGON_UI, session), SUCCESS_SUCCESS);
    QVERIFY(session != 0);
    QCOMPARE(mapi.Logoff(session), SUCCESS_SUCCESS);
    QCOMPARE(mapi.Logoff(session), MAPI_E_INVALID_SESSION);
    QVERIFY(!mapi.DefaultProfile());
}

void MailLinkTest::anAmbiguousNameIsPickedOrTheSendIsCancelled() {
    if (!haveMailer_) {
        QSKIP("xdg-email (xdg-utils) is not installed");
    }
    Person("Finn", "finn@home.example");
    Person("Finn", "finn@work.example");
    LinuxMapi mapi([this] { return &outline_; }, dialogs_);
    MapiRecipDesc* resolved = nullptr;
    QCOMPARE(mapi.ResolveName(0, "Finn", 0, resolved), MAPI_E_AMBIGUOUS_RECIPIENT);
    QVERIFY(dialogs_.asked.isEmpty());

    dialogs_.pick = 1;
    TEmail mail(mapi);
    mail.Recipient = {"Finn"};
    QCOMPARE(mail.Send(), SUCCESS_SUCCESS);
    QCOMPARE(dialogs_.asked,
             QStringList{QStringLiteral("pick Finn: finn@home.example finn@work.example")});
    QCOMPARE(Recorded(recordFile_),
             QStringList{QStringLiteral("mailto:?to=Finn%20%3Cfinn@work.example%3E")});

    QFile::remove(recordFile_);
    dialogs_.pick.reset();
    TEmail cancelled(mapi);
    cancelled.Recipient = {"Finn"};
    QCOMPARE(cancelled.Send(), MAPI_USER_ABORT);
    QVERIFY(!QFile::exists(recordFile_));
}

void MailLinkTest::mailerFailuresBecomeMapiCodes() {
    QCOMPARE(MailerResult(0), SUCCESS_SUCCESS);
    QCOMPARE(MailerResult(1), MAPI_E_FAILURE);
    QCOMPARE(MailerResult(2), MAPI_E_ATTACHMENT_NOT_FOUND);
    QCOMPARE(MailerResult(3), MAPI_E_NOT_SUPPORTED);
    QCOMPARE(MailerResult(4), MAPI_E_FAILURE);
    QCOMPARE(MailerResult(5), MAPI_E_ATTACHMENT_OPEN_FAILURE);

    MapiMessage message;
    message.recips.push_back(MapiRecipDesc{MAPI_TO, "a@example.org", "a@example.org"});
    LinuxMapi missing(
        [this] { return &outline_; }, dialogs_,
        LinuxMapi::Programs{dir_.filePath(QStringLiteral("no-such-mailer")), {}, 5000});
    QCOMPARE(missing.SendMail(0, message, MAPI_DIALOG), MAPI_E_NOT_SUPPORTED);
    if (!haveMailer_) {
        QSKIP("xdg-email (xdg-utils) is not installed");
    }
    // A file that went away between the check and the composer.
    message.files.push_back(MapiFileDesc{kNoPosition, dir_.filePath("gone.txt").toStdString(), {}});
    LinuxMapi mapi([this] { return &outline_; }, dialogs_);
    QCOMPARE(mapi.SendMail(0, message, MAPI_DIALOG), MAPI_E_ATTACHMENT_NOT_FOUND);
    QVERIFY(!QFile::exists(recordFile_));
}

void MailLinkTest::aMessageThatReachesNoMailProgramIsExplained() {
    MapiMessage message;
    message.recips.push_back(MapiRecipDesc{MAPI_TO, "Ann Lee", "ann@example.org"});
    const auto sendWith = [&](const QString& mailer) {
        dialogs_.asked.clear();
        LinuxMapi mapi([this] { return &outline_; }, dialogs_,
                       LinuxMapi::Programs{mailer, {}, 5000});
        return mapi.SendMail(0, message, MAPI_DIALOG);
    };

    // No helper at all.
    const QString absent = dir_.filePath(QStringLiteral("no-such-mailer"));
    QCOMPARE(sendWith(absent), MAPI_E_NOT_SUPPORTED);
    QCOMPARE(dialogs_.asked, QStringList{QStringLiteral("problem ") + MailerMissingText(absent)});
    QVERIFY(dialogs_.asked.front().contains(absent));

    // xdg-email's answers when no mail program takes mailto: links (3), or the one it
    // chose failed (4); a refused message (1) is not the desktop's lack.
    const QString mailer = bin_ + QStringLiteral("/exit-mailer");
    for (const auto& [status, result, explained] :
         {std::tuple{3, MAPI_E_NOT_SUPPORTED, true}, std::tuple{4, MAPI_E_FAILURE, true},
          std::tuple{1, MAPI_E_FAILURE, false}, std::tuple{0, SUCCESS_SUCCESS, false}}) {
        QVERIFY(WriteScript(mailer, QStringLiteral("exit %1").arg(status)));
        QCOMPARE(sendWith(mailer), result);
        QCOMPARE(dialogs_.asked, explained
                                     ? QStringList{QStringLiteral("problem ") + NoMailProgramText()}
                                     : QStringList{});
    }
}

void MailLinkTest::faxWithoutAFaxClientFailsAndShowsTheError() {
    // A path without sendfax on it.
    const QString empty = dir_.filePath(QStringLiteral("empty-path"));
    QVERIFY(QDir().mkpath(empty));
    qputenv("PATH", empty.toUtf8());
    LinuxMapi mapi([this] { return &outline_; }, dialogs_);
    RecordingHost host;
    ScopedServices scope(Services{.mapi = &mapi, .mailHost = &host});
    TNRBObject* fax = CreateItem(kFaxKind, "Office", "555-0100", "", 0, "", root_);
    QVERIFY(fax);
    QCOMPARE(SendFaxFrom(*fax, ""), MAPI_E_NOT_SUPPORTED);
    QCOMPARE(host.errors, QStringList{QString::fromLatin1(kFaxError.data(), kFaxError.size())});
    QVERIFY(dialogs_.asked.isEmpty()); // nothing to confirm without a client
}

void MailLinkTest::faxGoesToSendfaxAfterTheUserConfirms() {
    // A stand-in for HylaFAX's sendfax, first on the path: it records its arguments and
    // whether it read a document from standard input.
    const QString faxBin = dir_.filePath(QStringLiteral("fax-bin"));
    QVERIFY(QDir().mkpath(faxBin));
    const QString record = dir_.filePath(QStringLiteral("sendfax.txt"));
    QVERIFY(WriteScript(faxBin + QStringLiteral("/sendfax"),
                        QStringLiteral("for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '%1'\n"
                                       "printf 'stdin:%s\\n' \"$(cat | wc -c)\" >> '%1'\n"
                                       "[ \"$1\" != '-d' ] || [ \"$2\" != 'Fail@1' ]")
                            .arg(record)));
    qputenv("PATH", faxBin.toUtf8() + ":" + path_);
    LinuxMapi mapi([this] { return &outline_; }, dialogs_);
    RecordingHost host;
    ScopedServices scope(Services{.mapi = &mapi, .mailHost = &host});

    const QString document = dir_.filePath(QStringLiteral("-offer.pdf"));
    QFile file(document);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.4");
    file.close();
    TNRBObject* fax = CreateItem(kFaxKind, "Office @HQ", "+1 (555) 0100", "", 0, "", root_);
    QVERIFY(fax);
    QCOMPARE(SendFaxFrom(*fax, document.toStdString()), SUCCESS_SUCCESS);
    QCOMPARE(dialogs_.asked,
             QStringList{QStringLiteral("fax Office @HQ|+1 (555) 0100|") + document});
    QCOMPARE(Recorded(record),
             (QStringList{QStringLiteral("-n"), QStringLiteral("-d"),
                          QStringLiteral("Office HQ@+1 (555) 0100"), QStringLiteral("--"), document,
                          QStringLiteral("stdin:0")}));
    QVERIFY(host.errors.isEmpty());

    // Without a document: a cover page alone, nothing after the destination.
    QFile::remove(record);
    QCOMPARE(SendFaxFrom(*fax, dir_.filePath("gone.pdf").toStdString()), SUCCESS_SUCCESS);
    QCOMPARE(Recorded(record),
             (QStringList{QStringLiteral("-d"), QStringLiteral("Office HQ@+1 (555) 0100"),
                          QStringLiteral("stdin:0")}));

    // "No" sends nothing; the fax counts as not sent.
    QFile::remove(record);
    dialogs_.sendFax = false;
    QCOMPARE(SendFaxFrom(*fax, ""), MAPI_USER_ABORT);
    QVERIFY(!QFile::exists(record));
    QCOMPARE(host.errors.size(), 1);

    // sendfax refusing the job is a failure.
    dialogs_.sendFax = true;
    TNRBObject* failing = CreateItem(kFaxKind, "Fail", "1", "", 0, "", root_);
    QVERIFY(failing);
    QCOMPARE(SendFaxFrom(*failing, ""), MAPI_E_FAILURE);
    QCOMPARE(host.errors.size(), 2);
}

QTEST_MAIN(MailLinkTest)
#include "MailLinkTest.moc"
