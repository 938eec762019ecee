#include "core/exchange/html_anchor_reader.h"

#include "core/util/ascii.h"

#include <vector>

namespace quill {

namespace {

constexpr std::string_view kTitleOpen = "<TITLE>";
constexpr std::string_view kTitleClose = "</TITLE>";

constexpr bool IsItemBreak(char c) {
    return static_cast<unsigned char>(c) <= 0x20 || c == ',';
}

// First position of needle in text, letters A to Z matched in either case.
std::size_t FindIgnoreAsciiCase(std::string_view text, std::string_view needle) {
    if (needle.empty() || text.size() < needle.size()) {
        return needle.empty() ? 0 : std::string_view::npos;
    }
    const char first = AsciiLower(needle.front());
    for (std::size_t i = 0; i + needle.size() <= text.size(); ++i) {
        if (AsciiLower(text[i]) == first &&
            EqualsIgnoreAsciiCase(text.substr(i, needle.size()), needle)) {
            return i;
        }
    }
    return std::string_view::npos;
}

// Items of the tag's attribute text: split at blanks and commas, a double-quoted run (even
// in the middle of an item, as in HREF="a b") staying together; quotes are kept.
std::vector<std::string_view> AttributeItems(std::string_view text) {
    std::vector<std::string_view> items;
    std::size_t p = 0;
    while (p < text.size()) {
        while (p < text.size() && IsItemBreak(text[p])) {
            ++p;
        }
        const std::size_t start = p;
        bool quoted = false;
        while (p < text.size() && (quoted || !IsItemBreak(text[p]))) {
            quoted ^= text[p] == '"';
            ++p;
        }
        if (p > start) {
            items.push_back(text.substr(start, p - start));
        }
    }
    return items;
}

} // namespace

std::optional<std::string> TitleOfLine(std::string_view line) {
    if (!StartsWithIgnoreAsciiCase(line, kTitleOpen)) {
        return std::nullopt;
    }
    const std::string_view rest = line.substr(kTitleOpen.size());
    const std::size_t close = FindIgnoreAsciiCase(rest, kTitleClose);
    if (close == std::string_view::npos) {
        return std::string();
    }
    return std::string(rest.substr(0, close));
}

std::string GetBMTitle(std::span<const std::string> lines) {
    for (const std::string& line : lines) {
        if (std::optional<std::string> title = TitleOfLine(line)) {
            return std::move(*title);
        }
    }
    return {};
}

std::optional<HtmlAnchor> GetAnchorInfo(std::string_view line) {
    const std::size_t open = line.find("<A");
    if (open == std::string_view::npos) {
        return std::nullopt;
    }
    // The character after "<A" is the blank before the attributes.
    const std::size_t from = open + 3;
    const std::string_view rest = from < line.size() ? line.substr(from) : std::string_view();
    const std::size_t tagEnd = rest.find('>');
    const std::string_view attributes = rest.substr(0, tagEnd);

    std::optional<std::string_view> href;
    for (std::string_view item : AttributeItems(attributes)) {
        const std::size_t equals = item.find('=');
        if (equals != std::string_view::npos &&
            EqualsIgnoreAsciiCase(item.substr(0, equals), "HREF")) {
            href = item.substr(equals + 1);
            break;
        }
    }
    // A tag without HREF (a named target, or "<ADDRESS>") is no bookmark.
    if (!href) {
        return std::nullopt;
    }
    std::string_view address = *href;
    if (!address.empty() && address.front() == '"') {
        address.remove_prefix(1);
    }
    if (!address.empty() && address.back() == '"') {
        address.remove_suffix(1);
    }

    HtmlAnchor anchor;
    anchor.address = std::string(address);
    const std::size_t close = rest.find("</A>");
    if (tagEnd != std::string_view::npos && close != std::string_view::npos && close > tagEnd) {
        anchor.title = std::string(rest.substr(tagEnd + 1, close - tagEnd - 1));
    }
    return anchor;
}

} // namespace quill
