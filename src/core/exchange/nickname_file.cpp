#include "core/exchange/nickname_file.h"

#include "core/model/nrb_object.h"
#include "core/util/comma_text.h"

#include <vector>

namespace quill {

namespace {

constexpr bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

constexpr bool IsWrapper(char c) {
    return c == '"' || c == '<' || c == '>';
}

// One character of quote or angle bracket off each end, as in "<ann@example.com>".
std::string_view Unwrapped(std::string_view item) {
    if (!item.empty() && IsWrapper(item.front())) {
        item.remove_prefix(1);
    }
    if (!item.empty() && IsWrapper(item.back())) {
        item.remove_suffix(1);
    }
    return item;
}

// Where the item that starts at p ends, split the way SplitCommaText splits: a leading
// double quote runs to its closing quote ("" inside is one quote), anything else to the
// next blank or comma.
std::size_t ItemEnd(std::string_view text, std::size_t p) {
    if (p < text.size() && text[p] == '"') {
        ++p;
        while (p < text.size()) {
            if (text[p] == '"') {
                if (p + 1 < text.size() && text[p + 1] == '"') {
                    p += 2;
                    continue;
                }
                return p + 1;
            }
            ++p;
        }
        return p;
    }
    while (p < text.size() && !IsBlank(text[p]) && text[p] != ',') {
        ++p;
    }
    return p;
}

// From the end of an item to the start of the next: blanks, at most one comma, blanks.
std::size_t NextItem(std::string_view text, std::size_t p) {
    while (p < text.size() && IsBlank(text[p])) {
        ++p;
    }
    if (p < text.size() && text[p] == ',') {
        ++p;
        while (p < text.size() && IsBlank(text[p])) {
            ++p;
        }
    }
    return p;
}

} // namespace

std::optional<NicknameAlias> ParseAliasLine(std::string_view line) {
    if (!line.starts_with("alias")) {
        return std::nullopt;
    }
    const std::vector<std::string> items = SplitCommaText(line);
    if (items.size() < 3) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < items.size(); ++i) {
        const std::string_view item = Unwrapped(items[i]);
        if (IsInternetAddress(item)) {
            return NicknameAlias{std::string(Unwrapped(items[1])), std::string(item)};
        }
    }
    return std::nullopt;
}

std::optional<NicknameNote> ParseNoteLine(std::string_view line) {
    if (!line.starts_with("note")) {
        return std::nullopt;
    }
    std::vector<std::string> items = SplitCommaText(line);
    if (items.size() < 3) {
        return std::nullopt;
    }
    // The text starts behind the nickname as it stands in the line (quoted or not, after
    // however many blanks), and one separator.
    std::size_t p = NextItem(line, ItemEnd(line, 0));
    p = ItemEnd(line, p);
    if (p < line.size() && (IsBlank(line[p]) || line[p] == ',')) {
        ++p;
    }
    NicknameNote note;
    note.nickname = std::move(items[1]);
    note.text = std::string(line.substr(p));
    return note;
}

} // namespace quill
