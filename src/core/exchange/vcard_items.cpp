// Each kind's vCard form: reading a card into a person or organization, writing one, and the
// property line of every contact point.

#include "core/comm/phone_extension.h"
#include "core/exchange/vcard.h"
#include "core/exchange/vcard_dates.h"
#include "core/model/attachment_objects.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/outline.h"
#include "core/model/record_text.h"
#include "core/storage/categories.h"
#include "core/util/ascii.h"
#include "core/util/atomic_file.h"
#include "core/util/background_files.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <utility>

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

std::string_view Trim(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20) {
        text.remove_prefix(1);
    }
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20) {
        text.remove_suffix(1);
    }
    return text;
}

// The text of a single-text property. A standard card's FN, TITLE or NOTE is one text, so a
// ";" that a writer left unescaped is put back; the own form takes the first value.
std::string TextOf(const TCard& card, const TCardProperty& property) {
    if (!card.IsStandard()) {
        return std::string(property.Value(0));
    }
    std::string text;
    for (std::size_t i = 0; i < property.ValueCount(); ++i) {
        if (i > 0) {
            text += ';';
        }
        text.append(property.Value(i));
    }
    return text;
}

// The family name with the honorific suffix (N's fifth part) after a comma, as it is
// written after a name: "King, Jr.".
std::string FamilyName(const TCardProperty& n) {
    std::string family(n.Value(0));
    const std::string_view suffix = Trim(n.Value(4));
    if (!suffix.empty()) {
        family += family.empty() ? "" : ", ";
        family.append(suffix);
    }
    return family;
}

// The program's own cards carry the display name in TITLE; standard cards name the person in
// FN and hold the job title in TITLE. A standard card without a name is titled by its
// organization, or else by its first e-mail address.
std::string PersonTitle(const TCard& card, std::string_view firstName, std::string_view lastName) {
    std::string name(firstName);
    name += ' ';
    name.append(lastName);
    if (!card.IsStandard()) {
        if (const TCardProperty* title = card.Find("TITLE")) {
            return std::string(title->Value(0));
        }
        if (const TCardProperty* formatted = card.Find("FN")) {
            return std::string(formatted->Value(0));
        }
        return name;
    }
    if (const TCardProperty* formatted = card.Find("FN")) {
        std::string text = TextOf(card, *formatted);
        if (!Trim(text).empty()) {
            return text;
        }
    }
    if (!Trim(name).empty()) {
        return std::string(Trim(name));
    }
    for (std::string_view fallback : {"ORG", "EMAIL"}) {
        if (const TCardProperty* property = card.Find(fallback)) {
            if (!Trim(property->Value(0)).empty()) {
                return std::string(Trim(property->Value(0)));
            }
        }
    }
    return {};
}

// The address record of an ADR property: line 1 to 3, city, state, postal code and country,
// each made safe for a field. The own form holds the lines in its first three values; a
// standard card has the post office box, the extended address and the street (whose lines a
// line break separates) there, which fill the lines in this order, the ones left over joined
// into the third.
// firstLine receives the record's first field, which an address shows as its target.
std::string AddressRecord(const TCard& card, const TCardProperty& adr, std::string& firstLine) {
    std::vector<std::string> lines;
    if (card.IsStandard()) {
        for (std::size_t i = 0; i < 3; ++i) {
            std::string_view part = adr.Value(i);
            while (!part.empty()) {
                const std::size_t br = part.find('\n');
                const std::string_view line = Trim(part.substr(0, br));
                if (!line.empty()) {
                    lines.emplace_back(line);
                }
                part = br == std::string_view::npos ? std::string_view() : part.substr(br + 1);
            }
        }
        while (lines.size() > 3) {
            lines[lines.size() - 2] += ", " + lines.back();
            lines.pop_back();
        }
    } else {
        for (std::size_t i = 0; i < 3; ++i) {
            lines.emplace_back(adr.Value(i));
        }
    }
    lines.resize(3);
    std::string record;
    DataLineBuilder builder(record, DataLineTag(kAddressKind));
    for (std::size_t i = 0; i < 7; ++i) {
        const std::string_view value = i < 3 ? std::string_view(lines[i]) : adr.Value(i);
        std::string field = IsCleanField(value) ? std::string(value) : CleanField(value);
        builder.Field(field);
        if (i == 0) {
            firstLine = std::move(field);
        }
    }
    return record;
}

