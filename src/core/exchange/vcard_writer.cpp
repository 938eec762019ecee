#include "core/exchange/vcard_writer.h"

#include "core/exchange/exchange_export.h"
#include "core/exchange/vcard.h"
#include "core/exchange/vcard_dates.h"
#include "core/model/attachment_objects.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/item_kind.h"
#include "core/model/outline.h"
#include "core/storage/categories.h"
#include "core/util/ascii.h"
#include "core/util/atomic_file.h"
#include "core/util/sha1.h"
#include "core/util/work_progress.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <map>
#include <span>
#include <utility>

namespace quill {
namespace {

constexpr std::string_view kEol = "\r\n";
constexpr std::size_t kFoldWidth = 75;

// The namespace of the program's card UIDs (itself a random UUID).
constexpr std::array<std::uint8_t, 16> kUidNamespace{
    0x5e, 0x1d, 0x7b, 0x44, 0x8c, 0x6f, 0x4f, 0x1e, 0x9a, 0x3b, 0x2f, 0x0c, 0x6d, 0x1e, 0x8a, 0x57};

// Words of contact-point titles that name a type, beside the type table's own display names.
struct TypeWord {
    std::string_view word;
    int type;
};
constexpr TypeWord kTypeWords[] = {
    {"Mobile", kVCardCell},   {"Cell", kVCardCell}, {"Work", kVCardWork},
    {"Business", kVCardWork}, {"Fax", kVCardFax},   {"Voice", kVCardVoice},
};

// The types a reader of each version knows for each property, by table index.
bool Allowed(std::string_view property, int type, VCardVersion version) {
    if (type == kVCardPref) {
        return false; // written apart, from the primary
    }
    const bool v4 = version == VCardVersion::V40;
    if (type == kVCardHome || type == kVCardWork) {
        return true;
    }
    if (property == "TEL") {
        static constexpr int kTel3[] = {7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
        static constexpr int kTel4[] = {7, 8, 10, 11, 16};
        for (int t : v4 ? std::span<const int>(kTel4) : std::span<const int>(kTel3)) {
            if (t == type) {
                return true;
            }
        }
        return false;
    }
    if (property == "ADR") {
        return !v4 && type >= 0 && type <= 3;
    }
    return false;
}

// The type set named by a contact point's title: its comma-separated words, each a display
// name of the table or a common word for one.
std::uint32_t TitleTypes(std::string_view title) {
    std::uint32_t types = 0;
    std::size_t start = 0;
    while (start <= title.size()) {
        std::size_t comma = title.find(',', start);
        if (comma == std::string_view::npos) {
            comma = title.size();
        }
        std::string_view word = title.substr(start, comma - start);
        while (!word.empty() && word.front() == ' ') {
            word.remove_prefix(1);
        }
        while (!word.empty() && word.back() == ' ') {
            word.remove_suffix(1);
        }
        for (std::size_t i = 0; i < kVCardTypeCount; ++i) {
            if (EqualsIgnoreAsciiCase(word, kVCardTypes[i].displayName)) {
                types |= std::uint32_t{1} << i;
            }
        }
        for (const TypeWord& known : kTypeWords) {
            if (EqualsIgnoreAsciiCase(word, known.word)) {
                types |= std::uint32_t{1} << known.type;
            }
        }
        start = comma + 1;
    }
    return types;
}

// What the program's reader titles a line with these types and no label.
std::string DerivedTitle(std::uint32_t types, std::string_view kindWord) {
    std::string text;
    for (std::size_t i = 0; i < kVCardTypeCount; ++i) {
        if ((types >> i) & 1u) {
            if (!text.empty()) {
                text += ',';
            }
            text.append(kVCardTypes[i].displayName);
        }
    }
    return text.empty() ? std::string(kindWord) : text;
}

class CardWriter {
public:
    CardWriter(VCardVersion version, std::string& out) : version_(version), out_(out) {}

    bool V4() const { return version_ == VCardVersion::V40; }

    // One line: name (with its group), parameters as written, the value as given.
    void Line(std::string_view name, std::string_view parameters, std::string_view value,
              std::string_view group = {}) {
        std::string line;
        if (!group.empty()) {
            line.append(group).append(".");
        }
        line.append(name).append(parameters).append(":").append(value);
        out_.append(FoldedVCardLine(line));
    }

    void Text(std::string_view name, std::string_view text) {
        Line(name, "", EscapedVCardText(text, false));
    }

    // A contact point's line, with its types, PREF when primary, and its title as the
    // label when the types would not give it back.
    void Point(std::string_view name, std::string_view title, std::uint32_t extraTypes,
               bool primary, std::string_view kindWord, std::string_view parameters,
               std::string_view value) {
        const std::uint32_t named = TitleTypes(title) | extraTypes;
        std::uint32_t written = 0;
        std::string types;
        for (std::size_t i = 0; i < kVCardTypeCount; ++i) {
            const int type = static_cast<int>(i);
            if (((named >> i) & 1u) && Allowed(name, type, version_)) {
                written |= std::uint32_t{1} << i;
                types += types.empty() ? "" : ",";
                types += AsciiLowered(kVCardTypes[i].parameter);
            }
        }
        std::string params;
        if (!types.empty()) {
            params += ";TYPE=" + types;
        }
        if (primary) {
            params += V4() ? ";PREF=1" : (types.empty() ? ";TYPE=pref" : ",pref");
            written |= std::uint32_t{1} << kVCardPref;
        }
        params.append(parameters);
        std::string group;
        if (!title.empty() && DerivedTitle(written, kindWord) != title) {
            group = "item" + std::to_string(++groups_);
        }
        Line(name, params, value, group);
        if (!group.empty()) {
            Line("X-ABLABEL", "", EscapedVCardText(title, false), group);
        }
    }

    int NextGroup() { return ++groups_; }

private:
    VCardVersion version_;
    std::string& out_;
    int groups_ = 0;
};

std::string Joined(std::initializer_list<std::string_view> components) {
    std::string value;
    bool first = true;
    for (std::string_view component : components) {
        if (!first) {
            value += ';';
        }
        value += EscapedVCardText(component, true);
        first = false;
    }
    return value;
}

// The last name and the honorific suffix the reader put after ", ".
std::pair<std::string_view, std::string_view> SplitSuffix(std::string_view lastName) {
    const std::size_t comma = lastName.rfind(", ");
    if (comma == std::string_view::npos) {
        return {lastName, {}};
    }
    return {lastName.substr(0, comma), lastName.substr(comma + 2)};
}

// The organization a person stands under in the outline: the nearest one above it.
const TNRBObject* OrganizationAbove(const TNRBObject& item) {
    const TOutlineNode* node = item.Node();
    for (node = node ? node->Parent() : nullptr; node; node = node->Parent()) {
        const TNRBObject* above = node->Item();
        if (above && above->Kind() == kOrganizationKind) {
            return above;
        }
    }
    return nullptr;
}

std::string FormattedName(const TNRBObject& item) {
    auto blank = [](std::string_view text) {
        return text.find_first_not_of(' ') == std::string_view::npos;
    };
    if (!blank(item.Title())) {
        return std::string(item.Title());
    }
    if (const auto* person = dynamic_cast<const TPersonObject*>(&item)) {
        std::string name(person->FirstName());
        if (!person->LastName().empty()) {
            name += name.empty() ? "" : " ";
            name.append(person->LastName());
        }
        if (!blank(name)) {
            return name;
        }
    }
    return std::string(DefaultTitle(item.Kind()));
}

std::string AddressStreet(const TAddressObject& address) {
    std::size_t count = std::min<std::size_t>(address.LineCount(), 3);
    while (count > 0 && address.Line(count - 1).empty()) {
        --count;
    }
    std::string street;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            street += '\n';
        }
        street.append(address.Line(i));
    }
    return street;
}

// A number and extension as a tel: URI, when both can stand in one; otherwise none.
std::optional<std::string> TelUri(std::string_view number, std::string_view extension) {
    std::string uri = "tel:";
    for (char c : number) {
        if (c == ' ') {
            uri += '-';
        } else if ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == '(' ||
                   c == ')') {
            uri += c;
        } else {
            return std::nullopt;
        }
    }
    if (number.empty() || extension.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    return uri + ";ext=" + std::string(extension);
}

void WriteDates(const TNRBObject& item, CardWriter& writer) {
    bool birthday = false;
    bool anniversary = false;
    for (std::size_t i = 0; i < item.ChildCount(); ++i) {
        const auto* reminder = dynamic_cast<const TReminderObject*>(item.ChildAt(i));
        if (!reminder) {
            continue;
        }
        const bool isBirthday = reminder->Title() == kBirthdayTitle;
        const bool isAnniversary = reminder->Title() == kAnniversaryTitle;
        if ((!isBirthday || birthday) && (!isAnniversary || anniversary)) {
            continue;
        }
        const std::optional<CardDate> date = ReminderCardDate(*reminder);
        if (!date) {
            continue;
        }
        (isBirthday ? birthday : anniversary) = true;
        std::string_view name = isBirthday ? "BDAY" : "ANNIVERSARY";
        if (writer.V4()) {
            std::string value = IsoCardDate(*date);
            // 4.0's basic form: 19800314, --0314.
            value.erase(std::remove(value.begin() + 2, value.end(), '-'), value.end());
            writer.Line(name, "", value);
            continue;
        }
        if (!isBirthday) {
            name = "X-ANNIVERSARY";
        }
        if (date->year > 0) {
            writer.Line(name, "", IsoCardDate(*date));
        } else {
            // 3.0 has no date without a year; Apple's address book marks the stand-in year.
            CardDate standIn = *date;
            standIn.year = 1604;
            writer.Line(name, ";X-APPLE-OMIT-YEAR=1604", IsoCardDate(standIn));
        }
    }
}

void WriteCategories(const TNRBObject& item, const std::vector<std::string>& names,
                     CardWriter& writer) {
    std::string value;
    for (int category = 1; category <= kCategoryCount; ++category) {
        if (!item.InCategory(category)) {
            continue;
        }
        value += value.empty() ? "" : ",";
        value += EscapedVCardText(CategoryName(names, category), false);
    }
    if (!value.empty()) {
        writer.Line("CATEGORIES", "", value);
    }
}

void WriteContactPoints(const TContactHolderObject& holder, CardWriter& writer) {
    const TNRBObject* primaryAddress = holder.PrimaryContact(kAddressKind);
    const TNRBObject* primaryPhone = holder.PrimaryContact(kPhoneKind);
    const TNRBObject* primaryFax = holder.PrimaryContact(kFaxKind);
    const TNRBObject* primaryEMail = holder.PrimaryContact(kEMailKind);
    for (std::size_t i = 0; i < holder.ChildCount(); ++i) {
        const TNRBObject* child = holder.ChildAt(i);
        switch (child->Kind()) {
        case kPhoneKind: {
            const auto& phone = static_cast<const TPhoneObject&>(*child);
            std::string parameters;
            std::string value = EscapedVCardText(phone.Target(), false);
            if (!phone.Extension().empty()) {
                const std::optional<std::string> uri = TelUri(phone.Target(), phone.Extension());
                if (writer.V4() && uri) {
                    parameters = ";VALUE=uri";
                    value = *uri;
                } else {
                    value += EscapedVCardText(" x" + std::string(phone.Extension()), false);
                }
            }
            writer.Point("TEL", phone.Title(), 0, child == primaryPhone, "Phone", parameters,
                         value);
            break;
        }
        case kFaxKind:
            writer.Point("TEL", child->Title(), std::uint32_t{1} << kVCardFax, child == primaryFax,
                         "Fax", "", EscapedVCardText(child->Target(), false));
            break;
        case kEMailKind:
            writer.Point("EMAIL", child->Title(), 0, child == primaryEMail, "E-Mail", "",
                         EscapedVCardText(child->Target(), false));
            break;
        case kAddressKind: {
            const auto& address = static_cast<const TAddressObject&>(*child);
            const std::string street = AddressStreet(address);
            writer.Point("ADR", address.Title(), 0, child == primaryAddress, "Address", "",
                         Joined({"", "", street, address.City(), address.State(),
                                 address.PostCode(), address.Country()}));
            break;
        }
        default:
            break;
        }
    }
}

// The websites below the holder's node, the primary one first, as the reader takes them:
// the k-th untitled URL is "Web URL" (k = 1) or "Web URL k".
void WriteWebsites(const TContactHolderObject& holder, CardWriter& writer) {
    const TOutlineNode* node = holder.Node();
    if (!node || node->Item() != &holder) {
        return;
    }
    std::vector<const TNRBObject*> sites;
    const TNRBObject* primary = holder.PrimaryContact(kWebsiteKind);
    if (primary) {
        sites.push_back(primary);
    }
    for (std::size_t i = 0; i < node->ChildCount(); ++i) {
        const TNRBObject* site = node->ChildAt(i)->Item();
        if (site && site != primary && site->Kind() == kWebsiteKind) {
            sites.push_back(site);
        }
    }
    for (std::size_t k = 0; k < sites.size(); ++k) {
        const std::string derived = k == 0 ? "Web URL" : "Web URL " + std::to_string(k + 1);
        const std::string_view title = sites[k]->Title();
        if (title.empty() || title == derived) {
            writer.Line("URL", "", EscapedVCardText(sites[k]->Target(), false));
        } else {
            const std::string group = "item" + std::to_string(writer.NextGroup());
            writer.Line("URL", "", EscapedVCardText(sites[k]->Target(), false), group);
            writer.Line("X-ABLABEL", "", EscapedVCardText(title, false), group);
        }
    }
}

} // namespace

