#include "core/util/text_encoding.h"

#include "core/util/ascii.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace quill {

namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;

// Decodes the sequence at text[pos]; returns kInvalid (length 1) for anything not strictly
// well-formed.
char32_t DecodeAt(std::string_view text, std::size_t pos, std::size_t* length) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    *length = 1;
    std::size_t need;
    char32_t cp;
    char32_t min;
    if (lead < 0x80) {
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
        cp = lead & 0x1F;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        cp = lead & 0x0F;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        cp = lead & 0x07;
        min = 0x10000;
    } else {
        return kInvalid;
    }
    if (text.size() - pos <= need) {
        return kInvalid;
    }
    for (std::size_t i = 1; i <= need; ++i) {
        const unsigned char b = byte(pos + i);
        if ((b & 0xC0) != 0x80) {
            return kInvalid;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return kInvalid;
    }
    *length = need + 1;
    return cp;
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

struct CasePair {
    char16_t upper;
    char16_t lower;
};

// Latin Extended-B capitals whose small letter lies elsewhere; the regular runs of
// neighbouring pairs are handled by LowerLatinExtendedB.
constexpr CasePair kLatinExtendedB[] = {
    {0x0181, 0x0253}, {0x0182, 0x0183}, {0x0184, 0x0185}, {0x0186, 0x0254}, {0x0187, 0x0188},
    {0x0189, 0x0256}, {0x018A, 0x0257}, {0x018B, 0x018C}, {0x018E, 0x01DD}, {0x018F, 0x0259},
    {0x0190, 0x025B}, {0x0191, 0x0192}, {0x0193, 0x0260}, {0x0194, 0x0263}, {0x0196, 0x0269},
    {0x0197, 0x0268}, {0x0198, 0x0199}, {0x019C, 0x026F}, {0x019D, 0x0272}, {0x019F, 0x0275},
    {0x01A0, 0x01A1}, {0x01A2, 0x01A3}, {0x01A4, 0x01A5}, {0x01A6, 0x0280}, {0x01A7, 0x01A8},
    {0x01A9, 0x0283}, {0x01AC, 0x01AD}, {0x01AE, 0x0288}, {0x01AF, 0x01B0}, {0x01B1, 0x028A},
    {0x01B2, 0x028B}, {0x01B3, 0x01B4}, {0x01B5, 0x01B6}, {0x01B7, 0x0292}, {0x01B8, 0x01B9},
    {0x01BC, 0x01BD}, {0x01C4, 0x01C6}, {0x01C5, 0x01C6}, {0x01C7, 0x01C9}, {0x01C8, 0x01C9},
    {0x01CA, 0x01CC}, {0x01CB, 0x01CC}, {0x01F1, 0x01F3}, {0x01F2, 0x01F3}, {0x01F4, 0x01F5},
    {0x01F6, 0x0195}, {0x01F7, 0x01BF}, {0x0220, 0x019E}, {0x023A, 0x2C65}, {0x023B, 0x023C},
    {0x023D, 0x019A}, {0x023E, 0x2C66}, {0x0241, 0x0242}, {0x0243, 0x0180}, {0x0244, 0x0289},
    {0x0245, 0x028C}};

constexpr bool In(char32_t c, char32_t first, char32_t last) {
    return c >= first && c <= last;
}

// For runs where each capital at an even code point is followed by its small letter.
constexpr char32_t EvenToOdd(char32_t c) {
    return c | 1;
}
// For runs where the capital is at the odd code point.
constexpr char32_t OddToEven(char32_t c) {
    return (c & 1) ? c + 1 : c;
}

char32_t LowerLatinExtendedB(char32_t c) {
    const auto* end = std::end(kLatinExtendedB);
    const auto* it = std::lower_bound(std::begin(kLatinExtendedB), end, c,
                                      [](const CasePair& p, char32_t v) { return p.upper < v; });
    if (it != end && it->upper == c) {
        return it->lower;
    }
    if (In(c, 0x01CD, 0x01DC)) {
        return OddToEven(c);
    }
    if (In(c, 0x01DE, 0x01EF) || In(c, 0x01F8, 0x021F) || In(c, 0x0222, 0x0233) ||
        In(c, 0x0246, 0x024F)) {
        return EvenToOdd(c);
    }
    return c;
}

char32_t LowerGreek(char32_t c) {
    if (In(c, 0x0391, 0x03A1) || In(c, 0x03A3, 0x03AB)) {
        return c + 0x20;
    }
    switch (c) {
    case 0x0370:
    case 0x0372:
    case 0x0376:
        return c + 1;
    case 0x037F:
        return 0x03F3;
    case 0x0386:
        return 0x03AC;
    case 0x0388:
    case 0x0389:
    case 0x038A:
        return c + 0x25;
    case 0x038C:
        return 0x03CC;
    case 0x038E:
    case 0x038F:
        return c + 0x3F;
    case 0x03CF:
        return 0x03D7;
    case 0x03F4:
        return 0x03B8;
    case 0x03F7:
    case 0x03FA:
        return c + 1;
    case 0x03F9:
        return 0x03F2;
    case 0x03FD:
    case 0x03FE:
    case 0x03FF:
        return c - 0x82;
    default:
        break;
    }
    if (In(c, 0x03D8, 0x03EF)) {
        return EvenToOdd(c);
    }
    return c;
}

char32_t LowerCyrillic(char32_t c) {
    if (In(c, 0x0400, 0x040F)) {
        return c + 0x50;
    }
    if (In(c, 0x0410, 0x042F)) {
        return c + 0x20;
    }
    if (c == 0x04C0) {
        return 0x04CF;
    }
    if (In(c, 0x04C1, 0x04CE)) {
        return OddToEven(c);
    }
    if (In(c, 0x0460, 0x0481) || In(c, 0x048A, 0x04BF) || In(c, 0x04D0, 0x052F)) {
        return EvenToOdd(c);
    }
    return c;
}

// Polytonic Greek: capitals mostly sit eight above their small letters.
char32_t LowerGreekExtended(char32_t c) {
    const char32_t low = c & 0xF;
    const char32_t row = c & 0xFFF0;
    switch (row) {
    case 0x1F00:
    case 0x1F20:
    case 0x1F30:
    case 0x1F60:
    case 0x1F80:
    case 0x1F90:
    case 0x1FA0:
        return low >= 8 ? c - 8 : c;
    case 0x1F10:
    case 0x1F40:
        return (low >= 8 && low <= 0xD) ? c - 8 : c;
    case 0x1F50:
        return (low >= 9 && (low & 1)) ? c - 8 : c;
    default:
        break;
    }
    switch (c) {
    case 0x1FB8:
    case 0x1FB9:
    case 0x1FD8:
    case 0x1FD9:
    case 0x1FE8:
    case 0x1FE9:
        return c - 8;
    case 0x1FBA:
    case 0x1FBB:
        return c - 0x4A;
    case 0x1FC8:
    case 0x1FC9:
    case 0x1FCA:
    case 0x1FCB:
        return c - 0x56;
    case 0x1FDA:
    case 0x1FDB:
        return c - 0x64;
    case 0x1FEA:
    case 0x1FEB:
        return c - 0x70;
    case 0x1FF8:
    case 0x1FF9:
        return c - 0x80;
    case 0x1FFA:
    case 0x1FFB:
        return c - 0x7E;
    case 0x1FBC:
    case 0x1FCC:
    case 0x1FFC:
        return c - 9;
    case 0x1FEC:
        return 0x1FE5;
    default:
        return c;
    }
}

char32_t LowerCodePoint(char32_t c) {
    if (c < 0x100) {
        if (In(c, 'A', 'Z') || (In(c, 0xC0, 0xDE) && c != 0xD7)) {
            return c + 0x20;
        }
        return c;
    }
    if (c < 0x180) {
        if (c == 0x0130) {
            return 'i';
        }
        if (c == 0x0178) {
            return 0x00FF;
        }
        if (In(c, 0x0100, 0x012F) || In(c, 0x0132, 0x0137) || In(c, 0x014A, 0x0177)) {
            return EvenToOdd(c);
        }
        if (In(c, 0x0139, 0x0148) || In(c, 0x0179, 0x017E)) {
            return OddToEven(c);
        }
        return c;
    }
    if (c < 0x250) {
        return LowerLatinExtendedB(c);
    }
    if (In(c, 0x0370, 0x03FF)) {
        return LowerGreek(c);
    }
    if (In(c, 0x0400, 0x052F)) {
        return LowerCyrillic(c);
    }
    if (In(c, 0x0531, 0x0556)) {
        return c + 0x30;
    }
    if (In(c, 0x1E00, 0x1EFF)) {
        if (c == 0x1E9E) {
            return 0x00DF;
        }
        return (c <= 0x1E95 || c >= 0x1EA0) ? EvenToOdd(c) : c;
    }
    if (In(c, 0x1F00, 0x1FFF)) {
        return LowerGreekExtended(c);
    }
    if (In(c, 0xFF21, 0xFF3A)) {
        return c + 0x20;
    }
    return c;
}

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        // Runs of ASCII, most of any file, eight bytes at a time.
        while (pos + 8 <= bytes.size()) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + pos, sizeof word);
            if ((word & 0x8080808080808080ull) != 0) {
                break;
            }
            pos += 8;
        }
        if (pos >= bytes.size()) {
            break;
        }
        if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
            ++pos;
            continue;
        }
        std::size_t length;
        if (DecodeAt(bytes, pos, &length) == kInvalid) {
            return false;
        }
        pos += length;
    }
    return true;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else if (b < 0xA0) {
            AppendUtf8(out, kWindows1252High[b - 0x80]);
        } else {
            AppendUtf8(out, b);
        }
    }
    return out;
}

std::string DecodeFileText(std::string bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.erase(0, 3);
    }
    if (IsValidUtf8(bytes)) {
        return bytes;
    }
    return Windows1252ToUtf8(bytes);
}

std::string Utf8ToLower(std::string_view text) {
    std::string out;
    Utf8ToLowerInto(text, out);
    return out;
}

void Utf8ToLowerInto(std::string_view text, std::string& out) {
    if (IsAscii(text)) {
        out.assign(text);
        for (char& c : out) {
            c = AsciiLower(c);
        }
        return;
    }
    out.clear();
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (static_cast<unsigned char>(c) < 0x80) {
            out += AsciiLower(c);
            ++pos;
            continue;
        }
        std::size_t length;
        const char32_t cp = DecodeAt(text, pos, &length);
        if (cp == kInvalid) {
            out += c;
        } else {
            const char32_t lower = LowerCodePoint(cp);
            if (lower == cp) {
                out.append(text, pos, length);
            } else {
                AppendUtf8(out, lower);
            }
        }
        pos += length;
    }
}

void AppendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        codePoint = 0xFFFD;
    }
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

} // namespace quill
