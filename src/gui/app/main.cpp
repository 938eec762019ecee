// Quillmere's entry: start-up in order, the message loop, and the end that saves.

#include "core/app/command_line.h"
#include "core/comm/browser_dde.h"
#include "core/model/item_factory.h"
#include "core/services.h"
#include "core/storage/data_file.h"
#include "core/storage/net_preferences.h"
#include "core/storage/recovery_files.h"
#include "core/util/atomic_file.h"
#include "gui/app/ExitFlow.h"
#include "gui/app/NoDisplayExit.h"
#include "gui/app/SecondStart.h"
#include "gui/app/StartupRecovery.h"
#include "gui/app/TOrvaneForm.h"
#include "gui/automation/AutomationRegistration.h"
#include "gui/automation/AutomationServer.h"
#include "gui/automation/MainFormAutomationHost.h"
#include "gui/common/ImageLists.h"
#include "gui/common/Pictures.h"
#include "gui/common/Prompter.h"
#include "gui/common/TProgressForm.h"
#include "gui/editors/ItemEditors.h"
#include "gui/editors/RecurringDateDlg.h"
#include "gui/mainwindow/Autosaver.h"
#include "gui/mainwindow/MailHost.h"
#include "gui/mainwindow/TMainForm.h"
#include "platform/DesktopShell.h"
#include "platform/LinuxBrowserLink.h"
#include "platform/LinuxMapi.h"
#include "platform/Places.h"
#include "platform/QtClipboard.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationSignals.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QSessionManager>
#include <QWindow>

#include <chrono>
#include <cstdio>

namespace {

std::vector<std::string> ToStrings(const QStringList& list) {
    std::vector<std::string> out;
    for (const QString& s : list) {
        out.push_back(s.toStdString());
    }
    return out;
}

// Edits made in an editor or the date picker are changes the outline does not announce by
// itself; the autosave copy must hear of them.
class ChangeMarkingEditors final : public quill::IItemEditors {
public:
    ChangeMarkingEditors(quill::IItemEditors& editors, quill::gui::Autosaver& watch)
        : editors_(editors), watch_(watch) {}
    bool EditNew(quill::TNRBObject& item) override {
        const bool kept = editors_.EditNew(item);
        watch_.MarkChanged();
        return kept;
    }
    void Edit(quill::TNRBObject& item) override {
        editors_.Edit(item);
        watch_.MarkChanged();
    }

private:
    quill::IItemEditors& editors_;
    quill::gui::Autosaver& watch_;
};

class ChangeMarkingDatePicker final : public quill::IDatePicker {
public:
    ChangeMarkingDatePicker(quill::IDatePicker& picker, quill::gui::Autosaver& watch)
        : picker_(picker), watch_(watch) {}
    bool Execute(quill::TRecurringDate& date) override {
        const bool chosen = picker_.Execute(date);
        if (chosen) {
            watch_.MarkChanged();
        }
        return chosen;
    }

private:
    quill::IDatePicker& picker_;
    quill::gui::Autosaver& watch_;
};

} // namespace

