#pragma once
// Files some programs write in UTF-16 (Windows address books, Outlook exports): recognised by
// their byte order mark and turned into the UTF-8 the program holds.

#include <optional>
#include <string>
#include <string_view>

namespace quill {

// The text as UTF-8 when bytes start with a UTF-16 byte order mark (FF FE little endian,
// FE FF big endian), without the mark; nullopt for any other bytes. An unpaired surrogate
// becomes U+FFFD, and an odd last byte is dropped.
std::optional<std::string> Utf16WithMarkToUtf8(std::string_view bytes);

} // namespace quill
