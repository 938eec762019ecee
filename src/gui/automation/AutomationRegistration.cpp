#include "gui/automation/AutomationRegistration.h"

#include "core/app/command_line.h"
#include "core/automation/activation_file.h"
#include "platform/Places.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <string>
#include <vector>

namespace quill::gui {
namespace {

// The running executable, whatever path it was started by.
QString ProgramPath() {
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

bool Fail(QString* error, const QString& text) {
    if (error) {
        *error = text;
    }
    return false;
}

} // namespace

QString ActivationServicesDirectory(const QProcessEnvironment& environment) {
    QString dataHome = environment.value(QStringLiteral("XDG_DATA_HOME"));
    if (dataHome.isEmpty() || !QDir::isAbsolutePath(dataHome)) {
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return QString::fromStdString(ActivationDirectory(QDir::cleanPath(dataHome).toStdString()));
}

bool RegisterServer(QString* error) {
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString program = ProgramPath();
    if (program.isEmpty()) {
        return Fail(error, QStringLiteral("cannot find the program's own file to register."));
    }
    QString dataHome;
    if (!environment.value(QStringLiteral("QUILLMERE_HOME")).isEmpty()) {
        dataHome = platform::Places::FromEnvironment(environment).DataDirectory();
    }
    const std::string text = ActivationFileText(program.toStdString(), dataHome.toStdString());
    if (text.empty()) {
        return Fail(error, QStringLiteral("a path with a line break cannot be registered."));
    }
    std::string why;
    if (!WriteActivationFile(ActivationServicesDirectory(environment).toStdString(), text, &why)) {
        return Fail(error, QString::fromStdString(why));
    }
    return true;
}

bool UnregisterServer(QString* error) {
    std::string why;
    if (!RemoveActivationFile(ActivationServicesDirectory().toStdString(), &why)) {
        return Fail(error, QString::fromStdString(why));
    }
    return true;
}

std::optional<int> RunRegistrationSwitch(int argc, char** argv) {
    const std::vector<std::string> arguments(argv, argv + argc);
    const StartMode mode = ParseStartMode(arguments);
    if (mode != StartMode::RegServer && mode != StartMode::UnregServer) {
        return std::nullopt;
    }
    QString error;
    const bool done =
        mode == StartMode::RegServer ? RegisterServer(&error) : UnregisterServer(&error);
    if (!done) {
        std::fprintf(stderr, "Quillmere: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}

} // namespace quill::gui
