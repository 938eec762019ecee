// Quillmere's entry: start-up in order, the message loop, and the end that saves.

#include "core/model/item_factory.h"
#include "core/services.h"
#include "gui/common/ImageLists.h"
#include "gui/editors/ItemEditors.h"
#include "gui/editors/RecurringDateDlg.h"
#include "platform/QtClipboard.h"
#include "gui/mainwindow/TMainForm.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>

#include <chrono>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmere"));
    QApplication::setQuitOnLastWindowClosed(false);

    QString home = qEnvironmentVariable("QUILLMERE_HOME");
    if (home.isEmpty()) {
        home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
               QStringLiteral("/quillmere");
    }
    QDir().mkpath(home);
    QDir::setCurrent(home);
    quill::SeedItemIds(
        static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));

    quill::gui::ImageLists images;
    quill::platform::QtClipboard clipboard;
    quill::gui::TMainForm form(images, "quil.dat");
    quill::gui::ItemEditors editors({&form, [&form] { return form.CategoryNames(); }, &images});
    quill::gui::DatePicker datePicker;
    quill::InstallServices({nullptr, nullptr, &images, &clipboard, &form, &editors, &datePicker});
    QObject::connect(&form, &quill::gui::TMainForm::exitRequested, &app, &QApplication::quit);
    form.SetStartupArguments(QApplication::arguments());
    form.show();
    const int result = QApplication::exec();
    form.Shutdown();
    quill::InstallServices({});
    return result;
}
