#include "platform/DesktopShell.h"

#include "platform/Utf8Text.h"

#include "platform/Shell.h"

namespace quill::platform {
namespace {} // namespace

QString TelephoneUri(std::string_view number) {
    QString digits;
    for (const char c : number) {
        const bool dialable = (c >= '0' && c <= '9') || c == '*' || c == '#';
        const bool separator = c == '-' || c == '.' || c == '(' || c == ')';
        if (dialable || separator || (c == '+' && digits.isEmpty())) {
            digits += QLatin1Char(c);
        }
    }
    // '#' would start a fragment in a URI.
    digits.replace(QLatin1Char('#'), QStringLiteral("%23"));
    return QStringLiteral("tel:") + digits;
}

void DesktopShell::OpenDocument(std::string_view path) {
    if (!path.empty()) {
        platform::OpenDocument(FromUtf8(path));
    }
}

void DesktopShell::StartProgram(std::string_view program, std::string_view parameters,
                                std::string_view workingDirectory) {
    if (program.empty()) {
        return;
    }
    StartOrOpen(FromUtf8(program), FromUtf8(parameters), FromUtf8(workingDirectory));
}

void DesktopShell::MakeCall(std::string_view number, std::string_view, std::string_view,
                            std::string_view) {
    // A tel link carries the number alone; the dialer shows whom it calls.
    const QString uri = TelephoneUri(number);
    if (uri.size() > 4) {
        platform::OpenDocument(uri);
    }
}

} // namespace quill::platform
