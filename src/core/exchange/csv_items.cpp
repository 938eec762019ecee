// Each kind's delimited-text form: the value of a field, and reading a record of fields.

#include "core/exchange/delimited_text.h"
#include "core/exchange/record_types.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"

#include <array>
#include <limits>

namespace quill {
namespace {

constexpr std::size_t kAbsent = std::numeric_limits<std::size_t>::max();

// One record's values by field: a field has the value at its position in the chosen order,
// and is absent when it is not chosen or the line is too short for that position.
class FieldValues {
public:
    FieldValues(const std::vector<std::string>& values, const std::vector<std::string>& order)
        : values_(values) {
        positions_.fill(kAbsent);
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (const auto field = FindCSVField(order[i])) {
                std::size_t& position = positions_[static_cast<std::size_t>(*field)];
                if (position == kAbsent) {
                    position = i;
                }
            }
        }
    }

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
    std::array<std::size_t, kCSVFieldCount> positions_;
    const std::string* title_ = nullptr;
};

// Sets the title; a tree item's caption follows, as with SetTitle, but its siblings are not
// sorted: an import makes thousands of them and sorts them once at the end.
void SetRecordTitle(TNRBObject& item, std::string_view title) {
    const CompactString clean = Cleaned(title);
    if (clean.view() == item.Title()) {
        return;
    }
    TOutlineNode* node = item.Node();
    if (node && node->Item() == &item && node->Text() == item.Title()) {
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

struct PrimaryRole {
    const std::string label;
    int kind;
    CSVField required; // without it the contact point's record fails anyway
    void (TContactHolderObject::*setPrimary)(std::string_view);
    std::string_view (TContactHolderObject::*primary)() const;
};

const std::array<PrimaryRole, 5>& PrimaryRoles() {
    static const std::array<PrimaryRole, 5> roles{{
        {"Primary Address", kAddressKind, CSVField::AddressLine1,
         &TContactHolderObject::SetPrimaryAddress, &TContactHolderObject::PrimaryAddress},
        {"Primary Phone", kPhoneKind, CSVField::PhoneNumber, &TContactHolderObject::SetPrimaryPhone,
         &TContactHolderObject::PrimaryPhone},
        {"Primary Fax", kFaxKind, CSVField::FaxNumber, &TContactHolderObject::SetPrimaryFax,
         &TContactHolderObject::PrimaryFax},
        {"Primary EMail", kEMailKind, CSVField::EMailAddress,
         &TContactHolderObject::SetPrimaryEMail, &TContactHolderObject::PrimaryEMail},
        {"Primary Website", kWebsiteKind, CSVField::Website,
         &TContactHolderObject::SetPrimaryWebsite, &TContactHolderObject::PrimaryWebsite},
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
    for (const PrimaryRole& role : PrimaryRoles()) {
        if (!v.HasText(role.required)) {
            continue;
        }
        std::unique_ptr<TNRBObject> item = ConstructItem(role.kind, "New", {}, {}, 0, {});
        if (ReadContactPoint(*item, v.ForContactPoint(role.label)) &&
            AttachContactPoint(holder, std::move(item))) {
            (holder.*role.setPrimary)(role.label);
        }
    }
}

// A field the holder does not hold itself: the first answer of its primary contact points;
// an empty column when none has one.
std::string PrimaryFieldText(const TContactHolderObject& holder, std::string_view field) {
    for (const PrimaryRole& role : PrimaryRoles()) {
        if (const TNRBObject* point = holder.FindChild((holder.*role.primary)(), role.kind)) {
            std::string text = point->CSVFieldText(field);
            if (!text.empty()) {
                return text;
            }
        }
    }
    return ",";
}

} // namespace

bool TPersonObject::ReadCSVRecord(const std::vector<std::string>& values,
                                  const std::vector<std::string>& fieldOrder) {
    const FieldValues v(values, fieldOrder);
    SetIfPresent(v, CSVField::Title, [&](const std::string& s) { SetRecordTitle(*this, s); });
    SetIfPresent(v, CSVField::Salutation, [&](const std::string& s) { SetSalutation(s); });
    SetIfPresent(v, CSVField::FirstName, [&](const std::string& s) { SetFirstName(s); });
    SetIfPresent(v, CSVField::MiddleName, [&](const std::string& s) { SetMiddleName(s); });
    SetIfPresent(v, CSVField::LastName, [&](const std::string& s) { SetLastName(s); });
    SetIfPresent(v, CSVField::Comment, [&](const std::string& s) { SetComment(s); });
    std::string target;
    target.reserve(FirstName().size() + 1 + LastName().size());
    target.append(FirstName()).append(" ").append(LastName());
    if (target.size() <= 1) {
        return false;
    }
    SetTarget(target);
    if (Title().empty()) {
        SetRecordTitle(*this, target);
    }
    ReadContactPoints(*this, v);
    return true;
}

std::string TPersonObject::CSVFieldText(std::string_view fieldName) const {
    if (const auto field = FindCSVField(fieldName)) {
        switch (*field) {
        case CSVField::Title:
            return CSVColumn(Title());
        case CSVField::Salutation:
            return CSVColumn(Salutation());
        case CSVField::FirstName:
            return CSVColumn(FirstName());
        case CSVField::MiddleName:
            return CSVColumn(MiddleName());
        case CSVField::LastName:
            return CSVColumn(LastName());
        case CSVField::Comment:
            return CSVColumn(Comment());
        default:
            break;
        }
    }
    return PrimaryFieldText(*this, fieldName);
}

bool TOrgObject::ReadCSVRecord(const std::vector<std::string>& values,
                               const std::vector<std::string>& fieldOrder) {
    const FieldValues v(values, fieldOrder);
    const std::string* title = v.Get(CSVField::Title);
    if (!title) {
        return false;
    }
    SetRecordTitle(*this, *title);
    SetIfPresent(v, CSVField::Comment, [&](const std::string& s) { SetComment(s); });
    if (Title().empty()) {
        return false;
    }
    ReadContactPoints(*this, v);
    return true;
}

std::string TOrgObject::CSVFieldText(std::string_view fieldName) const {
    const auto field = FindCSVField(fieldName);
    if (field == CSVField::Title) {
        return CSVColumn(Title());
    }
    if (field == CSVField::Comment) {
        return CSVColumn(Comment());
    }
    return PrimaryFieldText(*this, fieldName);
}

namespace {

// Phone, e-mail, fax and website answer their title, their target under its field name, and
// their comment.
std::string TitleTargetCommentText(const TNRBObject& item, std::string_view fieldName,
                                   CSVField targetField) {
    const auto field = FindCSVField(fieldName);
    if (field == CSVField::Title) {
        return CSVColumn(item.Title());
    }
    if (field == targetField) {
        return CSVColumn(item.Target());
    }
    if (field == CSVField::Comment) {
        return CSVColumn(item.Comment());
    }
    return {};
}

} // namespace

bool TAddressObject::ReadCSVRecord(const std::vector<std::string>& values,
                                   const std::vector<std::string>& fieldOrder) {
    return ReadAddress(*this, FieldValues(values, fieldOrder));
}

std::string TAddressObject::CSVFieldText(std::string_view fieldName) const {
    const auto field = FindCSVField(fieldName);
    if (!field) {
        return {};
    }
    switch (*field) {
    case CSVField::Title:
        return CSVColumn(Title());
    case CSVField::AddressLine1:
        return CSVColumn(Line(0));
    case CSVField::AddressLine2:
        return CSVColumn(Line(1));
    case CSVField::AddressLine3:
        return CSVColumn(Line(2));
    case CSVField::City:
        return CSVColumn(City());
    case CSVField::State:
        return CSVColumn(State());
    case CSVField::PostalCode:
        return CSVColumn(PostCode());
    case CSVField::Country:
        return CSVColumn(Country());
    case CSVField::Comment:
        return CSVColumn(Comment());
    default:
        return {};
    }
}

bool TPhoneObject::ReadCSVRecord(const std::vector<std::string>& values,
                                 const std::vector<std::string>& fieldOrder) {
    return ReadPhone(*this, FieldValues(values, fieldOrder));
}

std::string TPhoneObject::CSVFieldText(std::string_view fieldName) const {
    if (FindCSVField(fieldName) == CSVField::Extension) {
        return CSVColumn(Extension());
    }
    return TitleTargetCommentText(*this, fieldName, CSVField::PhoneNumber);
}

bool TEMailObject::ReadCSVRecord(const std::vector<std::string>& values,
                                 const std::vector<std::string>& fieldOrder) {
    return ReadEMail(*this, FieldValues(values, fieldOrder));
}

std::string TEMailObject::CSVFieldText(std::string_view fieldName) const {
    return TitleTargetCommentText(*this, fieldName, CSVField::EMailAddress);
}

bool TFaxObject::ReadCSVRecord(const std::vector<std::string>& values,
                               const std::vector<std::string>& fieldOrder) {
    return ReadFax(*this, FieldValues(values, fieldOrder));
}

std::string TFaxObject::CSVFieldText(std::string_view fieldName) const {
    return TitleTargetCommentText(*this, fieldName, CSVField::FaxNumber);
}

bool TWebObject::ReadCSVRecord(const std::vector<std::string>& values,
                               const std::vector<std::string>& fieldOrder) {
    return ReadWebsite(*this, FieldValues(values, fieldOrder));
}

std::string TWebObject::CSVFieldText(std::string_view fieldName) const {
    return TitleTargetCommentText(*this, fieldName, CSVField::Website);
}

} // namespace quill
