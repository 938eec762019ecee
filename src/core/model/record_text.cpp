#include "core/model/record_text.h"

#include <charconv>

namespace quill {

void SplitFieldViews(std::string_view text, std::vector<std::string_view>& fields) {
    fields.clear();
    for (;;) {
        const std::size_t at = FindFieldSeparator(text);
        if (at == std::string_view::npos) {
            fields.push_back(text);
            return;
        }
        fields.push_back(text.substr(0, at));
        text.remove_prefix(at + kFieldSeparator.size());
    }
}

void SplitFields(std::string_view text, std::vector<std::string>& fields) {
    std::vector<std::string_view> views;
    SplitFieldViews(text, views);
    fields.clear();
    for (std::string_view v : views) {
        fields.emplace_back(v);
    }
}

std::int32_t LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    }
    if (negative) {
        value = 0u - value;
    }
    return static_cast<std::int32_t>(value);
}

bool IsCleanField(std::string_view text) {
    if (!text.empty() && text.back() == '~') {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        // One rare-case test per byte: CR, LF and '~' are the only bytes that matter.
        if (static_cast<unsigned char>(c) > '\r' && c != '~') {
            continue;
        }
        if (c == '\r' || c == '\n') {
            return false;
        }
        if (c == '~' && i + 1 < text.size() && text[i + 1] == '~') {
            return false;
        }
    }
    return true;
}

std::string CleanField(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            // A CR LF pair is one line break and becomes one blank.
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            out.push_back(' ');
        } else if (c == '~') {
            if (out.empty() || out.back() != '~') {
                out.push_back('~');
            }
        } else {
            out.push_back(c);
        }
    }
    while (!out.empty() && out.back() == '~') {
        out.pop_back();
    }
    return out;
}

void AppendNumber(std::string& out, long long value) {
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void AppendHeaderLine(std::string& out, int level, int kind, std::string_view title,
                      std::string_view target, std::string_view comment, std::int32_t id) {
    out.push_back('{');
    AppendNumber(out, level);
    out.push_back(' ');
    AppendNumber(out, kind);
    out.append(" }");
    out.append(title);
    out.append(kFieldSeparator);
    out.append(target);
    out.append(kFieldSeparator);
    out.append(comment);
    out.append(kFieldSeparator);
    AppendNumber(out, id);
}

DataLineBuilder& DataLineBuilder::Field(std::string_view text) {
    if (!first_) {
        out_.append(kFieldSeparator);
    }
    first_ = false;
    out_.append(text);
    return *this;
}

DataLineBuilder& DataLineBuilder::Number(long long value) {
    if (!first_) {
        out_.append(kFieldSeparator);
    }
    first_ = false;
    AppendNumber(out_, value);
    return *this;
}

bool DataLineReader::Open(std::string_view text, std::string_view tag) {
    count_ = 0;
    if (tag.empty() || text.substr(0, tag.size()) != tag) {
        return false;
    }
    text.remove_prefix(tag.size());
    while (count_ < kMaxFields) {
        const std::size_t at = FindFieldSeparator(text);
        if (at == std::string_view::npos) {
            fields_[count_++] = text;
            break;
        }
        fields_[count_++] = text.substr(0, at);
        text.remove_prefix(at + kFieldSeparator.size());
    }
    return true;
}

} // namespace quill
