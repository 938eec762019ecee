#pragma once
// Eudora's nicknames file "nndbase.txt": "alias" lines give a nickname and its addresses,
// "note" lines a nickname's notes. Every other line is ignored.

#include <optional>
#include <string>
#include <string_view>

namespace quill {

struct NicknameAlias {
    std::string nickname;
    std::string address; // the first item holding "@"
};

struct NicknameNote {
    std::string nickname;
    std::string text; // the rest of the line after the nickname and one blank
};

// A line starting with "alias" whose items after the first are at least two, one of them
// holding "@"; quotes and angle brackets around the items are taken off.
std::optional<NicknameAlias> ParseAliasLine(std::string_view line);

// A line starting with "note" with at least two items after the first.
std::optional<NicknameNote> ParseNoteLine(std::string_view line);

} // namespace quill
