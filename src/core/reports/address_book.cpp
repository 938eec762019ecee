#include "core/reports/address_book.h"

#include "core/model/contact_holder_objects.h"
#include "core/model/outline.h"
#include "core/util/ascii.h"

#include <algorithm>

namespace quill {

std::string PersonBookKey(const TNRBObject& person) {
    const std::string last = FieldEntry(person, "Last Name");
    const std::string first = FieldEntry(person, "First Name");
    const std::string middle = FieldEntry(person, "Middle Name");
    if (last.empty() && first.empty() && middle.empty()) {
        // A key of bare separators would sort and group the person under ",".
        return std::string(person.Title());
    }
    return last + ", " + first + " " + middle;
}

std::string_view GroupLetter(std::string_view key) {
    if (key.empty()) {
        return {};
    }
    const auto lead = static_cast<unsigned char>(key[0]);
    std::size_t length = 1;
    if (lead >= 0xF0) {
        length = 4;
    } else if (lead >= 0xE0) {
        length = 3;
    } else if (lead >= 0xC0) {
        length = 2;
    }
    return key.substr(0, std::min(length, key.size()));
}

void TAddrBookRecords::Initialize(const std::vector<TOutlineNode*>& nodes, std::size_t first,
                                  std::size_t last, const HiddenItemTest& hidden) {
    entries_.clear();
    last = std::min(last, nodes.size());
    for (std::size_t i = first; i < last; ++i) {
        const TNRBObject* item = nodes[i]->Item();
        if (!item) {
            continue;
        }
        if (item->Kind() == kPersonKind) {
            if (!IsHidden(hidden, *item)) {
                entries_.push_back({PersonBookKey(*item), item});
            }
        } else if (item->Kind() == kOrganizationKind) {
            if (!IsHidden(hidden, *item)) {
                entries_.push_back({std::string(item->Title()), item});
            }
        } else {
            for (std::size_t c = 0; c < item->ChildCount(); ++c) {
                const TNRBObject* child = item->ChildAt(c);
                if ((child->Kind() == kAddressKind || child->Kind() == kPhoneKind) &&
                    !IsHidden(hidden, *child)) {
                    entries_.push_back({std::string(child->Title()), child});
                }
            }
        }
    }
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const AddrBookEntry& a, const AddrBookEntry& b) {
                         return CompareIgnoreAsciiCase(a.key, b.key) < 0;
                     });
    Rewind();
}

void TAddrBookRecords::Initialize(TOutlineNode* selected, const HiddenItemTest& hidden) {
    const std::vector<TOutlineNode*> nodes = CoveredNodes(selected);
    Initialize(nodes, 0, nodes.size(), hidden);
}

void TAddrBookRecords::Rewind() {
    position_ = 0;
    letter_.clear();
}

bool TAddrBookRecords::Next(AddrBookRecord& record) {
    record = {};
    if (position_ >= entries_.size()) {
        return false;
    }
    const AddrBookEntry& entry = entries_[position_++];
    const TNRBObject& item = *entry.item;
    record.name = entry.key;
    const std::string_view letter = GroupLetter(entry.key);
    record.groupLetter = std::string(letter);
    if (letter != letter_) {
        letter_ = record.groupLetter;
        record.groupBand = true;
    }
    if (item.Kind() == kPersonKind || item.Kind() == kOrganizationKind) {
        record.phone = FieldEntry(item, "Phone Number");
    } else if (item.Kind() == kPhoneKind) {
        record.phone = std::string(item.Target());
    }
    if (item.Kind() != kPhoneKind) {
        const AddressEntries a = ReadAddressEntries(item);
        if (!a.Empty()) {
            a.AppendStreetLines(record.address);
            if (!a.city.empty()) {
                record.address.push_back(a.CityLine());
            }
            record.address.push_back(a.PostalLine());
        }
    }
    return true;
}

} // namespace quill
