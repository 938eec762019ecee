#include "core/exchange/column_map.h"

#include "core/exchange/record_types.h"
#include "core/model/item_kind.h"
#include "core/util/ascii.h"

#include <algorithm>
#include <optional>
#include <span>

namespace quill {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

struct Alias {
    std::string_view name; // normalized
    CSVField field;
};

// Columns other address books give one field, by their normalized names.
constexpr Alias kAliases[] = {
    {"displayname", CSVField::Title},
    {"name", CSVField::Title},
    {"fullname", CSVField::Title},
    {"formattedname", CSVField::Title},
    {"nameprefix", CSVField::Salutation},
    {"prefix", CSVField::Salutation},
    {"givenname", CSVField::FirstName},
    {"additionalname", CSVField::MiddleName},
    {"familyname", CSVField::LastName},
    {"surname", CSVField::LastName},
    {"phone", CSVField::PhoneNumber},
    {"telephone", CSVField::PhoneNumber},
    {"workphone", CSVField::PhoneNumber},
    {"homephone", CSVField::PhoneNumber},
    {"mobilenumber", CSVField::PhoneNumber},
    {"mobilephone", CSVField::PhoneNumber},
    {"mobile", CSVField::PhoneNumber},
    {"cellphone", CSVField::PhoneNumber},
    {"primaryphone", CSVField::PhoneNumber},
    {"businessphone", CSVField::PhoneNumber},
    {"businessphone2", CSVField::PhoneNumber},
    {"homephone2", CSVField::PhoneNumber},
    {"companymainphone", CSVField::PhoneNumber},
    {"otherphone", CSVField::PhoneNumber},
    {"carphone", CSVField::PhoneNumber},
    {"pagernumber", CSVField::PhoneNumber},
    {"pager", CSVField::PhoneNumber},
    {"fax", CSVField::FaxNumber},
    {"businessfax", CSVField::FaxNumber},
    {"homefax", CSVField::FaxNumber},
    {"otherfax", CSVField::FaxNumber},
    {"workfax", CSVField::FaxNumber},
    {"email", CSVField::EMailAddress},
    {"mail", CSVField::EMailAddress},
    {"primaryemail", CSVField::EMailAddress},
    {"secondaryemail", CSVField::EMailAddress},
    {"email2address", CSVField::EMailAddress},
    {"email3address", CSVField::EMailAddress},
    {"webpage", CSVField::Website},
    {"webpage1", CSVField::Website},
    {"webpage2", CSVField::Website},
    {"webaddress", CSVField::Website},
    {"url", CSVField::Website},
    {"homepage", CSVField::Website},
    {"personalwebpage", CSVField::Website},
    {"businesswebpage", CSVField::Website},
    {"notes", CSVField::Comment},
    {"note", CSVField::Comment},
    {"ext", CSVField::Extension},
};

// The organization's own name, for the Organization record type.
constexpr std::string_view kOrganizationNames[] = {"company", "companyname", "organization",
                                                   "organizationname"};

// Address parts after a group's prefix ("home", "business", ...).
constexpr Alias kAddressParts[] = {
    {"address", CSVField::AddressLine1},
    {"street", CSVField::AddressLine1},
    {"streetaddress", CSVField::AddressLine1},
    {"address1", CSVField::AddressLine1},
    {"address2", CSVField::AddressLine2},
    {"street2", CSVField::AddressLine2},
    {"street3", CSVField::AddressLine3},
    {"city", CSVField::City},
    {"state", CSVField::State},
    {"province", CSVField::State},
    {"region", CSVField::State},
    {"zip", CSVField::PostalCode},
    {"zipcode", CSVField::PostalCode},
    {"postcode", CSVField::PostalCode},
    {"countryregion", CSVField::Country},
};
struct GroupPrefix {
    std::string_view prefix;
    int group;
};
constexpr GroupPrefix kGroupPrefixes[] = {{"home", 1}, {"work", 2}, {"business", 2}, {"other", 3}};

// Google's numbered address columns: "Address 1 - Street" and so on.
constexpr Alias kNumberedAddressParts[] = {
    {"street", CSVField::AddressLine1}, {"extendedaddress", CSVField::AddressLine2},
    {"pobox", CSVField::AddressLine3},  {"city", CSVField::City},
    {"region", CSVField::State},        {"postalcode", CSVField::PostalCode},
    {"country", CSVField::Country},
};

bool IsAddressField(CSVField field) {
    return field >= CSVField::AddressLine1 && field <= CSVField::Country;
}

struct Mapping {
    CSVField field = CSVField::Title;
    int group = 0;
    std::string labelName; // normalized name of the label column; empty: none
    bool wantsFax = false;
    bool labelDecides = false; // the label picks phone or fax; otherwise it only goes along
};

Mapping Plain(CSVField field, int group = 0) {
    Mapping mapping;
    mapping.field = field;
    mapping.group = group;
    return mapping;
}

std::optional<CSVField> FindAlias(std::span<const Alias> table, std::string_view name) {
    for (const Alias& alias : table) {
        if (alias.name == name) {
            return alias.field;
        }
    }
    return std::nullopt;
}

// "phone3value" -> 3 with rest "value"; nullopt unless name is prefix, digits, rest.
std::optional<std::pair<int, std::string_view>> Numbered(std::string_view name,
                                                         std::string_view prefix) {
    if (!name.starts_with(prefix)) {
        return std::nullopt;
    }
    name.remove_prefix(prefix.size());
    int number = 0;
    std::size_t digits = 0;
    while (digits < name.size() && digits < 4 && name[digits] >= '0' && name[digits] <= '9') {
        number = number * 10 + (name[digits] - '0');
        ++digits;
    }
    if (digits == 0) {
        return std::nullopt;
    }
    return std::pair{number, name.substr(digits)};
}

// What one column feeds: none, one field, or (a numbered phone) a phone or a fax by its label.
std::vector<Mapping> MappingsOf(std::string_view name, bool outlookLayout, int kind) {
    std::vector<Mapping> mappings;
    if (name.empty()) {
        return mappings;
    }
    // The program's own names first.
    for (std::size_t i = 0; i < kCSVFieldCount; ++i) {
        const CSVField field = static_cast<CSVField>(i);
        if (NormalizedColumnName(CSVFieldName(field)) == name) {
            // Outlook's "Title" is the form of address ("Mr."), its name is "Full Name".
            mappings.push_back(
                Plain(field == CSVField::Title && outlookLayout ? CSVField::Salutation : field));
            return mappings;
        }
    }
    if (name == "stateprovince") {
        mappings.push_back(Plain(CSVField::State));
        return mappings;
    }
    if (kind == 1 && std::find(std::begin(kOrganizationNames), std::end(kOrganizationNames),
                               name) != std::end(kOrganizationNames)) {
        mappings.push_back(Plain(CSVField::Title));
        return mappings;
    }
    if (const auto field = FindAlias(kAliases, name)) {
        mappings.push_back(Plain(*field));
        return mappings;
    }
    if (const auto numbered = Numbered(name, "phone"); numbered && numbered->second == "value") {
        const std::string n = std::to_string(numbered->first);
        mappings.push_back({CSVField::PhoneNumber, 0, "phone" + n + "label", false, true});
        mappings.push_back({CSVField::FaxNumber, 0, "phone" + n + "label", true, true});
        return mappings;
    }
    for (std::string_view prefix : {"email", "website"}) {
        if (const auto numbered = Numbered(name, prefix); numbered && numbered->second == "value") {
            mappings.push_back({prefix == "email" ? CSVField::EMailAddress : CSVField::Website, 0,
                                std::string(prefix) + std::to_string(numbered->first) + "label"});
            return mappings;
        }
    }
    if (const auto numbered = Numbered(name, "address")) {
        if (const auto part = FindAlias(kNumberedAddressParts, numbered->second)) {
            mappings.push_back(Plain(*part, 10 + numbered->first));
            return mappings;
        }
    }
    for (const GroupPrefix& group : kGroupPrefixes) {
        if (name.starts_with(group.prefix)) {
            const std::string_view rest = name.substr(group.prefix.size());
            if (const auto part = FindAlias(kAddressParts, rest)) {
                mappings.push_back(Plain(*part, group.group));
                return mappings;
            }
            if (rest == "postalcode" || rest == "country") {
                mappings.push_back(Plain(
                    rest == "country" ? CSVField::Country : CSVField::PostalCode, group.group));
                return mappings;
            }
        }
    }
    if (const auto part = FindAlias(kAddressParts, name)) {
        mappings.push_back(Plain(*part));
    }
    return mappings;
}

// Outlook's export is known by columns no other layout has.
bool IsOutlookLayout(const std::vector<std::string>& normalized) {
    for (const std::string& name : normalized) {
        if (name == "businessstreet" || name == "homestreet" || name == "emaildisplayname" ||
            name == "otherstreet") {
            return true;
        }
    }
    return false;
}

bool SaysFax(std::string_view label) {
    for (std::size_t i = 0; i + 3 <= label.size(); ++i) {
        if (EqualsIgnoreAsciiCase(label.substr(i, 3), "fax")) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string NormalizedColumnName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z')) {
            out += c;
        } else if (c >= 'A' && c <= 'Z') {
            out += AsciiLower(c);
        }
    }
    return out;
}

