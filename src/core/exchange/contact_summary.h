#pragma once
// What a copied person or organization gives other programs beside the program's own
// records: a few lines of plain text for a mail or a text editor, and a vCard for an address
// book.

#include <string>
#include <vector>

namespace quill {

class TNRBObject;

// The name, then the primary address, phone and e-mail address, one per line ended by a line
// feed; lines without content left out. Empty for an item that is not a person or an
// organization.
std::string ContactSummaryText(const TNRBObject& item);

// The item's card as a vCard 3.0, which address books and mail programs accept when it is
// pasted (the program's own 2.1 form they refuse); CATEGORIES from categoryNames (empty: the
// default names). Empty for other kinds.
std::string ContactVCardText(const TNRBObject& item,
                             const std::vector<std::string>& categoryNames = {});

} // namespace quill