// A standard card's number with its extension after it ("+1 555 0100 x102", "... ext. 102")
// taken apart; the extension of a tel: URI comes as a parameter.
NumberAndExtension NumberAndExtensionOf(const TCard& card, const TCardProperty& tel) {
    std::string extension(tel.Parameter(kVCardExtensionParameter));
    if (!card.IsStandard() || !extension.empty()) {
        return {std::string(tel.Value(0)), std::move(extension)};
    }
    return SplitExtension(tel.Value(0));
}

// Apple's address book labels a property by a line of the same group; its own labels are
// written "_$!<Mobile>!$_", custom ones as typed.
std::string LabelOf(const TCard& card, const TCardProperty& property) {
    if (property.Group().empty()) {
        return {};
    }
    const TCardProperty* label = card.FindInGroup("X-ABLABEL", property.Group());
    if (!label) {
        return {};
    }
    const std::string whole = TextOf(card, *label);
    std::string_view text = Trim(whole);
    if (text.starts_with("_$!<") && text.ends_with(">!$_")) {
        text = text.substr(4, text.size() - 8);
    }
    return std::string(text);
}

// A contact point's title: its label, else the display names of its types; a standard card's
// point without either is named after its kind, so that it can be made primary.
std::string PointTitle(const TCard& card, const TCardProperty& property,
                       std::string_view kindWord) {
    std::string title = LabelOf(card, property);
    if (title.empty()) {
        title = property.TypeDisplayText();
    }
    if (title.empty() && card.IsStandard()) {
        title = kindWord;
    }
    return title;
}

// Which primary each kind gets: the first point with PREF, else the first point.
class PrimaryChoice {
public:
    void Offer(std::string_view title, bool preferred) {
        if (preferred && !preferred_) {
            preferred_ = true;
            title_ = title;
        } else if (!preferred_ && !offered_) {
            title_ = title;
        }
        offered_ = true;
    }
    bool Chosen() const { return offered_; }
    const std::string& Title() const { return title_; }

private:
    bool offered_ = false;
    bool preferred_ = false;
    std::string title_;
};

// Creates the contact points of the card under the holder: addresses, e-mail addresses,
// phones and faxes in this order, then a website for every URL. A PREF names the primary of
// its kind; without one the first of the kind is primary.
void ReadContactPoints(const TCard& card, TContactHolderObject& holder) {
    TOutlineNode* node = holder.Node();
    if (!node) {
        return;
    }
    PrimaryChoice address;
    PrimaryChoice email;
    PrimaryChoice phone;
    PrimaryChoice fax;
    PrimaryChoice website;
    for (std::size_t i = 0; i < card.Count(); ++i) {
        const TCardProperty& adr = card.At(i);
        if (adr.Name() != "ADR") {
            continue;
        }
        const std::string title = PointTitle(card, adr, "Address");
        std::string firstLine;
        const std::string record = AddressRecord(card, adr, firstLine);
        CreateItem(kAddressKind, title, firstLine, {}, 0, record, node);
        address.Offer(title, adr.HasType(kVCardPref));
    }
    for (std::size_t i = 0; i < card.Count(); ++i) {
        const TCardProperty& mail = card.At(i);
        if (mail.Name() != "EMAIL") {
            continue;
        }
        const std::string title = PointTitle(card, mail, "E-Mail");
        CreateItem(kEMailKind, title, mail.Value(0), {}, 0, {}, node);
        email.Offer(title, mail.HasType(kVCardPref));
    }
    for (std::size_t i = 0; i < card.Count(); ++i) {
        const TCardProperty& tel = card.At(i);
        if (tel.Name() != "TEL") {
            continue;
        }
        const bool isFax = tel.HasType(kVCardFax);
        const std::string title = PointTitle(card, tel, isFax ? "Fax" : "Phone");
        auto [number, extension] = NumberAndExtensionOf(card, tel);
        std::string dataLine;
        if (!isFax) {
            DataLineBuilder(dataLine, DataLineTag(kPhoneKind)).Field(CleanField(extension));
        } else if (!extension.empty()) {
            number += " x" + extension; // a fax has no extension of its own
        }
        CreateItem(isFax ? kFaxKind : kPhoneKind, title, number, {}, 0, dataLine, node);
        (isFax ? fax : phone).Offer(title, tel.HasType(kVCardPref));
    }
    std::size_t sites = 0;
    for (std::size_t i = 0; i < card.Count(); ++i) {
        const TCardProperty& url = card.At(i);
        if (url.Name() != "URL") {
            continue;
        }
        ++sites;
        std::string title = LabelOf(card, url);
        if (title.empty()) {
            title = url.TypeDisplayText();
        }
        if (title.empty()) {
            title = sites == 1 ? "Web URL" : "Web URL " + std::to_string(sites);
        }
        CreateItem(kWebsiteKind, title, Trim(url.Value(0)), {}, 0, {}, node);
        website.Offer(title, url.HasType(kVCardPref));
    }
    if (address.Chosen()) {
        holder.SetPrimaryAddress(address.Title());
    }
    if (email.Chosen()) {
        holder.SetPrimaryEMail(email.Title());
    }
    if (phone.Chosen()) {
        holder.SetPrimaryPhone(phone.Title());
    }
    if (fax.Chosen()) {
        holder.SetPrimaryFax(fax.Title());
    }
    if (website.Chosen()) {
        holder.SetPrimaryWebsite(website.Title());
    }
}

