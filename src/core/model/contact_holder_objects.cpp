#include "core/model/contact_holder_objects.h"

#include "core/model/record_text.h"

#include <algorithm>
#include <functional>
#include <iterator>

namespace quill {

// A counted, shared set of the five titles. Sets made recently are found again by a hash of
// their texts, as texts are (see CompactString); a set being freed takes itself out.
struct TContactHolderObject::PrimaryTitles {
    QUILL_MODEL_HEAP_OBJECT
    std::uint32_t holders = 0;
    CompactString titles[kSlotCount];
};

namespace {

constexpr std::size_t kRecentTitleSets = 256;

std::size_t TitleSetSlot(const CompactString* titles, std::size_t count) {
    std::size_t h = 0;
    for (std::size_t i = 0; i < count; ++i) {
        h = h * 0x9E3779B97F4A7C15ull + std::hash<std::string_view>{}(titles[i].view());
    }
    return (h >> 17) % kRecentTitleSets;
}

bool SameTitles(const CompactString* a, const CompactString* b, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (a[i].view() != b[i].view()) {
            return false;
        }
    }
    return true;
}

} // namespace

// Holds no set: an entry is cleared when its set goes.
static constinit void* recentTitleSets[kRecentTitleSets] = {};

TContactHolderObject::TContactHolderObject(int kind, std::string_view title,
                                           std::string_view target, std::string_view comment,
                                           std::int32_t id)
    : TNRBObject(kind, title, target, comment, id) {}

TContactHolderObject::~TContactHolderObject() {
    SetPrimaries({});
}

std::string_view TContactHolderObject::Primary(Slot slot) const {
    return primaries_ ? primaries_->titles[slot].view() : std::string_view();
}

void TContactHolderObject::SetPrimary(Slot slot, std::string_view title) {
    CompactString titles[kSlotCount];
    if (primaries_) {
        for (std::size_t i = 0; i < kSlotCount; ++i) {
            titles[i] = primaries_->titles[i];
        }
    }
    titles[slot] = Cleaned(title);
    SetPrimaries(titles);
}

void TContactHolderObject::SetPrimaryTitles(
    const std::array<std::optional<std::string_view>, 5>& titles) {
    static_assert(kSlotCount == 5);
    CompactString next[kSlotCount];
    for (std::size_t i = 0; i < kSlotCount; ++i) {
        if (titles[i]) {
            next[i] = Cleaned(*titles[i]);
        } else if (primaries_) {
            next[i] = primaries_->titles[i];
        }
    }
    SetPrimaries(next);
}

void TContactHolderObject::SetPrimaries(const CompactString (&titles)[kSlotCount]) {
    PrimaryTitles* wanted = nullptr;
    const bool allEmpty = std::all_of(std::begin(titles), std::end(titles),
                                      [](const CompactString& t) { return t.empty(); });
    if (!allEmpty) {
        const std::size_t slot = TitleSetSlot(titles, kSlotCount);
        auto* recent = static_cast<PrimaryTitles*>(recentTitleSets[slot]);
        if (recent && SameTitles(recent->titles, titles, kSlotCount)) {
            wanted = recent;
        } else {
            wanted = new PrimaryTitles;
            for (std::size_t i = 0; i < kSlotCount; ++i) {
                wanted->titles[i] = titles[i];
            }
            recentTitleSets[slot] = wanted;
        }
        ++wanted->holders;
    }
    PrimaryTitles* old = primaries_;
    primaries_ = wanted;
    if (old && --old->holders == 0) {
        const std::size_t slot = TitleSetSlot(old->titles, kSlotCount);
        if (recentTitleSets[slot] == old) {
            recentTitleSets[slot] = nullptr;
        }
        delete old;
    }
}

TNRBObject* TContactHolderObject::PrimaryContact(int kind) const {
    switch (kind) {
    case kAddressKind:
        return FindChild(PrimaryAddress(), kind);
    case kPhoneKind:
        return FindChild(PrimaryPhone(), kind);
    case kFaxKind:
        return FindChild(PrimaryFax(), kind);
    case kEMailKind:
        return FindChild(PrimaryEMail(), kind);
    case kWebsiteKind:
        return FindChild(PrimaryWebsite(), kind);
    default:
        return nullptr;
    }
}

