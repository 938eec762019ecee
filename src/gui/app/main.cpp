// Quillmere's entry: start-up in order, the message loop, and the end that saves.

#include "core/app/command_line.h"
#include "core/comm/browser_dde.h"
#include "core/model/item_factory.h"
#include "core/services.h"
#include "core/storage/net_preferences.h"
#include "gui/app/TOrvaneForm.h"
#include "gui/common/ImageLists.h"
#include "gui/common/Pictures.h"
#include "gui/common/Prompter.h"
#include "gui/common/TProgressForm.h"
#include "gui/editors/ItemEditors.h"
#include "gui/editors/RecurringDateDlg.h"
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

    // Registering with the automation bus comes with the automation object; these switches
    // end at once without a window, as they always have.
    const StartMode mode = ParseStartMode(args);
    if (mode == StartMode::RegServer || mode == StartMode::UnregServer) {
        return 0;
    }
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
    // The browser link lives for the whole run, with the browser preferences read once.
    const std::string settingsFile = places.SettingsFile().toStdString();
    platform::LinuxBrowserLink browserLink;
    TBrowserDDE browser(browserLink, ReadBrowserDde(settingsFile), ReadBrowserPath(settingsFile));
    // Documents and tools ask for their icons while the data file loads.
    InstallServices({nullptr, nullptr, &images, &clipboard, nullptr, nullptr, nullptr, &shell});
    TProgressForm progress;
    TMainForm form(images, "quil.dat", settingsFile);
    form.SetProgressWindow(&progress);
    form.SetTrayToolsMenu(tray.ToolsMenu());
    form.BuildToolsMenus();
    ItemEditors editors({&form, [&form] { return form.CategoryNames(); }, &images});
    DatePicker datePicker;
    TMailHost mailHost(form);
    platform::LinuxMapi mapi([&form] { return &form.Outline(); }, mailHost);
    InstallServices({nullptr, nullptr, &images, &clipboard, &form, &editors, &datePicker, &shell,
                     &mapi, &browser, &mailHost});

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
    QObject::connect(&form, &TMainForm::exitRequested, &app, &QApplication::quit);
    QObject::connect(&form, &TMainForm::trayToolTipChanged, &tray, &TOrvaneForm::SetToolTip);
    QObject::connect(&instance, &platform::SingleInstance::commandLineReceived, &form,
                     [&form](const QString& commandLine) { form.OpenCommandLine(commandLine); });
    QObject::connect(&tray, &TOrvaneForm::getUrlRequested, &form, &TMainForm::GetUrlBtnClick);
    form.RefreshList(); // the tray's tooltip shows the selected node's path from now on

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
