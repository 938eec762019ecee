#pragma once
// Columns of a delimited-text file matched to a record type's fields by their names, as
// spreadsheets and other address books write them in the first line: the program's own
// field names, and the column names of Google Contacts, Outlook and Thunderbird exports
// ("Given Name", "Business Street", "Phone 1 - Value", "Primary Email", ...). Names are
// compared without regard to case, blanks and punctuation.
//
// Several columns may feed one field (Home Phone, Work Phone, Mobile Number all offer the
// phone number): a record takes the first of them that holds a value. Address columns come
// in groups (Home ..., Work ..., Address 1 - ...): a record takes every address field from
// the first group that holds any of them, so that a street never meets another address's
// city. A numbered phone column of Google's export is a fax number when its label column
// says "Fax". A person record without a title column is titled by the person's name.

#include "core/exchange/csv_fields.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

struct TRecordType;

class TColumnMap {
public:
    // The map of the names in the first line for the record type.
    TColumnMap(const std::vector<std::string>& names, const TRecordType& type);

    // The fields the columns feed, each once, in the order of their first column; what a
    // record's values are matched against.
    const std::vector<std::string>& Fields() const { return fields_; }
    // The names of the columns that feed no field, in column order (empty names left out).
    const std::vector<std::string>& Unmapped() const { return unmapped_; }
    bool MapsAnything() const { return !fields_.empty(); }

    // The record's value of each field, in the order of Fields(), into values (whose
    // strings are reused from record to record); positions gets where each field stands
    // among them, absent for each field the row is too short for. Returns the names of
    // columns whose non-empty value went unused, through unused (cleared first).
    void Project(const std::vector<std::string>& row, std::vector<std::string>& values,
                 CSVFieldPositions& positions, std::vector<std::string>& unused);

private:
    struct Source {
        std::size_t column;
        std::size_t labelColumn; // npos: none; used along with the column
        bool labelDecides;       // the label picks the field: a fax when it says so
        bool wantsFax;
        int group; // address groups; 0 for the rest
    };
    struct FieldSources {
        CSVField id;
        std::string field;
        bool address = false;
        std::vector<Source> sources;
    };

    const Source* Choose(const FieldSources& field, const std::vector<std::string>& row,
                         int addressGroup) const;

    std::vector<std::string> names_;
    std::vector<FieldSources> map_;
    std::vector<std::string> fields_;
    std::vector<std::string> unmapped_;
    std::vector<char> used_; // Project's, by column: kept so that a record allocates nothing
};

// The name with everything but letters and digits left out, letters A to Z lowered:
// "E-mail 2 Address" -> "email2address".
std::string NormalizedColumnName(std::string_view name);

} // namespace quill
