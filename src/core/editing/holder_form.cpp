#include "core/editing/holder_form.h"
#include "core/editing/memo_lines.h"

#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/outline.h"
#include "core/model/record_text.h"
#include "core/util/comma_text.h"

namespace quill {
namespace {

// A field of a data line must not hold a separator of its own, or the fields after it
// would shift when the line is read back.
std::string SafeField(std::string_view text) {
    return IsCleanField(text) ? std::string(text) : CleanField(text);
}

std::vector<std::string> PaddedLines(const std::vector<std::string>& lines) {
    std::vector<std::string> padded = lines;
    while (padded.size() < 3) {
        padded.emplace_back();
    }
    return padded;
}

std::string AddressDataLine(const THolderAddressTab& tab, const std::vector<std::string>& lines) {
    std::string line;
    DataLineBuilder b(line, DataLineTag(kAddressKind));
    // Only the first three lines have a place in the record.
    for (std::size_t i = 0; i < 3; ++i) {
        b.Field(SafeField(lines[i]));
    }
    b.Field(SafeField(tab.city))
        .Field(SafeField(tab.state))
        .Field(SafeField(tab.postCode))
        .Field(SafeField(tab.country));
    return line;
}

std::string PhoneDataLine(std::string_view extension) {
    std::string line;
    DataLineBuilder(line, DataLineTag(kPhoneKind)).Field(SafeField(extension));
    return line;
}

// The holder's own node, where new contact points go; none while it is not in an outline.
TOutlineNode* OwnNode(const TContactHolderObject& holder) {
    TOutlineNode* node = holder.Node();
    return (node && node->Item() == &holder) ? node : nullptr;
}

// The found contact point as its class, when the kind's class is what was found.
template <typename T>
T* Found(const TContactHolderObject& holder, std::string_view title, int kind) {
    return dynamic_cast<T*>(holder.FindChild(title, kind));
}

void WriteOwnFields(const THolderForm& form, TContactHolderObject& holder) {
    auto* person = dynamic_cast<TPersonObject*>(&holder);
    if (person) {
        person->SetSalutation(form.salutation);
        person->SetFirstName(form.firstName);
        person->SetMiddleName(form.middleName);
        person->SetLastName(form.lastName);
    }
    holder.SetTitle(form.title);
    // An organization's Target is not the dialog's business.
    if (person) {
        person->SetTarget(form.salutation + " " + form.firstName + " " + form.lastName);
    }
    holder.SetComment(form.comment);
}

void CreateAddress(const THolderAddressTab& tab, TOutlineNode* node) {
    const std::vector<std::string> lines = PaddedLines(tab.lines);
    CreateItem(kAddressKind, tab.title, lines[0], tab.comment, 0, AddressDataLine(tab, lines),
               node);
}

void CreatePhone(const THolderPhoneTab& tab, TOutlineNode* node) {
    CreateItem(kPhoneKind, tab.title, tab.number, tab.comment, 0, PhoneDataLine(tab.extension),
               node);
}

void CreateFax(const THolderFaxTab& tab, TOutlineNode* node) {
    CreateItem(kFaxKind, tab.title, tab.number, tab.comment, 0, {}, node);
}

void CreateEMail(const THolderEMailTab& tab, TOutlineNode* node) {
    CreateItem(kEMailKind, tab.title, tab.address, tab.comment, 0, {}, node);
}

void CreateWebsite(const THolderWebTab& tab, TOutlineNode* node) {
    if (CreateItem(kWebsiteKind, tab.title, tab.url, tab.comment, 0, {}, node)) {
        // The new node is appended; the tree keeps its siblings in order.
        TOutline::SortChildren(node);
    }
}

bool AddressTabApplies(const THolderAddressTab& tab) {
    return !tab.title.empty();
}
bool PhoneTabApplies(const THolderPhoneTab& tab) {
    return !tab.title.empty() && tab.entered;
}
bool FaxTabApplies(const THolderFaxTab& tab) {
    return !tab.title.empty() && tab.entered;
}
bool EMailTabApplies(const THolderEMailTab& tab) {
    return !tab.title.empty() && !tab.address.empty();
}
bool WebTabApplies(const THolderWebTab& tab) {
    return !tab.title.empty() && IsURL(tab.url);
}

// The node shows the Title; when that changes its caption, its siblings are sorted again.
void ShowTitleOnNode(TContactHolderObject& holder) {
    TOutlineNode* node = OwnNode(holder);
    if (!node || node->Text() == holder.Title()) {
        return;
    }
    TOutline::SetNodeText(node, holder.Title());
    if (TOutlineNode* parent = node->Parent()) {
        TOutline::SortChildren(parent);
    }
}

} // namespace

THolderForm LoadHolderForm(const TContactHolderObject& holder) {
    THolderForm form;
    form.title = holder.Title();
    if (const auto* person = dynamic_cast<const TPersonObject*>(&holder)) {
        form.salutation = person->Salutation();
        form.firstName = person->FirstName();
        form.middleName = person->MiddleName();
        form.lastName = person->LastName();
    }
    form.comment = holder.Comment();
    if (holder.ChildCount() == 0) {
        return form;
    }
    holder.ListChildTitles(kAddressKind, form.addressTitles);
    form.address.title = holder.PrimaryAddress();
    FillHolderTab(form, holder, kAddressKind);
    holder.ListChildTitles(kPhoneKind, form.phoneTitles);
    form.phone.title = holder.PrimaryPhone();
    FillHolderTab(form, holder, kPhoneKind);
    holder.ListChildTitles(kFaxKind, form.faxTitles);
    form.fax.title = holder.PrimaryFax();
    FillHolderTab(form, holder, kFaxKind);
    holder.ListChildTitles(kEMailKind, form.emailTitles);
    form.email.title = holder.PrimaryEMail();
    FillHolderTab(form, holder, kEMailKind);
    holder.ListChildTitles(kWebsiteKind, form.webTitles);
    form.web.title = holder.PrimaryWebsite();
    FillHolderTab(form, holder, kWebsiteKind);
    return form;
}

void PresetNewHolderTitles(THolderForm& form) {
    form.address.title = "Primary Address";
    form.phone.title = "Primary Phone";
    form.fax.title = "Primary FAX";
    form.email.title = "Primary E-Mail";
    form.web.title = "Primary Website";
}

bool FillHolderTab(THolderForm& form, const TContactHolderObject& holder, int kind) {
    if (holder.ChildCount() == 0) {
        return false;
    }
    switch (kind) {
    case kAddressKind:
        if (auto* address = Found<TAddressObject>(holder, form.address.title, kind)) {
            THolderAddressTab& tab = form.address;
            tab.lines.clear();
            for (std::string_view line : address->Lines()) {
                tab.lines.emplace_back(line);
            }
            tab.city = address->City();
            tab.state = address->State();
            tab.postCode = address->PostCode();
            tab.country = address->Country();
            tab.comment = address->Comment();
            return true;
        }
        return false;
    case kPhoneKind:
        if (auto* phone = Found<TPhoneObject>(holder, form.phone.title, kind)) {
            form.phone.number = phone->Target();
            form.phone.comment = phone->Comment();
            form.phone.extension = phone->Extension();
            return true;
        }
        return false;
    case kFaxKind:
        if (TNRBObject* fax = holder.FindChild(form.fax.title, kind)) {
            form.fax.number = fax->Target();
            form.fax.comment = fax->Comment();
            return true;
        }
        return false;
    case kEMailKind:
        if (TNRBObject* mail = holder.FindChild(form.email.title, kind)) {
            form.email.address = mail->Target();
            form.email.comment = mail->Comment();
            return true;
        }
        return false;
    case kWebsiteKind:
        if (TNRBObject* site = holder.FindChild(form.web.title, kind)) {
            form.web.url = site->Target();
            form.web.comment = site->Comment();
            return true;
        }
        return false;
    default:
        return false;
    }
}

void SplitTitleIntoNames(THolderForm& form) {
    const std::vector<std::string> words = SplitCommaText(form.title);
    if (words.size() == 2) {
        form.firstName = words[0];
        form.lastName = words[1];
    } else if (words.size() >= 3) {
        form.firstName = words[0];
        form.middleName = words[1];
        form.lastName = words[2];
    }
}

void AcceptHolderEdit(const THolderForm& form, TContactHolderObject& holder) {
    WriteOwnFields(form, holder);
    TOutlineNode* node = OwnNode(holder);

    if (AddressTabApplies(form.address)) {
        const THolderAddressTab& tab = form.address;
        if (auto* address = Found<TAddressObject>(holder, tab.title, kAddressKind)) {
            const std::vector<std::string> lines = PaddedLines(tab.lines);
            address->SetLines(lines);
            address->SetCity(tab.city);
            address->SetState(tab.state);
            address->SetPostCode(tab.postCode);
            address->SetCountry(tab.country);
            address->SetComment(tab.comment);
            address->SetTarget(lines[0]);
        } else {
            CreateAddress(tab, node);
        }
        holder.SetPrimaryAddress(tab.title);
    }

    if (PhoneTabApplies(form.phone)) {
        const THolderPhoneTab& tab = form.phone;
        if (auto* phone = Found<TPhoneObject>(holder, tab.title, kPhoneKind)) {
            phone->SetTarget(tab.number);
            phone->SetComment(tab.comment);
            phone->SetExtension(tab.extension);
        } else {
            CreatePhone(tab, node);
        }
        holder.SetPrimaryPhone(tab.title);
    }

    if (FaxTabApplies(form.fax)) {
        const THolderFaxTab& tab = form.fax;
        if (TNRBObject* fax = holder.FindChild(tab.title, kFaxKind)) {
            fax->SetTarget(tab.number);
            fax->SetComment(tab.comment);
        } else {
            CreateFax(tab, node);
        }
        holder.SetPrimaryFax(tab.title);
    }

    if (EMailTabApplies(form.email)) {
        const THolderEMailTab& tab = form.email;
        if (TNRBObject* mail = holder.FindChild(tab.title, kEMailKind)) {
            mail->SetTarget(tab.address);
            mail->SetComment(tab.comment);
        } else {
            CreateEMail(tab, node);
        }
        holder.SetPrimaryEMail(tab.title);
    }

    if (WebTabApplies(form.web)) {
        const THolderWebTab& tab = form.web;
        if (TNRBObject* site = holder.FindChild(tab.title, kWebsiteKind)) {
            site->SetTarget(tab.url);
            site->SetComment(tab.comment);
        } else {
            CreateWebsite(tab, node);
        }
        holder.SetPrimaryWebsite(tab.title);
    }

    ShowTitleOnNode(holder);
}

bool AcceptHolderNew(const THolderForm& form, TContactHolderObject& holder) {
    WriteOwnFields(form, holder);
    TOutlineNode* node = OwnNode(holder);

    // A new holder has nothing to look up: each tab that holds enough creates its item.
    if (AddressTabApplies(form.address) && !form.address.lines.empty()) {
        CreateAddress(form.address, node);
        holder.SetPrimaryAddress(form.address.title);
    }
    if (PhoneTabApplies(form.phone)) {
        CreatePhone(form.phone, node);
        holder.SetPrimaryPhone(form.phone.title);
    }
    if (FaxTabApplies(form.fax)) {
        CreateFax(form.fax, node);
        holder.SetPrimaryFax(form.fax.title);
    }
    if (EMailTabApplies(form.email)) {
        CreateEMail(form.email, node);
        holder.SetPrimaryEMail(form.email.title);
    }
    if (WebTabApplies(form.web)) {
        CreateWebsite(form.web, node);
        holder.SetPrimaryWebsite(form.web.title);
    }

    ShowTitleOnNode(holder);
    return true;
}

} // namespace quill
