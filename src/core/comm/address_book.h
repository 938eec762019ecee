#pragma once
// The outline as the messaging service's address book: names resolve to the e-mail items
// and persons of that title, and a resolved recipient is written the way a mail composer
// takes it.

#include <string>
#include <string_view>
#include <vector>

namespace quill {

class TOutline;
class TNRBObject;

struct MailCandidate {
    std::string name;    // the item's title
    std::string address; // its e-mail address
    const TNRBObject* item = nullptr;
};

// The e-mail items and persons (through their primary e-mail address) whose title equals the
// name without regard to the case of A to Z, in tree order; items without an address are
// left out.
std::vector<MailCandidate> FindMailRecipients(const TOutline& outline, std::string_view name);

// "Name <address>" as a mail composer takes it; the bare address when there is no name
// other than the address. A name with characters that have a meaning in an address is
// quoted.
std::string ComposerAddress(std::string_view name, std::string_view address);

} // namespace quill
