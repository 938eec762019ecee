#include "platform/DesktopShell.h"

#include "platform/Utf8Text.h"

#include "core/comm/phone_extension.h"

#include <QFileInfo>

namespace quill::platform {

QString NotFoundText(const QString& path) {
    return QStringLiteral("Cannot find \"%1\". Make sure the path is right, then try again.")
        .arg(path);
}

QString NotOpenedText(const QString& documentOrUrl) {
    return QStringLiteral("\"%1\" could not be opened: no program on this desktop is set up to "
                          "open it.")
        .arg(documentOrUrl);
}

QString NotStartedText(const QString& program) {
    return QStringLiteral("The program \"%1\" could not be started.").arg(program);
}

QString OpenerFailedText(const QString& documentOrUrl) {
    return QStringLiteral("\"%1\" could not be opened: the program this desktop opens it with "
                          "reported an error.")
        .arg(documentOrUrl);
}

QString TelephoneUri(std::string_view number) {
    // An extension written behind the number goes as its own parameter: its digits run on
    // into the number dialled otherwise ("555-1234 ext. 7" dialled 555-1234.7).
    const NumberAndExtension parts = SplitExtension(number);
    QString digits;
    bool digitSeen = false;
    for (const char c : parts.number) {
        const bool dialable = (c >= '0' && c <= '9') || c == '*' || c == '#';
        const bool separator = c == '-' || c == '.' || c == '(' || c == ')';
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        // Words behind the number ("home", an extension with a mark of its own) end it.
        if (letter && digitSeen) {
            break;
        }
        if (dialable || separator || (c == '+' && digits.isEmpty())) {
            digits += QLatin1Char(c);
            digitSeen = digitSeen || dialable;
        }
    }
    // '#' would start a fragment in a URI.
    digits.replace(QLatin1Char('#'), QStringLiteral("%23"));
    QString uri = QStringLiteral("tel:") + digits;
    if (digitSeen && !parts.extension.empty()) {
        uri += QStringLiteral(";ext=") + FromUtf8(parts.extension);
    }
    return uri;
}

DesktopShell::DesktopShell(std::function<void(const QString&)> report)
    : report_(std::move(report)) {}

void DesktopShell::Report(const QString& text) const {
    if (report_) {
        report_(text);
    }
}

OpenFailure DesktopShell::ReportOpenFailure(const QString& documentOrUrl) const {
    // The verdict comes after this call has returned: the report is kept, not this shell.
    return [report = report_, documentOrUrl](int status) {
        if (report) {
            // xdg-open: 3 is "no method available", the rest a handler that failed.
            report(status == 3 ? NotOpenedText(documentOrUrl) : OpenerFailedText(documentOrUrl));
        }
    };
}

void DesktopShell::OpenDocument(std::string_view path) {
    if (path.empty()) {
        return;
    }
    const QString document = FromUtf8(path);
    // The desktop's opener would fail on a missing file in the background, unseen.
    if (!HasUrlScheme(document) && !QFileInfo::exists(document)) {
        Report(NotFoundText(document));
        return;
    }
    if (!platform::OpenDocument(document, ReportOpenFailure(document))) {
        Report(NotOpenedText(document));
    }
}

void DesktopShell::StartProgram(std::string_view program, std::string_view parameters,
                                std::string_view workingDirectory) {
    if (program.empty()) {
        return;
    }
    const QString file = FromUtf8(program);
    if (StartOrOpen(file, FromUtf8(parameters), FromUtf8(workingDirectory),
                    ReportOpenFailure(file))) {
        return;
    }
    Report(QFileInfo::exists(file) ? NotStartedText(file) : NotFoundText(file));
}

void DesktopShell::MakeCall(std::string_view number, std::string_view, std::string_view,
                            std::string_view) {
    // A tel link carries the number alone; the dialer shows whom it calls.
    const QString uri = TelephoneUri(number);
    if (uri.size() > 4 && !platform::OpenDocument(uri, ReportOpenFailure(uri))) {
        Report(NotOpenedText(uri));
    }
}

} // namespace quill::platform