TColumnMap::TColumnMap(const std::vector<std::string>& names, const TRecordType& type)
    : names_(names) {
    std::vector<std::string> normalized;
    normalized.reserve(names.size());
    for (const std::string& name : names) {
        normalized.push_back(NormalizedColumnName(name));
    }
    const bool outlook = IsOutlookLayout(normalized);
    auto offered = [&](CSVField field) {
        return std::find(type.fields.begin(), type.fields.end(), CSVFieldName(field)) !=
               type.fields.end();
    };
    auto labelColumn = [&](const std::string& labelName) {
        if (labelName.empty()) {
            return kNone;
        }
        for (std::size_t c = 0; c < normalized.size(); ++c) {
            // Older Google exports call the label the type.
            if (normalized[c] == labelName ||
                normalized[c] == labelName.substr(0, labelName.size() - 5) + "type") {
                return c;
            }
        }
        return kNone;
    };
    for (std::size_t column = 0; column < normalized.size(); ++column) {
        bool mapped = false;
        for (const Mapping& mapping : MappingsOf(normalized[column], outlook, type.kind)) {
            if (!offered(mapping.field)) {
                continue;
            }
            const std::string field(CSVFieldName(mapping.field));
            auto entry = std::find_if(map_.begin(), map_.end(),
                                      [&](const FieldSources& f) { return f.field == field; });
            if (entry == map_.end()) {
                map_.push_back({mapping.field, field, IsAddressField(mapping.field), {}});
                fields_.push_back(field);
                entry = map_.end() - 1;
            }
            entry->sources.push_back({column, labelColumn(mapping.labelName), mapping.labelDecides,
                                      mapping.wantsFax, mapping.group});
            mapped = true;
        }
        if (!mapped && !names[column].empty()) {
            unmapped_.push_back(names[column]);
        }
    }
    // A person whose file gives no title column is titled by its name, as when the column is
    // there but empty, not "New".
    const std::string title(CSVFieldName(CSVField::Title));
    if (type.kind == kPersonKind && !map_.empty() &&
        std::find(fields_.begin(), fields_.end(), title) == fields_.end()) {
        map_.push_back({CSVField::Title, title, false, {}});
        fields_.push_back(title);
    }
}

