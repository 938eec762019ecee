#include "gui/editors/OrgEditDlg.h"

#include "core/model/contact_holder_objects.h"

namespace quill::gui {

TOrgEditDlg::TOrgEditDlg(TOrgObject& org, const EditorContext& context)
    : THolderEditDlg(org, Fields::Organization, QStringLiteral("Organization"), context) {}

void TOrgEditDlg::SetOrg() {
    LoadHolder();
}

} // namespace quill::gui
