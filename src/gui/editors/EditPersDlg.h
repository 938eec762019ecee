#pragma once
// The person editor, "Person": the names above the five contact-point tabs; leaving the
// title splits it into the name fields.

#include "gui/editors/HolderEditDlg.h"

namespace quill {
class TPersonObject;
}

namespace quill::gui {

class TEditPersDlg final : public THolderEditDlg {
    Q_OBJECT

public:
    TEditPersDlg(TPersonObject& person, const EditorContext& context);

    // Loads the dialog from the person.
    void SetPerson();
    // On leaving Title: two or more words become the first, (middle) and last names.
    void TitleExit();

protected:
    void LoadItem() override { SetPerson(); }
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace quill::gui
