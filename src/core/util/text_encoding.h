#pragma once
// Text is held as UTF-8. Files from the Windows program are in its ANSI code page
// (Windows-1252) and are converted when read.

#include <string>
#include <string_view>

namespace quill {

// Strict: rejects overlong forms, surrogates, code points above U+10FFFF and truncated
// sequences.
bool IsValidUtf8(std::string_view bytes);

// The code point's UTF-8 bytes appended to out; a surrogate or a value past U+10FFFF becomes
// U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);

// Every byte mapped through the Windows-1252 table; the five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 controls of the same value.
std::string Windows1252ToUtf8(std::string_view bytes);

// The text of a file: without a leading UTF-8 byte order mark, unchanged when it is valid
// UTF-8, otherwise read as Windows-1252.
std::string DecodeFileText(std::string bytes);

// Lower case for the alphabets a contact list meets: Latin (Latin-1 Supplement, Extended-A,
// Extended-B, Extended Additional), Greek, Cyrillic, Armenian and fullwidth A to Z. Other
// code points and bytes that are not valid UTF-8 are copied unchanged.
std::string Utf8ToLower(std::string_view text);
// The same into out (replacing what it held), for loops that lower many texts.
void Utf8ToLowerInto(std::string_view text, std::string& out);

} // namespace quill
