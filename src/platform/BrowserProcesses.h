#pragma once
// The web browsers running for this user, found among the user's own processes: the main
// process of each Firefox-family and Chromium-family browser with its program and
// command line.

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace quill::platform {

enum class BrowserFamily { Firefox, Chromium };

struct BrowserProcess {
    BrowserFamily family = BrowserFamily::Firefox;
    qint64 pid = 0;
    QString executable;    // the program file the process runs
    QStringList arguments; // its command line after the program
};

// The family of a program by its file name ("firefox-esr", "chromium", "chrome" ...).
std::optional<BrowserFamily> FamilyOfProgram(const QString& fileName);

// The main browser processes of the user (helpers such as renderers and content processes
// are left out), in process-id order. procRoot is the proc file system.
std::vector<BrowserProcess> RunningBrowsers(const QString& procRoot = QStringLiteral("/proc"));

// The value of a command-line switch written "--name=value" or "--name value" (one or two
// leading dashes); none when it is not there.
std::optional<QString> SwitchValue(const QStringList& arguments, const QString& name);

} // namespace quill::platform