// Every NOTE of the card, one after the other.
std::string NoteText(const TCard& card) {
    std::string note;
    for (std::size_t i = 0; i < card.Count(); ++i) {
        if (card.At(i).Name() != "NOTE") {
            continue;
        }
        const std::string text(Trim(TextOf(card, card.At(i))));
        if (text.empty()) {
            continue;
        }
        if (!note.empty()) {
            note += ' ';
        }
        note += text;
    }
    return note;
}

// The names of a CATEGORIES text or of a category, trimmed. The card's reader has already
// turned an escaped comma into a plain one, so a category whose name holds a comma is
// matched by its pieces in a row; 2.1 writers also separate with ";".
std::vector<std::string_view> CategoryPieces(std::string_view text) {
    std::vector<std::string_view> pieces;
    std::size_t from = 0;
    while (from <= text.size()) {
        std::size_t end = text.find_first_of(",;", from);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        if (const std::string_view piece = Trim(text.substr(from, end - from)); !piece.empty()) {
            pieces.push_back(piece);
        }
        from = end + 1;
    }
    return pieces;
}

// The names under which cards give an anniversary, beside Apple's labelled X-ABDATE.
constexpr std::string_view kAnniversaryNames[] = {"ANNIVERSARY", "X-ANNIVERSARY",
                                                  "X-EVOLUTION-ANNIVERSARY", "X-MS-ANNIVERSARY",
                                                  "X-KADDRESSBOOK-X-ANNIVERSARY"};

std::optional<CardDate> DateOf(const TCard& card, const TCardProperty& property) {
    if (EqualsIgnoreAsciiCase(property.Parameter("VALUE"), "text")) {
        return std::nullopt;
    }
    return ParseCardDate(TextOf(card, property), property.Parameter("X-APPLE-OMIT-YEAR"));
}

// The property that gives the birthday (first) or the anniversary (second), when it holds a
// date; none otherwise.
std::pair<const TCardProperty*, const TCardProperty*> DateProperties(const TCard& card) {
    const TCardProperty* birthday = nullptr;
    const TCardProperty* anniversary = nullptr;
    for (std::size_t i = 0; i < card.Count(); ++i) {
        const TCardProperty& property = card.At(i);
        if (!birthday && property.Name() == "BDAY" && DateOf(card, property)) {
            birthday = &property;
            continue;
        }
        if (anniversary) {
            continue;
        }
        bool isAnniversary = false;
        for (std::string_view name : kAnniversaryNames) {
            isAnniversary = isAnniversary || property.Name() == name;
        }
        if (property.Name() == "X-ABDATE") {
            isAnniversary = EqualsIgnoreAsciiCase(LabelOf(card, property), "Anniversary");
        }
        if (isAnniversary && DateOf(card, property)) {
            anniversary = &property;
        }
    }
    return {birthday, anniversary};
}

void ReadDates(const TCard& card, TNRBObject& person) {
    const auto [birthday, anniversary] = DateProperties(card);
    if (birthday) {
        CreateDateReminder(kBirthdayTitle, *DateOf(card, *birthday), person.Node());
    }
    if (anniversary) {
        CreateDateReminder(kAnniversaryTitle, *DateOf(card, *anniversary), person.Node());
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
                       n ? FamilyName(*n) : std::string());
}

TCardCategories::TCardCategories(const std::vector<std::string>& names) {
    names_.reserve(kCategoryCount);
    for (int category = 1; category <= kCategoryCount; ++category) {
        names_.push_back(CategoryName(names, category));
    }
    for (const std::string& name : names_) {
        pieces_.push_back(CategoryPieces(name));
    }
}

