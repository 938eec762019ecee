#pragma once
// A phone number written with its extension behind it, as address books and users write it:
// "+1 555 0100 x102", "555-1234 ext. 7", "555-1234 extension 7".

#include <string>
#include <string_view>

namespace quill {

struct NumberAndExtension {
    std::string number;
    std::string extension;
};

// The number before the mark and the extension's digits, when the text ends in a blank, a
// mark ("x", "ext", "ext." or "extension", in any case) and digits (a blank between mark
// and digits allowed); otherwise the whole text is the number and there is no extension.
NumberAndExtension SplitExtension(std::string_view text);

} // namespace quill
