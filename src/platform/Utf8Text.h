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

// What a list or tree row shows of a text: its beginning, at most kShownTextBytes of it (cut
// between characters) and "…" after a text cut. A row shows no more than a screen's width,
// and laying out a title of megabytes held the window for seconds at every repaint.
inline constexpr std::size_t kShownTextBytes = 4096;
inline QString FromUtf8Shown(std::string_view text) {
    if (text.size() <= kShownTextBytes) {
        return FromUtf8(text);
    }
    std::size_t end = kShownTextBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end; // not inside a character's bytes
    }
    return FromUtf8(text.substr(0, end)) + QChar(0x2026);
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
