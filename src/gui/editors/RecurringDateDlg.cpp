#include "gui/editors/RecurringDateDlg.h"

#include "platform/Utf8Text.h"

#include "gui/common/Prompter.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace quill::gui {
namespace {

// The year box: its arrows (and the arrow keys and the wheel) report each step instead of
// changing the number, and the number cannot be typed over.
class YearBox final : public QSpinBox {
public:
    YearBox(std::function<void(bool)> onStep, QWidget* parent)
        : QSpinBox(parent), onStep_(std::move(onStep)) {
        setRange(kPickerMinYear, kPickerMaxYear);
        lineEdit()->setReadOnly(true);
        setAlignment(Qt::AlignRight);
    }

    void stepBy(int steps) override {
        for (int i = 0; i < std::abs(steps); ++i) {
            onStep_(steps > 0);
        }
    }

private:
    std::function<void(bool)> onStep_;
};

} // namespace

TRecurringDateDlg::TRecurringDateDlg(QWidget* parent)
    : QDialog(parent), state_(CurrentServices().clock->Today(), kRecurNever),
      startDate_(state_.StartDate()) {
    setObjectName(QStringLiteral("TRecurringDateDlg"));
    SetDialogCaption(QStringLiteral("Select a date"));

    auto* group = new QGroupBox(QStringLiteral(" &Date "), this);
    group->setObjectName(QStringLiteral("DateGroup"));

    dateLabel_ = new QLabel(group);
    dateLabel_->setObjectName(QStringLiteral("DateLabel"));
    dateLabel_->setAlignment(Qt::AlignCenter);
    QFont bold = dateLabel_->font();
    bold.setBold(true);
    dateLabel_->setFont(bold);

    monthSelector_ = new QComboBox(group);
    monthSelector_->setObjectName(QStringLiteral("MonthSelector"));
    yearBox_ = new YearBox([this](bool up) { YearUpDownClick(up); }, group);
    yearBox_->setObjectName(QStringLiteral("YearUpDown"));

    grid_ = new QTableWidget(kMonthGridRows, kMonthGridColumns, group);
    grid_->setObjectName(QStringLiteral("MonthGrid"));
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->setTabKeyNavigation(false);
    grid_->horizontalHeader()->setMinimumSectionSize(1);
    grid_->verticalHeader()->setMinimumSectionSize(1);
    QFont boldCell = grid_->font();
    boldCell.setBold(true);
    for (int row = 0; row < kMonthGridRows; ++row) {
        for (int column = 0; column < kMonthGridColumns; ++column) {
            auto* cell = new QTableWidgetItem;
            cell->setTextAlignment(Qt::AlignCenter);
            cell->setFlags(Qt::NoItemFlags);
            // Cells without a day are disabled so the arrow keys pass over them; their
            // text keeps the normal colour.
            cell->setForeground(grid_->palette().brush(QPalette::Active, QPalette::Text));
            if (row == 0) {
                cell->setFont(boldCell);
            }
            grid_->setItem(row, column, cell);
        }
    }
    // Every column the width of the widest day name or number, the grid exactly 7 by 7.
    const QFontMetrics boldMetrics(boldCell);
    int cellWidth = boldMetrics.horizontalAdvance(QStringLiteral("888"));
    for (const std::string& name : GridDayNames()) {
        cellWidth = std::max(cellWidth, boldMetrics.horizontalAdvance(FromUtf8(name)));
    }
    cellWidth += 12;
    const int cellHeight = boldMetrics.height() + 8;
    const int frame = 2 * grid_->frameWidth();
    grid_->setFixedSize(kMonthGridColumns * cellWidth + frame, kMonthGridRows * cellHeight + frame);
    for (int row = 0; row < kMonthGridRows; ++row) {
        grid_->setRowHeight(row, cellHeight);
    }

    ruleList_ = new QListWidget(group);
    ruleList_->setObjectName(QStringLiteral("RecurList"));
    ruleList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ruleList_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Wide enough for the longest rule of any date: the longest month and day names.
    const ILocaleNames& names = *CurrentServices().locale;
    const QFontMetrics listMetrics(ruleList_->font());
    int ruleWidth = 0;
    for (unsigned month = 1; month <= 12; ++month) {
        ruleWidth = std::max(ruleWidth, listMetrics.horizontalAdvance(FromUtf8(
                                            "Every " + names.LongMonthName(month) + " 28th")));
    }
    for (unsigned weekday = 0; weekday < 7; ++weekday) {
        ruleWidth = std::max(
            {ruleWidth,
             listMetrics.horizontalAdvance(FromUtf8("Every other " + names.LongDayName(weekday))),
             listMetrics.horizontalAdvance(
                 FromUtf8("Every Last " + names.ShortDayName(weekday) + " of the month"))});
    }
    ruleList_->setMinimumWidth(ruleWidth + 2 * ruleList_->frameWidth() + 8);
    // As tall as the month row and the grid beside it.
    ruleList_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);

    auto* startLabel = new QLabel(QStringLiteral("&Start:"), group);
    startLabel->setBuddy(monthSelector_);
    auto* recurLabel = new QLabel(QStringLiteral("&Recur:"), group);
    recurLabel->setBuddy(ruleList_);

    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(monthSelector_, 1);
    dateRow->addWidget(yearBox_);
    auto* groupLayout = new QGridLayout(group);
    groupLayout->addWidget(dateLabel_, 0, 0, 1, 3);
    groupLayout->addWidget(startLabel, 1, 0);
    groupLayout->addWidget(recurLabel, 1, 2);
    groupLayout->addLayout(dateRow, 2, 0);
    groupLayout->addWidget(grid_, 3, 0, Qt::AlignLeft | Qt::AlignTop);
    groupLayout->addWidget(ruleList_, 2, 2, 2, 1);
    groupLayout->setColumnMinimumWidth(1, 12);
    groupLayout->setColumnStretch(2, 1);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("OKButton"));
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("CancelButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(monthSelector_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!filling_) {
            MonthSelectorChange(index);
        }
    });
    // A click on another cell has already been taken as the current cell's change; one on
    // the working day changes nothing.
    connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (!filling_ && (row != grid_->currentRow() || column != grid_->currentColumn())) {
            MonthGridClick(row, column);
        }
    });
    // The arrow keys choose a day as a click does.
    connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row, int column, int, int) {
        if (!filling_ && row >= 0 && column >= 0) {
            MonthGridClick(row, column);
        }
    });
    connect(ruleList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!filling_) {
            state_.SetRule(row);
        }
    });
    connect(okButton_, &QPushButton::clicked, this, &TRecurringDateDlg::OKButtonClick);
    connect(cancelButton_, &QPushButton::clicked, this, &TRecurringDateDlg::CancelButtonClick);
}

