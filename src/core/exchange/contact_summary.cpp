#include "core/exchange/contact_summary.h"

#include "core/exchange/vcard.h"
#include "core/exchange/vcard_writer.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/item_kind.h"

namespace quill {
namespace {

// Line ends as a text editor on this system expects them.
void AppendLines(std::string& out, const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(start, end - start);
        if (line.find_first_not_of(" ,") != std::string::npos) {
            out.append(line).push_back('\n');
        }
        start = end + 1;
    }
}

} // namespace

std::string ContactSummaryText(const TNRBObject& item) {
    const auto* holder = dynamic_cast<const TContactHolderObject*>(&item);
    if (!holder || !CanExportVCard(item)) {
        return {};
    }
    std::string text;
    AppendLines(text, std::string(item.Title()));
    if (const TNRBObject* address = holder->PrimaryContact(kAddressKind)) {
        AppendLines(text, address->ClipboardText());
    }
    if (const TNRBObject* phone = holder->PrimaryContact(kPhoneKind)) {
        AppendLines(text, "Phone: " + std::string(phone->Target()));
    }
    if (const TNRBObject* mail = holder->PrimaryContact(kEMailKind)) {
        AppendLines(text, "E-mail: " + std::string(mail->Target()));
    }
    return text;
}

std::string ContactVCardText(const TNRBObject& item,
                             const std::vector<std::string>& categoryNames) {
    if (!CanExportVCard(item)) {
        return {};
    }
    return StandardVCardText(item, VCardVersion::V30, categoryNames);
}

} // namespace quill
