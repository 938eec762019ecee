#pragma once
// What a copied person or organization gives other programs beside the program's own
// records: a few lines of plain text for a mail or a text editor, and a vCard for an address
// book.

#include <string>

namespace quill {

class TNRBObject;

// The name, then the primary address, phone and e-mail address, one per line ended by a line
// feed; lines without content left out. Empty for an item that is not a person or an
// organization.
std::string ContactSummaryText(const TNRBObject& item);

// The item's card as its vCard export writes it; empty for other kinds.
std::string ContactVCardText(const TNRBObject& item);

} // namespace quill
