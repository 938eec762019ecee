#include "core/util/comma_text.h"

namespace quill {

namespace {

constexpr bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

bool NeedsQuotes(std::string_view value) {
    if (value.empty()) {
        return true;
    }
    for (char c : value) {
        if (IsBlank(c) || c == ',' || c == '"') {
            return true;
        }
    }
    return false;
}

} // namespace

std::string JoinCommaText(const std::vector<std::string>& values) {
    std::string out;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        const std::string& value = values[i];
        out += NeedsQuotes(value) ? QuotedText(value) : value;
    }
    return out;
}

std::string QuotedText(std::string_view value) {
    std::string out = "\"";
    for (char c : value) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
    return out;
}

std::vector<std::string> SplitCommaText(std::string_view text) {
    std::vector<std::string> values;
    std::size_t p = 0;
    const std::size_t n = text.size();
    auto skipBlanks = [&] {
        while (p < n && IsBlank(text[p])) {
            ++p;
        }
    };
    skipBlanks();
    while (p < n) {
        std::string value;
        if (text[p] == '"') {
            ++p;
            while (p < n) {
                if (text[p] == '"') {
                    if (p + 1 < n && text[p + 1] == '"') {
                        value += '"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                value += text[p++];
            }
        } else {
            const std::size_t start = p;
            while (p < n && !IsBlank(text[p]) && text[p] != ',') {
                ++p;
            }
            value.assign(text.substr(start, p - start));
        }
        values.push_back(std::move(value));
        skipBlanks();
        if (p < n && text[p] == ',') {
            if (p + 1 == n) {
                values.emplace_back();
            }
            ++p;
            skipBlanks();
        }
    }
    return values;
}

} // namespace quill
