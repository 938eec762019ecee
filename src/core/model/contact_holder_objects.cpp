#include "core/model/contact_holder_objects.h"

#include "core/model/record_text.h"

namespace quill {

TContactHolderObject::TContactHolderObject(int kind, std::string_view title,
                                           std::string_view target, std::string_view comment,
                                           std::int32_t id)
    : TNRBObject(kind, title, target, comment, id) {}

TNRBObject* TContactHolderObject::PrimaryContact(int kind) const {
    switch (kind) {
    case kAddressKind:
        return FindChild(primaryAddress_, kind);
    case kPhoneKind:
        return FindChild(primaryPhone_, kind);
    case kFaxKind:
        return FindChild(primaryFax_, kind);
    case kEMailKind:
        return FindChild(primaryEMail_, kind);
    case kWebsiteKind:
        return FindChild(primaryWebsite_, kind);
    default:
        return nullptr;
    }
}

void TContactHolderObject::SetupActionMenu(ActionMenu& menu) const {
    menu.HideAll();
    menu.open = true;
    // Offered by the field alone, even when no child of that title exists.
    menu.sendMail = !primaryEMail_.empty();
    menu.sendFax = !primaryFax_.empty();
    menu.dial = !primaryPhone_.empty();
    menu.browse = !primaryWebsite_.empty();
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
    CompactString* fields[] = {&primaryAddress_, &primaryPhone_, &primaryFax_, &primaryEMail_,
                               &primaryWebsite_};
    for (std::size_t i = 0; i < 5; ++i) {
        if (r.Has(first + i)) {
            *fields[i] = Cleaned(r.At(first + i));
        }
    }
}

void TContactHolderObject::AppendPrimaries(DataLineBuilder& b) const {
    b.Field(primaryAddress_)
        .Field(primaryPhone_)
        .Field(primaryFax_)
        .Field(primaryEMail_)
        .Field(primaryWebsite_);
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
