#include "core/exchange/vcard.h"

#include "core/exchange/exchange_export.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "core/model/record_text.h"
#include "core/util/ascii.h"
#include "core/util/atomic_file.h"
#include "core/util/filled_ahead.h"
#include "core/util/text_encoding.h"
#include "core/util/utf16_text.h"
#include "core/util/work_progress.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <optional>
#include <unordered_map>

namespace quill {

const std::array<VCardType, kVCardTypeCount> kVCardTypes{{
    {"DOM", "Domestic"},
    {"INTL", "International"},
    {"POSTAL", "Postal"},
    {"PARCEL", "Parcel"},
    {"HOME", "Home"},
    {"WORK", "Office"},
    {"PREF", "Preferred"},
    {"VOICE", "Voice Line"},
    {"FAX", "Fax Line"},
    {"MSG", "Message Only"},
    {"CELL", "Cellular"},
    {"PAGER", "Pager"},
    {"BBS", "BBS"},
    {"MODEM", "MODEM"},
    {"CAR", "Car Phone"},
    {"ISDN", "ISDN"},
    {"VIDEO", "Video Phone"},
    {"AOL", "AOL"},
    {"AppleLink", "AppleLink"},
    {"ATTMail", "ATTMail"},
    {"CIS", "CIS"},
    {"eWorld", "eWorld"},
    {"INTERNET", "Internet"},
    {"IBMMail", "IBMMail"},
    {"MCIMail", "MCIMail"},
    {"POWERSHARE", "Powershare"},
    {"PRODIGY", "PRODIGY"},
    {"TLX", "TLX"},
    {"X400", "X.400"},
}};

namespace {

// The property names read, in the order they are tried.
constexpr std::string_view kTakenNames[] = {"FN",    "N",     "ADR", "TEL",
                                            "EMAIL", "TITLE", "ORG", "URL"};

constexpr bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The program's own lines are taken by a prefix test, so NOTE: counts as an N line (whose
// name then matches no lookup).
bool BeginsWithTakenName(std::string_view line) {
    for (std::string_view name : kTakenNames) {
        if (StartsWithIgnoreAsciiCase(line, name)) {
            return true;
        }
    }
    return false;
}

// Lines kept beside the eight: the note, dates that become reminders, the categories, and
// the labels and dates Apple's address book ties to a property by its group.
constexpr std::string_view kExtraNames[] = {"NOTE",
                                            "CATEGORIES",
                                            "BDAY",
                                            "ANNIVERSARY",
                                            "X-ABLABEL",
                                            "X-ABDATE",
                                            "X-ANNIVERSARY",
                                            "X-EVOLUTION-ANNIVERSARY",
                                            "X-MS-ANNIVERSARY",
                                            "X-KADDRESSBOOK-X-ANNIVERSARY"};

bool IsExtraName(std::string_view name) {
    for (std::string_view extra : kExtraNames) {
        if (EqualsIgnoreAsciiCase(name, extra)) {
            return true;
        }
    }
    return false;
}

// Lines that describe the card rather than the contact (its format, identity, revision and
// kind, which the item's kind already says): never reported as not kept.
bool IsStructuralName(std::string_view name) {
    for (std::string_view structural :
         {"VERSION", "PRODID", "BEGIN", "END", "UID", "REV", "KIND", "X-ABSHOWAS"}) {
        if (EqualsIgnoreAsciiCase(name, structural)) {
            return true;
        }
    }
    return false;
}

// Parameters of a standard line kept for the item readers.
bool IsKeptParameter(std::string_view key) {
    return EqualsIgnoreAsciiCase(key, "VALUE") || EqualsIgnoreAsciiCase(key, "X-APPLE-OMIT-YEAR");
}

// The lines a card's import needs before its item is made: its name and organization.
constexpr std::string_view kHeadingNames[] = {"N", "FN", "TITLE", "ORG"};

bool BeginsWithHeadingName(std::string_view line) {
    for (std::string_view name : kHeadingNames) {
        if (StartsWithIgnoreAsciiCase(line, name)) {
            return true;
        }
    }
    return false;
}

bool IsHeadingName(std::string_view name) {
    for (std::string_view heading : kHeadingNames) {
        if (EqualsIgnoreAsciiCase(name, heading)) {
            return true;
        }
    }
    return false;
}

bool IsTakenName(std::string_view name) {
    for (std::string_view taken : kTakenNames) {
        if (EqualsIgnoreAsciiCase(name, taken)) {
            return true;
        }
    }
    return false;
}

constexpr bool IsValueSeparator(char c) {
    return c == ',' || c == ';';
}

// A value read back from the program's own form: enclosing double quotes are dropped.
std::string_view Unquoted(std::string_view piece) {
    if (piece.size() >= 2 && piece.front() == '"' && piece.back() == '"') {
        return piece.substr(1, piece.size() - 2);
    }
    return piece;
}

// Whether encoded, standing as one value among others, reads back as value and leaves the
// values after it alone.
bool ReadsBackAs(std::string_view encoded, std::string_view value) {
    bool quoted = false;
    for (char c : encoded) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && IsValueSeparator(c)) {
            return false;
        }
    }
    return !quoted && Unquoted(encoded) == value;
}

