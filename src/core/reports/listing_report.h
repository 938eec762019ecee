#pragma once
// The "People & Organization List": which items it lists and what each detail record shows.

#include "core/reports/report_fields.h"

#include <cstddef>
#include <string>
#include <vector>

namespace quill {

class TNRBObject;
class TOutlineNode;

// One detail record of the listing.
struct ListingRecord {
    std::string name;
    // The title, each street line that is not empty, then city + ", " + state and postal
    // code + " " + country.
    std::vector<std::string> address;
    std::string phone;
    std::string fax;
    std::string eMail;
    std::string url;
};

ListingRecord MakeListingRecord(const TNRBObject& item);

// The column headers, left to right.
inline constexpr std::string_view kListingColumns[] = {"Contact",    "Address", "Phone Number",
                                                       "FAX Number", "E-Mail",  "URL"};

// The records one after another, as the report asks for them: the covered nodes after the
// selected node itself, each person or organization the filter does not hide. Hidden items
// are skipped; what lies below them is still visited.
class TListingRecords {
public:
    TListingRecords() = default;
    TListingRecords(TOutlineNode* selected, const HiddenItemTest& hidden);

    std::size_t Count() const { return items_.size(); }
    // The next record; false and an empty record when none is left.
    bool Next(ListingRecord& record);
    void Rewind() { position_ = 0; }

private:
    std::vector<const TNRBObject*> items_;
    std::size_t position_ = 0;
};

} // namespace quill
