#pragma once
// What every report reads from the outline: the nodes a report covers, the items' field
// values as their delimited-text forms give them, and the address lines made from them.

#include "core/storage/data_file.h" // HiddenItemTest

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

class TNRBObject;
class TOutlineNode;

// The selected node and its descendants in outline order (each node before its children).
std::vector<TOutlineNode*> CoveredNodes(TOutlineNode* selected);

// Whether the category filter hides the item; an empty test hides nothing.
bool IsHidden(const HiddenItemTest& hidden, const TNRBObject& item);

// One entry per field: the value the item's CSVFieldText gives for it, unquoted. A person or
// organization answers the fields of its primary contact points; a field the item does not
// know is empty.
std::vector<std::string> FieldEntries(const TNRBObject& item,
                                      std::span<const std::string_view> fields);
std::string FieldEntry(const TNRBObject& item, std::string_view field);

// A name as the first line of a label or an envelope prints it: without the blanks around it.
// A formal name made without a salutation starts with the blank that joins the two, and a
// label would print it one blank to the right of the address below it.
std::string_view PrintedName(std::string_view name);

// "Address Line 1" to "Address Line 3", "City", "State/Province", "Postal Code", "Country".
std::span<const std::string_view> AddressFieldNames();

// The seven address entries in the order above.
struct AddressEntries {
    std::string lines[3];
    std::string city;
    std::string state;
    std::string postalCode;
    std::string country;

    bool Empty() const;
    // city + ", " + state, and postal code + " " + country.
    std::string CityLine() const { return city + ", " + state; }
    std::string PostalLine() const { return postalCode + " " + country; }
    // Appends each street line that is not empty.
    void AppendStreetLines(std::vector<std::string>& out) const;
};
AddressEntries ReadAddressEntries(const TNRBObject& item);

} // namespace quill
