#pragma once
// The lines of a multi-line box, as the editors hand them to an address.

#include <string>
#include <string_view>
#include <vector>

namespace quill {

// Split at line feeds, carriage return and line feed, or lone carriage returns; a break at
// the very end starts no further line, and an empty text has no lines.
std::vector<std::string> MemoLines(std::string_view text);

} // namespace quill
