#pragma once
// The reminder editor: title, comment and the reminder's recurring date. "Set Date..." and
// "Advance" change the date at once, whatever button closes the dialog; the texts, Target
// and the due mark are written on OK only.

#include "core/editing/reminder_form.h"
#include "gui/editors/EditorContext.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quill {
class TReminderObject;
}

namespace quill::gui {

class TCatSelect;

class TRemdDlg final : public QDialog {
    Q_OBJECT

public:
    TRemdDlg(TReminderObject& item, const EditorContext& context, QWidget* parent = nullptr);

    void SetForm(const ReminderForm& form);
    ReminderForm Form() const;

    void SetDateBtnClick();
    void AdvanceBtnClick();
    void HelpBtnClick();

private:
    void ShowTarget();

    TReminderObject& item_;
    QLineEdit* titleEdit_;
    QLabel* targetDateLabel_;
    QPushButton* setDateBtn_;
    QPushButton* advanceBtn_;
    QLineEdit* comment_;
    TCatSelect* catSelect_;
};

// Opens the editor on the reminder; a new one is offered the title "New Reminder". Returns
// whether OK wrote the reminder (for a new one: whether it stays).
bool RunReminderEditor(TReminderObject& item, bool isNew, const EditorContext& context);

} // namespace quill::gui
