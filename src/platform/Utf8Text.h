#pragma once
// Item text is UTF-8 in the core; Qt wants QString. One conversion for every layer above it.

#include <QString>
#include <QStringList>

#include <string>
#include <string_view>
#include <vector>

namespace quill {

inline QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::vector<std::string> ToUtf8(const QStringList& texts) {
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(texts.size()));
    for (const QString& text : texts) {
        out.push_back(text.toStdString());
    }
    return out;
}

} // namespace quill