void TRecurringDateDlg::SetDialogCaption(const QString& caption) {
    setWindowTitle(caption);
}

void TRecurringDateDlg::FormActivate() {
    activated_ = true;
    filling_ = true;
    const int columnWidth = (grid_->width() - 2 * grid_->frameWidth()) / kMonthGridColumns;
    for (int column = 0; column < kMonthGridColumns; ++column) {
        grid_->setColumnWidth(column, columnWidth);
    }
    state_ = DatePickerState(useToday_ ? CurrentServices().clock->Today() : startDate_, recurMode_);
    state_.KeepStoredDay(keptShown_, keptDay_);
    const auto dayNames = GridDayNames();
    for (int column = 0; column < kMonthGridColumns; ++column) {
        grid_->item(0, column)->setText(FromUtf8(dayNames[column]));
    }
    monthSelector_->clear();
    for (unsigned month = 1; month <= 12; ++month) {
        monthSelector_->addItem(FromUtf8(CurrentServices().locale->LongMonthName(month)));
    }
    filling_ = false;
    FillGrid();
    BuildRuleTexts();
}

void TRecurringDateDlg::PlaceWindow() {
    adjustSize();
    const QSize size = frameGeometry().size().expandedTo(sizeHint());
    auto centreOn = [&](const QRect& area) {
        move(area.center() - QPoint(size.width() / 2, size.height() / 2));
    };
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    switch (dialogPosition_) {
    case DialogPosition::AtTopLeft:
        move(dialogLeft_, dialogTop_);
        break;
    case DialogPosition::CentredOnOwner:
        if (owner) {
            centreOn(owner->frameGeometry());
            break;
        }
        [[fallthrough]];
    case DialogPosition::CentredOnScreen:
        if (screen) {
            centreOn(screen->availableGeometry());
        }
        break;
    }
}

