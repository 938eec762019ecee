#include "platform/BrowserProcesses.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <unistd.h>

namespace quill::platform {
namespace {

QStringList CommandLine(const QString& procDir) {
    QFile file(procDir + QStringLiteral("/cmdline"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList parts;
    for (const QByteArray& part : file.readAll().split('\0')) {
        parts << QString::fromLocal8Bit(part);
    }
    if (!parts.isEmpty() && parts.back().isEmpty()) {
        parts.removeLast(); // after the final terminator
    }
    return parts;
}

// Browser helpers: Chromium's renderers, GPU and utility processes carry "--type=",
// Firefox's content processes "-contentproc". Chromium rewrites a helper's command line
// into one text, so the switches are looked for inside each part.
bool IsHelper(const QStringList& commandLine) {
    return std::any_of(commandLine.begin(), commandLine.end(), [](const QString& part) {
        return part.startsWith(QLatin1String("--type=")) ||
               part.contains(QLatin1String(" --type=")) || part == QLatin1String("-contentproc") ||
               part.contains(QLatin1String(" -contentproc"));
    });
}

} // namespace

std::optional<BrowserFamily> FamilyOfProgram(const QString& fileName) {
    static const QStringList firefox{QStringLiteral("firefox"),     QStringLiteral("firefox-esr"),
                                     QStringLiteral("firefox-bin"), QStringLiteral("librewolf"),
                                     QStringLiteral("waterfox"),    QStringLiteral("icecat"),
                                     QStringLiteral("iceweasel")};
    static const QStringList chromium{
        QStringLiteral("chromium"),   QStringLiteral("chromium-browser"),
        QStringLiteral("chrome"),     QStringLiteral("google-chrome"),
        QStringLiteral("brave"),      QStringLiteral("msedge"),
        QStringLiteral("vivaldi-bin")};
    if (firefox.contains(fileName)) {
        return BrowserFamily::Firefox;
    }
    if (chromium.contains(fileName)) {
        return BrowserFamily::Chromium;
    }
    return std::nullopt;
}

std::vector<BrowserProcess> RunningBrowsers(const QString& procRoot) {
    std::vector<BrowserProcess> found;
    const uint user = ::getuid();
    const QDir proc(procRoot);
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric) {
            continue;
        }
        const QString dir = proc.filePath(entry);
        // Only this user's processes: another user's browser is not ours to talk to.
        if (QFileInfo(dir).ownerId() != user) {
            continue;
        }
        const QString executable = QFileInfo(dir + QStringLiteral("/exe")).symLinkTarget();
        if (executable.isEmpty()) {
            continue;
        }
        QString name = QFileInfo(executable).fileName();
        // A program replaced while it runs shows as "name (deleted)".
        name.remove(QStringLiteral(" (deleted)"));
        const std::optional<BrowserFamily> family = FamilyOfProgram(name);
        if (!family) {
            continue;
        }
        QStringList arguments = CommandLine(dir);
        if (IsHelper(arguments)) {
            continue;
        }
        if (!arguments.isEmpty()) {
            arguments.removeFirst();
        }
        found.push_back(BrowserProcess{*family, pid, executable, arguments});
    }
    std::sort(found.begin(), found.end(),
              [](const BrowserProcess& a, const BrowserProcess& b) { return a.pid < b.pid; });
    return found;
}

std::optional<QString> SwitchValue(const QStringList& arguments, const QString& name) {
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString a = arguments[i];
        if (a.startsWith(QLatin1String("--"))) {
            a.remove(0, 2);
        } else if (a.startsWith(QLatin1Char('-'))) {
            a.remove(0, 1);
        } else {
            continue;
        }
        if (a == name) {
            if (i + 1 < arguments.size()) {
                return arguments[i + 1];
            }
            return std::nullopt;
        }
        if (a.startsWith(name + QLatin1Char('='))) {
            return a.mid(name.size() + 1);
        }
    }
    return std::nullopt;
}

} // namespace quill::platform
