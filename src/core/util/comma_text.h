#pragma once
// Comma text: a list of values in one line, the form of the tool entries in the settings
// file and of a person's name split into words.

#include <string>
#include <string_view>
#include <vector>

namespace quill {

// Values joined by commas. A value holding a blank, a control character, a comma or a double
// quote is enclosed in double quotes with inner quotes doubled; an empty value is written as
// "" so that it survives being read back.
std::string JoinCommaText(const std::vector<std::string>& values);
// The value in double quotes with inner quotes doubled, as comma text and command lines
// quote.
std::string QuotedText(std::string_view value);

// Splits at commas and at unquoted blanks and control characters; a run of blanks around a
// comma counts once, leading blanks are skipped. A double-quoted run is one value ("" inside
// it is one quote); an unterminated quote runs to the end. A comma as the very last character
// adds an empty value.
std::vector<std::string> SplitCommaText(std::string_view text);

} // namespace quill