void TRecurringDateDlg::showEvent(QShowEvent* event) {
    if (!activated_) {
        FormActivate();
        PlaceWindow();
    }
    QDialog::showEvent(event);
}

void TRecurringDateDlg::FillGrid() {
    filling_ = true;
    dateLabel_->setText(FromUtf8(CurrentServices().locale->LongDate(state_.WorkingDate())));
    const MonthGrid month = state_.Grid();
    for (int row = 1; row < kMonthGridRows; ++row) {
        for (int column = 0; column < kMonthGridColumns; ++column) {
            QTableWidgetItem* cell = grid_->item(row, column);
            const int day = month.DayAt(row, column);
            cell->setText(day ? QString::number(day) : QString());
            cell->setFlags(day ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags);
        }
    }
    if (const auto at = month.CellOf(state_.Day())) {
        grid_->setCurrentCell(at->first, at->second);
    }
    yearBox_->setValue(state_.Year());
    monthSelector_->setCurrentIndex(state_.Month() - 1);
    filling_ = false;
}

void TRecurringDateDlg::BuildRuleTexts() {
    filling_ = true;
    ruleList_->clear();
    for (const std::string& text : state_.RuleTexts()) {
        ruleList_->addItem(FromUtf8(text));
    }
    ruleList_->setCurrentRow(state_.Rule());
    filling_ = false;
}

void TRecurringDateDlg::DateChanged() {
    BuildRuleTexts();
    FillGrid();
}

void TRecurringDateDlg::YearUpDownClick(bool up) {
    state_.StepYear(up);
    DateChanged();
}

void TRecurringDateDlg::MonthSelectorChange(int index) {
    state_.ChooseMonth(index + 1);
    DateChanged();
}

// A cell without a day changes nothing, but the grid is filled again so the selection
// comes back to the working day.
void TRecurringDateDlg::MonthGridClick(int row, int column) {
    state_.ChooseCell(row, column);
    DateChanged();
}

void TRecurringDateDlg::OKButtonClick() {
    state_.Accept();
    accept();
}

void TRecurringDateDlg::CancelButtonClick() {
    state_.Cancel();
    QDialog::reject();
}

void TRecurringDateDlg::reject() {
    CancelButtonClick();
}

bool DatePicker::Execute(TRecurringDate& date) {
    QWidget* parent = parent_;
    if (!parent) {
        parent = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                   : QApplication::activeWindow();
    }
    TRecurringDateDlg dialog(parent);
    if (!date.UseToday()) {
        dialog.SetStartDate(date.TargetDate());
    }
    dialog.SetRecurMode(date.RecurMode());
    dialog.KeepStoredDay(date.TargetDate(), date.Day());
    dialog.SetDialogTop(date.DialogTop());
    dialog.SetDialogLeft(date.DialogLeft());
    dialog.SetDialogPosition(date.DialogPosition());
    dialog.SetDialogCaption(FromUtf8(date.DialogCaption()));
    dialog.SetUseToday(date.UseToday());
    dialog.setWindowIcon(QApplication::windowIcon());
    dialog.FormActivate();
    dialog.PlaceWindow();
    if (Prompter::Exec(dialog) != QDialog::Accepted) {
        return false;
    }
    dialog.State().ApplyTo(date);
    return true;
}

} // namespace quill::gui
