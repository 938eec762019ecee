#include "core/util/utf16_text.h"
#include "core/util/text_encoding.h"

namespace quill {
namespace {

constexpr std::uint32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(std::uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(std::uint32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

Utf16Mark Utf16MarkOf(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE")) {
        return Utf16Mark::LittleEndian;
    }
    if (bytes.starts_with("\xFE\xFF")) {
        return Utf16Mark::BigEndian;
    }
    return Utf16Mark::None;
}

void Utf16Decoder::Unit(std::uint32_t unit, std::string& out) {
    if (waiting_ != 0) {
        const std::uint32_t high = waiting_;
        waiting_ = 0;
        if (IsLowSurrogate(unit)) {
            AppendUtf8(out, 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
            return;
        }
        AppendUtf8(out, kReplacement);
    }
    if (IsHighSurrogate(unit)) {
        waiting_ = unit;
    } else {
        AppendUtf8(out, IsLowSurrogate(unit) ? kReplacement : unit);
    }
}

void Utf16Decoder::Decode(std::string_view bytes, std::string& out) {
    out.reserve(out.size() + bytes.size() + bytes.size() / 2);
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    std::size_t i = 0;
    if (pendingByte_ >= 0 && !bytes.empty()) {
        const auto first = static_cast<std::uint32_t>(pendingByte_);
        const std::uint32_t second = byteAt(0);
        Unit(little_ ? (second << 8) | first : (first << 8) | second, out);
        pendingByte_ = -1;
        i = 1;
    }
    for (; i + 1 < bytes.size(); i += 2) {
        const std::uint32_t a = byteAt(i);
        const std::uint32_t b = byteAt(i + 1);
        Unit(little_ ? (b << 8) | a : (a << 8) | b, out);
    }
    if (i < bytes.size()) {
        pendingByte_ = byteAt(i);
    }
}

void Utf16Decoder::Finish(std::string& out) {
    if (waiting_ != 0) {
        AppendUtf8(out, kReplacement);
        waiting_ = 0;
    }
    pendingByte_ = -1;
}

std::optional<std::string> Utf16WithMarkToUtf8(std::string_view bytes) {
    const Utf16Mark mark = Utf16MarkOf(bytes);
    if (mark == Utf16Mark::None) {
        return std::nullopt;
    }
    Utf16Decoder decoder(mark == Utf16Mark::LittleEndian);
    std::string out;
    decoder.Decode(bytes.substr(2), out);
    decoder.Finish(out);
    return out;
}

} // namespace quill
