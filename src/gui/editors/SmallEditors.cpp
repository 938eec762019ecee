#include "gui/editors/SmallEditors.h"

#include "core/model/attachment_objects.h"
#include "core/model/contact_point_objects.h"
#include "gui/common/Prompter.h"
#include "gui/editors/SmallEditorDialogs.h"

namespace quill::gui {
namespace {

// Shows the dialog on the loaded form; on OK hands what the user left to the accept rule.
template <typename Dialog, typename Item, typename Load, typename Accept>
bool Run(TNRBObject& item, const EditorContext& context, Load load, Accept accept) {
    Item* typed = dynamic_cast<Item*>(&item);
    if (!typed) {
        return false; // a kind number on an item not made by the factory
    }
    Dialog dialog(item, context);
    dialog.Load(load(*typed));
    if (Prompter::Exec(dialog) != QDialog::Accepted) {
        return false;
    }
    return accept(dialog.Read(), *typed);
}

} // namespace

bool HasSmallEditor(int kind) {
    switch (kind) {
    case kFolderKind:
    case kTeamKind:
    case kWebsiteKind:
    case kAddressKind:
    case kPhoneKind:
    case kEMailKind:
    case kFaxKind:
    case kDocumentKind:
    case kToolKind:
        return true;
    default:
        return false;
    }
}

bool RunSmallEditor(TNRBObject& item, bool isNew, const EditorContext& context) {
    const EditMode mode = isNew ? EditMode::New : EditMode::Edit;
    switch (item.Kind()) {
    case kFolderKind:
        return Run<TFolderEditDlg, TNRBObject>(
            item, context, [](const TNRBObject& i) { return LoadGroupForm(i); },
            [](const GroupForm& f, TNRBObject& i) { return AcceptGroupForm(f, i); });
    case kTeamKind:
        return Run<TTeamEditDlg, TNRBObject>(
            item, context, [](const TNRBObject& i) { return LoadGroupForm(i); },
            [](const GroupForm& f, TNRBObject& i) { return AcceptGroupForm(f, i); });
    case kWebsiteKind:
        return Run<TWebSiteDlg, TWebObject>(
            item, context, [mode](const TWebObject& i) { return LoadWebsiteForm(i, mode); },
            [](const WebsiteForm& f, TWebObject& i) { return AcceptWebsiteForm(f, i); });
    case kAddressKind:
        return Run<TEditAddressDlg, TAddressObject>(
            item, context, [mode](const TAddressObject& i) { return LoadAddressForm(i, mode); },
            [mode](const AddressForm& f, TAddressObject& i) {
                return AcceptAddressForm(f, mode, i);
            });
    case kPhoneKind:
        return Run<TPhoneEditDlg, TPhoneObject>(
            item, context, [mode](const TPhoneObject& i) { return LoadPhoneForm(i, mode); },
            [](const PhoneForm& f, TPhoneObject& i) { return AcceptPhoneForm(f, i); });
    case kEMailKind:
        return Run<TEMailEditDlg, TEMailObject>(
            item, context, [mode](const TEMailObject& i) { return LoadEMailForm(i, mode); },
            [](const EMailForm& f, TEMailObject& i) { return AcceptEMailForm(f, i); });
    case kFaxKind:
        return Run<TFaxEditDlg, TFaxObject>(
            item, context, [mode](const TFaxObject& i) { return LoadFaxForm(i, mode); },
            [mode](const FaxForm& f, TFaxObject& i) { return AcceptFaxForm(f, mode, i); });
    case kDocumentKind:
        return Run<TDocEditDlg, TDocObject>(
            item, context, [mode](const TDocObject& i) { return LoadDocumentForm(i, mode); },
            [](const DocumentForm& f, TDocObject& i) { return AcceptDocumentForm(f, i); });
    case kToolKind:
        return Run<TToolEdit, TToolObject>(
            item, context, [mode](const TToolObject& i) { return LoadToolForm(i, mode); },
            [](const ToolForm& f, TToolObject& i) { return AcceptToolForm(f, i); });
    default:
        return false;
    }
}

} // namespace quill::gui
