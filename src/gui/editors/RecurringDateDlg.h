#pragma once
// The date picker of recurring dates: a month grid with month list and year arrows, and the
// list of the six rules for the date shown. DatePicker is the service the core's
// TRecurringDate::Execute reaches it through.

#include "core/editing/date_picker_state.h"
#include "core/services.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace quill::gui {

class TRecurringDateDlg final : public QDialog {
    Q_OBJECT

public:
    explicit TRecurringDateDlg(QWidget* parent = nullptr);

    // Set before FormActivate, as DatePicker::Execute does. Without a start date the
    // picker starts on today.
    void SetStartDate(Date start) { startDate_ = start; }
    void SetRecurMode(int mode) { recurMode_ = mode; }
    // The recurring date's stored day and the date it shows (DatePickerState::KeepStoredDay).
    void KeepStoredDay(Date shown, int day) {
        keptShown_ = shown;
        keptDay_ = day;
    }
    void SetUseToday(bool useToday) { useToday_ = useToday; }
    void SetDialogCaption(const QString& caption);
    void SetDialogTop(int top) { dialogTop_ = top; }
    void SetDialogLeft(int left) { dialogLeft_ = left; }
    void SetDialogPosition(DialogPosition position) { dialogPosition_ = position; }

    const DatePickerState& State() const { return state_; }
    Date StartDate() const { return state_.StartDate(); }
    Date WorkingDate() const { return state_.WorkingDate(); }
    Date ResultDate() const { return state_.ResultDate(); }
    // The row chosen in the rule list, -1 for none.
    int RecurIndex() const { return state_.Rule(); }

    // Fills the dialog from the settings; runs once, when first shown at the latest.
    void FormActivate();
    // Moves the window where DialogPosition says.
    void PlaceWindow();

    void YearUpDownClick(bool up);
    void MonthSelectorChange(int index);
    void MonthGridClick(int row, int column);
    void OKButtonClick();
    void CancelButtonClick();

    // Escape and the window's close button cancel as the Cancel button does.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FillGrid();
    void BuildRuleTexts();
    void DateChanged();

    QLabel* dateLabel_;
    QComboBox* monthSelector_;
    QSpinBox* yearBox_;
    QTableWidget* grid_;
    QListWidget* ruleList_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;

    DatePickerState state_;
    Date startDate_;
    int recurMode_ = kRecurNever;
    Date keptShown_;
    int keptDay_ = 0;
    bool useToday_ = true;
    int dialogTop_ = 0;
    int dialogLeft_ = 0;
    DialogPosition dialogPosition_ = DialogPosition::CentredOnScreen;
    bool activated_ = false;
    bool filling_ = false; // the grid and lists are being rebuilt, not chosen from
};

class DatePicker final : public IDatePicker {
public:
    // The picker's parent; without one it opens over the active modal dialog or window.
    explicit DatePicker(QWidget* parent = nullptr) : parent_(parent) {}

    // Opens the picker on the date (on today when it uses today) with its rule selected; on
    // OK takes the chosen date and rule. True on OK.
    bool Execute(TRecurringDate& date) override;

private:
    QWidget* parent_;
};

} // namespace quill::gui
