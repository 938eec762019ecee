#pragma once
// Item text is UTF-8 in the core; Qt wants QString. One conversion for every layer above it.

#include <QString>

#include <string_view>

namespace quill {

inline QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace quill
