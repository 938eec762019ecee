// The files a command line names: the program's own at the first show, another start's as
// it is handed over, each imported under the top node.

#include "gui/mainwindow/TMainForm.h"

#include "core/app/command_line.h"
#include "core/exchange/vcard.h"
#include "core/storage/data_file.h"
#include "gui/common/TProgressForm.h"
#include "gui/exchange/TVCImportDlg.h"
#include "gui/exchange/WorkProgress.h"
#include "platform/Utf8Text.h"

#include <QFileInfo>
#include <QTimer>

namespace quill::gui {
namespace {

// How often a command line handed over during long work looks whether the work is done.
constexpr int kWaitingRetryMs = 250;

} // namespace

bool TMainForm::BusyWithLongWork() const {
    // An import that asks about a card hides its progress window meanwhile: still busy.
    return WorkProgress::AnyRunning() || (progress_ && progress_->isVisible());
}

void TMainForm::OpenCommandLine(const QString& commandLine) {
    // Handed over in the middle of an import, export or search, the files would be imported
    // inside it: under its progress window, its Cancel and its undo. They wait for its end.
    if (BusyWithLongWork()) {
        waitingCommandLines_ << commandLine;
        if (waitingCommandLines_.size() == 1) {
            QTimer::singleShot(kWaitingRetryMs, this, &TMainForm::OpenWaitingCommandLines);
        }
        return;
    }
    const std::vector<std::string> arguments = SplitCommandLine(commandLine.toStdString());
    QStringList list;
    for (const std::string& argument : arguments) {
        list << QString::fromStdString(argument);
    }
    OpenCommandLine(list);
}

void TMainForm::OpenWaitingCommandLines() {
    if (BusyWithLongWork()) {
        QTimer::singleShot(kWaitingRetryMs, this, &TMainForm::OpenWaitingCommandLines);
        return;
    }
    // In the order they came; one that finds new work running waits again.
    while (!waitingCommandLines_.isEmpty() && !BusyWithLongWork()) {
        OpenCommandLine(waitingCommandLines_.takeFirst());
    }
}

void TMainForm::OpenStartupArguments() {
    if (!firstShow_) {
        return;
    }
    firstShow_ = false;
    OpenCommandLine(startupArguments_);
}

void TMainForm::OpenCommandLine(const QStringList& arguments) {
    // Another start's files come after the program's own, even when they arrive before
    // the window was first shown.
    if (firstShow_) {
        OpenStartupArguments();
    }
    if (isMinimized()) {
        showNormal();
    }
    show();
    raise();
    activateWindow();
    std::vector<std::string> list;
    for (const QString& argument : arguments) {
        list.push_back(argument.toStdString());
    }
    // Paths keep their case (file names on this system depend on it); the extensions are
    // matched without regard to case.
    for (const CommandLineImport& file : CommandLineImports(list)) {
        // Looked at before it is opened: the exchange reader passes over a file it cannot
        // open (a paste with no clipboard file yet), while a file named here is worth a word;
        // and a pipe or device another program names would hold the window while it waits.
        const QFileInfo named(QString::fromStdString(file.path));
        FileResult imported;
        if (!named.exists()) {
            imported =
                FileResult::Failure("Cannot open \"" + file.path + "\": No such file or directory");
        } else if (!named.isFile() && !named.isDir()) {
            imported = FileResult::Failure("Cannot open \"" + file.path + "\": it is not a file");
        } else {
            imported = ImportStartFile(file);
        }
        RefreshList();
        if (!imported && !imported.message.empty()) {
            ShowFileProblem(imported);
        }
    }
}

FileResult TMainForm::ImportStartFile(const CommandLineImport& file) {
    // Without the progress window: shown and hidden around a file handed over with the
    // window's activation, it left the desktop's focus on the main window while the toolkit
    // still took the hidden progress window for the focused one, and no key reached the
    // main window until the user switched windows.
    if (file.kind == CommandLineFile::ExchangeFile) {
        FileResult imported = ImportFile(Root(), file.path);
        SortWholeTree();
        return imported;
    }
    TVCardImportChoice choice(this);
    return ImportVCardFile(file.path, Root(), choice, nullptr, ToUtf8(CategoryNames()));
}

} // namespace quill::gui
