#include "core/comm/email.h"

#include "core/comm/browser_dde.h"
#include "core/model/nrb_object.h"
#include "core/storage/net_preferences.h"
#include "core/util/comma_text.h"

#include <filesystem>

namespace quill {
namespace {

constexpr std::size_t kShortStringLimit = 255;

bool FileExists(std::string_view path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::path(path), ec);
}

// The "E-Mail Address" column of every selected row, joined and split again: one entry per
// row, empty for a row without an address.
std::vector<std::string> SelectedRecipients(const IMailHost& host) {
    std::string joined;
    for (const TNRBObject* row : host.SelectedListItems()) {
        joined += row->CSVFieldText("E-Mail Address");
    }
    if (!joined.empty() && joined.back() == ',') {
        joined.pop_back();
    }
    return SplitCommaText(joined);
}

} // namespace

std::string ShortString(std::string_view text) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // A byte that does not continue a sequence starts a character.
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 &&
            ++characters > kShortStringLimit) {
            return std::string(text.substr(0, i));
        }
    }
    return std::string(text);
}

TEmail::TEmail(IMapi& mapi) : mapi_(mapi) {}

TEmail::~TEmail() {
    Logoff();
}

MapiResult TEmail::Logon() {
    if (session_ != 0) {
        return SUCCESS_SUCCESS;
    }
    if (UseDefProfile) {
        if (const std::optional<std::string> profile = mapi_.DefaultProfile()) {
            Profile = ShortString(*profile);
        }
    }
    MapiSession session = 0;
    MapiResult result = mapi_.Logon(ShortString(Profile), ShortString(Password), 0, session);
    if (result != SUCCESS_SUCCESS) {
        // Let the messaging service ask the user.
        session = 0;
        result = mapi_.Logon(std::nullopt, std::nullopt, MAPI_LOGON_UI, session);
    }
    if (result == SUCCESS_SUCCESS) {
        session_ = session;
    }
    return result;
}

void TEmail::Logoff() {
    if (session_ != 0) {
        mapi_.Logoff(session_);
        session_ = 0;
    }
}

MapiResult TEmail::AddRecipients(std::vector<std::string>& list, unsigned long recipClass,
                                 std::vector<MapiRecipDesc>& descriptors) {
    for (std::string& entry : list) {
        if (entry.empty()) {
            continue;
        }
        MapiRecipDesc* resolved = nullptr;
        MapiResult result = mapi_.ResolveName(session_, entry, 0, resolved);
        if (result == MAPI_E_AMBIGUOUS_RECIPIENT || result == MAPI_E_UNKNOWN_RECIPIENT) {
            resolved = nullptr;
            result = mapi_.ResolveName(session_, entry, MAPI_DIALOG, resolved);
        }
        if (result != SUCCESS_SUCCESS || !resolved) {
            return result != SUCCESS_SUCCESS ? result : MAPI_E_FAILURE;
        }
        entry = resolved->name;
        // The address travels with the name: a mail composer needs it.
        MapiRecipDesc descriptor{recipClass, resolved->name, resolved->address};
        mapi_.FreeBuffer(resolved);
        descriptors.push_back(std::move(descriptor));
    }
    return SUCCESS_SUCCESS;
}

MapiResult TEmail::Send() {
    if (Recipient.size() + CC.size() + Bcc.size() > kMaxRecipients) {
        return MAPI_E_TOO_MANY_RECIPIENTS;
    }
    if (Attachment.size() > kMaxAttachments) {
        return MAPI_E_TOO_MANY_FILES;
    }
    const bool hadSession = session_ != 0;
    if (Logon() != SUCCESS_SUCCESS) {
        return MAPI_E_LOGIN_FAILURE;
    }
    MapiResult result = SUCCESS_SUCCESS;
    MapiMessage message;
    message.subject = ShortString(Subject);
    message.noteText = ShortString(Text);
    for (auto [list, recipClass] :
         {std::pair{&Recipient, MAPI_TO}, std::pair{&CC, MAPI_CC}, std::pair{&Bcc, MAPI_BCC}}) {
        result = AddRecipients(*list, recipClass, message.recips);
        if (result != SUCCESS_SUCCESS) {
            break;
        }
    }
    if (result == SUCCESS_SUCCESS) {
        for (const std::string& path : Attachment) {
            if (!FileExists(path)) {
                result = MAPI_E_ATTACHMENT_NOT_FOUND;
                break;
            }
            message.files.push_back(MapiFileDesc{kNoPosition, path, {}});
        }
    }
    if (result == SUCCESS_SUCCESS) {
        if (Acknowledge) {
            message.flags |= MAPI_RECEIPT_REQUESTED;
        }
        result = mapi_.SendMail(session_, message, MAPI_DIALOG);
    }
    if (!hadSession) {
        Logoff();
    }
    return result;
}

MapiResult SendMailFrom(const TNRBObject& mailItem, std::string_view attachment) {
    const Services& services = CurrentServices();
    IMailHost& host = *services.mailHost;
    TEmail mail(*services.mapi);
    const int mode = ReadINetMail(host.SettingsFile(), 0);
    bool several = false;
    if (host.ItemListActive()) {
        mail.Recipient = SelectedRecipients(host);
        several = mail.Recipient.size() >= 2;
        if (several && mode != kMessagingService && !host.Confirm(kMultipleRecipientsQuestion)) {
            return MAPI_USER_ABORT;
        }
    }
    const std::string_view target = mailItem.Target();
    // A link cannot carry a file: a message with an attachment always goes through the
    // messaging service, so the document the user chose to send is not dropped.
    if (!several && attachment.empty() && IsInternetAddress(target)) {
        const std::string link = "mailto:" + std::string(target);
        if (mode == kMailtoLink) {
            services.shell->OpenDocument(link);
            return SUCCESS_SUCCESS;
        }
        if (mode == kWebBrowser) {
            services.browser->AutoLoad = true;
            services.browser->OpenURL(link);
            return SUCCESS_SUCCESS;
        }
    }
    if (mail.Recipient.empty()) {
        mail.Recipient.emplace_back(target);
    }
    if (!attachment.empty()) {
        mail.Attachment.emplace_back(attachment);
    }
    mail.UseDefProfile = true;
    return mail.Send();
}

MapiResult SendFaxFrom(const TNRBObject& faxItem, std::string_view attachment) {
    const Services& services = CurrentServices();
    MapiMessage message;
    message.recips.push_back(MapiRecipDesc{MAPI_TO, std::string(faxItem.Title()),
                                           kFaxAddressType + std::string(faxItem.Target())});
    // A fax goes without a missing file rather than not at all.
    if (!attachment.empty() && FileExists(attachment)) {
        message.files.push_back(MapiFileDesc{kNoPosition, std::string(attachment), {}});
    }
    const MapiResult result =
        services.mapi->SendMail(0, message, MAPI_LOGON_UI | MAPI_NEW_SESSION | MAPI_DIALOG);
    if (result != SUCCESS_SUCCESS) {
        services.mailHost->ShowError(kFaxError);
    }
    return result;
}

} // namespace quill
