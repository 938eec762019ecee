#pragma once
// Mail and faxes through the messaging service (Simple MAPI). TEmail gathers one message,
// resolves its recipients and hands it to the service, whose compose window the user
// completes; SendMailFrom and SendFaxFrom are what e-mail and fax items do.

#include "core/services.h"

#include <string>
#include <string_view>
#include <vector>

namespace quill {

class TNRBObject;

// At most this many recipients in all three lists, and attachments, per message.
inline constexpr std::size_t kMaxRecipients = 512;
inline constexpr std::size_t kMaxAttachments = 32;

class TEmail {
public:
    explicit TEmail(IMapi& mapi);
    // Logs off when a session is still open.
    ~TEmail();
    TEmail(const TEmail&) = delete;
    TEmail& operator=(const TEmail&) = delete;

    std::vector<std::string> Recipient;
    std::vector<std::string> CC;
    std::vector<std::string> Bcc;
    std::vector<std::string> Attachment; // full paths
    std::string Subject;                 // at most 255 characters are sent
    std::string Text;                    // at most 255 characters are sent
    std::string Profile;
    std::string Password;
    bool UseDefProfile = false;
    bool Acknowledge = false;

    MapiResult Logon();
    void Logoff();
    // Resolves the recipients and hands the message to the service's compose window. The
    // recipient lists hold the resolved display names afterwards.
    MapiResult Send();
    // Resolves each non-empty entry of the list (asking the user to pick when the name is
    // ambiguous or unknown), replaces it by the display name, and appends its descriptor
    // with the class. 0, or the result of the first name that could not be resolved.
    MapiResult AddRecipients(std::vector<std::string>& list, unsigned long recipClass,
                             std::vector<MapiRecipDesc>& descriptors);

    MapiSession Session() const { return session_; }

private:
    IMapi& mapi_;
    MapiSession session_ = 0;
};

// The text cut to at most 255 characters (UTF-8 sequences kept whole).
std::string ShortString(std::string_view text);

// SendMail of an e-mail item, by the mail method of the settings file: a "mailto:" link,
// the browser, or the messaging service; several recipients when the item list's selected
// rows name them. The service's result (0 also for a link).
MapiResult SendMailFrom(const TNRBObject& mailItem, std::string_view attachment);

// SendFax of a fax item: one "FAX:" recipient and the attachment when its file exists,
// through the service's own session. A failure is shown to the user.
MapiResult SendFaxFrom(const TNRBObject& faxItem, std::string_view attachment);

inline constexpr std::string_view kMultipleRecipientsQuestion =
    "Mailing to multiple recipients requires use of the Windows Messaging API (MAPI). Do you "
    "want to continue and use MAPI?";
inline constexpr std::string_view kFaxError =
    "MAPI Error. Unable to send Fax using Windows Messaging Services";

} // namespace quill