std::string EncodeValue(std::string_view raw) {
    std::string value(raw);
    // A line break would end the line; the record format keeps none either.
    for (char& c : value) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    if (ReadsBackAs(value, value)) {
        return value;
    }
    std::string wrapped = "\"" + value + "\"";
    if (ReadsBackAs(wrapped, value)) {
        return wrapped;
    }
    // Quotes that no enclosing can protect would swallow the following values; they are
    // written as single quotes, which then need at most an enclosing pair.
    for (char& c : value) {
        if (c == '"') {
            c = '\'';
        }
    }
    if (ReadsBackAs(value, value)) {
        return value;
    }
    return "\"" + value + "\"";
}

} // namespace

int VCardTypeIndexOf(std::string_view parameter) {
    for (std::size_t i = 0; i < kVCardTypes.size(); ++i) {
        if (EqualsIgnoreAsciiCase(parameter, kVCardTypes[i].parameter)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// --- TCardProperty

void TCardProperty::Clear() {
    name_.clear();
    types_ = 0;
    values_.clear();
    group_.clear();
    parameters_.clear();
}

std::string_view TCardProperty::Parameter(std::string_view name) const {
    for (const auto& [key, value] : parameters_) {
        if (EqualsIgnoreAsciiCase(key, name)) {
            return value;
        }
    }
    return {};
}

void TCardProperty::AddParameter(std::string_view name, std::string_view value) {
    parameters_.emplace_back(std::string(name), std::string(value));
}

void TCardProperty::SetType(int index, bool on) {
    if (index < 0 || index >= static_cast<int>(kVCardTypeCount)) {
        return;
    }
    const std::uint32_t bit = std::uint32_t{1} << index;
    types_ = on ? (types_ | bit) : (types_ & ~bit);
}

std::string_view TCardProperty::Value(std::size_t index) const {
    return index < values_.size() ? std::string_view(values_[index]) : std::string_view();
}

void TCardProperty::Parse(std::string_view line) {
    Clear();
    const std::size_t colon = line.find(':');
    const std::string_view namePart = line.substr(0, colon);
    const std::string_view valuePart =
        colon == std::string_view::npos ? std::string_view() : line.substr(colon + 1);

    // The name part: items at ";", "," and blanks, a double-quoted run staying whole (as
    // comma text splits); the first is the name, the others may be type parameters.
    std::size_t p = 0;
    const std::size_t n = namePart.size();
    auto skipBlanks = [&] {
        while (p < n && IsBlank(namePart[p])) {
            ++p;
        }
    };
    bool first = true;
    std::string quotedItem;
    skipBlanks();
    while (p < n) {
        std::string_view item;
        if (namePart[p] == '"') {
            quotedItem.clear();
            ++p;
            while (p < n) {
                if (namePart[p] == '"') {
                    if (p + 1 < n && namePart[p + 1] == '"') {
                        quotedItem += '"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                quotedItem += namePart[p++];
            }
            item = quotedItem;
        } else {
            const std::size_t start = p;
            while (p < n && !IsBlank(namePart[p]) && !IsValueSeparator(namePart[p])) {
                ++p;
            }
            item = namePart.substr(start, p - start);
        }
        if (first) {
            name_ = item;
            first = false;
        } else {
            SetType(VCardTypeIndexOf(item));
        }
        skipBlanks();
        if (p < n && IsValueSeparator(namePart[p])) {
            ++p;
            skipBlanks();
        }
    }

    // The values: split at "," and ";" outside double quotes; a separator at the end gives
    // a last, empty value.
    if (valuePart.empty()) {
        return;
    }
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < valuePart.size(); ++i) {
        const char c = valuePart[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && IsValueSeparator(c)) {
            values_.emplace_back(Unquoted(valuePart.substr(start, i - start)));
            start = i + 1;
        }
    }
    values_.emplace_back(Unquoted(valuePart.substr(start)));
}

std::string TCardProperty::Format() const {
    std::string line = name_;
    for (std::size_t i = 0; i < kVCardTypeCount; ++i) {
        if (HasType(static_cast<int>(i))) {
            line += ';';
            line.append(kVCardTypes[i].parameter);
        }
    }
    line += ':';
    for (const std::string& value : values_) {
        line.append(EncodeValue(value));
        line += ';';
    }
    if (line.back() == ';') {
        line.pop_back();
    }
    return line;
}

std::string TCardProperty::TypeDisplayText() const {
    std::string text;
    for (std::size_t i = 0; i < kVCardTypeCount; ++i) {
        if (HasType(static_cast<int>(i))) {
            if (!text.empty()) {
                text += ',';
            }
            text.append(kVCardTypes[i].displayName);
        }
    }
    return text;
}

// --- TCard

int TCard::IndexOf(const TCardProperty* property) const {
    for (std::size_t i = 0; i < properties_.size(); ++i) {
        if (&properties_[i] == property) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void TCard::Delete(std::size_t index) {
    if (index < properties_.size()) {
        properties_.erase(properties_.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

const TCardProperty* TCard::Find(std::string_view name) const {
    for (const TCardProperty& property : properties_) {
        if (property.Name() == name) {
            return &property;
        }
    }
    return nullptr;
}

const TCardProperty* TCard::FindInGroup(std::string_view name, std::string_view group) const {
    for (const TCardProperty& property : properties_) {
        if (property.Name() == name && property.Group() == group) {
            return &property;
        }
    }
    return nullptr;
}

void TCard::AddSkippedName(std::string_view name) {
    skipped_.push_back(AsciiUppered(name));
}

void TCard::Clear() {
    properties_.clear();
    version_.clear();
    ownProduct_ = false;
    skipped_.clear();
}

void TCard::ClearInto(std::vector<TCardProperty>& spare) {
    std::move(properties_.begin(), properties_.end(), std::back_inserter(spare));
    Clear();
}

// --- Reading

namespace {

// CR LF, LF and a lone CR each end a line.
std::string_view NextLine(std::string_view& rest) {
    const void* lf = std::memchr(rest.data(), '\n', rest.size());
    const std::size_t limit =
        lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - rest.data()) : rest.size();
    const void* cr = std::memchr(rest.data(), '\r', limit);
    const std::size_t end =
        cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - rest.data()) : limit;
    const std::string_view line = rest.substr(0, end);
    std::size_t next = end;
    if (next < rest.size()) {
        next += (rest[next] == '\r' && next + 1 < rest.size() && rest[next + 1] == '\n') ? 2 : 1;
    }
    rest.remove_prefix(next);
    return line;
}

enum class Dialect {
    Own,    // no VERSION: the program's own plain form
    V21,    // quoted-printable and character sets
    Modern, // 3.0 and 4.0: folding, escaping, UTF-8
};

constexpr bool IsFoldContinuation(std::string_view line) {
    return !line.empty() && (line.front() == ' ' || line.front() == '\t');
}

// First index of c outside double quotes, npos when none.
std::size_t FindUnquoted(std::string_view text, char c, std::size_t from = 0) {
    bool quoted = false;
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == '"') {
            quoted = !quoted;
        } else if (!quoted && text[i] == c) {
            return i;
        }
    }
    return std::string_view::npos;
}

// The property name of a standard line: the word before ";" or ":", without its group
// ("item1.EMAIL" is EMAIL).
std::string_view StandardName(std::string_view line) {
    std::size_t end = 0;
    while (end < line.size() && line[end] != ';' && line[end] != ':') {
        ++end;
    }
    std::string_view name = Trimmed(line.substr(0, end));
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos) {
        name.remove_prefix(dot + 1);
    }
    return name;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

std::string QuotedPrintableDecoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '=') {
            out += text[i];
            continue;
        }
        if (i + 2 < text.size()) {
            const int high = HexDigit(text[i + 1]);
            const int low = HexDigit(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        // A soft break left at the very end is dropped; any other "=" stands for itself.
        if (i + 1 < text.size()) {
            out += '=';
        }
    }
    return out;
}

// A 2.1 line whose parameters say quoted-printable (bare or as ENCODING=).
bool IsQuotedPrintable(std::string_view line) {
    const std::size_t colon = FindUnquoted(line, ':');
    if (colon == std::string_view::npos) {
        return false;
    }
    return AsciiLowered(line.substr(0, colon)).find("quoted-printable") != std::string::npos;
}

bool IsSingleByteCharset(std::string_view charset) {
    return StartsWithIgnoreAsciiCase(charset, "ISO-8859") ||
           StartsWithIgnoreAsciiCase(charset, "ISO8859") ||
           StartsWithIgnoreAsciiCase(charset, "WINDOWS-125") ||
           StartsWithIgnoreAsciiCase(charset, "CP125") ||
           EqualsIgnoreAsciiCase(charset, "LATIN1") || EqualsIgnoreAsciiCase(charset, "US-ASCII") ||
           EqualsIgnoreAsciiCase(charset, "ASCII");
}

class CardReader {
public:
    explicit CardReader(bool fileIsUtf8) : fileIsUtf8_(fileIsUtf8) {}

    // The card of the lines between a begin and an end line. With headingsOnly just the lines
    // that name it (N, FN, TITLE, ORG) are parsed. The card is reused by the next call.
    TCard& Read(std::string_view body, bool headingsOnly) {
        raw_.clear();
        while (!body.empty()) {
            raw_.push_back(NextLine(body));
        }
        headingsOnly_ = headingsOnly;
        card_.ClearInto(spare_);
        card_.Reserve(raw_.size());
        const Dialect dialect = DialectOf();
        if (dialect == Dialect::Own) {
            ReadOwn();
        } else {
            ReadStandard(dialect);
        }
        return card_;
    }

private:
    // An empty property, made from one of the last card's where there is one.
    TCardProperty SpareProperty() {
        if (spare_.empty()) {
            return {};
        }
        TCardProperty property = std::move(spare_.back());
        spare_.pop_back();
        property.Clear();
        return property;
    }

    // Decided before any line is parsed, since the VERSION line may stand anywhere. A card
    // with the program's own PRODID and version 2.1 (or none) is read in the own form.
    Dialect DialectOf() {
        Dialect dialect = Dialect::Own;
        bool own = false;
        for (std::string_view line : raw_) {
            if (StartsWithIgnoreAsciiCase(line, "PRODID:")) {
                own = own || Trimmed(line.substr(7)) == kOwnVCardProductId;
                continue;
            }
            if (!StartsWithIgnoreAsciiCase(line, "VERSION:") || !card_.Version().empty()) {
                continue;
            }
            const std::string_view version = Trimmed(line.substr(8));
            if (version.starts_with('2')) {
                card_.SetVersion(version);
                dialect = Dialect::V21;
            } else if (version.starts_with('3') || version.starts_with('4')) {
                card_.SetVersion(version);
                dialect = Dialect::Modern;
            }
        }
        // The program writes 3.0 and 4.0 cards to the standard, under the same product.
        own = own && dialect != Dialect::Modern;
        card_.SetOwnProduct(own);
        return own ? Dialect::Own : dialect;
    }

    // The word an own-form line starts with, as the own parse takes its name.
    static std::string_view OwnName(std::string_view line) {
        std::size_t end = 0;
        while (end < line.size() && line[end] != ';' && line[end] != ':' && line[end] != ',' &&
               !IsBlank(line[end])) {
            ++end;
        }
        return line.substr(0, end);
    }

    void ReadOwn() {
        for (std::string_view line : raw_) {
            const std::string_view name = OwnName(line);
            const bool extra = IsExtraName(name);
            if (headingsOnly_ ? !BeginsWithHeadingName(line) || extra
                              : !extra && !BeginsWithTakenName(line)) {
                // Structural lines, continuations and lines without a value say nothing.
                if (!headingsOnly_ && !name.empty() && !IsStructuralName(name) &&
                    line.find(':') != std::string_view::npos) {
                    card_.AddSkippedName(name);
                }
                continue;
            }
            if (!fileIsUtf8_) {
                decoded_ = Windows1252ToUtf8(line);
                line = decoded_;
            }
            TCardProperty property = SpareProperty();
            if (extra) {
                // A note or a date is one text: its commas are no separators.
                property.SetName(AsciiUppered(name));
                const std::size_t colon = line.find(':');
                property.AddValue(std::string(Trimmed(line.substr(colon + 1))));
            } else {
                property.Parse(line);
            }
            card_.Add(std::move(property));
        }
    }

    void ReadStandard(Dialect dialect) {
        const std::size_t n = raw_.size();
        for (std::size_t i = 0; i < n; ++i) {
            std::string_view line = raw_[i];
            if (IsFoldContinuation(line)) {
                continue; // the rest of a line not taken, or of a folded picture
            }
            std::size_t next = i + 1;
            while (next < n && IsFoldContinuation(raw_[next])) {
                ++next;
            }
            const std::string_view name = StandardName(line);
            // Every heading is a taken name.
            const bool kept =
                headingsOnly_ ? IsHeadingName(name) : IsTakenName(name) || IsExtraName(name);
            if (!kept) {
                if (!kept && !headingsOnly_ && !name.empty() && !IsStructuralName(name) &&
                    FindUnquoted(line, ':') != std::string_view::npos) {
                    card_.AddSkippedName(name);
                }
                i = next - 1;
                continue;
            }
            if (dialect == Dialect::V21 && IsQuotedPrintable(line)) {
                // Soft line breaks: "=" at the end joins the next line as it stands.
                next = i + 1;
                if (line.ends_with('=') && next < n) {
                    joined_.assign(line);
                    while (joined_.ends_with('=') && next < n) {
                        joined_.pop_back();
                        joined_.append(raw_[next++]);
                    }
                    line = joined_;
                }
            } else if (next > i + 1) {
                // 3.0 and 4.0 drop the blank that starts a continuation; 2.1 keeps it.
                joined_.assign(line);
                for (std::size_t k = i + 1; k < next; ++k) {
                    joined_.append(dialect == Dialect::Modern ? raw_[k].substr(1) : raw_[k]);
                }
                line = joined_;
            }
            i = next - 1;
            ParseStandard(line, dialect);
        }
    }

    void ParseStandard(std::string_view line, Dialect dialect) {
        const std::size_t colon = FindUnquoted(line, ':');
        if (colon == std::string_view::npos) {
            return;
        }
        const std::string_view namePart = line.substr(0, colon);
        const std::string_view valuePart = line.substr(colon + 1);

        TCardProperty property = SpareProperty();
        bool quotedPrintable = false;
        std::string_view charset;
        std::size_t start = 0;
        bool first = true;
        while (start <= namePart.size()) {
            std::size_t end = FindUnquoted(namePart, ';', start);
            if (end == std::string_view::npos) {
                end = namePart.size();
            }
            const std::string_view segment = Trimmed(namePart.substr(start, end - start));
            start = end + 1;
            if (first) {
                first = false;
                property.SetName(AsciiUppered(StandardName(segment)));
                const std::size_t dot = segment.rfind('.');
                if (dot != std::string_view::npos) {
                    property.SetGroup(AsciiLowered(Trimmed(segment.substr(0, dot))));
                }
                continue;
            }
            const std::size_t equals = segment.find('=');
            if (equals == std::string_view::npos) {
                // 2.1 writes types and the encoding as bare words.
                if (EqualsIgnoreAsciiCase(segment, "QUOTED-PRINTABLE")) {
                    quotedPrintable = true;
                } else {
                    property.SetType(VCardTypeIndexOf(segment));
                }
                continue;
            }
            const std::string_view key = Trimmed(segment.substr(0, equals));
            const std::string_view value = Trimmed(segment.substr(equals + 1));
            if (EqualsIgnoreAsciiCase(key, "TYPE")) {
                // TYPE=WORK,VOICE and TYPE="work,voice" alike.
                std::size_t from = 0;
                while (from <= value.size()) {
                    std::size_t comma = value.find(',', from);
                    if (comma == std::string_view::npos) {
                        comma = value.size();
                    }
                    std::string_view type = value.substr(from, comma - from);
                    while (!type.empty() && (type.front() == '"' || IsBlank(type.front()))) {
                        type.remove_prefix(1);
                    }
                    while (!type.empty() && (type.back() == '"' || IsBlank(type.back()))) {
                        type.remove_suffix(1);
                    }
                    property.SetType(VCardTypeIndexOf(type));
                    from = comma + 1;
                }
            } else if (EqualsIgnoreAsciiCase(key, "PREF")) {
                // 4.0 ranks with PREF=1 (the most preferred) to 100.
                if (Unquoted(value) == "1") {
                    property.SetType(kVCardPref);
                }
            } else if (EqualsIgnoreAsciiCase(key, "ENCODING")) {
                quotedPrintable = EqualsIgnoreAsciiCase(value, "QUOTED-PRINTABLE");
            } else if (EqualsIgnoreAsciiCase(key, "CHARSET")) {
                charset = Unquoted(value);
            } else if (IsKeptParameter(key)) {
                property.AddParameter(AsciiUppered(key), Unquoted(value));
            }
        }
        values_.clear();
        if (!valuePart.empty()) {
            SplitStandardValues(valuePart, dialect, values_);
        }
        property.ReserveValues(values_.size());
        for (std::string& value : values_) {
            property.AddValue(Decoded(std::move(value), quotedPrintable, charset));
        }
        if (property.Name() == "TEL" && StartsWithIgnoreAsciiCase(property.Value(0), "tel:")) {
            ReadTelephoneUri(property);
        }
        card_.Add(std::move(property));
    }

    // 4.0 (and some 3.0 writers) give numbers as tel: URIs, whose ";" starts a parameter,
    // not a component: "tel:+1-555-0100;ext=102" is the number, the one value, and its
    // extension, kept as a parameter.
    static void ReadTelephoneUri(TCardProperty& property) {
        std::string uri;
        for (std::size_t i = 0; i < property.ValueCount(); ++i) {
            if (i > 0) {
                uri += ';';
            }
            uri.append(property.Value(i));
        }
        std::vector<std::string> values;
        std::string_view rest = std::string_view(uri).substr(4);
        std::size_t semicolon = rest.find(';');
        values.emplace_back(rest.substr(0, semicolon));
        while (semicolon != std::string_view::npos) {
            rest.remove_prefix(semicolon + 1);
            semicolon = rest.find(';');
            const std::string_view parameter = rest.substr(0, semicolon);
            if (StartsWithIgnoreAsciiCase(parameter, "ext=")) {
                property.AddParameter(kVCardExtensionParameter, parameter.substr(4));
            }
        }
        property.SetValues(std::move(values));
    }

    // Components at ";" that no backslash escapes. 3.0 and 4.0 escape \\ \; \, \n (and
    // some writers \:); 2.1 only \;. A comma is part of the text in every version.
    static void SplitStandardValues(std::string_view text, Dialect dialect,
                                    std::vector<std::string>& values) {
        std::string value;
        std::size_t i = 0;
        while (i < text.size()) {
            std::size_t stop = i;
            while (stop < text.size() && text[stop] != ';' && text[stop] != '\\') {
                ++stop;
            }
            if (stop == text.size()) {
                value.append(text.substr(i));
                break;
            }
            value.append(text.substr(i, stop - i));
            i = stop + 1;
            if (text[stop] == ';') {
                values.push_back(std::move(value));
                value.clear();
                continue;
            }
            if (i == text.size()) {
                value += '\\';
                break;
            }
            const char e = text[i];
            if (e == ';') {
                value += ';';
                ++i;
            } else if (dialect == Dialect::Modern && (e == 'n' || e == 'N')) {
                value += '\n';
                ++i;
            } else if (dialect == Dialect::Modern && (e == '\\' || e == ',' || e == ':')) {
                value += e;
                ++i;
            } else {
                value += '\\';
            }
        }
        values.push_back(std::move(value));
    }

    // Bytes of a value as UTF-8. Raw bytes of a UTF-8 file stand as they are; decoded
    // quoted-printable bytes and the bytes of other files follow the declared character set,
    // else their own validity.
    std::string Decoded(std::string value, bool quotedPrintable, std::string_view charset) {
        std::string bytes = quotedPrintable ? QuotedPrintableDecoded(value) : std::move(value);
        if (!quotedPrintable && fileIsUtf8_) {
            return bytes;
        }
        if (IsSingleByteCharset(charset) || !IsValidUtf8(bytes)) {
            return Windows1252ToUtf8(bytes);
        }
        return bytes;
    }

    bool fileIsUtf8_;
    bool headingsOnly_ = false;
    std::vector<std::string_view> raw_;
    std::vector<std::string> values_;
    std::string joined_;
    std::string decoded_;
    TCard card_;
    std::vector<TCardProperty> spare_;
};

} // namespace

namespace {

std::string_view WithoutByteOrderMark(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    return text;
}

// The text of a card file's bytes: a UTF-16 file (by its byte order mark) converted into
// converted, which then holds it; any other file as it stands, without a UTF-8 mark.
std::string_view CardFileText(std::string_view bytes, std::string& converted) {
    if (std::optional<std::string> utf8 = Utf16WithMarkToUtf8(bytes)) {
        converted = std::move(*utf8);
        return WithoutByteOrderMark(converted);
    }
    return WithoutByteOrderMark(bytes);
}

// Hands on the lines between each begin line and its end line (or the end of the text).
template <typename OnBody> void ForEachCardBody(std::string_view text, OnBody&& onBody) {
    const char* bodyStart = nullptr;
    while (!text.empty()) {
        const char* lineStart = text.data();
        const std::string_view line = NextLine(text);
        if (!bodyStart) {
            if (StartsWithIgnoreAsciiCase(line, "begin:vcar")) {
                bodyStart = text.data();
            }
            continue;
        }
        if (StartsWithIgnoreAsciiCase(line, "end:vcar")) {
            onBody(std::string_view(bodyStart, static_cast<std::size_t>(lineStart - bodyStart)));
            bodyStart = nullptr;
        }
    }
    // A card without its end line runs to the end of the file.
    if (bodyStart) {
        onBody(std::string_view(bodyStart, static_cast<std::size_t>(text.data() - bodyStart)));
    }
}

// Read whole before any card is handed on, so that a read error imports nothing.
FileResult ReadCardFile(const std::string& path, std::string& text) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr) {
        return FileResult::Failure("Cannot open \"" + path + "\": " + std::strerror(errno));
    }
    // Read straight into the text, in pieces of the size the file had (or 1 MiB), until a
    // short read: a file that grows meanwhile is read whole all the same.
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    std::size_t piece = ec || size == 0 ? std::size_t{1} << 20 : static_cast<std::size_t>(size) + 1;
    for (;;) {
        const std::size_t at = text.size();
        text.resize(at + piece);
        const std::size_t n = std::fread(text.data() + at, 1, piece, in);
        text.resize(at + n);
        if (n < piece) {
            break;
        }
        piece = std::size_t{1} << 20;
    }
    const bool failed = std::ferror(in) != 0;
    const int error = errno;
    std::fclose(in);
    if (failed) {
        return FileResult::Failure("Cannot read \"" + path + "\": " + std::strerror(error));
    }
    return {};
}

} // namespace

void ForEachVCard(std::string_view text, const std::function<void(TCard&)>& onCard) {
    std::string converted;
    text = CardFileText(text, converted);
    CardReader reader(IsValidUtf8(text));
    ForEachCardBody(text, [&](std::string_view body) { onCard(reader.Read(body, false)); });
}

FileResult ForEachVCardInFile(const std::string& path, const std::function<void(TCard&)>& onCard) {
    std::string text;
    FileResult result = ReadCardFile(path, text);
    if (result.ok) {
        ForEachVCard(text, onCard);
    }
    return result;
}

// --- TVCardFile

FileResult TVCardFile::Load() {
    return ForEachVCardInFile(filename_, [&](TCard& card) { cards_.push_back(std::move(card)); });
}

void TVCardFile::LoadText(std::string_view text) {
    ForEachVCard(text, [&](TCard& card) { cards_.push_back(std::move(card)); });
}

void AppendCardText(const TCard& card, std::string& out) {
    out.append("begin:vcard\r\nVERSION:");
    out.append(kOwnVCardVersion);
    out.append("\r\nPRODID:");
    out.append(kOwnVCardProductId);
    out.append("\r\n");
    for (std::size_t i = 0; i < card.Count(); ++i) {
        out.append(card.At(i).Format());
        out.append("\r\n");
    }
    out.append("end:vcard\r\n");
}

std::string TVCardFile::Text() const {
    std::string text;
    for (const TCard& card : cards_) {
        AppendCardText(card, text);
    }
    return text;
}

FileResult TVCardFile::Save() const {
    AtomicFileWriter writer;
    writer.SetDurable(false);
    if (!writer.Open(filename_) || !writer.Write(Text()) || !writer.Commit()) {
        return FileResult::Failure(writer.Error());
    }
    return {};
}

// --- Items

std::string CardDisplayName(const TCard& card) {
    const TCardProperty* n = card.Find("N");
    if (!n) {
        return "New";
    }
    std::string name;
    const std::size_t count = n->ValueCount();
    if (count >= 4) {
        name.append(n->Value(3));
        name += ' ';
    }
    if (count >= 2) {
        name.append(n->Value(1));
        name += ' ';
    }
    if (count >= 3) {
        name.append(n->Value(2));
        name += ' ';
    }
    if (count >= 1) {
        name.append(n->Value(0));
    }
    return name;
}

FileResult ImportVCardFile(const std::string& path, TOutlineNode* target,
                           IVCardImportChoice& choice) {
    return ImportVCardFile(path, target, choice, nullptr);
}

namespace {

// Organizations among target's child nodes by exact title: the first of each title, then
// those the import adds. Looked up once per import, not once per card.
class OrganizationIndex {
public:
    explicit OrganizationIndex(TOutlineNode* target) : target_(target) {}
    TOutlineNode* Find(const std::string& title) {
        if (!scanned_) {
            scanned_ = true;
            for (std::size_t i = 0; i < target_->ChildCount(); ++i) {
                TOutlineNode* child = target_->ChildAt(i);
                const TNRBObject* item = child->Item();
                if (item && item->Kind() == kOrganizationKind) {
                    byTitle_.emplace(std::string(item->Title()), child);
                }
            }
        }
        const auto found = byTitle_.find(title);
        return found == byTitle_.end() ? nullptr : found->second;
    }
    void Add(const std::string& title, TOutlineNode* node) {
        Find(title);
        byTitle_.emplace(title, node);
    }

private:
    TOutlineNode* target_;
    bool scanned_ = false;
    std::unordered_map<std::string, TOutlineNode*> byTitle_;
};

// Parses cards in the order they are asked for, on a thread of its own some cards ahead of
// the caller, so that parsing the next cards overlaps making the items of this one. A few
// cards are parsed where they are asked for: a thread would cost more than it saves.
class CardsAhead {
public:
    // With headingsOnly, just the lines that name a card are parsed (see CardReader::Read).
    CardsAhead(bool fileIsUtf8, std::vector<std::string_view> bodies, bool headingsOnly)
        : bodies_(std::move(bodies)), headingsOnly_(headingsOnly),
          cards_(Slots(fileIsUtf8, bodies_.size() >= kAheadFrom ? kSlots : 1), kBatch,
                 [this](Slot& slot) { return Parse(slot); }) {}

    // The next card, valid until the next call.
    const TCard& Next() { return *cards_.Next()->card; }

private:
    // Each slot has its own reader, whose card lasts until the slot comes round again.
    struct Slot {
        CardReader reader;
        const TCard* card = nullptr;
    };
    static constexpr std::size_t kSlots = 64;
    static constexpr std::size_t kBatch = 16;
    static constexpr std::size_t kAheadFrom = 256;

    static std::vector<Slot> Slots(bool fileIsUtf8, std::size_t count) {
        std::vector<Slot> slots;
        slots.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            slots.push_back({CardReader(fileIsUtf8)});
        }
        return slots;
    }

    bool Parse(Slot& slot) {
        if (parsed_ == bodies_.size()) {
            return false;
        }
        slot.card = &slot.reader.Read(bodies_[parsed_++], headingsOnly_);
        return true;
    }

    std::vector<std::string_view> bodies_;
    bool headingsOnly_;
    std::size_t parsed_ = 0;  // the parsing side's alone
    FilledAhead<Slot> cards_; // last: its thread ends before the rest goes
};

// The organization a standard card's person is filed under: its first ORG value, unless
// that is the person's own title (a card that names only an organization).
std::string FilingOrganization(const TCard& card, int kind, std::string_view title) {
    const TCardProperty* org = card.Find("ORG");
    if (kind != kPersonKind || !card.IsStandard() || !org) {
        return {};
    }
    std::string name = CleanField(Trimmed(org->Value(0)));
    return name == title ? std::string() : name;
}

} // namespace

FileResult ImportVCardFile(const std::string& path, TOutlineNode* target,
                           IVCardImportChoice& choice, TImportReport* report,
                           const std::vector<std::string>& categoryNames) {
    if (!target) {
        return FileResult::Failure("There is no item to import \"" + path + "\" into.");
    }
    std::string bytes;
    FileResult result = ReadCardFile(path, bytes);
    if (!result.ok) {
        return result;
    }
    std::string converted;
    const std::string_view text = CardFileText(bytes, converted);
    const bool fileIsUtf8 = IsValidUtf8(text);

    // First every card's kind (asked in file order), title and organization; then the items
    // are made in the order the siblings sort in, so that the one sort at the end finds them
    // in place and the new nodes lie in memory in tree order.
    struct Pending {
        std::string_view body;
        std::string title;
        std::string organization; // the one a person is filed under; empty: target
        int kind;
    };
    std::vector<Pending> pending;
    // A listener may stop the import: before anything is made, or part-way (the first half
    // of the work is reading, the second making).
    bool stopped = false;
    std::vector<std::string_view> bodies;
    ForEachCardBody(text, [&](std::string_view body) { bodies.push_back(body); });
    {
        CardsAhead headings(fileIsUtf8, bodies, true);
        for (const std::string_view body : bodies) {
            if (!ReportWorkProgress(body.data() - text.data(), 2 * text.size())) {
                stopped = true;
                break;
            }
            const TCard& card = headings.Next();
            int kind = kPersonKind;
            if (const TCardProperty* org = card.Find("ORG")) {
                if (choice.ImportAsOrganization(CardDisplayName(card), org->Value(0))) {
                    kind = kOrganizationKind;
                }
            }
            std::string title = CardItemTitle(card, kind);
            if (!IsCleanField(title)) {
                title = CleanField(title);
            }
            std::string organization = FilingOrganization(card, kind, title);
            pending.push_back({body, std::move(title), std::move(organization), kind});
        }
    }
    if (pending.empty()) {
        return FileResult::Failure("\"" + path + "\" holds no vCard.");
    }
    // Organizations first, so that persons of the same file are filed under them; then by
    // title without regard to case, cards of equal titles in file order. Each title is
    // lowered once, into one buffer, rather than at every comparison.
    std::size_t titleBytes = 0;
    for (const Pending& card : pending) {
        titleBytes += card.title.size();
    }
    std::string lowered;
    lowered.reserve(titleBytes);
    struct SortKey {
        bool person;
        std::string_view title; // lowered
        std::uint32_t index;
    };
    std::vector<SortKey> order;
    order.reserve(pending.size());
    for (std::size_t i = 0; i < pending.size(); ++i) {
        const std::size_t at = lowered.size();
        for (const char c : pending[i].title) {
            lowered += AsciiLower(c);
        }
        order.push_back({pending[i].kind != kOrganizationKind, std::string_view(lowered).substr(at),
                         static_cast<std::uint32_t>(i)});
    }
    std::sort(order.begin(), order.end(), [](const SortKey& a, const SortKey& b) {
        if (a.person != b.person) {
            return b.person;
        }
        const int c = a.title.compare(b.title);
        return c != 0 ? c < 0 : a.index < b.index;
    });

    TOutline* outline = target->Outline();
    if (outline) {
        outline->BeginUpdate();
    }
    std::vector<std::string_view> sortedBodies;
    sortedBodies.reserve(pending.size());
    for (const SortKey& key : order) {
        sortedBodies.push_back(pending[key.index].body);
    }
    CardsAhead cards(fileIsUtf8, std::move(sortedBodies), false);
    OrganizationIndex organizations(target);
    const TCardCategories cardCategories(categoryNames);
    std::vector<TOutlineNode*> filedUnder;
    auto organizationNode = [&](const std::string& title) {
        TOutlineNode* node = organizations.Find(title);
        if (!node) {
            TNRBObject* made = CreateItem(kOrganizationKind, title, {}, {}, 0, {}, target);
            node = made ? made->Node() : nullptr;
            if (!node) {
                return node;
            }
            organizations.Add(title, node);
            if (report) {
                report->AddItem(kOrganizationKind);
            }
        }
        if (node && std::find(filedUnder.begin(), filedUnder.end(), node) == filedUnder.end()) {
            filedUnder.push_back(node);
        }
        return node;
    };
    for (std::size_t i = 0; i < pending.size() && !stopped; ++i) {
        if (!ReportWorkProgress(pending.size() + i, 2 * pending.size())) {
            break;
        }
        const Pending& card = pending[order[i].index];
        const TCard& read = cards.Next();
        TOutlineNode* parent = target;
        if (!card.organization.empty()) {
            if (TOutlineNode* org = organizationNode(card.organization)) {
                parent = org;
            }
        }
        // Created under its final title, so that reading the card renames nothing.
        TNRBObject* item = CreateItem(card.kind, card.title, {}, {}, 0, {}, parent);
        if (!item) {
            continue;
        }
        if (card.kind == kOrganizationKind && item->Node()) {
            organizations.Add(card.title, item->Node());
        }
        item->ReadVCard(read);
        bool categoriesLeft = false;
        if (const std::int32_t categories = cardCategories.Of(read, categoriesLeft)) {
            item->SetCategories(categories);
        }
        if (report) {
            ++report->records;
            report->AddItemTree(*item);
            AddCardLeftovers(read, card.kind, *report);
            if (categoriesLeft) {
                report->AddNotKept("CATEGORIES");
            }
        }
    }
    for (TOutlineNode* org : filedUnder) {
        TOutline::SortChildren(org);
    }
    TOutline::SortChildren(target);
    if (outline) {
        outline->EndUpdate();
    }
    return result;
}

bool CanExportVCard(const TNRBObject& item) {
    return item.Kind() == kPersonKind || item.Kind() == kOrganizationKind;
}

FileResult ExportVCardFile(const TOutlineNode& start, const std::string& fileName) {
    const TNRBObject* item = start.Item();
    if (!item || !CanExportVCard(*item)) {
        return FileResult::Failure(std::string(kVCardKindWarning));
    }
    if (!HasExtension(fileName, ".vcf")) {
        return WrongExtension(".vcf");
    }
    return SaveItemVCard(*item, fileName);
}

} // namespace quill
