#pragma once
// The text form of one item record: a header line "{level kind }Title~~Target~~Comment~~Id"
// and a data line of the kind's tag and fields joined by "~~", Categories last.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

inline constexpr std::string_view kFieldSeparator = "~~";
inline constexpr std::string_view kLineEnd = "\r\n";

// Where the first "~~" of text starts, or npos; the same as text.find(kFieldSeparator).
// Fields are short and many: looking at every second byte for a '~' costs less than a
// library search started again for each field.
inline std::size_t FindFieldSeparator(std::string_view text) noexcept {
    const char* p = text.data();
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i + 1 < n) {
        if (p[i + 1] != '~') {
            i += 2; // no "~~" starts at i or at i + 1
        } else if (p[i] == '~') {
            return i;
        } else {
            i += 1;
        }
    }
    return std::string_view::npos;
}

// Splits at every "~~", left to right without look-ahead; n separators give n+1 fields.
void SplitFields(std::string_view text, std::vector<std::string>& fields);

// The same split into views of the text, for readers that copy the fields themselves.
void SplitFieldViews(std::string_view text, std::vector<std::string_view>& fields);

// The value of the text's leading decimal number (blanks and one sign before it allowed),
// 0 when there are no digits. Wraps modulo 2^32 as a 32-bit field does.
std::int32_t LeadingNumber(std::string_view text);

// Makes a text safe for a record field: line breaks become blanks and tilde runs shrink so
// that no "~~" remains and the text does not end in "~" (which would merge with the next
// separator). Returns the text unchanged, without copying, in the common clean case.
bool IsCleanField(std::string_view text);
std::string CleanField(std::string_view text);

// Appends "{level kind }title~~target~~comment~~id".
void AppendHeaderLine(std::string& out, int level, int kind, std::string_view title,
                      std::string_view target, std::string_view comment, std::int32_t id);

// Appends a decimal number.
void AppendNumber(std::string& out, long long value);

// Builds a data line field by field: the tag, then each field with a separator before all
// but the first.
class DataLineBuilder {
public:
    DataLineBuilder(std::string& out, std::string_view tag) : out_(out) { out_.append(tag); }
    DataLineBuilder& Field(std::string_view text);
    DataLineBuilder& Number(long long value);

private:
    std::string& out_;
    bool first_ = true;
};

// Takes a data line apart: checks the tag and splits the rest (the first kMaxFields fields).
// Used by every kind's ReadDataLine.
class DataLineReader {
public:
    // False when the text does not start with the tag (the data line is then ignored).
    bool Open(std::string_view text, std::string_view tag);
    std::size_t FieldCount() const { return count_; }
    bool Has(std::size_t index) const { return index < count_; }
    std::string_view At(std::size_t index) const { return fields_[index]; }
    // Categories are the field at index, 0 when the line stops before it.
    std::int32_t CategoriesAt(std::size_t index) const {
        return Has(index) ? LeadingNumber(At(index)) : 0;
    }

    // Fields beyond these are never read, so they are not split off: a line of a million
    // separators costs one pass, not a list of a million fields.
    static constexpr std::size_t kMaxFields = 12;

private:
    std::string_view fields_[kMaxFields];
    std::size_t count_ = 0;
};

} // namespace quill
