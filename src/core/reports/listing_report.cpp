#include "core/reports/listing_report.h"

#include "core/model/nrb_object.h"
#include "core/model/outline.h"

#include <array>

namespace quill {

ListingRecord MakeListingRecord(const TNRBObject& item) {
    static constexpr std::array<std::string_view, 5> others{"Title", "Phone Number", "Fax Number",
                                                            "E-Mail Address", "Website"};
    std::vector<std::string> e = FieldEntries(item, others);
    const AddressEntries a = ReadAddressEntries(item);
    ListingRecord r;
    r.name = e[0];
    r.address.push_back(std::move(e[0]));
    a.AppendStreetLines(r.address);
    r.address.push_back(a.CityLine());
    r.address.push_back(a.PostalLine());
    r.phone = std::move(e[1]);
    r.fax = std::move(e[2]);
    r.eMail = std::move(e[3]);
    r.url = std::move(e[4]);
    return r;
}

TListingRecords::TListingRecords(TOutlineNode* selected, const HiddenItemTest& hidden) {
    const std::vector<TOutlineNode*> nodes = CoveredNodes(selected);
    for (std::size_t i = 1; i < nodes.size(); ++i) {
        const TNRBObject* item = nodes[i]->Item();
        if (item && (item->Kind() == kPersonKind || item->Kind() == kOrganizationKind) &&
            !IsHidden(hidden, *item)) {
            items_.push_back(item);
        }
    }
}

bool TListingRecords::Next(ListingRecord& record) {
    if (position_ >= items_.size()) {
        record = {};
        return false;
    }
    record = MakeListingRecord(*items_[position_++]);
    return true;
}

} // namespace quill
