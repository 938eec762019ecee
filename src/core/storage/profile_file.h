#pragma once
// The settings file: our own private-profile functions over an INI file, with the semantics
// of the Windows ones. Each call opens the file, reads or rewrites it, and closes it again.
//
// Section and key names match without regard to the case of A to Z, and blanks around names
// and values do not count. A value enclosed in a matching pair of double or single quotes is
// read without them. Of duplicate keys the first wins, and of duplicate sections the first is
// the one read and written. Lines starting with ';' are comments. A file that is not valid
// UTF-8 is read as Windows-1252; files are written as UTF-8 with CR LF.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quill {

// The text of a settings file, line by line as it stands, so that a change rewrites only the
// lines it concerns and every other line, comment and the order stay as they were.
class IniDocument {
public:
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    // In file order, each name once.
    std::vector<std::string> Keys(std::string_view section) const;
    std::vector<std::pair<std::string, std::string>> Values(std::string_view section) const;
    bool HasSection(std::string_view section) const;

    // Creates the section and the key as needed. Line breaks in the value become blanks, and
    // a value that would not read back as written (blanks at its ends, or enclosed in quotes)
    // is written in double quotes. False when a name cannot be written: empty, holding a line
    // break, a section name holding ']', a key name holding '=' or starting with ';' or '['.
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);
    // Removes every section of that name with all its lines; false when there was none.
    bool EraseSection(std::string_view section);
    // Removes the key (all its duplicates) from the section; false when it was not there.
    bool DeleteKey(std::string_view section, std::string_view key);

    // The lines joined with CR LF, each one ended.
    std::string Serialize() const;
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    friend IniDocument ParseIni(std::string_view text);

    struct Range {
        std::size_t header; // index of the "[section]" line
        std::size_t end;    // one past the section's last line
    };
    std::optional<Range> FindSection(std::string_view section, std::size_t from = 0) const;
    std::optional<std::size_t> FindKey(const Range& range, std::string_view key) const;

    std::vector<std::string> lines_;
};

// Lines end at LF, with or without CR before it. Decoding is the caller's part.
IniDocument ParseIni(std::string_view text);

// A key or value as the settings file reads it: blanks around it dropped, then one matching
// pair of enclosing quotes (double or single) taken off.
std::string_view TrimProfileText(std::string_view text);
std::string_view UnquoteProfileValue(std::string_view value);

// Decimal with an optional sign, or hexadecimal after "0x"; blanks around it are ignored.
// nullopt for anything else and for numbers outside 32 bits.
std::optional<int> ParseProfileInt(std::string_view text);

std::string ReadProfileString(const std::string& file, std::string_view section,
                              std::string_view key, std::string_view defaultValue);
int ReadProfileInt(const std::string& file, std::string_view section, std::string_view key,
                   int defaultValue);
std::vector<std::string> ReadSectionKeys(const std::string& file, std::string_view section);
std::vector<std::pair<std::string, std::string>> ReadSectionValues(const std::string& file,
                                                                   std::string_view section);

// Each returns false when the file cannot be read or saved (*error, when given, says why) or a
// name cannot be written; a failed save leaves the file as it was.
bool WriteProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value, std::string* error = nullptr);
bool WriteProfileInt(const std::string& file, std::string_view section, std::string_view key,
                     int value, std::string* error = nullptr);
// True also when there was nothing to erase or delete (the file is then left untouched).
bool EraseSection(const std::string& file, std::string_view section, std::string* error = nullptr);
bool DeleteProfileKey(const std::string& file, std::string_view section, std::string_view key,
                      std::string* error = nullptr);

// For callers that take or give many keys at once. ReadProfileDocument reads the file once (a
// missing or unreadable file is empty). UpdateProfile applies change to the file's document
// and saves it once, atomically: the keys end up as the same sequence of single writes would
// leave them, but the file never holds half of the change. change returns false when a name
// cannot be written, and nothing is saved then.
IniDocument ReadProfileDocument(const std::string& file);
bool UpdateProfile(const std::string& file, const std::function<bool(IniDocument&)>& change,
                   std::string* error = nullptr);

} // namespace quill
