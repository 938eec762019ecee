#include "gui/common/Help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#ifndef QUILL_SOURCE_ASSETS
#define QUILL_SOURCE_ASSETS ""
#endif

namespace quill::gui {
namespace {

QString Existing(const QString& path) {
    return QFileInfo::exists(path) ? QFileInfo(path).absoluteFilePath() : QString{};
}

void Open(const QString& page) {
    if (!page.isEmpty()) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(page));
    }
}

} // namespace

QString ProgramDataDirectory() {
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString installed = programDir + QStringLiteral("/../share/quillmere");
    if (QFileInfo(installed).isDir()) {
        return QDir(installed).absolutePath();
    }
    const QString source = QStringLiteral(QUILL_SOURCE_ASSETS);
    if (!source.isEmpty() && QFileInfo(source).isDir()) {
        return source;
    }
    return programDir;
}

QString HelpPage(int context) {
    return Existing(ProgramDataDirectory() + QStringLiteral("/help/%1.html").arg(context));
}

QString HelpContentsPage() {
    return Existing(ProgramDataDirectory() + QStringLiteral("/help/index.html"));
}

void OpenHelpTopic(int context) {
    Open(HelpPage(context));
}

void OpenHelpContents() {
    Open(HelpContentsPage());
}

} // namespace quill::gui
