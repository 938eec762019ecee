#include "gui/editors/ItemEditors.h"

#include "core/model/attachment_objects.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/item_kind.h"
#include "gui/editors/HolderEditors.h"
#include "gui/editors/ReminderEditor.h"
#include "gui/editors/SmallEditors.h"

namespace quill::gui {

bool ItemEditors::Run(TNRBObject& item, bool isNew) {
    switch (item.Kind()) {
    case kOrganizationKind:
    case kPersonKind:
        if (auto* holder = dynamic_cast<TContactHolderObject*>(&item)) {
            return RunHolderEditor(*holder, isNew, context_);
        }
        return false;
    case kReminderKind:
        if (auto* reminder = dynamic_cast<TReminderObject*>(&item)) {
            return RunReminderEditor(*reminder, isNew, context_);
        }
        return false;
    case kRootKind:
        return false; // the top item has no editor
    default:
        return RunSmallEditor(item, isNew, context_);
    }
}

bool ItemEditors::EditNew(TNRBObject& item) {
    return Run(item, true);
}

void ItemEditors::Edit(TNRBObject& item) {
    Run(item, false);
}

} // namespace quill::gui
