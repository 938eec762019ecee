// The files a command line names: the program's own at the first show, another start's as
// it is handed over, each imported under the top node with the progress window.

#include "gui/mainwindow/TMainForm.h"

#include "core/app/command_line.h"
#include "core/exchange/vcard.h"
#include "core/storage/data_file.h"
#include "core/wizards/import_recorder.h"
#include "gui/common/TProgressForm.h"
#include "gui/exchange/TVCImportDlg.h"
#include "gui/exchange/UndoableImport.h"
#include "gui/exchange/WorkProgress.h"
#include "platform/Utf8Text.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

namespace quill::gui {
namespace {

// How often a command line handed over during long work looks whether the work is done.
constexpr int kWaitingRetryMs = 250;
// How often a named file looks whether the window is active, how long the window is to have
// been active before the progress window shows (the desktop's focus changes that come with
// an activation arrive in more than one step), and how long a file waits for that at most.
constexpr int kActivationLookMs = 20;
constexpr qint64 kSettleMs = 150;
constexpr qint64 kActivationWaitMs = 1000;

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
    const bool idle = namedFiles_.isEmpty();
    for (const CommandLineImport& file : CommandLineImports(list)) {
        namedFiles_ << QString::fromStdString(file.path);
    }
    if (idle && !namedFiles_.isEmpty()) {
        namedFileWait_.start();
        activeFor_.invalidate();
        LookAgainAtNamedFiles(kActivationLookMs);
    }
}

void TMainForm::LookAgainAtNamedFiles(int milliseconds) {
    if (namedFilesLook_) {
        return;
    }
    namedFilesLook_ = true;
    QTimer::singleShot(milliseconds, this, [this] {
        namedFilesLook_ = false;
        ImportNamedFiles();
    });
}

void TMainForm::ImportNamedFiles() {
    if (importingNamedFile_) {
        return; // the import running now goes on with the rest
    }
    while (!namedFiles_.isEmpty()) {
        if (BusyWithLongWork()) {
            // Started meanwhile (the wizard): the wait for the window begins again after it.
            namedFileWait_.start();
            activeFor_.invalidate();
            LookAgainAtNamedFiles(kWaitingRetryMs);
            return;
        }
        // The progress window is modal: had the desktop's activation of this window reached
        // the toolkit while it is shown, the toolkit would have passed the focus on to it, and
        // once it is hidden no key would reach this window until the user switched windows.
        // So it is shown only after this window has been active for a moment.
        const bool active = QApplication::activeWindow() == this &&
                            !QApplication::activeModalWidget() &&
                            !QApplication::activePopupWidget();
        if (!active) {
            activeFor_.invalidate();
        } else if (!activeFor_.isValid()) {
            activeFor_.start();
        }
        const bool settled = activeFor_.isValid() && activeFor_.elapsed() >= kSettleMs;
        if (!settled && namedFileWait_.elapsed() < kActivationWaitMs) {
            LookAgainAtNamedFiles(kActivationLookMs);
            return;
        }
        const std::string path = namedFiles_.takeFirst().toStdString();
        importingNamedFile_ = true;
        ImportNamedFile({ClassifyArgument(path), path}, settled);
        importingNamedFile_ = false;
        namedFileWait_.start();
        activeFor_.invalidate();
    }
}

void TMainForm::ImportNamedFile(const CommandLineImport& file, bool withProgress) {
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
        imported = ImportStartFile(file, withProgress);
    }
    RefreshList();
    if (!imported && !imported.message.empty()) {
        ShowFileProblem(imported);
    }
}

FileResult TMainForm::ImportStartFile(const CommandLineImport& file, bool withProgress) {
    const bool exchangeFile = file.kind == CommandLineFile::ExchangeFile;
    const auto import = [&](IVCardImportChoice& choice) {
        return exchangeFile
                   ? ImportFile(Root(), file.path)
                   : ImportVCardFile(file.path, Root(), choice, nullptr, ToUtf8(CategoryNames()));
    };
    FileResult imported;
    if (withProgress) {
        TImportRecorder recorder(outline_);
        const UndoableImportOutcome outcome =
            RunUndoableImport(&recorder, progress_,
                              QStringLiteral("Importing: %1")
                                  .arg(QFileInfo(QString::fromStdString(file.path)).fileName()),
                              this, import);
        if (outcome.cancelled) {
            return {}; // the user asked for it, so nothing is said
        }
        imported = outcome.result;
    } else {
        // Without the progress window when this window did not become active: shown around
        // the window's own activation, the modal progress window would keep the keyboard.
        TVCardImportChoice choice(this);
        imported = import(choice);
    }
    if (exchangeFile) {
        SortWholeTree();
    }
    return imported;
}

} // namespace quill::gui
