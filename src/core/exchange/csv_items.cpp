// Each kind's delimited-text form: the value of a field, and reading a record of fields.

#include "core/exchange/csv_fields.h"
#include "core/exchange/delimited_text.h"
#include "core/exchange/record_types.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"

#include <array>
#include <optional>
#include <span>

namespace quill {
namespace {

// One record's values by field: a field has the value at its position in the chosen order,
// and is absent when it is not chosen or the line is too short for that position.
class FieldValues {
public:
    FieldValues(const std::vector<std::string>& values, const CSVFieldPositions& positions)
        : values_(values), positions_(positions) {}

    const std::string* Get(CSVField field) const {
        if (title_ && field == CSVField::Title) {
            return title_;
        }
        if (title_ && field == CSVField::Comment) {
            return &Empty();
        }
        const std::size_t position = positions_[static_cast<std::size_t>(field)];
        return position < values_.size() ? &values_[position] : nullptr;
    }
    bool HasText(CSVField field) const {
        const std::string* value = Get(field);
        return value && !value->empty();
    }

    // The record as a person or organization hands it to its contact points: titled by the
    // label, and without the comment, which belongs to the holder alone. The label stands in
    // whether or not "Title" was chosen, so contact points are always titled by their role.
    FieldValues ForContactPoint(const std::string& label) const {
        FieldValues copy = *this;
        copy.title_ = &label;
        return copy;
    }

private:
    static const std::string& Empty() {
        static const std::string empty;
        return empty;
    }

