// Each kind's vCard form: reading a card into a person or organization, writing one, and the
// property line of every contact point.

#include "core/exchange/vcard.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/outline.h"
#include "core/model/record_text.h"

#include <initializer_list>

namespace quill {
namespace {

TCardProperty Property(std::string_view name, std::initializer_list<std::string_view> values) {
    TCardProperty property;
    property.SetName(name);
    for (std::string_view value : values) {
        property.AddValue(std::string(value));
    }
    return property;
}

// The program's own cards carry the display name in TITLE; standard cards name the person in
// FN and hold the job title in TITLE, so there FN comes first.
std::string PersonTitle(const TCard& card, std::string_view firstName, std::string_view lastName) {
    const TCardProperty* title = card.Find("TITLE");
    const TCardProperty* formatted = card.Find("FN");
    if (card.IsStandard()) {
        std::swap(title, formatted);
    }
    if (title) {
        return std::string(title->Value(0));
    }
    if (formatted) {
        return std::string(formatted->Value(0));
    }
    std::string name(firstName);
    name += ' ';
    name.append(lastName);
    return name;
}

// The address record of an ADR property: its first seven values, each made safe for a field.
std::string AddressRecord(const TCardProperty& adr) {
    std::string record;
    DataLineBuilder builder(record, DataLineTag(kAddressKind));
    for (std::size_t i = 0; i < 7; ++i) {
        const std::string_view value = adr.Value(i);
        builder.Field(IsCleanField(value) ? std::string(value) : CleanField(value));
    }
    return record;
}

// Creates the contact points of the card under the holder: addresses, e-mail addresses,
// phones and faxes in this order, then one website from the first URL. A PREF names the
// primary of its kind.
void ReadContactPoints(const TCard& card, TContactHolderObject& holder) {
    TOutlineNode* node = holder.Node();
    if (!node) {
        return;
    }
    for (std::size_t i = 0; i < card.Count(); ++i) {
        const TCardProperty& adr = card.At(i);
        if (adr.Name() != "ADR") {
            continue;
        }
        const std::string title = adr.TypeDisplayText();
        CreateItem(kAddressKind, title, adr.Value(0), {}, 0, AddressRecord(adr), node);
        if (adr.HasType(kVCardPref)) {
            holder.SetPrimaryAddress(title);
        }
    }
    for (std::size_t i = 0; i < card.Count(); ++i) {
        const TCardProperty& email = card.At(i);
        if (email.Name() != "EMAIL") {
            continue;
        }
        const std::string title = email.TypeDisplayText();
        CreateItem(kEMailKind, title, email.Value(0), {}, 0, {}, node);
        if (email.HasType(kVCardPref)) {
            holder.SetPrimaryEMail(title);
        }
    }
    for (std::size_t i = 0; i < card.Count(); ++i) {
        const TCardProperty& tel = card.At(i);
        if (tel.Name() != "TEL") {
            continue;
        }
        const std::string title = tel.TypeDisplayText();
        const bool fax = tel.HasType(kVCardFax);
        CreateItem(fax ? kFaxKind : kPhoneKind, title, tel.Value(0), {}, 0, {}, node);
        if (tel.HasType(kVCardPref)) {
            if (fax) {
                holder.SetPrimaryFax(title);
            } else {
                holder.SetPrimaryPhone(title);
            }
        }
    }
    if (const TCardProperty* url = card.Find("URL")) {
        constexpr std::string_view kWebTitle = "Web URL";
        CreateItem(kWebsiteKind, kWebTitle, url->Value(0), {}, 0, {}, node);
        holder.SetPrimaryWebsite(kWebTitle);
    }
}

void Retitle(TNRBObject& item, std::string_view title) {
    // Renaming sorts the siblings, which an unchanged title need not cost.
    if (item.Title() != Cleaned(title).view()) {
        item.SetTitle(title);
    }
}

// A primary with an empty title names nothing (as FindChild finds nothing for it), so it
// marks no untitled contact point as preferred.
bool IsPrimary(const TContactHolderObject& holder, const TNRBObject& child) {
    std::string_view primary;
    switch (child.Kind()) {
    case kAddressKind:
        primary = holder.PrimaryAddress();
        break;
    case kPhoneKind:
        primary = holder.PrimaryPhone();
        break;
    case kEMailKind:
        primary = holder.PrimaryEMail();
        break;
    case kFaxKind:
        primary = holder.PrimaryFax();
        break;
    default:
        return false;
    }
    return !primary.empty() && child.Title() == primary;
}

void AddLineOf(const TNRBObject& item, TCard& card, bool preferred) {
    const std::string line = item.VCardLine();
    if (line.empty()) {
        return;
    }
    TCardProperty property(line);
    if (preferred) {
        property.SetType(kVCardPref);
    }
    card.Add(std::move(property));
}

// The three heading lines, then every contact point in Children, then the websites below
// the holder's node (the primary one first, which is the one a reader takes).
TCard HolderCard(const TContactHolderObject& holder, TCardProperty n, TCardProperty fn,
                 TCardProperty third) {
    TCard card;
    card.Add(std::move(n));
    card.Add(std::move(fn));
    card.Add(std::move(third));
    for (std::size_t i = 0; i < holder.ChildCount(); ++i) {
        const TNRBObject* child = holder.ChildAt(i);
        AddLineOf(*child, card, IsPrimary(holder, *child));
    }
    const TOutlineNode* node = holder.Node();
    if (!node || node->Item() != &holder) {
        return card;
    }
    const TNRBObject* primary = holder.FindChild(holder.PrimaryWebsite(), kWebsiteKind);
    if (primary) {
        AddLineOf(*primary, card, false);
    }
    for (std::size_t i = 0; i < node->ChildCount(); ++i) {
        const TNRBObject* site = node->ChildAt(i)->Item();
        if (site && site != primary && site->Kind() == kWebsiteKind) {
            AddLineOf(*site, card, false);
        }
    }
    return card;
}

} // namespace

std::string CardItemTitle(const TCard& card, int kind) {
    if (kind == kOrganizationKind) {
        const TCardProperty* org = card.Find("ORG");
        return org ? std::string(org->Value(0)) : std::string();
    }
    const TCardProperty* n = card.Find("N");
    return PersonTitle(card, n ? n->Value(1) : std::string_view(),
                       n ? n->Value(0) : std::string_view());
}

TCard ItemVCard(const TNRBObject& item) {
    if (const auto* person = dynamic_cast<const TPersonObject*>(&item)) {
        return HolderCard(*person,
                          Property("N", {person->LastName(), person->FirstName(),
                                         person->MiddleName(), person->Salutation()}),
                          Property("FN", {person->Target()}), Property("TITLE", {person->Title()}));
    }
    if (const auto* org = dynamic_cast<const TOrgObject*>(&item)) {
        return HolderCard(*org, Property("N", {org->Title()}), Property("FN", {org->Title()}),
                          Property("ORG", {org->Title()}));
    }
    return {};
}

FileResult SaveItemVCard(const TNRBObject& item, const std::string& fileName) {
    if (!CanExportVCard(item)) {
        return FileResult::Failure(std::string(kVCardKindWarning));
    }
    TVCardFile file;
    file.SetFilename(fileName);
    file.AddCard(ItemVCard(item));
    return file.Save();
}

void TPersonObject::ReadVCard(const TCard& card) {
    if (const TCardProperty* n = card.Find("N")) {
        const std::size_t count = n->ValueCount();
        if (count > 0) {
            SetLastName(n->Value(0));
        }
        if (count > 1) {
            SetFirstName(n->Value(1));
        }
        if (count > 2) {
            SetMiddleName(n->Value(2));
        }
        if (count > 3) {
            SetSalutation(n->Value(3));
        }
    }
    Retitle(*this, PersonTitle(card, FirstName(), LastName()));
    SetTarget(FormalName());
    ReadContactPoints(card, *this);
}

void TPersonObject::SaveVCardFile(const std::string& fileName) const {
    SaveItemVCard(*this, fileName);
}

void TOrgObject::ReadVCard(const TCard& card) {
    if (const TCardProperty* org = card.Find("ORG")) {
        Retitle(*this, org->Value(0));
    }
    ReadContactPoints(card, *this);
}

void TOrgObject::SaveVCardFile(const std::string& fileName) const {
    SaveItemVCard(*this, fileName);
}

std::string TAddressObject::VCardLine() const {
    return Property("ADR", {Line(0), Line(1), Line(2), City(), State(), PostCode(), Country()})
        .Format();
}

std::string TPhoneObject::VCardLine() const {
    return Property("TEL", {Target()}).Format();
}

std::string TEMailObject::VCardLine() const {
    TCardProperty property = Property("EMAIL", {Target()});
    if (IsInternetAddress(Target())) {
        property.SetType(kVCardInternet);
    }
    return property.Format();
}

std::string TFaxObject::VCardLine() const {
    TCardProperty property = Property("TEL", {Target()});
    property.SetType(kVCardFax);
    return property.Format();
}

std::string TWebObject::VCardLine() const {
    return Property("URL", {Target()}).Format();
}

} // namespace quill
