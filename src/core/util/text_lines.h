#pragma once
// Reading a text file line by line, in pieces, so that a large file never sits in memory
// beside what is made from it. Lines come decoded to UTF-8: our own files are UTF-8, a file
// of the Windows program is in its ANSI code page (read as Windows-1252), and a file that
// mixes both loses nothing, since each line that is not valid UTF-8 is converted alone. A
// file that starts with a UTF-16 byte order mark (spreadsheets and Windows address books
// save "Unicode" text so) is read as UTF-16.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace quill {

enum class TextLinesStatus {
    Read,       // every line was handed over
    Stopped,    // the callback asked to stop
    CannotOpen, // the file could not be opened
    ReadError,  // reading failed part-way; the lines before were handed over
};

struct TextLinesOutcome {
    TextLinesStatus status = TextLinesStatus::Read;
    int error = 0; // errno of a failure
    int line = 0;  // for a line too long to read: its number, counted from 1
};

// No line of a text file is longer in earnest; a longer one is damage or an attack, and is
// refused before it costs more memory.
inline constexpr std::size_t kMaxLineBytes = std::size_t{64} << 20;

// Hands each line to onLine, without its line end (CR LF, LF or a lone CR) and without a
// byte-order mark in front of the first; onLine returns false to stop. A line longer than
// maxLineBytes ends the reading as a ReadError (EFBIG) that names the line.
TextLinesOutcome ForEachTextLine(const std::string& path,
                                 const std::function<bool(std::string_view line)>& onLine,
                                 std::size_t maxLineBytes = kMaxLineBytes);

// What the user is told when a file cannot be read: "Cannot read "path": reason", or for a
// line too long: "Line N of "path" is longer than 64 MiB.".
std::string CannotReadMessage(const std::string& path, int error);
std::string TextLinesFailure(const std::string& path, const TextLinesOutcome& outcome);

} // namespace quill
