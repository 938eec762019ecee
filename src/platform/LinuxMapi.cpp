#include "platform/LinuxMapi.h"

#include "core/model/nrb_object.h"
#include "platform/ProgramRun.h"
#include "platform/Utf8Text.h"

#include <QStandardPaths>

namespace quill::platform {
namespace {

// xdg-email's exit statuses.
constexpr int kMailerSyntaxError = 1;
constexpr int kMailerFileMissing = 2;
constexpr int kMailerToolMissing = 3;
constexpr int kMailerActionFailed = 4;
constexpr int kMailerNoPermission = 5;

bool IsFax(const MapiRecipDesc& recipient) {
    return recipient.address.starts_with(kFaxAddressType);
}

QString FaxNumber(const MapiRecipDesc& recipient) {
    return FromUtf8(std::string_view(recipient.address).substr(sizeof(kFaxAddressType) - 1));
}

// The mailbox a composer takes: the resolved address (without an "SMTP:" type) beside
// the name, or the name alone when it came without an address.
QString Mailbox(const MapiRecipDesc& recipient) {
    std::string_view address = recipient.address;
    if (address.starts_with("SMTP:")) {
        address.remove_prefix(5);
    }
    if (address.empty()) {
        return FromUtf8(recipient.name);
    }
    return FromUtf8(ComposerAddress(recipient.name, address));
}

} // namespace

LinuxMapi::LinuxMapi(std::function<const TOutline*()> outline, IMailDialogs& dialogs)
    : LinuxMapi(std::move(outline), dialogs, Programs{}) {}

LinuxMapi::LinuxMapi(std::function<const TOutline*()> outline, IMailDialogs& dialogs,
                     Programs programs)
    : outline_(std::move(outline)), dialogs_(dialogs), programs_(std::move(programs)) {}

std::optional<std::string> LinuxMapi::DefaultProfile() const {
    // The desktop keeps no messaging profiles: the session is our own.
    return std::nullopt;
}

MapiResult LinuxMapi::Logon(const std::optional<std::string>&, const std::optional<std::string>&,
                            unsigned long, MapiSession& session) {
    session = ++lastSession_;
    sessions_.insert(session);
    return SUCCESS_SUCCESS;
}

MapiResult LinuxMapi::Logoff(MapiSession session) {
    return sessions_.erase(session) > 0 ? SUCCESS_SUCCESS : MAPI_E_INVALID_SESSION;
}

MapiResult LinuxMapi::FreeBuffer(MapiRecipDesc* buffer) {
    delete buffer;
    return SUCCESS_SUCCESS;
}

MapiResult LinuxMapi::ResolveName(MapiSession, std::string_view name, unsigned long flags,
                                  MapiRecipDesc*& resolved) {
    resolved = nullptr;
    if (IsInternetAddress(name)) {
        resolved = new MapiRecipDesc{MAPI_ORIG, std::string(name), std::string(name)};
        return SUCCESS_SUCCESS;
    }
    const TOutline* outline = outline_ ? outline_() : nullptr;
    const std::vector<MailCandidate> found =
        outline ? FindMailRecipients(*outline, name) : std::vector<MailCandidate>{};
    if (found.empty()) {
        return MAPI_E_UNKNOWN_RECIPIENT;
    }
    std::size_t chosen = 0;
    if (found.size() > 1) {
        if (!(flags & MAPI_DIALOG)) {
            return MAPI_E_AMBIGUOUS_RECIPIENT;
        }
        const std::optional<std::size_t> pick = dialogs_.PickRecipient(FromUtf8(name), found);
        if (!pick || *pick >= found.size()) {
            return MAPI_USER_ABORT;
        }
        chosen = *pick;
    }
    resolved = new MapiRecipDesc{MAPI_ORIG, found[chosen].name, found[chosen].address};
    return SUCCESS_SUCCESS;
}

MapiResult LinuxMapi::SendMail(MapiSession, const MapiMessage& message, unsigned long) {
    std::vector<const MapiRecipDesc*> mail;
    std::vector<const MapiRecipDesc*> faxes;
    for (const MapiRecipDesc& recipient : message.recips) {
        (IsFax(recipient) ? faxes : mail).push_back(&recipient);
    }
    if (!faxes.empty()) {
        const MapiResult result = Fax(message, faxes);
        if (result != SUCCESS_SUCCESS || mail.empty()) {
            return result;
        }
    }
    return Compose(message, mail);
}

MapiResult LinuxMapi::Compose(const MapiMessage& message,
                              const std::vector<const MapiRecipDesc*>& to) {
    const ProgramExit exit =
        RunProgram(programs_.mailer, MailerArguments(message, to), programs_.waitMs);
    if (!exit.started) {
        dialogs_.ShowMailProblem(MailerMissingText(programs_.mailer));
        return MAPI_E_NOT_SUPPORTED;
    }
    if (!exit.status) {
        // Still open after the wait: the composer has the message now.
        return SUCCESS_SUCCESS;
    }
    if (*exit.status == kMailerToolMissing || *exit.status == kMailerActionFailed) {
        dialogs_.ShowMailProblem(NoMailProgramText());
    }
    return MailerResult(*exit.status);
}

QString LinuxMapi::FaxClient() const {
    if (!programs_.faxClient.isEmpty()) {
        return programs_.faxClient;
    }
    return QStandardPaths::findExecutable(QStringLiteral("sendfax"));
}

MapiResult LinuxMapi::Fax(const MapiMessage& message,
                          const std::vector<const MapiRecipDesc*>& faxes) {
    const QString client = FaxClient();
    if (client.isEmpty()) {
        return MAPI_E_NOT_SUPPORTED;
    }
    // sendfax submits at once: this question stands in for the compose window's Send.
    const QString document =
        message.files.empty() ? QString() : FromUtf8(message.files.front().pathName);
    for (const MapiRecipDesc* fax : faxes) {
        if (!dialogs_.ConfirmFax(FromUtf8(fax->name), FaxNumber(*fax), document)) {
            return MAPI_USER_ABORT;
        }
    }
    const ProgramExit exit =
        RunProgram(client, FaxArguments(faxes, message.files), programs_.waitMs);
    if (!exit.started) {
        return MAPI_E_NOT_SUPPORTED;
    }
    return exit.status == 0 ? SUCCESS_SUCCESS : MAPI_E_FAILURE;
}

QStringList MailerArguments(const MapiMessage& message,
                            const std::vector<const MapiRecipDesc*>& to) {
    QStringList arguments{QStringLiteral("--utf8")};
    for (const MapiRecipDesc* recipient : to) {
        const QString mailbox = Mailbox(*recipient);
        if (mailbox.isEmpty()) {
            continue;
        }
        switch (recipient->recipClass) {
        case MAPI_CC:
            arguments << QStringLiteral("--cc");
            break;
        case MAPI_BCC:
            arguments << QStringLiteral("--bcc");
            break;
        default:
            arguments << QStringLiteral("--to");
            break;
        }
        arguments << mailbox;
    }
    // xdg-email refuses an empty text after an option, so empty parts are left out.
    if (!message.subject.empty()) {
        arguments << QStringLiteral("--subject") << FromUtf8(message.subject);
    }
    if (!message.noteText.empty()) {
        arguments << QStringLiteral("--body") << FromUtf8(message.noteText);
    }
    for (const MapiFileDesc& file : message.files) {
        arguments << QStringLiteral("--attach") << FromUtf8(file.pathName);
    }
    return arguments;
}

QStringList FaxArguments(const std::vector<const MapiRecipDesc*>& faxes,
                         const std::vector<MapiFileDesc>& files) {
    QStringList arguments;
    if (!files.empty()) {
        arguments << QStringLiteral("-n"); // the document alone, without a cover page
    }
    for (const MapiRecipDesc* fax : faxes) {
        // sendfax reads "name@number"; an "@" of the name would split it wrongly.
        QString name = FromUtf8(fax->name);
        name.remove(QLatin1Char('@'));
        const QString number = FaxNumber(*fax);
        arguments << QStringLiteral("-d")
                  << (name.isEmpty() ? number : name + QLatin1Char('@') + number);
    }
    if (!files.empty()) {
        arguments << QStringLiteral("--");
        for (const MapiFileDesc& file : files) {
            arguments << FromUtf8(file.pathName);
        }
    }
    return arguments;
}

QString MailerMissingText(const QString& mailer) {
    return QStringLiteral("The message could not be written: \"%1\", which hands it to your "
                          "mail program, could not be started. Install xdg-utils and a mail "
                          "program, then send it again.")
        .arg(mailer);
}

QString NoMailProgramText() {
    return QStringLiteral("The message could not be written: no mail program is set up on this "
                          "desktop. Choose a default e-mail program in the desktop's settings "
                          "(or with \"xdg-mime default <program>.desktop "
                          "x-scheme-handler/mailto\"), then send it again.");
}

MapiResult MailerResult(int status) {
    switch (status) {
    case 0:
        return SUCCESS_SUCCESS;
    case kMailerFileMissing:
        return MAPI_E_ATTACHMENT_NOT_FOUND;
    case kMailerNoPermission:
        return MAPI_E_ATTACHMENT_OPEN_FAILURE;
    case kMailerToolMissing:
        return MAPI_E_NOT_SUPPORTED;
    case kMailerSyntaxError:
    default:
        return MAPI_E_FAILURE;
    }
}

} // namespace quill::platform
