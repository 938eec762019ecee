#include "gui/editors/EditPersDlg.h"

#include "gui/common/TextBoxes.h"

#include "core/model/contact_holder_objects.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>

namespace quill::gui {

TEditPersDlg::TEditPersDlg(TPersonObject& person, const EditorContext& context)
    : THolderEditDlg(person, Fields::Person, QStringLiteral("Person"), context) {
    title_->installEventFilter(this);
}

void TEditPersDlg::SetPerson() {
    LoadHolder();
}

void TEditPersDlg::TitleExit() {
    THolderForm form = Form();
    SplitTitleIntoNames(form);
    ShowText(firstName_, form.firstName);
    ShowText(middleName_, form.middleName);
    ShowText(lastName_, form.lastName);
}

bool TEditPersDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == title_ && event->type() == QEvent::FocusOut) {
        // Leaving the box, not the window: switching to another program or opening a
        // menu keeps the focus where it is.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            TitleExit();
        }
    }
    return THolderEditDlg::eventFilter(watched, event);
}

} // namespace quill::gui
