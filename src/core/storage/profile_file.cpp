#include "core/storage/profile_file.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <unordered_set>

#include "core/util/ascii.h"
#include "core/util/atomic_file.h"
#include "core/util/text_encoding.h"

namespace quill {

namespace {

constexpr bool IsIniBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsIniBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsIniBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

enum class LineKind { Other, Comment, Section, Key };

struct LineInfo {
    LineKind kind = LineKind::Other;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // trimmed, quotes still on
};

LineInfo Classify(std::string_view line) {
    LineInfo info;
    const std::string_view text = Trim(line);
    if (text.empty()) {
        return info;
    }
    if (text.front() == ';') {
        info.kind = LineKind::Comment;
        return info;
    }
    if (text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close != std::string_view::npos) {
            info.kind = LineKind::Section;
            info.name = Trim(text.substr(1, close - 1));
        }
        return info;
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return info;
    }
    info.name = Trim(text.substr(0, equals));
    if (info.name.empty()) {
        return info;
    }
    info.kind = LineKind::Key;
    info.value = Trim(text.substr(equals + 1));
    return info;
}

bool IsQuotePair(std::string_view v) {
    return v.size() >= 2 && v.front() == v.back() && (v.front() == '"' || v.front() == '\'');
}

std::string_view Unquoted(std::string_view v) {
    return IsQuotePair(v) ? v.substr(1, v.size() - 2) : v;
}

// The value as it goes into the file, so that reading it gives the value back.
std::string EncodeValue(std::string_view value) {
    std::string out(value);
    for (char& c : out) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    if (!out.empty() && (IsIniBlank(out.front()) || IsIniBlank(out.back()) || IsQuotePair(out))) {
        out = '"' + out + '"';
    }
    return out;
}

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

bool IsWritableSection(std::string_view name) {
    return !name.empty() && !HasLineBreak(name) && name.find(']') == std::string_view::npos;
}

bool IsWritableKey(std::string_view name) {
    return !name.empty() && !HasLineBreak(name) && name.find('=') == std::string_view::npos &&
           name.front() != ';' && name.front() != '[';
}

} // namespace

IniDocument ParseIni(std::string_view text) {
    IniDocument doc;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        doc.lines_.emplace_back(line);
        pos = next;
    }
    return doc;
}

std::optional<int> ParseProfileInt(std::string_view text) {
    std::string_view s = Trim(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) {
        return std::nullopt;
    }
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        // Any 32-bit pattern, so 0xFFFFFFFF reads as -1.
        std::uint64_t v = 0;
        for (char c : s.substr(2)) {
            int digit;
            if (c >= '0' && c <= '9') {
                digit = c - '0';
            } else if (c >= 'a' && c <= 'f') {
                digit = c - 'a' + 10;
            } else if (c >= 'A' && c <= 'F') {
                digit = c - 'A' + 10;
            } else {
                return std::nullopt;
            }
            v = v * 16 + static_cast<std::uint64_t>(digit);
            if (v > 0xFFFFFFFFu) {
                return std::nullopt;
            }
        }
        auto bits = static_cast<std::uint32_t>(v);
        if (negative) {
            bits = 0u - bits;
        }
        return static_cast<std::int32_t>(bits);
    }
    std::int64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        v = v * 10 + (c - '0');
        if (v > std::int64_t{1} << 31) {
            return std::nullopt;
        }
    }
    if (negative) {
        v = -v;
    }
    if (v > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int>(v);
}

std::optional<IniDocument::Range> IniDocument::FindSection(std::string_view section,
                                                           std::size_t from) const {
    section = Trim(section);
    if (section.empty()) {
        return std::nullopt;
    }
    for (std::size_t i = from; i < lines_.size(); ++i) {
        const LineInfo info = Classify(lines_[i]);
        if (info.kind != LineKind::Section || !EqualsIgnoreAsciiCase(info.name, section)) {
            continue;
        }
        std::size_t end = i + 1;
        while (end < lines_.size() && Classify(lines_[end]).kind != LineKind::Section) {
            ++end;
        }
        return Range{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> IniDocument::FindKey(const Range& range, std::string_view key) const {
    key = Trim(key);
    if (key.empty()) {
        return std::nullopt;
    }
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        const LineInfo info = Classify(lines_[i]);
        if (info.kind == LineKind::Key && EqualsIgnoreAsciiCase(info.name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

bool IniDocument::HasSection(std::string_view section) const {
    return FindSection(section).has_value();
}

std::optional<std::string> IniDocument::Value(std::string_view section,
                                              std::string_view key) const {
    const auto range = FindSection(section);
    if (!range) {
        return std::nullopt;
    }
    const auto index = FindKey(*range, key);
    if (!index) {
        return std::nullopt;
    }
    return std::string(Unquoted(Classify(lines_[*index]).value));
}

std::vector<std::pair<std::string, std::string>>
IniDocument::Values(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> values;
    const auto range = FindSection(section);
    if (!range) {
        return values;
    }
    std::unordered_set<std::string> seen;
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        const LineInfo info = Classify(lines_[i]);
        if (info.kind == LineKind::Key && seen.insert(AsciiLowered(info.name)).second) {
            values.emplace_back(std::string(info.name), std::string(Unquoted(info.value)));
        }
    }
    return values;
}

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    for (auto& [key, value] : Values(section)) {
        keys.push_back(std::move(key));
    }
    return keys;
}

bool IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    if (!IsWritableSection(section) || !IsWritableKey(key)) {
        return false;
    }
    const std::string encoded = EncodeValue(value);
    const auto range = FindSection(section);
    if (!range) {
        if (!lines_.empty() && !Trim(lines_.back()).empty()) {
            lines_.emplace_back();
        }
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(std::string(key) + "=" + encoded);
        return true;
    }
    if (const auto index = FindKey(*range, key)) {
        // Keeps the spelling of the name as the file has it.
        const std::string name(Classify(lines_[*index]).name);
        lines_[*index] = name + "=" + encoded;
        return true;
    }
    // After the section's last entry, so blank lines and comments that lead into the next
    // section stay in front of it.
    std::size_t at = range->header + 1;
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        if (Classify(lines_[i]).kind != LineKind::Comment && !Trim(lines_[i]).empty()) {
            at = i + 1;
        }
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                  std::string(key) + "=" + encoded);
    return true;
}

bool IniDocument::EraseSection(std::string_view section) {
    bool erased = false;
    std::size_t from = 0;
    while (const auto range = FindSection(section, from)) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->header),
                     lines_.begin() + static_cast<std::ptrdiff_t>(range->end));
        from = range->header;
        erased = true;
    }
    return erased;
}