void TContactHolderObject::SetupActionMenu(ActionMenu& menu) const {
    menu.HideAll();
    menu.open = true;
    // Offered by the field alone, even when no child of that title exists.
    menu.sendMail = !PrimaryEMail().empty();
    menu.sendFax = !PrimaryFax().empty();
    menu.dial = !PrimaryPhone().empty();
    menu.browse = !PrimaryWebsite().empty();
}

void TContactHolderObject::SendMail(std::string_view text) {
    if (TNRBObject* mail = PrimaryContact(kEMailKind)) {
        mail->SendMail(text);
    }
}

void TContactHolderObject::SendFax(std::string_view text) {
    if (TNRBObject* fax = PrimaryContact(kFaxKind)) {
        fax->SendFax(text);
    }
}

void TContactHolderObject::Dial() {
    if (TNRBObject* phone = PrimaryContact(kPhoneKind)) {
        phone->Dial();
    }
}

void TContactHolderObject::Browse() {
    if (TNRBObject* website = PrimaryContact(kWebsiteKind)) {
        website->Browse();
    }
}

void TContactHolderObject::ReadPrimaries(const DataLineReader& r, std::size_t first) {
    CompactString titles[kSlotCount];
    for (std::size_t i = 0; i < kSlotCount; ++i) {
        if (r.Has(first + i)) {
            titles[i] = Cleaned(r.At(first + i));
        } else if (primaries_) {
            titles[i] = primaries_->titles[i];
        }
    }
    SetPrimaries(titles);
}

void TContactHolderObject::AppendPrimaries(DataLineBuilder& b) const {
    b.Field(PrimaryAddress())
        .Field(PrimaryPhone())
        .Field(PrimaryFax())
        .Field(PrimaryEMail())
        .Field(PrimaryWebsite());
}

TOrgObject::TOrgObject(std::string_view title, std::string_view target, std::string_view comment,
                       std::int32_t id, std::string_view dataLine)
    : TContactHolderObject(kOrganizationKind, title, target, comment, id) {
    TOrgObject::ReadDataLine(dataLine);
}

void TOrgObject::ReadDataLine(std::string_view text) {
    DataLineReader r;
    if (!r.Open(text, DataLineTag(kOrganizationKind))) {
        return;
    }
    ReadPrimaries(r, 0);
    SetCategories(r.CategoriesAt(5));
}

bool TOrgObject::AppendDataLine(std::string& out) const {
    DataLineBuilder b(out, DataLineTag(kOrganizationKind));
    AppendPrimaries(b);
    b.Number(Categories());
    return true;
}

TPersonObject::TPersonObject(std::string_view title, std::string_view target,
                             std::string_view comment, std::int32_t id, std::string_view dataLine)
    : TContactHolderObject(kPersonKind, title, target, comment, id) {
    TPersonObject::ReadDataLine(dataLine);
}

void TPersonObject::ReadDataLine(std::string_view text) {
    DataLineReader r;
    if (!r.Open(text, DataLineTag(kPersonKind))) {
        return;
    }
    CompactString* names[] = {&salutation_, &firstName_, &middleName_, &lastName_};
    for (std::size_t i = 0; i < 4; ++i) {
        if (r.Has(i)) {
            *names[i] = Cleaned(r.At(i));
        }
    }
    ReadPrimaries(r, 4);
    SetCategories(r.CategoriesAt(9));
}

bool TPersonObject::AppendDataLine(std::string& out) const {
    DataLineBuilder b(out, DataLineTag(kPersonKind));
    b.Field(salutation_).Field(firstName_).Field(middleName_).Field(lastName_);
    AppendPrimaries(b);
    b.Number(Categories());
    return true;
}

std::string TPersonObject::FormalName() const {
    std::string name(salutation_);
    name.push_back(' ');
    name.append(firstName_);
    name.push_back(' ');
    name.append(lastName_);
    return name;
}

} // namespace quill
