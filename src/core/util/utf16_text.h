#pragma once
// Files some programs write in UTF-16 (Windows address books, Outlook exports, spreadsheets
// saved as "Unicode text"): recognised by their byte order mark and turned into the UTF-8 the
// program holds.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quill {

enum class Utf16Mark { None, LittleEndian, BigEndian };

// What a UTF-16 byte order mark at the start of bytes says (FF FE little endian, FE FF big).
Utf16Mark Utf16MarkOf(std::string_view bytes);

// Turns UTF-16 into UTF-8 piece by piece, as a file is read: a unit or a surrogate pair cut
// by the end of one piece is completed by the next. An unpaired surrogate becomes U+FFFD.
class Utf16Decoder {
public:
    explicit Utf16Decoder(bool littleEndian) : little_(littleEndian) {}
    // Appends the text of bytes (without a byte order mark) to out.
    void Decode(std::string_view bytes, std::string& out);
    // Appends what the end of the text leaves: U+FFFD for a surrogate still waiting for its
    // pair; an odd last byte is dropped.
    void Finish(std::string& out);

private:
    void Unit(std::uint32_t unit, std::string& out);

    bool little_;
    int pendingByte_ = -1;      // the first byte of a unit cut by the end of a piece
    std::uint32_t waiting_ = 0; // a high surrogate whose pair has not come yet
};

// The text as UTF-8 when bytes start with a UTF-16 byte order mark, without the mark;
// nullopt for any other bytes.
std::optional<std::string> Utf16WithMarkToUtf8(std::string_view bytes);

} // namespace quill
