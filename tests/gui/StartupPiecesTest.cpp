// The start-up pieces: the places of the files, the single-instance hand-over (in one
// process and from a real second process), the tray form, the progress window, the
// clipboard's private format and the bundled pictures.

#include "gui/app/NoDisplayExit.h"
#include "gui/app/SecondStart.h"
#include "gui/app/TOrvaneForm.h"
#include "gui/common/ImageLists.h"
#include "gui/common/Pictures.h"
#include "gui/common/Prompter.h"
#include "gui/common/TProgressForm.h"

#include "core/app/command_line.h"
#include "platform/DesktopShell.h"
#include "platform/Places.h"
#include "platform/QtClipboard.h"
#include "platform/Shell.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationSignals.h"

#include "ShownText.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QProcess>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QWindow>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

using namespace quill;
using namespace quill::gui;
using namespace quill::platform;

namespace {

// A text file's lines; none when it is not there.
QStringList Lines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

std::vector<std::string> Split(const QString& text) {
    return SplitCommandLine(text.toStdString());
}

std::vector<std::string> Std(const QStringList& list) {
    std::vector<std::string> out;
    for (const QString& s : list) {
        out.push_back(s.toStdString());
    }
    return out;
}

// A socket file that nobody listens on: what a crashed instance leaves behind.
bool MakeStaleSocketFile(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) {
        return false;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = QFile::encodeName(path);
    std::strncpy(address.sun_path, bytes.constData(), sizeof address.sun_path - 1);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

bool IsBlank(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

class StartupPiecesTest : public QObject {
    Q_OBJECT

private slots:
    void terminationSignalsReachTheEventLoop() {
        int calls = 0;
        platform::WatchTerminationSignals([&calls] { ++calls; });
        ::raise(SIGTERM);
        QTRY_COMPARE(calls, 1);
        ::raise(SIGHUP);
        QTRY_COMPARE(calls, 2);
        platform::WatchTerminationSignals({});
    }

    void telephoneLinksKeepWhatADialerCanUse() {
        QCOMPARE(platform::TelephoneUri("(555)123-4567"), QStringLiteral("tel:(555)123-4567"));
        QCOMPARE(platform::TelephoneUri("+45 12 34 56 78"), QStringLiteral("tel:+4512345678"));
        QCOMPARE(platform::TelephoneUri("1+2"), QStringLiteral("tel:12"));
        QCOMPARE(platform::TelephoneUri("*31#555"), QStringLiteral("tel:*31%23555"));
        // An extension never runs on into the number dialled.
        QCOMPARE(platform::TelephoneUri("555-1234 ext. 7"), QStringLiteral("tel:555-1234;ext=7"));
        QCOMPARE(platform::TelephoneUri("(555)123-4567 x 102"),
                 QStringLiteral("tel:(555)123-4567;ext=102"));
        QCOMPARE(platform::TelephoneUri("555 1234 ext. 12#"), QStringLiteral("tel:5551234"));
        QCOMPARE(platform::TelephoneUri("555-1234 home 2"), QStringLiteral("tel:555-1234"));
    }

    // --- Places -------------------------------------------------------------------------

    void PlacesFollowQuillmereHome() {
        QProcessEnvironment env;
        env.insert(QStringLiteral("QUILLMERE_HOME"), QStringLiteral("/srv/q/home/"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), QStringLiteral("/elsewhere/data"));
        const Places places = Places::FromEnvironment(env);
        QCOMPARE(places.DataDirectory(), QStringLiteral("/srv/q/home"));
        QCOMPARE(places.SettingsDirectory(), QStringLiteral("/srv/q/home"));
        QCOMPARE(places.SettingsFile(), QStringLiteral("/srv/q/home/nrb.ini"));
    }

    void PlacesFollowTheXdgDirectoriesElseHome() {
        QProcessEnvironment env;
        env.insert(QStringLiteral("HOME"), QStringLiteral("/home/ann"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), QStringLiteral("/x/data"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), QStringLiteral("/x/config"));
        Places places = Places::FromEnvironment(env);
        QCOMPARE(places.DataDirectory(), QStringLiteral("/x/data/quillmere"));
        QCOMPARE(places.SettingsFile(), QStringLiteral("/x/config/quillmere/nrb.ini"));

        env.insert(QStringLiteral("XDG_DATA_HOME"), QStringLiteral("relative/ignored"));
        env.remove(QStringLiteral("XDG_CONFIG_HOME"));
        places = Places::FromEnvironment(env);
        QCOMPARE(places.DataDirectory(), QStringLiteral("/home/ann/.local/share/quillmere"));
        QCOMPARE(places.SettingsDirectory(), QStringLiteral("/home/ann/.config/quillmere"));
    }

    void EstablishCreatesBothAndEntersTheDataDirectory() {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString before = QDir::currentPath();
        const Places places(root.filePath(QStringLiteral("data/q")),
                            root.filePath(QStringLiteral("config/q")));
        QString error;
        QVERIFY2(places.Establish(&error), qPrintable(error));
        QVERIFY(QFileInfo(places.SettingsDirectory()).isDir());
        QCOMPARE(QFileInfo(QDir::currentPath()).canonicalFilePath(),
                 QFileInfo(places.DataDirectory()).canonicalFilePath());
        // Made for the user alone.
        QCOMPARE(QFileInfo(places.DataDirectory()).permissions() &
                     (QFileDevice::ReadGroup | QFileDevice::ReadOther),
                 QFileDevice::Permissions{});
        QVERIFY(places.Establish()); // existing directories are fine
        QDir::setCurrent(before);

        QFile blocker(root.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const Places bad(root.filePath(QStringLiteral("file/sub")), root.path());
        QVERIFY(!bad.Establish(&error));
        QVERIFY(error.contains(QStringLiteral("file/sub")));
        QCOMPARE(QDir::currentPath(), before);
    }

    void FileArgumentsBecomeAbsoluteBeforeTheDirectoryChanges() {
        QTemporaryDir root;
        QFile file(root.filePath(QStringLiteral("My Friends.qld")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QFile hide(root.filePath(QStringLiteral("HIDEWIN")));
        QVERIFY(hide.open(QIODevice::WriteOnly));
        hide.close();
        const QStringList in = {QStringLiteral("quillmere"),   QStringLiteral("My Friends.qld"),
                                QStringLiteral("missing.vcf"), QStringLiteral("HIDEWIN"),
                                QStringLiteral("/regserver"),  QStringLiteral("-embedding")};
        const QStringList out = AbsoluteFileArguments(in, root.path());
        QCOMPARE(out[0], QStringLiteral("quillmere"));
        QCOMPARE(out[1], QDir(root.path()).absoluteFilePath(QStringLiteral("My Friends.qld")));
        // A file to import that is not there is still the caller's: the running program,
        // in its data directory, must neither find a namesake there nor name the wrong path.
        QCOMPARE(out[2], QDir(root.path()).absoluteFilePath(QStringLiteral("missing.vcf")));
        QCOMPARE(out.mid(3), in.mid(3));
    }

    void FileArgumentsToImportThatAreNotThereStayTheCallers() {
        QTemporaryDir caller;
        const QStringList in = {QStringLiteral("quillmere"), QStringLiteral("team.QLD"),
                                QStringLiteral("sub/../cards.vcf"),
                                QStringLiteral("https://example.com/cards.vcf"),
                                QStringLiteral("notes.txt")};
        const QStringList out = AbsoluteFileArguments(in, caller.path());
        QCOMPARE(out[1], QDir(caller.path()).absoluteFilePath(QStringLiteral("team.QLD")));
        QCOMPARE(out[2], QDir(caller.path()).absoluteFilePath(QStringLiteral("cards.vcf")));
        // What is not a file to import is left to the rules that read it.
        QCOMPARE(out.mid(3), in.mid(3));
    }

    // --- Single instance ----------------------------------------------------------------

    void HandOverBetweenTwoObjectsInOneProcess() {
        QTemporaryDir home;
        SingleInstance first(home.path());
        SingleInstance second(home.path());
        QCOMPARE(first.ServerPath(), second.ServerPath());
        QString error;
        QVERIFY2(first.Listen(&error), qPrintable(error));
        QSignalSpy received(&first, &SingleInstance::commandLineReceived);

        const QStringList arguments = {
            QStringLiteral("/usr/bin/quillmere"), QStringLiteral("/home/Ann/My Files/Friends.QLD"),
            QStringLiteral("/tmp/say \"hi\".vcf"), QStringLiteral("Zoë.vcf")};
        bool acknowledged = false;
        QVERIFY(second.TryHandOver(arguments, 5000, &acknowledged));
        QVERIFY(acknowledged);
        // With both ends in one thread the signal may come while TryHandOver still waits.
        QTRY_COMPARE_WITH_TIMEOUT(received.count(), 1, 5000);
        const QString text = received.at(0).at(0).toString();
        QCOMPARE(Split(text), Std(arguments));
        const auto imports = CommandLineImports(text.toStdString());
        QCOMPARE(imports.size(), std::size_t{3});
        QCOMPARE(imports[0].path, std::string("/home/Ann/My Files/Friends.QLD"));
        QVERIFY(imports[0].kind == CommandLineFile::ExchangeFile);

        // Without arguments only the program path travels: the window just comes forward.
        QVERIFY(second.TryHandOver({QStringLiteral("/usr/bin/quillmere")}));
        QTRY_COMPARE_WITH_TIMEOUT(received.count(), 2, 5000);
        QCOMPARE(Split(received.at(1).at(0).toString()), Std({"/usr/bin/quillmere"}));
        QVERIFY(CommandLineImports(received.at(1).at(0).toString().toStdString()).empty());
    }

    void ARunningInstanceKeepsItsSocket() {
        QTemporaryDir home;
        SingleInstance first(home.path());
        QVERIFY(first.Listen());
        SingleInstance second(home.path());
        QString error;
        QVERIFY(!second.Listen(&error));
        QVERIFY(!error.isEmpty());
        QVERIFY(first.IsListening());
        QSignalSpy received(&first, &SingleInstance::commandLineReceived);
        QVERIFY(second.TryHandOver({QStringLiteral("q"), QStringLiteral("a.qld")}));
        QTRY_COMPARE_WITH_TIMEOUT(received.count(), 1, 5000);
    }

    void NothingListeningMeansAFirstStart() {
        QTemporaryDir home;
        SingleInstance alone(home.path());
        QVERIFY(!QFileInfo::exists(alone.ServerPath()));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!alone.TryHandOver({QStringLiteral("q")}));
        QVERIFY(clock.elapsed() < 2000);
    }

    void AStaleSocketFileDoesNotBlockAFirstStart() {
        QTemporaryDir home;
        SingleInstance instance(home.path());
        QVERIFY(MakeStaleSocketFile(instance.ServerPath()));
        QVERIFY(QFileInfo::exists(instance.ServerPath()));
        QVERIFY(!instance.TryHandOver({QStringLiteral("q")})); // nobody answers
        QString error;
        QVERIFY2(instance.Listen(&error), qPrintable(error));
        SingleInstance second(home.path());
        QSignalSpy received(&instance, &SingleInstance::commandLineReceived);
        QVERIFY(second.TryHandOver({QStringLiteral("q"), QStringLiteral("x.vcf")}));
        QTRY_COMPARE_WITH_TIMEOUT(received.count(), 1, 5000);
        instance.Close();
        QVERIFY(!QFileInfo::exists(instance.ServerPath()));
    }

    void AnInstanceThatDoesNotAnswerStillEndsTheSecondStart() {
        // The first instance is still starting (or hangs): the second one ends all the same,
        // without a receipt, rather than start a second copy.
        QTemporaryDir home;
        SingleInstance second(home.path());
        QLocalServer silent;
        QVERIFY(silent.listen(second.ServerPath()));
        bool acknowledged = true;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(
            second.TryHandOver({QStringLiteral("q"), QStringLiteral("a.qld")}, 300, &acknowledged));
        QVERIFY(!acknowledged);
        QVERIFY(clock.elapsed() < 3000);
    }

    void ASecondStartTheRunningCopyDoesNotAnswerTellsTheUser() {
        Prompter::Reset();
        Prompter::SetStrict(true);
        const auto relax = qScopeGuard([] {
            Prompter::SetStrict(false);
            Prompter::Reset();
        });
        const QStringList arguments{QStringLiteral("/usr/bin/quillmere"),
                                    QStringLiteral("/home/ann/Team <1>.qld"),
                                    QStringLiteral("HIDEWIN"), QStringLiteral("/tmp/card.VCF")};

        // Nobody runs: this start is the first, and nothing is said.
        QTemporaryDir home;
        SingleInstance second(home.path());
        QCOMPARE(HandOverToRunningCopy(second, arguments, 300), std::nullopt);

        // A running copy that takes the command line.
        SingleInstance first(home.path());
        QVERIFY(first.Listen());
        QCOMPARE(HandOverToRunningCopy(second, arguments, 5000), std::optional<int>(0));
        QVERIFY(Prompter::Boxes().isEmpty());
        first.Close();

        // One that takes the connection and never answers: told, and not a success.
        QLocalServer silent;
        QVERIFY(silent.listen(second.ServerPath()));
        Prompter::QueueAnswer(QMessageBox::Ok);
        QCOMPARE(HandOverToRunningCopy(second, arguments, 300), std::optional<int>(1));
        QCOMPARE(Prompter::Boxes().size(), 1);
        const Prompter::Box box = Prompter::Boxes().front();
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.text, UnansweredHandOverText(arguments));
        QVERIFY(box.text.contains(QStringLiteral("\n/home/ann/Team <1>.qld\n/tmp/card.VCF\n")));
        QVERIFY(!box.text.contains(QStringLiteral("HIDEWIN")));

        // Without files it only says that the running copy did not answer.
        const QString bare = UnansweredHandOverText({QStringLiteral("/usr/bin/quillmere")});
        QVERIFY(bare.contains(QStringLiteral("did not answer")));
        QVERIFY(!bare.contains(QStringLiteral("imported")));
    }

    void WithoutADisplayTheProgramEndsWithAMessageNotACrash() {
        for (const bool byBus : {true, false}) {
            QTemporaryDir scratch;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
                environment.remove(QString::fromLatin1(name));
            }
            environment.insert(QStringLiteral("QUILLMERE_HOME"), scratch.filePath("home"));
            environment.insert(QStringLiteral("XDG_DATA_HOME"), scratch.filePath("share"));
            QProcess program;
            program.setProcessEnvironment(environment);
            program.setWorkingDirectory(scratch.path()); // where a core file would go
            program.start(QStringLiteral(QUILLMERE_PATH),
                          byBus ? QStringList{QStringLiteral("-AUTOMATION")} : QStringList{});
            QVERIFY(program.waitForFinished(30000));
            QCOMPARE(program.exitStatus(), QProcess::NormalExit);
            QCOMPARE(program.exitCode(), 1);
            const QString said = QString::fromLocal8Bit(program.readAllStandardError());
            QVERIFY2(said.contains(QStringLiteral("Quillmere: ") + NoDisplayText(byBus)),
                     qPrintable(said));
        }
        QVERIFY(NoDisplayText(true).contains(QStringLiteral("dbus-update-activation-environment")));
        QVERIFY(!NoDisplayText(false).contains(QStringLiteral("dbus")));
    }

    void InstancesOfDifferentDataDirectoriesDoNotMeet() {
        QTemporaryDir homeA;
        QTemporaryDir homeB;
        SingleInstance a(homeA.path());
        SingleInstance b(homeB.path());
        QVERIFY(a.ServerPath() != b.ServerPath());
        QVERIFY(a.ServerPath().contains(QString::number(::getuid())));
        QVERIFY(a.Listen());
        QVERIFY(!b.TryHandOver({QStringLiteral("q")}));
        QVERIFY(b.Listen());
    }

    void TheSocketIsForTheUserAlone() {
        QTemporaryDir home;
        SingleInstance instance(home.path());
        QVERIFY(instance.Listen());
        const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                QFileDevice::WriteOther | QFileDevice::ExeOther;
        QCOMPARE(QFileInfo(instance.ServerPath()).permissions() & others,
                 QFileDevice::Permissions{});
        QLocalSocket client;
        client.connectToServer(instance.ServerPath());
        QVERIFY(client.waitForConnected(2000));
        QCOMPARE(PeerUserId(client.socketDescriptor()), static_cast<long long>(::getuid()));
        QCOMPARE(PeerUserId(-1), -1LL);
    }

    void HandOverFromARealSecondProcess() {
        QTemporaryDir home;
        SingleInstance first(home.path());
        QVERIFY(first.Listen());
        QSignalSpy received(&first, &SingleInstance::commandLineReceived);

        QProcess second;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUILLMERE_HOME"), home.path());
        second.setProcessEnvironment(env);
        const QStringList arguments = {QStringLiteral("/tmp/My Files/Friends.QLD"),
                                       QStringLiteral("/tmp/team \"B\".vcf")};
        second.start(QStringLiteral(QUILL_HANDOVER_HELPER), arguments);
        QVERIFY(second.waitForStarted(5000));
        // The event loop runs while waiting, so the receipt goes out.
        QTRY_COMPARE_WITH_TIMEOUT(received.count(), 1, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 10000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        const auto got = Split(received.at(0).at(0).toString());
        QCOMPARE(got.size(), std::size_t{3});
        QCOMPARE(QFileInfo(QString::fromStdString(got[0])).fileName(),
                 QFileInfo(QStringLiteral(QUILL_HANDOVER_HELPER)).fileName());
        QCOMPARE(got[1], std::string("/tmp/My Files/Friends.QLD"));
        QCOMPARE(got[2], std::string("/tmp/team \"B\".vcf"));
    }

    void ASecondProcessWithoutARunningInstanceGoesOn() {
        QTemporaryDir home;
        QProcess second;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUILLMERE_HOME"), home.path());
        second.setProcessEnvironment(env);
        second.start(QStringLiteral(QUILL_HANDOVER_HELPER), {QStringLiteral("a.qld")});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 3);
    }

    // --- Tray form ----------------------------------------------------------------------

    void TrayPopupHasItsEntriesInOrder() {
        TOrvaneForm form;
        QStringList texts;
        for (QAction* action : form.TrayPopup()->actions()) {
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        QCOMPARE(texts, (QStringList{QStringLiteral("&Restore"), QStringLiteral("-"),
                                     QStringLiteral("&Tools"), QStringLiteral("&Get Browser URL"),
                                     QStringLiteral("-"), QStringLiteral("&Exit")}));
        QVERIFY(form.ToolsMenu()->actions().isEmpty());
        form.ToolsMenu()->addAction(QStringLiteral("Notepad")); // the owner fills it
        QCOMPARE(form.ToolsMenu()->actions().size(), 1);
        QCOMPARE(form.TrayIcon()->contextMenu(), form.TrayPopup());
        QVERIFY(!form.TrayIcon()->icon().isNull());
    }

    void TrayEntriesAndTheLeftClickSpeakThroughSignals() {
        TOrvaneForm form;
        QSignalSpy restore(&form, &TOrvaneForm::restoreRequested);
        QSignalSpy getUrl(&form, &TOrvaneForm::getUrlRequested);
        QSignalSpy exit(&form, &TOrvaneForm::exitRequested);
        form.RestoreAction()->trigger();
        QCOMPARE(restore.count(), 1);
        emit form.TrayIcon()->activated(QSystemTrayIcon::Trigger);
        QCOMPARE(restore.count(), 2);
        emit form.TrayIcon()->activated(QSystemTrayIcon::DoubleClick);
        emit form.TrayIcon()->activated(QSystemTrayIcon::Context);
        QCOMPARE(restore.count(), 2);
        form.GetBrowserUrlAction()->trigger();
        QCOMPARE(getUrl.count(), 1);
        form.ExitAction()->trigger();
        QCOMPARE(exit.count(), 1);
        QCOMPARE(restore.count(), 2);
    }

    void ToolTipTextIsCutTo62Characters() {
        QCOMPARE(TOrvaneForm::CutToolTip(QString(70, QLatin1Char('x'))).size(), 62);
        QCOMPARE(TOrvaneForm::CutToolTip(QString(62, QLatin1Char('x'))).size(), 62);
        QCOMPARE(TOrvaneForm::CutToolTip(QStringLiteral("[My Contacts]")),
                 QStringLiteral("[My Contacts]"));
        // A character outside the BMP across the limit is dropped whole.
        const QString emoji = QString(61, QLatin1Char('a')) + QString::fromUtf8("\xF0\x9F\x93\x87");
        QCOMPARE(TOrvaneForm::CutToolTip(emoji).size(), 61);
        TOrvaneForm form;
        QCOMPARE(form.ToolTip(), QStringLiteral("Click to view main window"));
    }

    void TrayToolTipIsCutTo62Characters() {
        if (!TOrvaneForm::TrayAvailable()) {
            QSKIP("No notification area on this display (the offscreen platform has none); "
                  "the icon is not shown there, so there is no tray tooltip to look at.");
        }
        TOrvaneForm form;
        QVERIFY(form.TrayIcon()->isVisible());
        QCOMPARE(form.TrayIcon()->toolTip(), QStringLiteral("Click to view main window"));
        const QString path =
            QStringLiteral("[My Contacts/Friends and Family/Relatives abroad/Ann Lee of Leeds]");
        QVERIFY(path.size() > 62);
        form.SetToolTip(path);
        QCOMPARE(form.TrayIcon()->toolTip(), path.left(62));
    }

    void TrayToolTipShowsTitlesAsTheyAreWritten() {
        // The tray draws its tooltip with a label that takes anything tag-like as markup.
        const auto shown = [](const QString& toolTip) { return test::ShownText(toolTip); };
        TOrvaneForm form;
        for (const QString& path : {QStringLiteral("[My Contacts/<b>Smith</b> &amp; <i>Co</i>]"),
                                    QStringLiteral("[My Contacts/<img src=\"x.png\"> Ann]"),
                                    QStringLiteral("[My Contacts/Lee & Sons <Ltd>]")}) {
            form.SetToolTip(path);
            QCOMPARE(form.ToolTip(), path);
            QCOMPARE(shown(form.TrayIcon()->toolTip()), path);
        }
        // A path without markup goes to the tray unchanged.
        form.SetToolTip(QStringLiteral("[My Contacts/Lee & Sons]"));
        QCOMPARE(form.TrayIcon()->toolTip(), QStringLiteral("[My Contacts/Lee & Sons]"));
    }

    void MessageBoxesShowNamesAsTheyAreWritten() {
        // Paths and titles in messages come from files and other programs: "<b>", "&amp;"
        // and the like are theirs, not formatting.
        const QString text = QStringLiteral("Cannot open \"/tmp/<b>Team</b> &amp; Co.qld\"");
        QString shown;
        const auto readAndClose = [&shown] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            QVERIFY(label);
            shown = test::ShownText(label->text(), label->textFormat());
            box->done(0);
        };
        Prompter::Reset();
        QTimer::singleShot(0, this, readAndClose);
        Prompter::Ask(nullptr, text, QStringLiteral("Quillmere"), QMessageBox::Ok,
                      QMessageBox::Warning);
        QCOMPARE(shown, text);
        shown.clear();
        QTimer::singleShot(0, this, readAndClose);
        Prompter::AskChoice(nullptr, text, QStringLiteral("Quillmere"),
                            {QStringLiteral("Retry"), QStringLiteral("Cancel")},
                            QMessageBox::Question, 0, 1);
        QCOMPARE(shown, text);
    }

    void TheFormLivesWithoutATray() {
        // Whatever the display, making, using and ending the form must not fail.
        auto form = std::make_unique<TOrvaneForm>();
        form->SetToolTip(QStringLiteral("[My Contacts]"));
        form->SetIcon(ProgramIcon());
        // Asked to show all the same: a tray that comes later takes it.
        QVERIFY(form->TrayIcon()->isVisible());
        form.reset();
    }

    // --- Progress window ----------------------------------------------------------------

    void ProgressShowsTheWholePercentage() {
        TProgressForm progress;
        QCOMPARE(progress.windowTitle(), QStringLiteral("Progress"));
        QVERIFY(progress.windowFlags().testFlag(Qt::Tool));
        QVERIFY(progress.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        progress.SetAction(QStringLiteral("Searching..."));
        progress.SetResult(QString());
        progress.SetRange(0, 9);
        progress.SetPosition(3);
        QCOMPARE(progress.PercentText(), QStringLiteral("33%"));
        progress.Advance();
        QCOMPARE(progress.PercentText(), QStringLiteral("44%"));
        progress.SetPosition(9);
        QCOMPARE(progress.PercentText(), QStringLiteral("100%"));
        progress.Advance(); // the walk visits the start node last: the bar stays full
        QCOMPARE(progress.Position(), 9);
        QCOMPARE(progress.PercentText(), QStringLiteral("100%"));
        QCOMPARE(progress.ActionText(), QStringLiteral("Searching..."));
        QCOMPARE(TProgressForm::PercentOf(0, 3, 2), 66);
        QCOMPARE(TProgressForm::PercentOf(10, 20, 15), 50);
        QCOMPARE(TProgressForm::PercentOf(0, 2000000000, 1999999999), 99);
    }

    void AnEmptyRangeShowsZeroPercent() {
        TProgressForm progress;
        progress.SetRange(0, 0); // only the top node: nodes minus one
        progress.SetPosition(0);
        QCOMPARE(progress.PercentText(), QStringLiteral("0%"));
        progress.Advance();
        QCOMPARE(progress.PercentText(), QStringLiteral("0%"));
        progress.SetRange(0, -1);
        QCOMPARE(progress.PercentText(), QStringLiteral("0%"));
        QCOMPARE(TProgressForm::PercentOf(5, 5, 7), 0);
    }

    void ProgressIsCentredAndPaintsWhileBusy() {
        TProgressForm progress;
        progress.SetAction(QStringLiteral("Searching..."));
        progress.SetRange(0, 99);
        progress.ShowProgress();
        QVERIFY(progress.isVisible());
        const QPoint screenCentre = progress.screen()->availableGeometry().center();
        QVERIFY((progress.frameGeometry().center() - screenCentre).manhattanLength() <= 4);
        for (int i = 0; i < 100; ++i) {
            progress.Advance(); // a busy loop: the window paints as the percentage changes
        }
        QCOMPARE(progress.PercentText(), QStringLiteral("100%"));
        progress.HideProgress();
        QVERIFY(!progress.isVisible());
    }

    // The keys go to the window a progress window belongs to once it is hidden. (Its late
    // activation on X, after it was hidden, is seen only on a desktop: tests/desktop.)
    void AHiddenProgressWindowHandsTheActivationBack() {
        QWidget owner;
        owner.show();
        owner.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&owner));
        TProgressForm progress(&owner);
        progress.SetCancellable(true);
        progress.ShowProgress();
        QTRY_COMPARE(QGuiApplication::focusWindow(), progress.windowHandle());
        progress.HideProgress();
        QTRY_COMPARE(QGuiApplication::focusWindow(), owner.windowHandle());
        QCOMPARE(progress.windowHandle()->transientParent(), owner.windowHandle());
    }

    // --- Clipboard ----------------------------------------------------------------------

    void ThePrivateFormatGoesRoundTheClipboard() {
        QtClipboard clipboard;
        IClipboard& service = clipboard;
        const std::string record = std::string("2,12345678,0,Home\r\n{Phon}~~555-1234~~") + '\0';
        service.StoreRecord(record, "555-1234");
        QVERIFY(QtClipboard::HasPrivateFormat());
        QCOMPARE(QtClipboard::Records(),
                 std::optional<std::string>(record.substr(0, record.size() - 1)));
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data);
        QCOMPARE(data->text(), QStringLiteral("555-1234"));
        QByteArray raw = data->data(QString::fromLatin1(kPrivateClipboardMime));
        QCOMPARE(raw.size(), static_cast<qsizetype>(record.size())); // the zero byte travels
        QCOMPARE(raw.back(), '\0');

        QtClipboard::SetRecordsOnly("1,1,0,Friends\r\n{Fold}~~\r\n");
        QCOMPARE(QtClipboard::Records(),
                 std::optional<std::string>("1,1,0,Friends\r\n{Fold}~~\r\n"));
        data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data && !data->hasText()); // the private format only

        QGuiApplication::clipboard()->setText(QStringLiteral("foreign"));
        QVERIFY(!QtClipboard::HasPrivateFormat());
        QCOMPARE(QtClipboard::Records(), std::nullopt);
    }

