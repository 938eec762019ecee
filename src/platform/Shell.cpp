#include "platform/Shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace quill::platform {
namespace {

// xdg-open finds out within this time whether anything can open a text. Later it is only
// passing on the exit of a viewer it ran in the foreground, which did open the document.
constexpr qint64 kOpenerVerdictMs = 15000;

// Runs xdg-open on the argument and watches its exit without waiting for it. False when it
// is not there or cannot be started.
bool RunOpener(const QString& argument, OpenFailure onFailure) {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        return false;
    }
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(opener);
    process->setArguments({argument});
    // A viewer it starts inherits these: nothing here reads them.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    QObject::connect(process, &QProcess::finished, process,
                     [process, clock, onFailure](int status, QProcess::ExitStatus how) {
                         const bool soon = clock.elapsed() < kOpenerVerdictMs;
                         process->deleteLater();
                         if (how == QProcess::NormalExit && status != 0 && soon && onFailure) {
                             onFailure(status);
                         }
                     });
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        return false;
    }
    return true;
}

} // namespace

bool HasUrlScheme(const QString& text) {
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon < 2) {
        return false;
    }
    for (qsizetype i = 0; i < colon; ++i) {
        const QChar c = text[i];
        const bool letter = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                            (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
        const bool other =
            c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('.');
        if (!letter && (i == 0 || !other)) {
            return false;
        }
    }
    return true;
}

bool OpenDocument(const QString& documentOrUrl, OpenFailure onFailure) {
    if (documentOrUrl.isEmpty()) {
        return false;
    }
    const QUrl url = HasUrlScheme(documentOrUrl)
                         ? QUrl(documentOrUrl, QUrl::TolerantMode)
                         : QUrl::fromLocalFile(QFileInfo(documentOrUrl).absoluteFilePath());
    if (!url.isValid()) {
        return false;
    }
    // Qt would start the opener detached, and its failure would go unseen; without
    // xdg-open, Qt's own choice of opener is the best there is.
    const QString argument =
        url.isLocalFile() ? url.toLocalFile() : QString::fromLatin1(url.toEncoded());
    return RunOpener(argument, std::move(onFailure)) || QDesktopServices::openUrl(url);
}

bool StartProgram(const QString& program, const QStringList& arguments,
                  const QString& workingDirectory) {
    if (program.isEmpty()) {
        return false;
    }
    const QString directory = workingDirectory.isEmpty() ? QDir::currentPath() : workingDirectory;
    return QProcess::startDetached(program, arguments, directory);
}

bool StartProgram(const QString& program, const QString& argumentText,
                  const QString& workingDirectory) {
    return StartProgram(program, QProcess::splitCommand(argumentText), workingDirectory);
}

bool StartOrOpen(const QString& program, const QString& argumentText,
                 const QString& workingDirectory, OpenFailure onFailure) {
    const QFileInfo info(program);
    if (info.isFile() && info.isExecutable()) {
        return StartProgram(program, argumentText, workingDirectory);
    }
    // What the shell's "open" does with a file that is not a program; parameters would be
    // lost on it, so then nothing is done.
    return argumentText.trimmed().isEmpty() && info.exists() &&
           OpenDocument(program, std::move(onFailure));
}

} // namespace quill::platform
