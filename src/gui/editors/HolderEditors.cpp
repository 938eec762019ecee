#include "gui/editors/HolderEditors.h"

#include "core/model/contact_holder_objects.h"
#include "gui/editors/EditPersDlg.h"
#include "gui/editors/OrgEditDlg.h"

namespace quill::gui {

bool RunHolderEditor(TContactHolderObject& item, bool isNew, const EditorContext& context) {
    if (auto* person = dynamic_cast<TPersonObject*>(&item)) {
        TEditPersDlg dialog(*person, context);
        return isNew ? dialog.EditNew() : dialog.Edit();
    }
    if (auto* org = dynamic_cast<TOrgObject*>(&item)) {
        TOrgEditDlg dialog(*org, context);
        return isNew ? dialog.EditNew() : dialog.Edit();
    }
    return false;
}

} // namespace quill::gui