    // --- Shell --------------------------------------------------------------------------

    void UrlsAreToldFromPaths() {
        QVERIFY(HasUrlScheme(QStringLiteral("https://example.org/")));
        QVERIFY(HasUrlScheme(QStringLiteral("mailto:ann@example.org")));
        QVERIFY(HasUrlScheme(QStringLiteral("tel:+15551234")));
        QVERIFY(!HasUrlScheme(QStringLiteral("/home/ann/notes.txt")));
        QVERIFY(!HasUrlScheme(QStringLiteral("C:\\notes.txt")));
        QVERIFY(!HasUrlScheme(QStringLiteral("my notes: today.txt")));
        QVERIFY(!HasUrlScheme(QStringLiteral("notes.txt")));
        QVERIFY(!OpenDocument(QString()));
    }

    void ProgramsStartDetachedInTheirDirectory() {
        QTemporaryDir dir;
        const QString marker = dir.filePath(QStringLiteral("started"));
        QVERIFY(StartProgram(QStringLiteral("/bin/sh"),
                             QStringList{QStringLiteral("-c"), QStringLiteral("pwd > started")},
                             dir.path()));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(marker).size() > 0, 5000);
        QFile file(marker);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QFileInfo(QString::fromLocal8Bit(file.readAll().trimmed())).canonicalFilePath(),
                 QFileInfo(dir.path()).canonicalFilePath());
        QVERIFY(!StartProgram(dir.filePath(QStringLiteral("no-such-program")), QStringList{}));
        QVERIFY(!StartProgram(QString(), QStringList{}));
    }

    void WhatTheShellCannotOpenOrStartIsReported() {
        QStringList shown;
        DesktopShell shell([&shown](const QString& text) { shown << text; });
        QTemporaryDir dir;
        const QString document = dir.filePath(QStringLiteral("M\u00FCller offer.pdf"));
        shell.OpenDocument(document.toStdString());
        QCOMPARE(shown, QStringList{NotFoundText(document)});
        QVERIFY(shown.front().contains(document));

        shown.clear();
        const QString ghost = dir.filePath(QStringLiteral("no such tool"));
        shell.StartProgram(ghost.toStdString(), "-v", dir.path().toStdString());
        QCOMPARE(shown, QStringList{NotFoundText(ghost)});

        // There, but not a program: with parameters it is neither started nor opened.
        shown.clear();
        const QString notes = dir.filePath(QStringLiteral("notes.txt"));
        QFile file(notes);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        shell.StartProgram(notes.toStdString(), "--print", "");
        QCOMPARE(shown, QStringList{NotStartedText(notes)});

        // A program that starts says nothing.
        shown.clear();
        shell.StartProgram("/bin/true", "a b", dir.path().toStdString());
        QCOMPARE(shown, QStringList{});
    }

    void WhenTheDesktopsOpenerFailsTheUserIsTold() {
        // A stand-in xdg-open first on the path: it notes its argument and ends with the
        // status the test gives it.
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("opened"));
        const QString status = dir.filePath(QStringLiteral("status"));
        QFile opener(dir.filePath(QStringLiteral("xdg-open")));
        QVERIFY(opener.open(QIODevice::WriteOnly));
        opener.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '%1'\nexit $(cat '%2')\n")
                         .arg(log, status)
                         .toUtf8());
        opener.close();
        opener.setPermissions(opener.permissions() | QFileDevice::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(dir.path()) + ':' + path);
        const auto restore = qScopeGuard([&path] { qputenv("PATH", path); });
        const auto exitWith = [&status](int code) {
            QFile file(status);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(QByteArray::number(code));
        };

        QStringList shown;
        DesktopShell shell([&shown](const QString& text) { shown << text; });
        const QString document = dir.filePath(QStringLiteral("offer <1>.xyz"));
        QFile file(document);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        // No handler for the type: the opener has started, and says so only by its exit.
        exitWith(3);
        shell.OpenDocument(document.toStdString());
        QTRY_COMPARE(shown, QStringList{NotOpenedText(document)});
        shown.clear();
        shell.OpenDocument("mailto:ann@example.org");
        QTRY_COMPARE(shown, QStringList{NotOpenedText(QStringLiteral("mailto:ann@example.org"))});

        // A handler that fails at once.
        exitWith(4);
        shown.clear();
        shell.StartProgram(document.toStdString(), "", "");
        QTRY_COMPARE(shown, QStringList{OpenerFailedText(document)});

        // Opened: nothing is said.
        exitWith(0);
        shown.clear();
        shell.OpenDocument(document.toStdString());
        QTRY_COMPARE(Lines(log).size(), 4);
        QTest::qWait(500);
        QCOMPARE(shown, QStringList{});
        QCOMPARE(Lines(log), (QStringList{document, QStringLiteral("mailto:ann@example.org"),
                                          document, document}));
    }

    // --- Pictures -----------------------------------------------------------------------

    void TheStandardPicturesAreBundledAtBothSizes() {
        QList<QImage> seen;
        for (int i = 0; i < ImageLists::kStandardCount; ++i) {
            for (int size : {16, 32}) {
                const QPixmap picture = BundledPicture(i, size);
                QVERIFY2(!picture.isNull(),
                         qPrintable(QStringLiteral("picture %1 at %2").arg(i).arg(size)));
                QCOMPARE(picture.size(), QSize(size, size));
                const QImage image = picture.toImage();
                QVERIFY(!IsBlank(image));
                QVERIFY2(!seen.contains(image),
                         qPrintable(QStringLiteral("picture %1 repeats").arg(i)));
                seen << image;
            }
            QVERIFY(!ImageLists::StandardIcon(i).isNull());
            QVERIFY(!BundledPicture(i).isNull());
        }
        QVERIFY(BundledPicture(14).isNull());
        QVERIFY(BundledPicture(-1, 16).isNull());
        QVERIFY(ImageLists::StandardIcon(14).isNull());

        const QIcon program = ProgramIcon();
        for (int size : {16, 32, 48, 64, 128}) {
            QCOMPARE(program.pixmap(size, size).size(), QSize(size, size));
            QVERIFY(program.availableSizes().contains(QSize(size, size)));
        }
        QCOMPARE(BulletPicture().size(), QSize(kBulletWidth, 16));
        QCOMPARE(BulletPicture(32).size(), QSize(kBulletWidth, 32));
        QVERIFY(!IsBlank(BulletPicture().toImage()));
    }

    void EveryCommandPictureIsBundledAtBothSizesAndDistinct() {
        const QStringList names = {
            QStringLiteral("import"),
            QStringLiteral("publish"),
            QStringLiteral("print"),
            QStringLiteral("filter-any"),
            QStringLiteral("filter-all"),
            QStringLiteral("cut"),
            QStringLiteral("copy"),
            QStringLiteral("paste"),
            QStringLiteral("delete"),
            QStringLiteral("view-large-icons"),
            QStringLiteral("view-small-icons"),
            QStringLiteral("view-list"),
            QStringLiteral("view-details"),
            QStringLiteral("tools"),
            QStringLiteral("get-url"),
            QStringLiteral("help"),
            QStringLiteral("toggle-layout"),
            QStringLiteral("up-one-level"),
            QStringLiteral("category"),
        };
        // Distinct at each size: a toolbar or a menu never shows two commands alike.
        for (int size : {16, 24}) {
            QList<QImage> seen;
            for (const QString& name : names) {
                const QString what = QStringLiteral("%1 at %2").arg(name).arg(size);
                const QPixmap picture = CommandPicture(name, size);
                QVERIFY2(!picture.isNull(), qPrintable(what));
                QCOMPARE(picture.size(), QSize(size, size));
                const QImage image =
                    picture.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
                QVERIFY2(!IsBlank(image), qPrintable(what));
                const qsizetype same = seen.indexOf(image);
                QVERIFY2(same < 0,
                         qPrintable(what + QStringLiteral(" looks like ") + names.value(same)));
                seen << image;
            }
        }
        for (const QString& name : names) {
            const QIcon icon = CommandPicture(name);
            QVERIFY2(!icon.isNull(), qPrintable(name));
            const QList<QSize> sizes = icon.availableSizes();
            QVERIFY2(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(24, 24)),
                     qPrintable(name));
            // each size is its own drawing, not the other one scaled
            QVERIFY(icon.pixmap(QSize(16, 16)).toImage() == CommandPicture(name, 16).toImage());
            QCOMPARE(icon.pixmap(QSize(24, 24)).size(), QSize(24, 24));
        }
        QCOMPARE(CommandPicture(QStringLiteral("cut"), 32).size(), QSize(32, 32));

        // Unknown names, and names that would lead to other resources, have no picture.
        for (const QString& name :
             {QString(), QStringLiteral("no-such-command"), QStringLiteral("Cut"),
              QStringLiteral("../pictures/16/0"), QStringLiteral("cut.png")}) {
            QVERIFY2(CommandPicture(name).isNull(), qPrintable(name));
            QVERIFY2(CommandPicture(name, 16).isNull(), qPrintable(name));
        }
    }

    void ContactSheetOfTheImageLists() {
        // The pictures as the image lists hand them out, side by side at both sizes, on a
        // light and a dark ground. Set QUILL_PICTURE_SHEET to a file name to look at it.
        ImageLists lists;
        const int n = ImageLists::kStandardCount;
        QImage sheet(n * 40 + 8, 2 * 56, QImage::Format_ARGB32);
        QPainter p(&sheet);
        p.fillRect(0, 0, sheet.width(), 56, QColor(0xF4, 0xF4, 0xF2));
        p.fillRect(0, 56, sheet.width(), 56, QColor(0x2B, 0x2D, 0x31));
        for (int ground = 0; ground < 2; ++ground) {
            for (int i = 0; i < n; ++i) {
                p.drawPixmap(8 + i * 40, ground * 56 + 4, lists.Pixmap(i, ImageLists::kSmall));
                p.drawPixmap(8 + i * 40, ground * 56 + 22, lists.Pixmap(i, ImageLists::kLarge));
            }
        }
        p.end();
        QVERIFY(!IsBlank(sheet));
        const QString target = qEnvironmentVariable("QUILL_PICTURE_SHEET");
        if (!target.isEmpty()) {
            QVERIFY(sheet.save(target));
        }
    }
};

QTEST_MAIN(StartupPiecesTest)
#include "StartupPiecesTest.moc"
