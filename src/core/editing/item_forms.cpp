#include "core/editing/item_forms.h"
#include "core/editing/memo_lines.h"

#include "core/model/attachment_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/edit_mask.h"
#include "core/model/item_kind.h"

namespace quill {
namespace {

std::string Text(std::string_view text) {
    return std::string(text);
}

bool NumberEntered(std::string_view number, std::string_view mask) {
    return TEditMask(mask).IsEntered(number);
}

void WriteCommon(TNRBObject& item, std::string_view title, std::string_view target,
                 std::string_view comment) {
    item.SetTitle(title);
    item.SetTarget(target);
    item.SetComment(comment);
}

} // namespace

std::string_view NewNumberMask() {
    return PhoneFormats()[kNewNumberFormat].mask;
}

AddressForm LoadAddressForm(const TAddressObject& item, EditMode mode) {
    AddressForm form;
    if (mode == EditMode::New) {
        form.title = Text(DefaultTitle(kAddressKind));
        return form;
    }
    form.title = Text(item.Title());
    const std::vector<std::string_view> lines = item.Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            form.memo.push_back('\n');
        }
        form.memo.append(lines[i]);
    }
    form.city = Text(item.City());
    form.state = Text(item.State());
    form.postCode = Text(item.PostCode());
    form.country = Text(item.Country());
    form.comment = Text(item.Comment());
    return form;
}

bool AcceptAddressForm(const AddressForm& form, EditMode mode, TAddressObject& item) {
    if (form.title.empty() || (mode == EditMode::New && form.memo.empty())) {
        return false;
    }
    std::vector<std::string> lines = MemoLines(form.memo);
    while (lines.size() < 3) {
        lines.emplace_back();
    }
    WriteCommon(item, form.title, lines.front(), form.comment);
    item.SetLines(lines);
    item.SetCity(form.city);
    item.SetState(form.state);
    item.SetPostCode(form.postCode);
    item.SetCountry(form.country);
    return true;
}

PhoneForm LoadPhoneForm(const TPhoneObject& item, EditMode mode) {
    PhoneForm form;
    if (mode == EditMode::New) {
        form.title = Text(DefaultTitle(kPhoneKind));
        form.mask = Text(NewNumberMask());
        return form;
    }
    form.title = Text(item.Title());
    form.number = Text(item.Target());
    form.extension = Text(item.Extension());
    form.comment = Text(item.Comment());
    return form;
}

bool AcceptPhoneForm(const PhoneForm& form, TPhoneObject& item) {
    if (form.title.empty() || !NumberEntered(form.number, form.mask)) {
        return false;
    }
    WriteCommon(item, form.title, form.number, form.comment);
    item.SetExtension(form.extension);
    return true;
}

FaxForm LoadFaxForm(const TFaxObject& item, EditMode mode) {
    FaxForm form;
    if (mode == EditMode::New) {
        form.title = Text(DefaultTitle(kFaxKind));
        form.mask = Text(NewNumberMask());
        return form;
    }
    form.title = Text(item.Title());
    form.number = Text(item.Target());
    form.comment = Text(item.Comment());
    return form;
}

bool AcceptFaxForm(const FaxForm& form, EditMode mode, TFaxObject& item) {
    if (form.title.empty() || (mode == EditMode::New && !NumberEntered(form.number, form.mask))) {
        return false;
    }
    WriteCommon(item, form.title, form.number, form.comment);
    return true;
}

EMailForm LoadEMailForm(const TEMailObject& item, EditMode mode) {
    if (mode == EditMode::New) {
        return {Text(DefaultTitle(kEMailKind)), {}, {}};
    }
    return {Text(item.Title()), Text(item.Target()), Text(item.Comment())};
}

bool AcceptEMailForm(const EMailForm& form, TEMailObject& item) {
    if (form.address.empty()) {
        return false;
    }
    WriteCommon(item, form.title, form.address, form.comment);
    return true;
}

WebsiteForm LoadWebsiteForm(const TWebObject& item, EditMode mode) {
    if (mode == EditMode::New) {
        return {Text(DefaultTitle(kWebsiteKind)), Text(kNewWebsiteUrl), {}};
    }
    return {Text(item.Title()), Text(item.Target()), Text(item.Comment())};
}

std::string CompleteWebAddress(std::string_view typed) {
    const std::size_t first = typed.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    typed = typed.substr(first, typed.find_last_not_of(" \t") - first + 1);
    // Pasted behind the box's "http://": the pasted address is what was meant.
    if (typed.starts_with(kNewWebsiteUrl) && IsURL(typed.substr(kNewWebsiteUrl.size()))) {
        typed.remove_prefix(kNewWebsiteUrl.size());
    }
    if (IsURL(typed)) {
        return std::string(typed);
    }
    // A bare host name, as people type and copy them: a dot, no blanks, no scheme.
    const bool bare = typed.find("://") == std::string_view::npos &&
                      typed.find_first_of(" \t") == std::string_view::npos &&
                      typed.find('.') != std::string_view::npos && typed.front() != '.';
    return bare ? std::string(kNewWebsiteUrl) + std::string(typed) : std::string(typed);
}

bool AcceptWebsiteForm(const WebsiteForm& form, TWebObject& item) {
    const std::string url = CompleteWebAddress(form.url);
    if (url.empty() || !IsURL(url)) {
        return false;
    }
    WriteCommon(item, form.title, url, form.comment);
    return true;
}

GroupForm LoadGroupForm(const TNRBObject& item) {
    return {Text(item.Title()), Text(item.Comment())};
}

bool AcceptGroupForm(const GroupForm& form, TNRBObject& item) {
    item.SetTitle(form.title);
    item.SetComment(form.comment);
    return true;
}

DocumentForm LoadDocumentForm(const TDocObject& item, EditMode mode) {
    if (mode == EditMode::New) {
        return {Text(DefaultTitle(kDocumentKind)), {}, {}};
    }
    return {Text(item.Title()), Text(item.Target()), Text(item.Comment())};
}

bool AcceptDocumentForm(const DocumentForm& form, TDocObject& item) {
    if (form.title.empty() || form.fileName.empty()) {
        return false;
    }
    WriteCommon(item, form.title, form.fileName, form.comment);
    item.UpdateIcon();
    return true;
}

ToolForm LoadToolForm(const TToolObject& item, EditMode mode) {
    ToolForm form;
    form.title = Text(item.Title());
    form.imageIndex = item.GetImageIndex();
    if (mode == EditMode::Edit) {
        form.address = Text(item.Target());
        form.comment = Text(item.Comment());
    }
    return form;
}

bool AcceptToolForm(const ToolForm& form, TToolObject& item) {
    if (form.title.empty()) {
        return false;
    }
    WriteCommon(item, form.title, form.address, form.comment);
    return true;
}

std::string BrowseStartDirectory(std::string_view fileName) {
    const std::size_t slash = fileName.rfind('/');
    return slash == std::string_view::npos ? std::string{} : Text(fileName.substr(0, slash + 1));
}

void TakeBrowsedFile(std::string_view path, DocumentForm& form) {
    const std::size_t slash = path.rfind('/');
    form.title = Text(slash == std::string_view::npos ? path : path.substr(slash + 1));
    form.fileName = Text(path);
}

} // namespace quill
