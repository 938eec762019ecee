#include "core/exchange/html_escape.h"

#include "core/util/ascii.h"

#include <array>
#include <ostream>

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

} // namespace quill
