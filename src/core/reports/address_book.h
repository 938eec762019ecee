#pragma once
// The "Address & Phone Book": its entries sorted by key without regard to case, and the
// records with their group letters.

#include "core/reports/report_fields.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

class TNRBObject;
class TOutlineNode;

struct AddrBookEntry {
    std::string key;
    const TNRBObject* item = nullptr;
};

// The key of a person: last name + ", " + first name + " " + middle name; the title when
// the person has no name parts at all.
std::string PersonBookKey(const TNRBObject& person);

// The first character of the key, whole (a UTF-8 sequence is not cut); empty for an empty key.
std::string_view GroupLetter(std::string_view key);

// Height of the address band in hundredths of an inch: 89 with lines, 0 without.
inline constexpr int kBookAddressBandHeight = 89;

struct AddrBookRecord {
    std::string name;
    // The letter shown in the group band, and whether that band prints for this record.
    std::string groupLetter;
    bool groupBand = false;
    std::string phone;
    std::vector<std::string> address;

    int AddressBandHeight() const { return address.empty() ? 0 : kBookAddressBandHeight; }
};

class TAddrBookRecords {
public:
    // Builds the entries from the nodes [first, last) (the covered nodes, in outline order):
    // a person or organization the filter does not hide is one entry; any other node gives
    // one entry per address and phone it holds that the filter does not hide. Sorted by key
    // without regard to the case of A to Z; equal keys keep their outline order.
    void Initialize(const std::vector<TOutlineNode*>& nodes, std::size_t first, std::size_t last,
                    const HiddenItemTest& hidden);
    // The same over everything the selected node covers.
    void Initialize(TOutlineNode* selected, const HiddenItemTest& hidden);

    const std::vector<AddrBookEntry>& Entries() const { return entries_; }
    // The next record; false and an empty record when none is left. The group band prints
    // when the record's group letter differs, exactly, from the one remembered.
    bool Next(AddrBookRecord& record);
    // Back to the first record, with no group letter remembered.
    void Rewind();

private:
    std::vector<AddrBookEntry> entries_;
    std::size_t position_ = 0;
    std::string letter_;
};

} // namespace quill
