#include "gui/app/StartupRecovery.h"

#include "core/storage/recovery_files.h"
#include "gui/common/Prompter.h"
#include "gui/mainwindow/TMainForm.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace quill::gui {
namespace {

QString WhenWritten(const QString& path) {
    return QLocale().toString(QFileInfo(path).lastModified(), QLocale::ShortFormat);
}

void OfferAutosave(TMainForm& form, const QString& dataFile) {
    const QString copy = QString::fromStdString(AutosavePath(dataFile.toStdString()));
    if (!NewerThanDataFile(copy.toStdString(), dataFile.toStdString())) {
        return;
    }
    const QString text =
        QStringLiteral("Quillmere did not end properly last time. A copy of your contacts that it "
                       "kept automatically (%1) is newer than the data file %2.\n\nRestore the "
                       "copy, or discard it and keep the contacts as they were last saved?")
            .arg(WhenWritten(copy),
                 QDir::toNativeSeparators(QFileInfo(dataFile).absoluteFilePath()));
    const int choice = Prompter::AskChoice(&form, text, QStringLiteral("Quillmere"),
                                           {QStringLiteral("&Restore"), QStringLiteral("&Discard")},
                                           QMessageBox::Question, 0, -1);
    if (choice == 0) {
        form.RestoreFrom(copy);
    } else if (choice == 1) {
        QFile::remove(copy);
    }
    // Closed without an answer: the copy stays and is offered again next time.
}

void OfferRecoveryFiles(TMainForm& form, const QString& dataFile, const QStringList& dirs) {
    std::vector<std::string> directories;
    for (const QString& dir : dirs) {
        directories.push_back(dir.toStdString());
    }
    const std::vector<std::string> found = NewerRecoveryFiles(directories, dataFile.toStdString());
    if (found.empty()) {
        return;
    }
    const QString newest = QString::fromStdString(found.front());
    QString text =
        QStringLiteral("At the end of an earlier run Quillmere could not save your contacts to "
                       "%1, so it wrote them to\n%2\n(%3).")
            .arg(QDir::toNativeSeparators(QFileInfo(dataFile).absoluteFilePath()),
                 QDir::toNativeSeparators(newest), WhenWritten(newest));
    if (found.size() > 1) {
        text += QStringLiteral("\n\n%1 older recovery files are beside it.").arg(found.size() - 1);
    }
    text += QStringLiteral("\n\nOpen the recovered contacts now in place of those read from the "
                           "data file, or keep the file where it is? Nothing is deleted.");
    const int choice =
        Prompter::AskChoice(&form, text, QStringLiteral("Quillmere"),
                            {QStringLiteral("&Open Now"), QStringLiteral("&Keep the File")},
                            QMessageBox::Information, 0, 1);
    if (choice == 0) {
        form.RestoreFrom(newest);
    }
}

} // namespace

void OfferKeptCopies(TMainForm& form, const QString& dataFile, const QStringList& recoveryDirs) {
    OfferAutosave(form, dataFile);
    OfferRecoveryFiles(form, dataFile, recoveryDirs);
}

} // namespace quill::gui