int main(int argc, char* argv[]) {
    using namespace quill;
    using namespace quill::gui;

    // REGSERVER and UNREGSERVER register with the bus or take it back and end at once,
    // before anything needs a display.
    if (const std::optional<int> registered = RunRegistrationSwitch(argc, argv)) {
        return *registered;
    }
    // Qt would abort without a display; a start by the session bus often has none.
    auto noDisplay = std::make_optional<NoDisplayExit>(
        ParseStartMode(std::vector<std::string>(argv, argv + argc)) == StartMode::Automation);
    QApplication app(argc, argv);
    noDisplay.reset();
    QApplication::setApplicationName(QStringLiteral("Quillmere"));
    QApplication::setWindowIcon(ProgramIcon());
    // No display name: Qt would append it to every caption ("Quillmere: - Quillmere").
    // Closing the main window only hides it; the program ends by Exit.
    QApplication::setQuitOnLastWindowClosed(false);

    // File arguments keep working after the data directory becomes the current one.
    const QStringList arguments =
        platform::AbsoluteFileArguments(QApplication::arguments(), QDir::currentPath());
    const std::vector<std::string> args = ToStrings(arguments);

    const StartMode mode = ParseStartMode(args);
    const bool hidden = HasHideSwitch(args);
    SeedItemIds(
        static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));

    // One instance per user and data directory: a second start hands its command line over.
    const platform::Places places = platform::Places::FromEnvironment();
    platform::SingleInstance instance(places.DataDirectory());
    const int handOverWait = platform::SingleInstance::kDefaultTimeoutMs;
    if (const std::optional<int> handed =
            HandOverToRunningCopy(instance, arguments, handOverWait)) {
        return *handed;
    }
    if (!instance.Listen()) {
        // Another first start won the race.
        if (const std::optional<int> handed =
                HandOverToRunningCopy(instance, arguments, handOverWait)) {
            return *handed;
        }
    }
    QString problem;
    if (!places.Establish(&problem)) {
        Prompter::Ask(nullptr, problem, QStringLiteral("Quillmere"), QMessageBox::Ok,
                      QMessageBox::Critical);
        return 1;
    }
    // Saves killed part-way (a crash, kill -9) leave their temporary files; a save still
    // running in a quilltool is younger than ten minutes and keeps its own.
    const std::vector<std::string> ownFiles = OwnSavedFileNames(kDataFileName);
    for (const QString& directory : {places.DataDirectory(), places.SettingsDirectory()}) {
        SweepStaleTempFiles(directory.toStdString(), ownFiles, std::chrono::minutes(10));
    }

    TOrvaneForm tray;
    ImageLists images;
    platform::QtClipboard clipboard;
    platform::DesktopShell shell([](const QString& text) {
        Prompter::Ask(QApplication::activeWindow(), text, QStringLiteral("Quillmere"),
                      QMessageBox::Ok, QMessageBox::Warning);
    });
    // The browser link lives for the whole run, with the browser preferences read once.
    const std::string settingsFile = places.SettingsFile().toStdString();
    platform::LinuxBrowserLink browserLink;
    TBrowserDDE browser(browserLink, ReadBrowserDde(settingsFile), ReadBrowserPath(settingsFile));
    // Documents and tools ask for their icons while the data file loads.
    InstallServices({nullptr, nullptr, &images, &clipboard, nullptr, nullptr, nullptr, &shell});
    TProgressForm progress;
    // The data file by its whole path, so that every message names it where the user finds it.
    const QString dataFile =
        QDir(places.DataDirectory())
            .filePath(QString::fromUtf8(kDataFileName.data(),
                                        static_cast<qsizetype>(kDataFileName.size())));
    TMainForm form(images, dataFile.toStdString(), settingsFile);
    form.SetProgressWindow(&progress);
    // A tool window of the main window's: the taskbar shows the program once, not its
    // progress as a second program.
    progress.winId();
    form.winId();
    progress.windowHandle()->setTransientParent(form.windowHandle());
    form.SetTrayToolsMenu(tray.ToolsMenu());
    form.BuildToolsMenus();
    ItemEditors itemEditors({&form, [&form] { return form.CategoryNames(); }, &images});
    DatePicker datePicker;
    ChangeMarkingEditors editors(itemEditors, form.AutosaveWatch());
    ChangeMarkingDatePicker picker(datePicker, form.AutosaveWatch());
    TMailHost mailHost(form);
    platform::LinuxMapi mapi([&form] { return &form.Outline(); }, mailHost);
    InstallServices({nullptr, nullptr, &images, &clipboard, &form, &editors, &picker, &shell, &mapi,
                     &browser, &mailHost});
    form.SetRecoveryFallback([&places] { return places.RecoveryFallbackDirectory(true); });
    QObject::connect(&form.AutosaveWatch(), &Autosaver::writeFailed, &form,
                     [](const QString& problem) {
                         std::fprintf(stderr, "Quillmere: the automatic copy failed: %s\n",
                                      problem.toLocal8Bit().constData());
                     });
    ExitFlow exitFlow(form);
    app.installEventFilter(&exitFlow);
    exitFlow.SetProgressWindow(&progress);
    QObject::connect(&exitFlow, &ExitFlow::longWorkCancelRequested, &progress,
                     &TProgressForm::RequestCancel);

    const auto restore = [&form] {
        if (form.isMinimized()) {
            form.showNormal();
        }
        form.show();
        form.raise();
        form.activateWindow();
    };
    QObject::connect(&tray, &TOrvaneForm::restoreRequested, &form, restore);
    QObject::connect(&tray, &TOrvaneForm::exitRequested, &exitFlow,
                     [&exitFlow] { exitFlow.Request(ExitFlow::Mode::Attended); });
    QObject::connect(&form, &TMainForm::exitRequested, &exitFlow,
                     [&exitFlow] { exitFlow.Request(ExitFlow::Mode::Attended); });
    // Other programs drive the outline over the session bus; a normal start registers. A run
    // started by a client ends with its last object, with nobody to ask.
    MainFormAutomationHost automationHost(form);
    AutomationServer automation(automationHost, mode == StartMode::Automation);
    QObject::connect(&automation, &AutomationServer::lastObjectReleased, &exitFlow,
                     [&exitFlow] { exitFlow.Request(ExitFlow::Mode::Unattended); });
    automation.SetBusyTest(
        [&form, &progress] { return form.BusyWithLongWork() ? progress.ActionText() : QString(); });
    automation.Start(mode == StartMode::Normal);
    QObject::connect(&form, &TMainForm::trayToolTipChanged, &tray, &TOrvaneForm::SetToolTip);
    QObject::connect(&instance, &platform::SingleInstance::commandLineReceived, &form,
                     [&form](const QString& commandLine) { form.OpenCommandLine(commandLine); });
    QObject::connect(&tray, &TOrvaneForm::getUrlRequested, &form, &TMainForm::GetUrlBtnClick);
    form.RefreshList(); // the tray's tooltip shows the selected node's path from now on

    // Ended by the system, the program saves as Exit does, with nobody to ask. The session
    // manager's request to save may come without the end of the session: it only saves.
    platform::WatchTerminationSignals(
        [&exitFlow] { exitFlow.Request(ExitFlow::Mode::Unattended); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form,
                     [&form](QSessionManager&) { form.SaveForExit(false); });

    // What the last run kept outside the data file, offered back before anything else.
    const QString recoveryFallback = places.RecoveryFallbackDirectory(false);
    OfferKeptCopies(form, dataFile,
                    recoveryFallback.isEmpty()
                        ? QStringList{places.DataDirectory()}
                        : QStringList{places.DataDirectory(), recoveryFallback});

    form.SetStartupArguments(arguments);
    // Started hidden, the program lives in the tray until restored; without a tray there
    // would be no way to it, so it shows anyway.
    if (!hidden || !TOrvaneForm::TrayAvailable()) {
        restore();
    }
    const int result = QApplication::exec();
    form.Shutdown(); // nothing more when the end passed through Exit
    InstallServices({});
    return result;
}