bool IniDocument::DeleteKey(std::string_view section, std::string_view key) {
    auto range = FindSection(section);
    if (!range) {
        return false;
    }
    bool deleted = false;
    while (const auto index = FindKey(*range, key)) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*index));
        --range->end;
        deleted = true;
    }
    return deleted;
}

std::string IniDocument::Serialize() const {
    std::size_t size = 0;
    for (const std::string& line : lines_) {
        size += line.size() + 2;
    }
    std::string out;
    out.reserve(size);
    for (const std::string& line : lines_) {
        out += line;
        out += "\r\n";
    }
    return out;
}

namespace {

IniDocument LoadForReading(const std::string& file) {
    const std::optional<std::string> bytes = ReadWholeFile(file);
    return bytes ? ParseIni(DecodeFileText(*bytes)) : IniDocument{};
}

bool Report(std::string* error, std::string message) {
    if (error != nullptr) {
        *error = std::move(message);
    }
    return false;
}

// Reads the file (a missing one is empty), applies change and saves the result when the text
// differs. change returns false when it cannot be applied.
bool Modify(const std::string& file, std::string* error,
            const std::function<bool(IniDocument&)>& change) {
    IniDocument doc;
    if (const std::optional<std::string> bytes = ReadWholeFile(file)) {
        doc = ParseIni(DecodeFileText(*bytes));
    } else {
        std::error_code ec;
        if (std::filesystem::exists(file, ec) || ec) {
            // Rewriting a file we could not read would lose what it holds.
            return Report(error, "Cannot read \"" + file + "\"");
        }
    }
    const std::string before = doc.Serialize();
    if (!change(doc)) {
        return Report(error, "Cannot write that name into \"" + file + "\"");
    }
    const std::string after = doc.Serialize();
    if (after == before) {
        return true;
    }
    AtomicFileWriter writer;
    if (!writer.Open(file) || !writer.Write(after) || !writer.Commit()) {
        return Report(error, writer.Error());
    }
    return true;
}

} // namespace

std::string ReadProfileString(const std::string& file, std::string_view section,
                              std::string_view key, std::string_view defaultValue) {
    std::optional<std::string> value = LoadForReading(file).Value(section, key);
    return value ? std::move(*value) : std::string(defaultValue);
}

int ReadProfileInt(const std::string& file, std::string_view section, std::string_view key,
                   int defaultValue) {
    const std::optional<std::string> value = LoadForReading(file).Value(section, key);
    if (!value) {
        return defaultValue;
    }
    return ParseProfileInt(*value).value_or(defaultValue);
}

std::vector<std::string> ReadSectionKeys(const std::string& file, std::string_view section) {
    return LoadForReading(file).Keys(section);
}

std::vector<std::pair<std::string, std::string>> ReadSectionValues(const std::string& file,
                                                                   std::string_view section) {
    return LoadForReading(file).Values(section);
}

bool WriteProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value, std::string* error) {
    return Modify(file, error, [&](IniDocument& doc) { return doc.SetValue(section, key, value); });
}

bool WriteProfileInt(const std::string& file, std::string_view section, std::string_view key,
                     int value, std::string* error) {
    return WriteProfileString(file, section, key, std::to_string(value), error);
}

bool EraseSection(const std::string& file, std::string_view section, std::string* error) {
    return Modify(file, error, [&](IniDocument& doc) {
        doc.EraseSection(section);
        return true;
    });
}

bool DeleteProfileKey(const std::string& file, std::string_view section, std::string_view key,
                      std::string* error) {
    return Modify(file, error, [&](IniDocument& doc) {
        doc.DeleteKey(section, key);
        return true;
    });
}

IniDocument ReadProfileDocument(const std::string& file) {
    return LoadForReading(file);
}

bool UpdateProfile(const std::string& file, const std::function<bool(IniDocument&)>& change,
                   std::string* error) {
    return Modify(file, error, change);
}

std::string_view TrimProfileText(std::string_view text) {
    return Trim(text);
}

std::string_view UnquoteProfileValue(std::string_view value) {
    return Unquoted(value);
}

} // namespace quill
