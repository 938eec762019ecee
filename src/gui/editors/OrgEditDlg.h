#pragma once
// The organization editor, "Organization": title and comment above the five contact-point
// tabs of the person editor.

#include "gui/editors/HolderEditDlg.h"

namespace quill {
class TOrgObject;
}

namespace quill::gui {

class TOrgEditDlg final : public THolderEditDlg {
    Q_OBJECT

public:
    TOrgEditDlg(TOrgObject& org, const EditorContext& context);

    // Loads the dialog from the organization.
    void SetOrg();

protected:
    void LoadItem() override { SetOrg(); }
};

} // namespace quill::gui
