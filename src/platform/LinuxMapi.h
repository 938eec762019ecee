#pragma once
// Simple MAPI on the Linux desktop. A session is our own; names resolve against the
// outline's e-mail items and persons; a message opens the user's mail composer through
// xdg-email, and a "FAX:" recipient goes to HylaFAX's sendfax when it is installed.

#include "core/comm/address_book.h"
#include "core/services.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <set>

namespace quill::platform {

// The questions the messaging service asks the user (the program's dialogs answer them).
class IMailDialogs {
public:
    virtual ~IMailDialogs() = default;
    // Which of the entries the name means; none when the user cancels.
    virtual std::optional<std::size_t> PickRecipient(const QString& name,
                                                     const std::vector<MailCandidate>& entries) = 0;
    // Whether to submit the fax; document is empty for a cover page alone.
    virtual bool ConfirmFax(const QString& recipient, const QString& number,
                            const QString& document) = 0;
    // Why a message never reached a mail program; the user would otherwise see nothing.
    virtual void ShowMailProblem(const QString& text) = 0;
};

class LinuxMapi final : public IMapi {
public:
    struct Programs {
        QString mailer = QStringLiteral("xdg-email");
        // Empty: looked up on the path at each fax ("sendfax"), so that installing it later
        // counts.
        QString faxClient;
        int waitMs = 15000; // how long a helper is waited for before it is left to run
    };

    LinuxMapi(std::function<const TOutline*()> outline, IMailDialogs& dialogs);
    LinuxMapi(std::function<const TOutline*()> outline, IMailDialogs& dialogs, Programs programs);

    std::optional<std::string> DefaultProfile() const override;
    MapiResult Logon(const std::optional<std::string>& profile,
                     const std::optional<std::string>& password, unsigned long flags,
                     MapiSession& session) override;
    MapiResult ResolveName(MapiSession session, std::string_view name, unsigned long flags,
                           MapiRecipDesc*& resolved) override;
    MapiResult SendMail(MapiSession session, const MapiMessage& message,
                        unsigned long flags) override;
    MapiResult FreeBuffer(MapiRecipDesc* buffer) override;
    MapiResult Logoff(MapiSession session) override;

private:
    MapiResult Compose(const MapiMessage& message, const std::vector<const MapiRecipDesc*>& to);
    MapiResult Fax(const MapiMessage& message, const std::vector<const MapiRecipDesc*>& faxes);
    QString FaxClient() const;

    std::function<const TOutline*()> outline_;
    IMailDialogs& dialogs_;
    Programs programs_;
    std::set<MapiSession> sessions_;
    MapiSession lastSession_ = 0;
};

// The arguments xdg-email gets for the message's mail recipients (UTF-8 text, each
// recipient after --to, --cc or --bcc, so that none is taken for an option).
QStringList MailerArguments(const MapiMessage& message,
                            const std::vector<const MapiRecipDesc*>& to);

// The arguments sendfax gets: the document alone without a cover page, or a cover page
// alone; one destination "name@number" per recipient.
QStringList FaxArguments(const std::vector<const MapiRecipDesc*>& faxes,
                         const std::vector<MapiFileDesc>& files);

// xdg-email's exit status as a MAPI result.
MapiResult MailerResult(int status);

// What the user is told when the mail helper itself cannot be started, and when it finds
// no mail program to hand the message to.
QString MailerMissingText(const QString& mailer);
QString NoMailProgramText();

} // namespace quill::platform