const TColumnMap::Source* TColumnMap::Choose(const FieldSources& field,
                                             const std::vector<std::string>& row,
                                             int addressGroup) const {
    const Source* present = nullptr;
    for (const Source& source : field.sources) {
        if (field.address && source.group != addressGroup) {
            continue;
        }
        if (source.labelDecides && source.labelColumn != kNone) {
            const bool fax = source.labelColumn < row.size() && SaysFax(row[source.labelColumn]);
            if (fax != source.wantsFax) {
                continue;
            }
        }
        if (source.column >= row.size()) {
            continue;
        }
        if (!row[source.column].empty()) {
            return &source;
        }
        if (!present) {
            present = &source;
        }
    }
    return present;
}

void TColumnMap::Project(const std::vector<std::string>& row, std::vector<std::string>& values,
                         CSVFieldPositions& positions, std::vector<std::string>& unused) {
    // The address group: the first (in column order) with a value in this record.
    int addressGroup = -1;
    int firstGroup = -1;
    std::size_t firstGroupColumn = kNone;
    std::size_t chosenColumn = kNone;
    for (const FieldSources& field : map_) {
        if (!field.address) {
            continue;
        }
        for (const Source& source : field.sources) {
            if (source.column < firstGroupColumn) {
                firstGroupColumn = source.column;
                firstGroup = source.group;
            }
            if (source.column < row.size() && !row[source.column].empty() &&
                source.column < chosenColumn) {
                chosenColumn = source.column;
                addressGroup = source.group;
            }
        }
    }
    if (addressGroup < 0) {
        addressGroup = firstGroup;
    }
    values.resize(map_.size());
    positions.fill(kCSVFieldAbsent);
    used_.assign(row.size(), 0);
    for (std::size_t i = 0; i < map_.size(); ++i) {
        // The fields are distinct: each stands at its own place.
        std::size_t& position = positions[static_cast<std::size_t>(map_[i].id)];
        values[i].clear();
        if (map_[i].sources.empty()) {
            position = i; // present and empty
        } else if (const Source* source = Choose(map_[i], row, addressGroup)) {
            values[i].assign(row[source->column]);
            position = i;
            used_[source->column] = 1;
            if (source->labelColumn != kNone && source->labelColumn < row.size()) {
                used_[source->labelColumn] = 1;
            }
        }
    }
    unused.clear();
    for (std::size_t c = 0; c < row.size() && c < names_.size(); ++c) {
        if (!used_[c] && !row[c].empty() && !names_[c].empty()) {
            unused.push_back(names_[c]);
        }
    }
}

} // namespace quill
