#pragma once
// The fields of delimited text resolved once for a whole import or export, instead of by
// name for every record and column: what ReadCSVRecord and CSVFieldText do, by position and
// by field.

#include "core/exchange/record_types.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quill {

class TNRBObject;

// Where each field's value stands in a record; kCSVFieldAbsent for a field not chosen.
inline constexpr std::size_t kCSVFieldAbsent = static_cast<std::size_t>(-1);
using CSVFieldPositions = std::array<std::size_t, kCSVFieldCount>;

// The first position of each field in the order; names that are no field are skipped.
CSVFieldPositions CSVFieldPositionsOf(const std::vector<std::string>& fieldOrder);

// What the item's ReadCSVRecord(values, fieldOrder) does, with the order's positions.
bool ReadCSVRecordAt(TNRBObject& item, const std::vector<std::string>& values,
                     const CSVFieldPositions& positions);

// The fields by name, each resolved (none for a name that is no field).
std::vector<std::optional<CSVField>> ResolveCSVFields(const std::vector<std::string>& names);

// The item's CSVFieldText of each field, one after the other, appended to out.
void AppendCSVFieldTexts(const TNRBObject& item, std::span<const std::optional<CSVField>> fields,
                         std::string& out);

} // namespace quill
