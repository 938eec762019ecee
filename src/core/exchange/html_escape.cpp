#include "core/exchange/html_escape.h"
#include "core/util/text_encoding.h"

#include "core/util/ascii.h"

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <utility>

namespace quill {

void WriteHtmlRaw(std::ostream& out, std::string_view markup) {
    out.write(markup.data(), static_cast<std::streamsize>(markup.size()));
}

namespace {

// The character reference that stands for c, empty when c goes out as it is.
constexpr std::string_view EntityFor(char c) {
    switch (c) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '"':
        return "&quot;";
    default:
        return {};
    }
}

} // namespace

void WriteHtmlEscaped(std::ostream& out, std::string_view text) {
    // Runs without a special character go out in one piece: most texts have none.
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string_view entity = EntityFor(text[i]);
        if (entity.empty()) {
            continue;
        }
        WriteHtmlRaw(out, text.substr(start, i - start));
        WriteHtmlRaw(out, entity);
        start = i + 1;
    }
    WriteHtmlRaw(out, text.substr(start));
}

std::string HtmlEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const std::string_view entity = EntityFor(c);
        if (entity.empty()) {
            out += c;
        } else {
            out += entity;
        }
    }
    return out;
}

bool IsScriptUrl(std::string_view url) {
    std::size_t first = 0;
    while (first < url.size() && static_cast<unsigned char>(url[first]) <= 0x20) {
        ++first;
    }
    std::string scheme;
    for (std::size_t i = first; i < url.size() && scheme.size() < 16; ++i) {
        const char c = url[i];
        if (c == '\t' || c == '\n' || c == '\r') {
            continue;
        }
        if (c == ':') {
            static constexpr std::array<std::string_view, 3> kScriptSchemes{"javascript",
                                                                            "vbscript", "data"};
            for (std::string_view s : kScriptSchemes) {
                if (EqualsIgnoreAsciiCase(scheme, s)) {
                    return true;
                }
            }
            return false;
        }
        scheme += c;
    }
    return false;
}

namespace {

// The code point of the reference's name ("amp", "#39", "#x2F"); none when it is not one.
std::optional<std::uint32_t> ReferenceValue(std::string_view name) {
    constexpr std::pair<std::string_view, std::uint32_t> kNamed[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", 0xA0}};
    for (const auto& [entity, code] : kNamed) {
        if (name == entity) {
            return code;
        }
    }
    if (name.size() < 2 || name.front() != '#') {
        return std::nullopt;
    }
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 7) {
        return std::nullopt;
    }
    std::uint32_t code = 0;
    for (char c : digits) {
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (hex && AsciiLower(c) >= 'a' && AsciiLower(c) <= 'f') {
            digit = AsciiLower(c) - 'a' + 10;
        } else {
            return std::nullopt;
        }
        code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
    }
    // No NUL, no surrogate, nothing past Unicode.
    if (code == 0 || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
        return std::nullopt;
    }
    return code;
}

} // namespace

std::string HtmlUnescaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t amp = text.find('&', i);
        if (amp == std::string_view::npos) {
            out.append(text.substr(i));
            break;
        }
        out.append(text.substr(i, amp - i));
        const std::size_t semicolon = text.find(';', amp + 1);
        if (semicolon != std::string_view::npos && semicolon - amp <= 10) {
            if (const auto code = ReferenceValue(text.substr(amp + 1, semicolon - amp - 1))) {
                AppendUtf8(out, *code);
                i = semicolon + 1;
                continue;
            }
        }
        out += '&';
        i = amp + 1;
    }
    return out;
}

} // namespace quill
