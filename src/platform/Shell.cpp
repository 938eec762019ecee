#include "platform/Shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace quill::platform {

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

bool OpenDocument(const QString& documentOrUrl) {
    if (documentOrUrl.isEmpty()) {
        return false;
    }
    const QUrl url = HasUrlScheme(documentOrUrl)
                         ? QUrl(documentOrUrl, QUrl::TolerantMode)
                         : QUrl::fromLocalFile(QFileInfo(documentOrUrl).absoluteFilePath());
    return url.isValid() && QDesktopServices::openUrl(url);
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
                 const QString& workingDirectory) {
    const QFileInfo info(program);
    if (info.isFile() && info.isExecutable()) {
        return StartProgram(program, argumentText, workingDirectory);
    }
    // What the shell's "open" does with a file that is not a program; parameters would be
    // lost on it, so then nothing is done.
    return argumentText.trimmed().isEmpty() && info.exists() && OpenDocument(program);
}

} // namespace quill::platform
