// Quillmere's entry: start-up in order, the message loop, and the end that saves.

#include "core/app/command_line.h"
#include "core/model/item_factory.h"
#include "core/services.h"
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
#include "gui/mainwindow/TMainForm.h"
#include "platform/DesktopShell.h"
#include "platform/Places.h"
#include "platform/QtClipboard.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationSignals.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QSessionManager>

#include <chrono>

namespace {

std::vector<std::string> ToStrings(const QStringList& list) {
    std::vector<std::string> out;
    for (const QString& s : list) {
        out.push_back(s.toStdString());
    }
    return out;
}

} // namespace

int main(int argc, char* argv[]) {
    using namespace quill;
    using namespace quill::gui;

    // REGSERVER and UNREGSERVER register with the bus or take it back and end at once,
    // before anything needs a display.
    if (const std::optional<int> registered = RunRegistrationSwitch(argc, argv)) {
        return *registered;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmere"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quillmere"));
    QApplication::setWindowIcon(ProgramIcon());
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
    if (instance.TryHandOver(arguments)) {
        return 0;
    }
    if (!instance.Listen() && instance.TryHandOver(arguments)) {
        return 0; // another first start won the race
    }
    QString problem;
    if (!places.Establish(&problem)) {
        Prompter::Ask(nullptr, problem, QStringLiteral("Quillmere"), QMessageBox::Ok,
                      QMessageBox::Critical);
        return 1;
    }

    TOrvaneForm tray;
    ImageLists images;
    platform::QtClipboard clipboard;
    platform::DesktopShell shell;
    // Documents and tools ask for their icons while the data file loads.
    InstallServices({nullptr, nullptr, &images, &clipboard, nullptr, nullptr, nullptr, &shell});
    TProgressForm progress;
    TMainForm form(images, "quil.dat", places.SettingsFile().toStdString());
    form.SetProgressWindow(&progress);
    form.SetTrayToolsMenu(tray.ToolsMenu());
    form.BuildToolsMenus();
    ItemEditors editors({&form, [&form] { return form.CategoryNames(); }, &images});
    DatePicker datePicker;
    InstallServices({nullptr, nullptr, &images, &clipboard, &form, &editors, &datePicker, &shell});

    const auto restore = [&form] {
        if (form.isMinimized()) {
            form.showNormal();
        }
        form.show();
        form.raise();
        form.activateWindow();
    };
    QObject::connect(&tray, &TOrvaneForm::restoreRequested, &form, restore);
    QObject::connect(&tray, &TOrvaneForm::exitRequested, &app, &QApplication::quit);
    // Other programs drive the outline over the session bus; a normal start registers.
    MainFormAutomationHost automationHost(form);
    AutomationServer automation(automationHost, mode == StartMode::Automation);
    QObject::connect(&automation, &AutomationServer::lastObjectReleased, &app, &QApplication::quit);
    automation.Start(mode == StartMode::Normal);
    QObject::connect(&form, &TMainForm::exitRequested, &app, &QApplication::quit);
    QObject::connect(&form, &TMainForm::trayToolTipChanged, &tray, &TOrvaneForm::SetToolTip);
    QObject::connect(&instance, &platform::SingleInstance::commandLineReceived, &form,
                     [&form](const QString& commandLine) { form.OpenCommandLine(commandLine); });
    form.RefreshList(); // the tray's tooltip shows the selected node's path from now on
    tray.GetBrowserUrlAction()->setEnabled(false); // the browser link comes with its own work

    // Ended by the system or the session, the program saves as Exit does.
    platform::WatchTerminationSignals([] { QApplication::quit(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form,
                     [&form](QSessionManager&) { form.Write(); });

    form.SetStartupArguments(arguments);
    // Started hidden, the program lives in the tray until restored; without a tray there
    // would be no way to it, so it shows anyway.
    if (!hidden || !TOrvaneForm::TrayAvailable()) {
        restore();
    }
    const int result = QApplication::exec();
    form.Shutdown();
    InstallServices({});
    return result;
}
