// Saving, reverting and what the end of the program keeps: the data file first, and where it
// cannot take the outline, a copy elsewhere, so that no edit of the run is lost.

#include "gui/mainwindow/TMainForm.h"

#include "core/storage/recovery_files.h"
#include "gui/common/Prompter.h"
#include "gui/mainwindow/Autosaver.h"
#include "gui/mainwindow/OutlineTreeModel.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTreeView>

#include <cstdio>

namespace quill::gui {
namespace {

QString DataFileShown(const std::string& path) {
    return QDir::toNativeSeparators(QFileInfo(QString::fromStdString(path)).absoluteFilePath());
}

void Report(const QString& text) {
    std::fprintf(stderr, "Quillmere: %s\n", text.toLocal8Bit().constData());
}

} // namespace

TMainForm::DiskChangeAnswer TMainForm::AskAboutChangeOnDisk() {
    const QString text =
        QStringLiteral("The data file %1 was changed by another program after Quillmere read it."
                       "\n\nSaving now replaces what that program wrote with the contacts shown "
                       "here.")
            .arg(DataFileShown(dataFile_.Path()));
    const int choice =
        Prompter::AskChoice(this, text, QStringLiteral("Quillmere"),
                            {QStringLiteral("&Overwrite"), QStringLiteral("Save &Elsewhere..."),
                             QStringLiteral("Cancel")},
                            QMessageBox::Warning, 2, 2);
    switch (choice) {
    case 0:
        return DiskChangeAnswer::Overwrite;
    case 1:
        return DiskChangeAnswer::SaveElsewhere;
    default:
        return DiskChangeAnswer::Cancel;
    }
}

bool TMainForm::SaveElsewhere() {
    const QString path =
        Prompter::SaveFileName(this, QStringLiteral("Save Contacts Elsewhere"),
                               QDir::homePath() + QStringLiteral("/quil.dat"),
                               QStringLiteral("Quillmere data files (*.dat);;All files (*)"));
    if (path.isEmpty()) {
        return false;
    }
    const FileResult written = WriteDataFileCopy(outline_, path.toStdString());
    if (!written) {
        ShowFileProblem(written);
        return false;
    }
    return true;
}

bool TMainForm::Write() {
    if (dataFile_.ChangedOnDisk()) {
        switch (AskAboutChangeOnDisk()) {
        case DiskChangeAnswer::Overwrite:
            break;
        case DiskChangeAnswer::SaveElsewhere:
            return SaveElsewhere();
        case DiskChangeAnswer::Cancel:
            return false;
        }
    }
    FileResult saved = dataFile_.SaveDataFile(outline_);
    if (!saved) {
        ShowFileProblem(saved);
        return false;
    }
    autosaver_->Discard();
    return true;
}

void TMainForm::Save1Click() {
    Write();
}

bool TMainForm::WriteRecoveryFile() {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QFileInfo data(QString::fromStdString(dataFile_.Path()));
    const std::string name = data.fileName().toStdString();
    QStringList directories{data.absolutePath()};
    QString problem;
    for (int d = 0; d < 2; ++d) {
        if (d == 1) {
            // Asked only now: the fallback directory is made on demand.
            const QString fallback = recoveryFallback_ ? recoveryFallback_() : QString();
            if (fallback.isEmpty()) {
                break;
            }
            directories << fallback;
        }
        for (int attempt = 1; attempt <= 50; ++attempt) {
            const QString path =
                directories.at(d) + QLatin1Char('/') +
                QString::fromStdString(RecoveryFileName(name, stamp.toStdString(), attempt));
            const FileResult written = WriteDataFileCopy(outline_, path.toStdString(),
                                                         {.userOnly = true, .exclusive = true});
            if (written) {
                recoveryFile_ = path;
                return true;
            }
            problem = QString::fromStdString(written.message);
            if (!QFileInfo::exists(path)) {
                break; // not a name taken in the same second: this directory takes nothing
            }
        }
    }
    Report(QStringLiteral("the contacts could not be kept anywhere: %1").arg(problem));
    return false;
}

TMainForm::ExitSave TMainForm::SaveForExit(bool attended) {
    const auto unattendedCopy = [this](const QString& why) {
        if (!WriteRecoveryFile()) {
            return ExitSave::Failed;
        }
        Report(QStringLiteral("%1; the contacts were written to %2").arg(why, recoveryFile_));
        autosaver_->Discard(); // the recovery file is newer and whole
        return ExitSave::Recovered;
    };
    for (;;) {
        if (dataFile_.ChangedOnDisk()) {
            if (!attended) {
                return unattendedCopy(QStringLiteral("%1 was changed by another program")
                                          .arg(DataFileShown(dataFile_.Path())));
            }
            const DiskChangeAnswer answer = AskAboutChangeOnDisk();
            if (answer == DiskChangeAnswer::Cancel) {
                return ExitSave::Cancelled;
            }
            if (answer == DiskChangeAnswer::SaveElsewhere) {
                if (SaveElsewhere()) {
                    autosaver_->WriteNow();
                    return ExitSave::SavedElsewhere;
                }
                continue;
            }
        }
        const FileResult saved = dataFile_.SaveDataFile(outline_);
        if (saved) {
            autosaver_->Discard();
            return ExitSave::Saved;
        }
        if (!attended) {
            return unattendedCopy(QString::fromStdString(saved.message));
        }
        const QString text =
            QStringLiteral("Quillmere could not save your contacts.\n\n%1\n\nNothing is lost yet: "
                           "Quillmere stays open. Try again once the problem is fixed (free some "
                           "disk space, for instance), or save the contacts to another file.")
                .arg(QString::fromStdString(saved.message));
        const int choice = Prompter::AskChoice(
            this, text, QStringLiteral("Quillmere"),
            {QStringLiteral("&Try Again"), QStringLiteral("Save &Elsewhere..."),
             QStringLiteral("E&xit and Lose Changes"), QStringLiteral("Cancel")},
            QMessageBox::Critical, 0, 3);
        switch (choice) {
        case 0:
            continue;
        case 1:
            if (SaveElsewhere()) {
                autosaver_->WriteNow();
                return ExitSave::SavedElsewhere;
            }
            continue;
        case 2:
            // The autosave copy stays: the next start still offers it.
            autosaver_->WriteNow();
            return ExitSave::Discarded;
        default:
            return ExitSave::Cancelled;
        }
    }
}

void TMainForm::SaveLayoutsAndTools() {
    // A window that was never shown has no layout of its own: the stored one stays.
    std::string layoutProblem;
    std::string toolsProblem;
    if (!(EverShown() ? winState_->Finish(&layoutProblem) : winState_->Save(&layoutProblem))) {
        Report(QString::fromStdString(layoutProblem));
    }
    if (!tools_.Save(iniPath_, &toolsProblem)) {
        Report(QString::fromStdString(toolsProblem));
    }
}

bool TMainForm::Finish(bool attended) {
    if (shutDown_) {
        return true;
    }
    if (SaveForExit(attended) == ExitSave::Cancelled) {
        return false;
    }
    shutDown_ = true;
    SaveLayoutsAndTools();
    return true;
}

void TMainForm::Revert1Click() {
    const auto answer = Prompter::Ask(
        this,
        QStringLiteral("This option will lose all changes made during this session. Are you sure?"),
        QStringLiteral("Revert to Saved"), QMessageBox::Ok | QMessageBox::Cancel,
        QMessageBox::Question, QMessageBox::Cancel); // Enter must not throw the session away
    if (answer != QMessageBox::Ok) {
        return;
    }
    // Everything goes, the root and what it holds included, so the outline is exactly what
    // the file gives.
    outline_.BeginUpdate();
    FileResult loaded = dataFile_.ReloadDataFile(outline_);
    SortWholeTree();
    outline_.EndUpdate();
    folders_->expand(treeModel_->IndexOf(Root()));
    SelectNode(Root());
    RefreshList();
    autosaver_->Discard();
    if (!loaded) {
        ShowFileProblem(loaded);
    }
}

bool TMainForm::RestoreFrom(const QString& path) {
    FileResult loaded = dataFile_.ReloadDataFile(outline_, path.toStdString());
    folders_->expand(treeModel_->IndexOf(Root()));
    SelectNode(Root());
    RefreshList();
    // Not in the data file yet: the copy is kept until a save.
    autosaver_->MarkChanged();
    if (!loaded) {
        ShowFileProblem(loaded);
        return false;
    }
    return true;
}

} // namespace quill::gui
