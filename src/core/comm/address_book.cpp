#include "core/comm/address_book.h"

#include "core/model/contact_holder_objects.h"
#include "core/model/item_kind.h"
#include "core/model/outline.h"
#include "core/util/ascii.h"

namespace quill {
namespace {

void Consider(const TNRBObject& item, std::string_view name,
              std::vector<MailCandidate>& candidates) {
    if (!EqualsIgnoreAsciiCase(item.Title(), name)) {
        return;
    }
    std::string_view address;
    if (item.Kind() == kEMailKind) {
        address = item.Target();
    } else if (item.Kind() == kPersonKind) {
        const auto& person = static_cast<const TContactHolderObject&>(item);
        if (const TNRBObject* mail = person.PrimaryContact(kEMailKind)) {
            address = mail->Target();
        }
    }
    // Only an Internet address helps the composer; a name would come back to this book.
    if (IsInternetAddress(address)) {
        candidates.push_back(MailCandidate{std::string(item.Title()), std::string(address), &item});
    }
}

} // namespace

std::vector<MailCandidate> FindMailRecipients(const TOutline& outline, std::string_view name) {
    std::vector<MailCandidate> candidates;
    if (name.empty()) {
        return candidates;
    }
    outline.ForEachNode([&](TOutlineNode* node) {
        const TNRBObject* holder = node->Item();
        if (!holder) {
            return;
        }
        Consider(*holder, name, candidates);
        for (std::size_t i = 0; i < holder->ChildCount(); ++i) {
            Consider(*holder->ChildAt(i), name, candidates);
        }
    });
    return candidates;
}

std::string ComposerAddress(std::string_view name, std::string_view address) {
    if (name.empty() || name == address) {
        return std::string(address);
    }
    const bool needsQuotes = name.find_first_of("()<>[]:;@\\,.\"") != std::string_view::npos;
    std::string text;
    if (needsQuotes) {
        text.push_back('"');
        for (const char c : name) {
            if (c == '"' || c == '\\') {
                text.push_back('\\');
            }
            text.push_back(c);
        }
        text.push_back('"');
    } else {
        text.append(name);
    }
    text.append(" <").append(address).append(">");
    return text;
}

} // namespace quill