std::int32_t TCardCategories::Of(const TCard& card, bool& left) const {
    std::uint32_t categories = 0;
    left = false;
    for (std::size_t i = 0; i < card.Count(); ++i) {
        if (card.At(i).Name() != "CATEGORIES") {
            continue;
        }
        const std::string text = TextOf(card, card.At(i));
        const std::vector<std::string_view> given = CategoryPieces(text);
        std::vector<bool> matched(given.size(), false);
        for (std::size_t index = 0; index < pieces_.size(); ++index) {
            const std::vector<std::string_view>& pieces = pieces_[index];
            if (pieces.empty() || pieces.size() > given.size()) {
                continue;
            }
            for (std::size_t at = 0; at + pieces.size() <= given.size(); ++at) {
                bool same = true;
                for (std::size_t k = 0; k < pieces.size() && same; ++k) {
                    same = !matched[at + k] && EqualsIgnoreAsciiCase(given[at + k], pieces[k]);
                }
                if (same) {
                    categories |= std::uint32_t{1} << index;
                    std::fill_n(matched.begin() + static_cast<std::ptrdiff_t>(at), pieces.size(),
                                true);
                    break;
                }
            }
        }
        left = left || std::find(matched.begin(), matched.end(), false) != matched.end();
    }
    return static_cast<std::int32_t>(categories);
}

void AddCardLeftovers(const TCard& card, int kind, TImportReport& report) {
    for (const std::string& name : card.SkippedNames()) {
        report.AddNotKept(name);
    }
    const auto [birthday, anniversary] = DateProperties(card);
    const TCardProperty* org = card.Find("ORG");
    const std::string orgTitle = org ? std::string(org->Value(0)) : std::string();
    for (std::size_t i = 0; i < card.Count(); ++i) {
        const TCardProperty& property = card.At(i);
        const std::string& name = property.Name();
        bool kept = name == "ADR" || name == "TEL" || name == "EMAIL" || name == "URL" ||
                    name == "NOTE" || name == "X-ABLABEL" || name == "CATEGORIES";
        if (kind == kPersonKind) {
            // The own form names the person by N, FN and TITLE; a standard card keeps its
            // job title in the comment and files the person under its ORG.
            kept = kept ||
                   ((name == "N" || name == "FN" || name == "TITLE") &&
                    card.Find(name) == &property) ||
                   (&property == org && card.IsStandard()) || &property == birthday ||
                   &property == anniversary;
        } else {
            // An organization is named by ORG; its name given again loses nothing.
            kept = kept || &property == org ||
                   ((name == "N" || name == "FN") && TextOf(card, property) == orgTitle);
        }
        if (!kept) {
            report.AddNotKept(name);
        }
    }
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
    // A site being published writes its cards beside the making of its pages.
    if (BackgroundFileWriter* files = CurrentBackgroundFileWriter()) {
        if (!files->Write(fileName, ItemVCardFileText(item))) {
            return FileResult::Failure(files->Error());
        }
        return {};
    }
    // One small file per item, often a fresh one beside a published site: written in place
    // when it is new, rather than through a temporary file.
    std::string error;
    if (!SaveCopyFile(fileName, ItemVCardFileText(item), &error)) {
        return FileResult::Failure(error);
    }
    return {};
}

std::string ItemVCardFileText(const TNRBObject& item) {
    std::string text;
    AppendCardText(ItemVCard(item), text);
    return text;
}

void TPersonObject::ReadVCard(const TCard& card) {
    if (const TCardProperty* n = card.Find("N")) {
        const std::size_t count = n->ValueCount();
        if (count > 0) {
            SetLastName(FamilyName(*n));
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
    // A standard card's job title opens the comment, the notes follow.
    std::string comment = NoteText(card);
    if (const TCardProperty* job = card.Find("TITLE"); job && card.IsStandard()) {
        const std::string title(Trim(TextOf(card, *job)));
        if (!title.empty()) {
            comment = comment.empty() ? title : title + " \xE2\x80\x94 " + comment;
        }
    }
    if (!comment.empty()) {
        SetComment(comment);
    }
    ReadContactPoints(card, *this);
    ReadDates(card, *this);
}

FileResult TPersonObject::SaveVCardFile(const std::string& fileName) const {
    return SaveItemVCard(*this, fileName);
}

void TOrgObject::ReadVCard(const TCard& card) {
    if (const TCardProperty* org = card.Find("ORG")) {
        Retitle(*this, org->Value(0));
    }
    if (const std::string note = NoteText(card); !note.empty()) {
        SetComment(note);
    }
    ReadContactPoints(card, *this);
}

FileResult TOrgObject::SaveVCardFile(const std::string& fileName) const {
    return SaveItemVCard(*this, fileName);
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