std::optional<VCardVersion> VCardVersionNamed(std::string_view text) {
    if (text == "2.1") {
        return VCardVersion::Own21;
    }
    if (text == "3.0" || text == "3") {
        return VCardVersion::V30;
    }
    if (text == "4.0" || text == "4") {
        return VCardVersion::V40;
    }
    return std::nullopt;
}

std::string_view VCardVersionName(VCardVersion version) {
    switch (version) {
    case VCardVersion::V30:
        return "3.0";
    case VCardVersion::V40:
        return "4.0";
    default:
        return "2.1";
    }
}

std::string VCardUid(int kind, std::int32_t id, std::size_t occurrence) {
    std::string name = std::string(KindName(kind)) + ":" + std::to_string(id);
    if (occurrence > 1) {
        name += "#" + std::to_string(occurrence);
    }
    return "urn:uuid:" + NameBasedUuid(kUidNamespace, name);
}

std::string FoldedVCardLine(std::string_view line) {
    std::string out;
    out.reserve(line.size() + line.size() / kFoldWidth * 3 + 2);
    std::size_t width = kFoldWidth;
    while (line.size() > width) {
        std::size_t cut = width;
        // Never inside a UTF-8 sequence: back up to the start of the character.
        while (cut > 1 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        out.append(line.substr(0, cut));
        out.append(kEol);
        out += ' ';
        line.remove_prefix(cut);
        width = kFoldWidth - 1; // the blank counts
    }
    out.append(line);
    out.append(kEol);
    return out;
}

std::string EscapedVCardText(std::string_view text, bool component) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            break;
        case ',':
            out += "\\,";
            break;
        case ';':
            out += component ? "\\;" : ";";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string StandardVCardText(const TNRBObject& item, VCardVersion version,
                              const std::vector<std::string>& categoryNames,
                              std::size_t occurrence) {
    const auto* holder = dynamic_cast<const TContactHolderObject*>(&item);
    if (!holder || version == VCardVersion::Own21) {
        return {};
    }
    const auto* person = dynamic_cast<const TPersonObject*>(&item);
    std::string out;
    CardWriter writer(version, out);
    out.append("BEGIN:VCARD\r\nVERSION:");
    out.append(VCardVersionName(version));
    out.append(kEol);
    writer.Line("PRODID", "", kOwnVCardProductId);
    if (writer.V4() && !person) {
        writer.Line("KIND", "", "org");
    }
    writer.Line("UID", "", VCardUid(item.Kind(), item.Id(), occurrence));
    writer.Text("FN", FormattedName(item));
    if (person) {
        const auto [last, suffix] = SplitSuffix(person->LastName());
        writer.Line("N", "",
                    Joined({last, person->FirstName(), person->MiddleName(), person->Salutation(),
                            suffix}));
        if (const TNRBObject* org = OrganizationAbove(item)) {
            writer.Line("ORG", "", EscapedVCardText(org->Title(), true));
        }
    } else {
        if (!writer.V4()) {
            writer.Line("N", "", ";;;;"); // 3.0 requires N
            writer.Line("X-ABSHOWAS", "", "COMPANY");
        }
        writer.Line("ORG", "", EscapedVCardText(item.Title(), true));
    }
    WriteContactPoints(*holder, writer);
    WriteWebsites(*holder, writer);
    if (!item.Comment().empty()) {
        writer.Text("NOTE", item.Comment());
    }
    WriteCategories(item, categoryNames, writer);
    if (person) {
        WriteDates(item, writer);
    }
    out.append("END:VCARD\r\n");
    return out;
}

FileResult ExportVCardFile(const TOutlineNode& start, const std::string& fileName,
                           const VCardExportOptions& options) {
    const TNRBObject* startItem = start.Item();
    if (!options.subtree && (!startItem || !CanExportVCard(*startItem))) {
        return FileResult::Failure(std::string(kVCardKindWarning));
    }
    if (!HasExtension(fileName, ".vcf")) {
        return WrongExtension(".vcf");
    }
    // Which of the items sharing a kind and an Id each is, counted over the whole outline so
    // that an item's UID does not depend on where the export starts.
    std::map<std::pair<int, std::int32_t>, std::size_t> seen;
    std::map<const TNRBObject*, std::size_t> occurrence;
    if (options.version != VCardVersion::Own21) {
        const TOutlineNode* top = &start;
        while (top->Parent()) {
            top = top->Parent();
        }
        const TOutline* outline = start.Outline();
        const std::size_t tops = outline ? outline->TopLevelCount() : 1;
        for (std::size_t t = 0; t < tops; ++t) {
            const TOutlineNode* root = outline ? outline->ChildOf(nullptr, t) : top;
            ForEachInSubtree(root, [&](const TOutlineNode* node) {
                const TNRBObject* item = node->Item();
                if (item && CanExportVCard(*item)) {
                    occurrence[item] = ++seen[{item->Kind(), item->Id()}];
                }
            });
        }
    }
    std::string text;
    std::size_t cards = 0;
    auto write = [&](const TNRBObject& item) {
        if (options.version == VCardVersion::Own21) {
            AppendCardText(ItemVCard(item), text);
        } else {
            const auto found = occurrence.find(&item);
            text += StandardVCardText(item, options.version, options.categoryNames,
                                      found == occurrence.end() ? 1 : found->second);
        }
        ++cards;
    };
    if (!options.subtree) {
        write(*startItem);
    } else {
        bool stopped = false;
        std::uint64_t nodes = 0;
        ForEachInSubtree(&start, [&](const TOutlineNode* node) {
            // A listener hears of every 1024 nodes and may stop the export before anything
            // is written.
            stopped = stopped || ((++nodes & 1023) == 0 && !ReportWorkProgress(nodes, 0));
            const TNRBObject* item = node->Item();
            if (!stopped && item && CanExportVCard(*item) &&
                !(options.hidden && options.hidden(*item))) {
                write(*item);
            }
        });
        if (stopped) {
            return FileResult::Failure("The export was stopped.");
        }
    }
    if (cards == 0) {
        return FileResult::Failure("There is no person or organization to export.");
    }
    AtomicFileWriter writer;
    writer.SetDurable(false);
    if (!writer.Open(fileName) || !writer.Write(text) || !writer.Commit()) {
        return FileResult::Failure(writer.Error());
    }
    return {};
}

} // namespace quill