    const std::vector<std::string>& values_;
    const CSVFieldPositions& positions_;
    const std::string* title_ = nullptr;
};

// Sets the title; a tree item's caption follows, as with SetTitle, but its siblings are not
// sorted: an import makes thousands of them and sorts them once at the end.
void SetRecordTitle(TNRBObject& item, std::string_view title) {
    TOutlineNode* node = item.Node();
    if (!node) {
        item.SetTitle(title); // no caption to follow: a contact point not yet hung in
        return;
    }
    const CompactString clean = Cleaned(title);
    if (clean.view() == item.Title()) {
        return;
    }
    if (node->Item() == &item && node->Text() == item.Title()) {
        TOutline::SetNodeText(node, clean);
    }
    item.SetTitle(clean);
}

void SetIfPresent(const FieldValues& v, CSVField field, auto&& set) {
    if (const std::string* value = v.Get(field)) {
        set(*value);
    }
}

bool HasTitleAndTarget(const TNRBObject& item) {
    return !item.Title().empty() && !item.Target().empty();
}

bool ReadAddress(TAddressObject& a, const FieldValues& v) {
    const std::string* line1 = v.Get(CSVField::AddressLine1);
    if (!line1) {
        return false;
    }
    // A spreadsheet's street may hold its lines in one value, separated by line breaks.
    std::vector<std::string> lines;
    for (std::size_t start = 0; start <= line1->size();) {
        std::size_t end = line1->find('\n', start);
        if (end == std::string::npos) {
            end = line1->size();
        }
        std::string line = line1->substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (lines.empty() || !line.empty()) {
            lines.push_back(std::move(line));
        }
        start = end + 1;
    }
    a.SetTarget(lines.front());
    const std::string* title = v.Get(CSVField::Title);
    SetRecordTitle(a, title ? std::string_view(*title) : std::string_view("New Address"));
    // Lines present are taken in order, so a missing line 2 moves line 3 up.
    SetIfPresent(v, CSVField::AddressLine2, [&](const std::string& s) { lines.push_back(s); });
    SetIfPresent(v, CSVField::AddressLine3, [&](const std::string& s) { lines.push_back(s); });
    a.SetLines(lines);
    a.PadLines();
    SetIfPresent(v, CSVField::City, [&](const std::string& s) { a.SetCity(s); });
    SetIfPresent(v, CSVField::State, [&](const std::string& s) { a.SetState(s); });
    SetIfPresent(v, CSVField::PostalCode, [&](const std::string& s) { a.SetPostCode(s); });
    SetIfPresent(v, CSVField::Country, [&](const std::string& s) { a.SetCountry(s); });
    return HasTitleAndTarget(a);
}

// Phones and faxes need both their title and their number.
bool ReadNumber(TNRBObject& item, const FieldValues& v, CSVField number) {
    const std::string* title = v.Get(CSVField::Title);
    const std::string* target = v.Get(number);
    if (!title || !target) {
        return false;
    }
    SetRecordTitle(item, *title);
    item.SetTarget(*target);
    SetIfPresent(v, CSVField::Comment, [&](const std::string& s) { item.SetComment(s); });
    return true;
}

bool ReadPhone(TPhoneObject& p, const FieldValues& v) {
    if (!ReadNumber(p, v, CSVField::PhoneNumber)) {
        return false;
    }
    SetIfPresent(v, CSVField::Extension, [&](const std::string& s) { p.SetExtension(s); });
    return HasTitleAndTarget(p);
}

bool ReadFax(TFaxObject& f, const FieldValues& v) {
    return ReadNumber(f, v, CSVField::FaxNumber) && HasTitleAndTarget(f);
}

bool ReadEMail(TEMailObject& e, const FieldValues& v) {
    const std::string* address = v.Get(CSVField::EMailAddress);
    if (!address) {
        return false;
    }
    e.SetTarget(*address);
    if (const std::string* title = v.Get(CSVField::Title)) {
        SetRecordTitle(e, *title);
    } else {
        const std::string_view target = e.Target();
        SetRecordTitle(e, target.substr(0, target.find('@')));
    }
    SetIfPresent(v, CSVField::Comment, [&](const std::string& s) { e.SetComment(s); });
    return HasTitleAndTarget(e);
}

bool ReadWebsite(TWebObject& w, const FieldValues& v) {
    const std::string* url = v.Get(CSVField::Website);
    if (!url) {
        return false;
    }
    w.SetTarget(*url);
    if (const std::string* title = v.Get(CSVField::Title)) {
        SetRecordTitle(w, *title);
    } else if (IsURL(w.Target())) {
        SetRecordTitle(w, w.Target());
    }
    SetIfPresent(v, CSVField::Comment, [&](const std::string& s) { w.SetComment(s); });
    return HasTitleAndTarget(w);
}

// The roles in the order of the Primary fields.
struct PrimaryRole {
    const std::string label;
    int kind;
    CSVField required; // without it the contact point's record fails anyway
    std::string_view (TContactHolderObject::*primary)() const;
};

const std::array<PrimaryRole, 5>& PrimaryRoles() {
    static const std::array<PrimaryRole, 5> roles{{
        {"Primary Address", kAddressKind, CSVField::AddressLine1,
         &TContactHolderObject::PrimaryAddress},
        {"Primary Phone", kPhoneKind, CSVField::PhoneNumber, &TContactHolderObject::PrimaryPhone},
        {"Primary Fax", kFaxKind, CSVField::FaxNumber, &TContactHolderObject::PrimaryFax},
        {"Primary EMail", kEMailKind, CSVField::EMailAddress, &TContactHolderObject::PrimaryEMail},
        {"Primary Website", kWebsiteKind, CSVField::Website, &TContactHolderObject::PrimaryWebsite},
    }};
    return roles;
}

bool ReadContactPoint(TNRBObject& item, const FieldValues& v) {
    switch (item.Kind()) {
    case kAddressKind:
        return ReadAddress(static_cast<TAddressObject&>(item), v);
    case kPhoneKind:
        return ReadPhone(static_cast<TPhoneObject&>(item), v);
    case kFaxKind:
        return ReadFax(static_cast<TFaxObject&>(item), v);
    case kEMailKind:
        return ReadEMail(static_cast<TEMailObject&>(item), v);
    case kWebsiteKind:
        return ReadWebsite(static_cast<TWebObject&>(item), v);
    default:
        return false;
    }
}

// Hangs a contact point in as CreateItem would: a website as the holder's last child node,
// the others in its Children. False when a website has no node to go under.
bool AttachContactPoint(TContactHolderObject& holder, std::unique_ptr<TNRBObject> item) {
    TOutlineNode* node = holder.Node();
    if (item->Kind() == kWebsiteKind) {
        TOutline* outline = node ? node->Outline() : nullptr;
        if (!outline) {
            return false;
        }
        TNRBObject* website = item.get();
        const int image = website->GetImageIndex();
        const int selected = website->GetSelectedIndex();
        TOutlineNode* added =
            outline->AddNode(node, website->Title(), std::move(item), image, selected);
        website->SetNode(added);
        return true;
    }
    holder.AddChild(std::move(item))->SetNode(node);
    return true;
}

// Each contact point the record holds becomes the holder's primary one of its kind. It is
// read before it is hung in, so that a failing one never shows.
void ReadContactPoints(TContactHolderObject& holder, const FieldValues& v) {
    std::array<std::optional<std::string_view>, 5> primaries;
    bool anyPrimary = false;
    for (std::size_t i = 0; i < PrimaryRoles().size(); ++i) {
        const PrimaryRole& role = PrimaryRoles()[i];
        if (!v.HasText(role.required)) {
            continue;
        }
        std::unique_ptr<TNRBObject> item = ConstructItem(role.kind, "New", {}, {}, 0, {});
        if (ReadContactPoint(*item, v.ForContactPoint(role.label)) &&
            AttachContactPoint(holder, std::move(item))) {
            primaries[i] = role.label;
            anyPrimary = true;
        }
    }
    if (anyPrimary) {
        holder.SetPrimaryTitles(primaries);
    }
}

// The field a phone, e-mail, fax or website keeps its target under.
std::optional<CSVField> TargetFieldOf(int kind) {
    switch (kind) {
    case kPhoneKind:
        return CSVField::PhoneNumber;
    case kEMailKind:
        return CSVField::EMailAddress;
    case kFaxKind:
        return CSVField::FaxNumber;
    case kWebsiteKind:
        return CSVField::Website;
    default:
        return std::nullopt;
    }
}

// The contact point's column of the field, appended; false when the point has no such field.
bool AppendPointFieldText(const TNRBObject& point, std::optional<CSVField> field,
                          std::string& out) {
    if (!field) {
        return false;
    }
    // Every contact point answers its title and its comment.
    if (*field == CSVField::Title) {
        AppendCSVColumn(out, point.Title());
        return true;
    }
    if (*field == CSVField::Comment) {
        AppendCSVColumn(out, point.Comment());
        return true;
    }
    switch (point.Kind()) {
    case kAddressKind: {
        const auto& address = static_cast<const TAddressObject&>(point);
        switch (*field) {
        case CSVField::AddressLine1:
            AppendCSVColumn(out, address.Line(0));
            return true;
        case CSVField::AddressLine2:
            AppendCSVColumn(out, address.Line(1));
            return true;
        case CSVField::AddressLine3:
            AppendCSVColumn(out, address.Line(2));
            return true;
        case CSVField::City:
            AppendCSVColumn(out, address.City());
            return true;
        case CSVField::State:
            AppendCSVColumn(out, address.State());
            return true;
        case CSVField::PostalCode:
            AppendCSVColumn(out, address.PostCode());
            return true;
        case CSVField::Country:
            AppendCSVColumn(out, address.Country());
            return true;
        default:
            return false;
        }
    }
    case kPhoneKind:
        if (*field == CSVField::Extension) {
            AppendCSVColumn(out, static_cast<const TPhoneObject&>(point).Extension());
            return true;
        }
        [[fallthrough]];
    case kEMailKind:
    case kFaxKind:
    case kWebsiteKind:
        // Phone, e-mail, fax and website answer their target under its field name.
        if (*field == TargetFieldOf(point.Kind())) {
            AppendCSVColumn(out, point.Target());
            return true;
        }
        return false;
    default:
        return false;
    }
}

// The holder's primary contact point of each role, looked up once for a whole line.
struct PrimaryPoints {
    explicit PrimaryPoints(const TContactHolderObject& holder) {
        for (std::size_t i = 0; i < points.size(); ++i) {
            const PrimaryRole& role = PrimaryRoles()[i];
            points[i] = holder.FindChild((holder.*role.primary)(), role.kind);
        }
    }
    std::array<const TNRBObject*, 5> points{};
};

// A field the holder does not hold itself: the first answer of its primary contact points;
// an empty column when none has one.
void AppendPrimaryFieldText(const PrimaryPoints& primaries, std::optional<CSVField> field,
                            std::string& out) {
    for (const TNRBObject* point : primaries.points) {
        if (point && AppendPointFieldText(*point, field, out)) {
            return;
        }
    }
    out.push_back(',');
}

// The holder's own column of the field, appended; false for a field it does not hold.
bool AppendHolderFieldText(const TContactHolderObject& holder, CSVField field, std::string& out) {
    switch (field) {
    case CSVField::Title:
        AppendCSVColumn(out, holder.Title());
        return true;
    case CSVField::Comment:
        AppendCSVColumn(out, holder.Comment());
        return true;
    default:
        break;
    }
    if (holder.Kind() != kPersonKind) {
        return false;
    }
    const auto& person = static_cast<const TPersonObject&>(holder);
    switch (field) {
    case CSVField::Salutation:
        AppendCSVColumn(out, person.Salutation());
        return true;
    case CSVField::FirstName:
        AppendCSVColumn(out, person.FirstName());
        return true;
    case CSVField::MiddleName:
        AppendCSVColumn(out, person.MiddleName());
        return true;
    case CSVField::LastName:
        AppendCSVColumn(out, person.LastName());
        return true;
    default:
        return false;
    }
}

bool IsHolderKind(int kind) {
    return kind == kPersonKind || kind == kOrganizationKind;
}

bool IsContactPointKind(int kind) {
    return kind == kAddressKind || kind == kPhoneKind || kind == kFaxKind || kind == kEMailKind ||
           kind == kWebsiteKind;
}

std::string FieldTextOf(const TNRBObject& item, std::string_view fieldName) {
    const std::optional<CSVField> field = FindCSVField(fieldName);
    std::string out;
    AppendCSVFieldTexts(item, std::span(&field, 1), out);
    return out;
}

bool ReadPerson(TPersonObject& person, const FieldValues& v) {
    SetIfPresent(v, CSVField::Title, [&](const std::string& s) { SetRecordTitle(person, s); });
    SetIfPresent(v, CSVField::Salutation, [&](const std::string& s) { person.SetSalutation(s); });
    SetIfPresent(v, CSVField::FirstName, [&](const std::string& s) { person.SetFirstName(s); });
    SetIfPresent(v, CSVField::MiddleName, [&](const std::string& s) { person.SetMiddleName(s); });
    SetIfPresent(v, CSVField::LastName, [&](const std::string& s) { person.SetLastName(s); });
    SetIfPresent(v, CSVField::Comment, [&](const std::string& s) { person.SetComment(s); });
    std::string target;
    target.reserve(person.FirstName().size() + 1 + person.LastName().size());
    target.append(person.FirstName()).append(" ").append(person.LastName());
    if (target.size() <= 1) {
        return false;
    }
    person.SetTarget(target);
    if (person.Title().empty()) {
        SetRecordTitle(person, target);
    }
    ReadContactPoints(person, v);
    return true;
}

bool ReadOrganization(TOrgObject& org, const FieldValues& v) {
    const std::string* title = v.Get(CSVField::Title);
    if (!title) {
        return false;
    }
    SetRecordTitle(org, *title);
    SetIfPresent(v, CSVField::Comment, [&](const std::string& s) { org.SetComment(s); });
    if (org.Title().empty()) {
        return false;
    }
    ReadContactPoints(org, v);
    return true;
}

} // namespace

CSVFieldPositions CSVFieldPositionsOf(const std::vector<std::string>& fieldOrder) {
    CSVFieldPositions positions;
    positions.fill(kCSVFieldAbsent);
    for (std::size_t i = 0; i < fieldOrder.size(); ++i) {
        if (const auto field = FindCSVField(fieldOrder[i])) {
            std::size_t& position = positions[static_cast<std::size_t>(*field)];
            if (position == kCSVFieldAbsent) {
                position = i;
            }
        }
    }
    return positions;
}

bool ReadCSVRecordAt(TNRBObject& item, const std::vector<std::string>& values,
                     const CSVFieldPositions& positions) {
    const FieldValues v(values, positions);
    switch (item.Kind()) {
    case kPersonKind:
        return ReadPerson(static_cast<TPersonObject&>(item), v);
    case kOrganizationKind:
        return ReadOrganization(static_cast<TOrgObject&>(item), v);
    default:
        return ReadContactPoint(item, v);
    }
}

std::vector<std::optional<CSVField>> ResolveCSVFields(const std::vector<std::string>& names) {
    std::vector<std::optional<CSVField>> fields;
    fields.reserve(names.size());
    for (const std::string& name : names) {
        fields.push_back(FindCSVField(name));
    }
    return fields;
}

void AppendCSVFieldTexts(const TNRBObject& item, std::span<const std::optional<CSVField>> fields,
                         std::string& out) {
    if (IsContactPointKind(item.Kind())) {
        for (const std::optional<CSVField>& field : fields) {
            AppendPointFieldText(item, field, out);
        }
        return;
    }
    if (!IsHolderKind(item.Kind())) {
        return; // no other kind has a delimited-text form
    }
    const auto& holder = static_cast<const TContactHolderObject&>(item);
    std::optional<PrimaryPoints> primaries;
    for (const std::optional<CSVField>& field : fields) {
        if (field && AppendHolderFieldText(holder, *field, out)) {
            continue;
        }
        if (!primaries) {
            primaries.emplace(holder);
        }
        AppendPrimaryFieldText(*primaries, field, out);
    }
}

bool TPersonObject::ReadCSVRecord(const std::vector<std::string>& values,
                                  const std::vector<std::string>& fieldOrder) {
    return ReadCSVRecordAt(*this, values, CSVFieldPositionsOf(fieldOrder));
}

std::string TPersonObject::CSVFieldText(std::string_view fieldName) const {
    return FieldTextOf(*this, fieldName);
}

bool TOrgObject::ReadCSVRecord(const std::vector<std::string>& values,
                               const std::vector<std::string>& fieldOrder) {
    return ReadCSVRecordAt(*this, values, CSVFieldPositionsOf(fieldOrder));
}

std::string TOrgObject::CSVFieldText(std::string_view fieldName) const {
    return FieldTextOf(*this, fieldName);
}

bool TAddressObject::ReadCSVRecord(const std::vector<std::string>& values,
                                   const std::vector<std::string>& fieldOrder) {
    return ReadCSVRecordAt(*this, values, CSVFieldPositionsOf(fieldOrder));
}

std::string TAddressObject::CSVFieldText(std::string_view fieldName) const {
    return FieldTextOf(*this, fieldName);
}

bool TPhoneObject::ReadCSVRecord(const std::vector<std::string>& values,
                                 const std::vector<std::string>& fieldOrder) {
    return ReadCSVRecordAt(*this, values, CSVFieldPositionsOf(fieldOrder));
}

std::string TPhoneObject::CSVFieldText(std::string_view fieldName) const {
    return FieldTextOf(*this, fieldName);
}

bool TEMailObject::ReadCSVRecord(const std::vector<std::string>& values,
                                 const std::vector<std::string>& fieldOrder) {
    return ReadCSVRecordAt(*this, values, CSVFieldPositionsOf(fieldOrder));
}

std::string TEMailObject::CSVFieldText(std::string_view fieldName) const {
    return FieldTextOf(*this, fieldName);
}

bool TFaxObject::ReadCSVRecord(const std::vector<std::string>& values,
                               const std::vector<std::string>& fieldOrder) {
    return ReadCSVRecordAt(*this, values, CSVFieldPositionsOf(fieldOrder));
}

std::string TFaxObject::CSVFieldText(std::string_view fieldName) const {
    return FieldTextOf(*this, fieldName);
}

bool TWebObject::ReadCSVRecord(const std::vector<std::string>& values,
                               const std::vector<std::string>& fieldOrder) {
    return ReadCSVRecordAt(*this, values, CSVFieldPositionsOf(fieldOrder));
}

std::string TWebObject::CSVFieldText(std::string_view fieldName) const {
    return FieldTextOf(*this, fieldName);
}

} // namespace quill
