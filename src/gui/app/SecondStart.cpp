#include "gui/app/SecondStart.h"

#include "core/app/command_line.h"
#include "gui/common/Prompter.h"
#include "platform/SingleInstance.h"

namespace quill::gui {

std::optional<int> HandOverToRunningCopy(platform::SingleInstance& instance,
                                         const QStringList& arguments, int timeoutMs) {
    bool acknowledged = false;
    if (!instance.TryHandOver(arguments, timeoutMs, &acknowledged)) {
        return std::nullopt;
    }
    if (acknowledged) {
        return 0;
    }
    // This copy still ends: two copies would write the same data file.
    Prompter::Ask(nullptr, UnansweredHandOverText(arguments), QStringLiteral("Quillmere"),
                  QMessageBox::Ok, QMessageBox::Warning);
    return 1;
}

QString UnansweredHandOverText(const QStringList& arguments) {
    std::vector<std::string> args;
    for (const QString& argument : arguments) {
        args.push_back(argument.toStdString());
    }
    QStringList files;
    for (const CommandLineImport& import : CommandLineImports(args)) {
        files << QString::fromStdString(import.path);
    }
    const QString unanswered =
        QStringLiteral("Quillmere is already running, but it did not answer.");
    if (files.isEmpty()) {
        return unanswered + QStringLiteral(" Wait until its window responds, then try again.");
    }
    // What was sent stays waiting for it: a copy that was only busy still imports the files.
    return unanswered +
           QStringLiteral(" If it is only busy, it imports these files when it is free; if it "
                          "has stopped responding, they are not imported:\n\n") +
           files.join(QLatin1Char('\n')) +
           QStringLiteral("\n\nIf they do not appear in the outline, open them again once "
                          "Quillmere responds.");
}

} // namespace quill::gui
