#include "core/exchange/record_types.h"

#include "core/model/item_kind.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace quill {
namespace {

constexpr std::array<std::string_view, kCSVFieldCount> kFieldNames{
    "Title",          "Salutation",     "First Name",     "Middle Name", "Last Name",
    "Address Line 1", "Address Line 2", "Address Line 3", "City",        "State/Province",
    "Postal Code",    "Country",        "Phone Number",   "Fax Number",  "E-Mail Address",
    "Website",        "Comment",        "Extension"};

constexpr std::array<std::string_view, 17> kPersonFields{
    "Title",          "Salutation",     "First Name",     "Middle Name", "Last Name",
    "Address Line 1", "Address Line 2", "Address Line 3", "City",        "State/Province",
    "Postal Code",    "Country",        "Phone Number",   "Fax Number",  "E-Mail Address",
    "Website",        "Comment"};
constexpr std::array<std::string_view, 13> kOrganizationFields{
    "Title",          "Address Line 1", "Address Line 2", "Address Line 3", "City",
    "State/Province", "Postal Code",    "Country",        "Phone Number",   "Fax Number",
    "E-Mail Address", "Website",        "Comment"};
constexpr std::array<std::string_view, 3> kWebsiteFields{"Title", "Website", "Comment"};
constexpr std::array<std::string_view, 8> kAddressFields{
    "Title", "Address Line 1", "Address Line 2", "Address Line 3",
    "City",  "State/Province", "Postal Code",    "Country"};
constexpr std::array<std::string_view, 4> kPhoneFields{"Title", "Phone Number", "Extension",
                                                       "Comment"};
constexpr std::array<std::string_view, 3> kEMailFields{"Title", "E-Mail Address", "Comment"};
constexpr std::array<std::string_view, 3> kFaxFields{"Title", "Fax Number", "Comment"};

constexpr std::array<TRecordType, 7> kRecordTypes{{
    {"Person", kPersonKind, kPersonFields},
    {"Organization", kOrganizationKind, kOrganizationFields},
    {"Website Addresses", kWebsiteKind, kWebsiteFields},
    {"Addresses", kAddressKind, kAddressFields},
    {"Phone Numbers", kPhoneKind, kPhoneFields},
    {"E-mail Addresses", kEMailKind, kEMailFields},
    {"FAX Numbers", kFaxKind, kFaxFields},
}};

} // namespace

std::string_view CSVFieldName(CSVField field) {
    return kFieldNames[static_cast<std::size_t>(field)];
}

std::optional<CSVField> FindCSVField(std::string_view name) {
    for (std::size_t i = 0; i < kFieldNames.size(); ++i) {
        if (kFieldNames[i] == name) {
            return static_cast<CSVField>(i);
        }
    }
    return std::nullopt;
}

std::span<const TRecordType> RecordTypes() {
    return kRecordTypes;
}

const TRecordType* RecordTypeAt(std::size_t index) {
    return index < kRecordTypes.size() ? &kRecordTypes[index] : nullptr;
}

const TRecordType* RecordTypeOfKind(int kind) {
    for (const TRecordType& type : kRecordTypes) {
        if (type.kind == kind) {
            return &type;
        }
    }
    return nullptr;
}

void MoveSelectedFields(std::vector<std::string>& from, const std::vector<bool>& selected,
                        std::vector<std::string>& to, std::string_view copied) {
    // Visiting from the last entry up and inserting each at the top leaves the moved entries
    // in their source order.
    for (std::size_t i = from.size(); i-- > 0;) {
        if (i >= selected.size() || !selected[i]) {
            continue;
        }
        if (!copied.empty() && from[i] == copied) {
            to.insert(to.begin(), from[i]);
        } else {
            to.insert(to.begin(), std::move(from[i]));
            from.erase(from.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
}

void TFieldChooser::SetRecordType(const TRecordType& type) {
    type_ = &type;
    chosen_.clear();
    available_.assign(type.fields.begin(), type.fields.end());
    if (!repeatable_.empty()) {
        available_.push_back(repeatable_);
    }
}

void TFieldChooser::ChooseSelected(const std::vector<bool>& selected) {
    MoveSelectedFields(available_, selected, chosen_, repeatable_);
}

void TFieldChooser::ChooseSelectedAt(const std::vector<bool>& selected, std::size_t at) {
    std::vector<std::string> moved;
    MoveSelectedFields(available_, selected, moved, repeatable_);
    chosen_.insert(chosen_.begin() + static_cast<std::ptrdiff_t>(std::min(at, chosen_.size())),
                   std::make_move_iterator(moved.begin()), std::make_move_iterator(moved.end()));
}

void TFieldChooser::UnchooseAt(std::size_t index) {
    if (index >= chosen_.size()) {
        return;
    }
    if (!repeatable_.empty() && chosen_[index] == repeatable_) {
        // Available Fields holds it all along.
        chosen_.erase(chosen_.begin() + static_cast<std::ptrdiff_t>(index));
        return;
    }
    std::vector<bool> selected(chosen_.size(), false);
    selected[index] = true;
    MoveSelectedFields(chosen_, selected, available_);
}

bool TFieldChooser::CanProceed() const {
    return std::any_of(chosen_.begin(), chosen_.end(),
                       [this](const std::string& field) { return field != repeatable_; });
}

void TFieldChooser::MoveChosen(std::size_t from, std::size_t onto) {
    if (from >= chosen_.size() || onto >= chosen_.size() || from == onto) {
        return;
    }
    std::string field = std::move(chosen_[from]);
    chosen_.erase(chosen_.begin() + static_cast<std::ptrdiff_t>(from));
    chosen_.insert(chosen_.begin() + static_cast<std::ptrdiff_t>(onto), std::move(field));
}

} // namespace quill
