#include "core/reports/report_fields.h"

#include "core/exchange/delimited_text.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"

#include <array>

namespace quill {

std::vector<TOutlineNode*> CoveredNodes(TOutlineNode* selected) {
    std::vector<TOutlineNode*> nodes;
    if (selected) {
        ForEachInSubtree(selected, [&](TOutlineNode* node) { nodes.push_back(node); });
    }
    return nodes;
}

bool IsHidden(const HiddenItemTest& hidden, const TNRBObject& item) {
    return hidden && hidden(item);
}

std::string FieldEntry(const TNRBObject& item, std::string_view field) {
    // The text is one quoted value and its closing comma; the value alone is wanted.
    const std::string text = item.CSVFieldText(field);
    if (text.empty()) {
        return {};
    }
    std::vector<std::string> values = SplitDelimitedLine(text, kCommaSeparator);
    return values.empty() ? std::string{} : std::move(values.front());
}

std::vector<std::string> FieldEntries(const TNRBObject& item,
                                      std::span<const std::string_view> fields) {
    std::vector<std::string> entries;
    entries.reserve(fields.size());
    for (const std::string_view field : fields) {
        entries.push_back(FieldEntry(item, field));
    }
    return entries;
}

std::string_view PrintedName(std::string_view name) {
    const std::size_t first = name.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

std::span<const std::string_view> AddressFieldNames() {
    static constexpr std::array<std::string_view, 7> names{
        "Address Line 1", "Address Line 2", "Address Line 3", "City",
        "State/Province", "Postal Code",    "Country"};
    return names;
}

bool AddressEntries::Empty() const {
    for (const std::string& line : lines) {
        if (!line.empty()) {
            return false;
        }
    }
    return city.empty() && state.empty() && postalCode.empty() && country.empty();
}

void AddressEntries::AppendStreetLines(std::vector<std::string>& out) const {
    for (const std::string& line : lines) {
        if (!line.empty()) {
            out.push_back(line);
        }
    }
}

AddressEntries ReadAddressEntries(const TNRBObject& item) {
    std::vector<std::string> e = FieldEntries(item, AddressFieldNames());
    AddressEntries a;
    a.lines[0] = std::move(e[0]);
    a.lines[1] = std::move(e[1]);
    a.lines[2] = std::move(e[2]);
    a.city = std::move(e[3]);
    a.state = std::move(e[4]);
    a.postalCode = std::move(e[5]);
    a.country = std::move(e[6]);
    return a;
}

} // namespace quill
