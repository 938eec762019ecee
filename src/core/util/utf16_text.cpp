#include "core/util/utf16_text.h"
#include "core/util/text_encoding.h"

#include <cstdint>

namespace quill {
namespace {

constexpr std::uint32_t kReplacement = 0xFFFD;

} // namespace

std::optional<std::string> Utf16WithMarkToUtf8(std::string_view bytes) {
    if (bytes.size() < 2) {
        return std::nullopt;
    }
    const auto b0 = static_cast<unsigned char>(bytes[0]);
    const auto b1 = static_cast<unsigned char>(bytes[1]);
    bool little;
    if (b0 == 0xFF && b1 == 0xFE) {
        little = true;
    } else if (b0 == 0xFE && b1 == 0xFF) {
        little = false;
    } else {
        return std::nullopt;
    }
    const std::size_t units = (bytes.size() - 2) / 2;
    auto unitAt = [&](std::size_t i) -> std::uint32_t {
        const auto lo = static_cast<unsigned char>(bytes[2 + 2 * i + (little ? 0 : 1)]);
        const auto hi = static_cast<unsigned char>(bytes[2 + 2 * i + (little ? 1 : 0)]);
        return (std::uint32_t{hi} << 8) | lo;
    };
    std::string out;
    out.reserve(units + units / 2);
    for (std::size_t i = 0; i < units; ++i) {
        const std::uint32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 < units) {
                const std::uint32_t low = unitAt(i + 1);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                    ++i;
                    continue;
                }
            }
            AppendUtf8(out, kReplacement);
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

} // namespace quill
