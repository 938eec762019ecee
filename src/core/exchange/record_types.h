#pragma once
// The record types of delimited text (CSV and TSV) and the fields each offers, shared by the
// import and the publishing wizard, and the two-list field chooser both wizards show.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// Every field any record type offers. The names are also the column names of exported files.
enum class CSVField {
    Title,
    Salutation,
    FirstName,
    MiddleName,
    LastName,
    AddressLine1,
    AddressLine2,
    AddressLine3,
    City,
    State,
    PostalCode,
    Country,
    PhoneNumber,
    FaxNumber,
    EMailAddress,
    Website,
    Comment,
    Extension,
};
inline constexpr std::size_t kCSVFieldCount = 18;

// "Title", "First Name", "State/Province", ...
std::string_view CSVFieldName(CSVField field);
// The field of that exact name; none for any other text.
std::optional<CSVField> FindCSVField(std::string_view name);

struct TRecordType {
    std::string_view name;                    // as the record-type list shows it
    int kind;                                 // the item kind a record becomes
    std::span<const std::string_view> fields; // the fields offered, in their order
};

// Person, Organization, Website Addresses, Addresses, Phone Numbers, E-mail Addresses and
// FAX Numbers, in list order.
std::span<const TRecordType> RecordTypes();
// The record type at that position of the list; none when out of range.
const TRecordType* RecordTypeAt(std::size_t index);
// The record type whose records are items of the kind; none for kinds without one.
const TRecordType* RecordTypeOfKind(int kind);

// Moves the selected entries of from (selected[i] for from[i]; missing flags count as not
// selected) to the top of to, keeping their order there, above what to held before. An entry
// equal to copied (when not empty) is copied instead and stays in from.
void MoveSelectedFields(std::vector<std::string>& from, const std::vector<bool>& selected,
                        std::vector<std::string>& to, std::string_view copied = {});

// The state behind the two lists of the chooser, so that a wizard page only forwards its
// events: "Available Fields" and the chosen fields in column order.
class TFieldChooser {
public:
    // A field that "Available Fields" always ends with and that can be chosen any number of
    // times: the import's "(Ignore)", one for each column to skip. None by default; takes
    // effect with the next record type.
    void SetRepeatableField(std::string_view field) { repeatable_ = field; }
    const std::string& RepeatableField() const { return repeatable_; }

    // Empties both lists and offers every field of the type, in table order.
    void SetRecordType(const TRecordType& type);
    const TRecordType* RecordType() const { return type_; }

    const std::vector<std::string>& Available() const { return available_; }
    const std::vector<std::string>& Chosen() const { return chosen_; }

    // "Copy to Import": the selected available fields go to the top of the chosen list.
    void ChooseSelected(const std::vector<bool>& selected);
    // The same, put in at position at of the chosen list (at its end when beyond it): fields
    // dragged onto the chosen list.
    void ChooseSelectedAt(const std::vector<bool>& selected, std::size_t at);
    // "Copy to Available": the chosen field at index goes back to the top of the available
    // list (the repeatable field is only taken out); an index out of range changes nothing.
    void UnchooseAt(std::size_t index);
    // Drag and drop within the chosen list: the field at from moves to the position of the
    // entry it is dropped on. Out of range (an empty area of the list) changes nothing.
    void MoveChosen(std::size_t from, std::size_t onto);
    // "Next >>" is enabled on the field page only while a field is chosen (the repeatable
    // one alone reads nothing).
    bool CanProceed() const;

private:
    const TRecordType* type_ = nullptr;
    std::string repeatable_;
    std::vector<std::string> available_;
    std::vector<std::string> chosen_;
};

} // namespace quill
