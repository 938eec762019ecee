// The date picker and the reminder editor, driven as a user would through queued dialog
// answers: what each control shows, and what OK and Cancel leave in the recurring date and
// the reminder.

#include "gui/editors/RecurringDateDlg.h"
#include "gui/editors/ReminderEditor.h"

#include "core/model/attachment_objects.h"
#include "core/model/item_factory.h"
#include "core/model/locale_names.h"
#include "core/model/outline.h"
#include "gui/common/Prompter.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <memory>

using namespace quill;
using namespace quill::gui;
using namespace std::chrono;

namespace {

class FixedClock final : public IClock {
public:
    Date Today() const override { return today; }
    Date today = 1997y / March / 14d;
};

template <typename T> T* Find(QWidget& dialog, const char* name) {
    T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
    if (!widget) {
        qWarning("no %s", name);
    }
    return widget;
}

TRecurringDateDlg& Picker(QDialog& dialog) {
    return dynamic_cast<TRecurringDateDlg&>(dialog);
}

QString SelectedDay(QDialog& dialog) {
    auto* grid = Find<QTableWidget>(dialog, "MonthGrid");
    const QList<QTableWidgetItem*> selected = grid->selectedItems();
    return selected.size() == 1 && selected.front() == grid->currentItem()
               ? selected.front()->text()
               : QStringLiteral("?");
}

QStringList Rules(QDialog& dialog) {
    auto* list = Find<QListWidget>(dialog, "RecurList");
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) {
        texts << list->item(row)->text();
    }
    return texts;
}

void ClickCell(QDialog& dialog, int row, int column) {
    auto* grid = Find<QTableWidget>(dialog, "MonthGrid");
    const QRect cell = grid->visualItemRect(grid->item(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

void Click(QDialog& dialog, const char* button) {
    Find<QPushButton>(dialog, button)->click();
}

// The steps a user takes in the dialog; the dialog's result is the answer (Rejected when a
// step failed before a button closed it).
Prompter::DialogAnswer Answer(std::function<void(QDialog&)> steps) {
    return [steps](QDialog& dialog) {
        steps(dialog);
        return dialog.result();
    };
}

TRecurringDate DateAt(Date date, int mode) {
    TRecurringDate r(false);
    r.SetDate(date);
    r.SetRecurMode(mode);
    return r;
}

} // namespace

class ReminderEditorsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        clock_.today = 1997y / March / 14d;
        services_ = std::make_unique<ScopedServices>(
            Services{.clock = &clock_, .locale = &EnglishLocaleNames(), .datePicker = &picker_});
        Prompter::Reset();
        Prompter::SetStrict(true);
    }

    void cleanup() {
        QCOMPARE(Prompter::Unanswered(), QStringList{});
        services_.reset();
    }

    void PickerOpensOnTheDateWithItsRule() {
        TRecurringDate date = DateAt(1997y / March / 14d, kRecurMonthlyOnWeekday);
        date.SetDialogCaption("Due date");
        Prompter::QueueDialog(Answer([](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Due date"));
            QCOMPARE(Find<QGroupBox>(d, "DateGroup")->title(), QStringLiteral(" &Date "));
            QCOMPARE(Find<QLabel>(d, "DateLabel")->text(),
                     QStringLiteral("Friday, March 14, 1997"));
            QCOMPARE(Find<QLabel>(d, "DateLabel")->alignment() & Qt::AlignHCenter,
                     Qt::AlignHCenter);
            auto* months = Find<QComboBox>(d, "MonthSelector");
            QCOMPARE(months->count(), 12);
            QCOMPARE(months->itemText(8), QStringLiteral("September"));
            QCOMPARE(months->currentIndex(), 2);
            QCOMPARE(Find<QSpinBox>(d, "YearUpDown")->value(), 1997);
            auto* grid = Find<QTableWidget>(d, "MonthGrid");
            QStringList names;
            for (int column = 0; column < 7; ++column) {
                names << grid->item(0, column)->text();
            }
            QCOMPARE(names, (QStringList{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}));
            // March 1997 begins on a Saturday and ends in the sixth row.
            QCOMPARE(grid->item(1, 6)->text(), QStringLiteral("1"));
            QCOMPARE(grid->item(1, 5)->text(), QString());
            QCOMPARE(grid->item(6, 1)->text(), QStringLiteral("31"));
            QCOMPARE(SelectedDay(d), QStringLiteral("14"));
            QCOMPARE(grid->currentRow(), 3);
            QCOMPARE(Rules(d), (QStringList{"Does not recur", "Every 14th of the month",
                                            "Every March 14th", "Every Friday",
                                            "Every other Friday", "Every 2nd Fri of the month"}));
            QCOMPARE(Find<QListWidget>(d, "RecurList")->currentRow(), kRecurMonthlyOnWeekday);
            Click(d, "CancelButton");
        }));
        QVERIFY(!date.Execute());
    }

    void ChoosingFebruaryInANonLeapYearMovesThe31stTo28() {
        TRecurringDate date = DateAt(1997y / January / 31d, kRecurNever);
        Prompter::QueueDialog(Answer([](QDialog& d) {
            QCOMPARE(SelectedDay(d), QStringLiteral("31"));
            Find<QComboBox>(d, "MonthSelector")->setCurrentIndex(1);
            QCOMPARE(Picker(d).WorkingDate(), 1997y / February / 28d);
            QCOMPARE(Find<QLabel>(d, "DateLabel")->text(),
                     QStringLiteral("Friday, February 28, 1997"));
            QCOMPARE(SelectedDay(d), QStringLiteral("28"));
            // February 1997 starts on a Saturday: 28 days end in row 5.
            auto* grid = Find<QTableWidget>(d, "MonthGrid");
            QCOMPARE(grid->item(5, 5)->text(), QStringLiteral("28"));
            QCOMPARE(grid->item(5, 6)->text(), QString());
            QCOMPARE(grid->item(6, 0)->text(), QString());
            QCOMPARE(Rules(d)[1], QStringLiteral("Every 28th of the month"));
            Click(d, "OKButton");
        }));
        QVERIFY(date.Execute());
        QCOMPARE(date.ToText(), std::string("1997,2,28,0"));
    }

    // A monthly 31st shown in February: the list names the 31st that OK keeps, and only a
    // day chosen in the grid changes it.
    void RuleListShowsTheStoredDayOkKeeps() {
        TRecurringDate date(false);
        QVERIFY(date.FromText("2025,2,31,1"));
        Prompter::QueueDialog(Answer([](QDialog& d) {
            QCOMPARE(SelectedDay(d), QStringLiteral("28"));
            QCOMPARE(Rules(d)[kRecurMonthlyOnDay], QStringLiteral("Every 31st of the month"));
            QCOMPARE(Rules(d)[kRecurYearly], QStringLiteral("Every February 31st"));
            Find<QComboBox>(d, "MonthSelector")->setCurrentIndex(3);
            QCOMPARE(Rules(d)[kRecurMonthlyOnDay], QStringLiteral("Every 28th of the month"));
            Find<QComboBox>(d, "MonthSelector")->setCurrentIndex(1);
            QCOMPARE(Rules(d)[kRecurMonthlyOnDay], QStringLiteral("Every 31st of the month"));
            Click(d, "OKButton");
        }));
        QVERIFY(date.Execute());
        QCOMPARE(date.ToText(), std::string("2025,2,31,1"));
        QCOMPARE(date.Describe(), std::string("2/28/2025 and every following 31st of the month"));
    }

    void YearArrowsStopAt9999AndAt1() {
        TRecurringDate top = DateAt(9998y / December / 31d, kRecurYearly);
        Prompter::QueueDialog(Answer([](QDialog& d) {
            auto* year = Find<QSpinBox>(d, "YearUpDown");
            year->stepUp();
            QCOMPARE(year->value(), 9999);
            year->stepUp();
            QTest::keyClick(year, Qt::Key_Up);
            QCOMPARE(year->value(), 9999);
            QCOMPARE(Picker(d).WorkingDate(), 9999y / December / 31d);
            QCOMPARE(Find<QLabel>(d, "DateLabel")->text(),
                     QStringLiteral("Friday, December 31, 9999"));
            // The year is stepped, not typed.
            QTest::keyClicks(year, "12");
            QCOMPARE(year->value(), 9999);
            Click(d, "OKButton");
        }));
        QVERIFY(top.Execute());
        QCOMPARE(top.ToText(), std::string("9999,12,31,2"));

        TRecurringDate bottom = DateAt(year{2} / February / 1d, kRecurNever);
        Prompter::QueueDialog(Answer([](QDialog& d) {
            auto* year = Find<QSpinBox>(d, "YearUpDown");
            QTest::keyClick(year, Qt::Key_Down);
            Picker(d).YearUpDownClick(false);
            QCOMPARE(year->value(), 1);
            QCOMPARE(Picker(d).WorkingDate(), std::chrono::year{1} / February / 1d);
            Click(d, "OKButton");
        }));
        QVERIFY(bottom.Execute());
        QCOMPARE(bottom.ToText(), std::string("1,2,1,0"));

        // Leaving a leap year from 29 February.
        TRecurringDate leap = DateAt(2000y / February / 29d, kRecurNever);
        Prompter::QueueDialog(Answer([](QDialog& d) {
            Find<QSpinBox>(d, "YearUpDown")->stepUp();
            QCOMPARE(SelectedDay(d), QStringLiteral("28"));
            Click(d, "OKButton");
        }));
        QVERIFY(leap.Execute());
        QCOMPARE(leap.TargetDate(), 2001y / February / 28d);
    }

    void ClickingANumberInTheGridChoosesTheDay() {
        TRecurringDate date = DateAt(1997y / March / 14d, kRecurNever);
        Prompter::QueueDialog(Answer([](QDialog& d) {
            d.show();
            if (!QTest::qWaitForWindowExposed(&d)) {
                return;
            }
            auto* grid = Find<QTableWidget>(d, "MonthGrid");
            // All seven columns and rows in view, without scroll bars.
            const QWidget* view = grid->viewport();
            QVERIFY2(!grid->horizontalScrollBar()->isVisible(), "horizontal scroll bar");
            QVERIFY2(!grid->verticalScrollBar()->isVisible(), "vertical scroll bar");
            QCOMPARE(grid->columnViewportPosition(0), 0);
            QVERIFY(grid->columnViewportPosition(6) + grid->columnWidth(6) <= view->width());
            QVERIFY(grid->rowViewportPosition(6) + grid->rowHeight(6) <= view->height());
            QVERIFY(grid->columnWidth(6) * 7 >= view->width() - 7);

            ClickCell(d, 6, 1);
            QCOMPARE(Picker(d).WorkingDate(), 1997y / March / 31d);
            QCOMPARE(SelectedDay(d), QStringLiteral("31"));
            QCOMPARE(Find<QLabel>(d, "DateLabel")->text(),
                     QStringLiteral("Monday, March 31, 1997"));
            QCOMPARE(Rules(d)[5], QStringLiteral("Every Last Mon of the month"));
            // A day name and an empty cell choose nothing, and the day stays selected.
            ClickCell(d, 0, 3);
            ClickCell(d, 1, 0);
            QCOMPARE(Picker(d).WorkingDate(), 1997y / March / 31d);
            QCOMPARE(SelectedDay(d), QStringLiteral("31"));
            // The arrow keys choose as well.
            grid->setFocus();
            QTest::keyClick(grid, Qt::Key_Left);
            QCOMPARE(Picker(d).WorkingDate(), 1997y / March / 30d);
            QTest::keyClick(grid, Qt::Key_Up);
            QCOMPARE(Picker(d).WorkingDate(), 1997y / March / 23d);
            QTest::mouseClick(Find<QPushButton>(d, "OKButton"), Qt::LeftButton);
        }));
        QVERIFY(date.Execute());
        QCOMPARE(date.TargetDate(), 1997y / March / 23d);
    }

    void OkTakesTheWorkingDateAndTheChosenRule() {
        TRecurringDate date = DateAt(1997y / March / 14d, kRecurMonthlyOnDay);
        Prompter::QueueDialog(Answer([](QDialog& d) {
            auto* rules = Find<QListWidget>(d, "RecurList");
            QCOMPARE(rules->currentRow(), kRecurMonthlyOnDay);
            rules->setCurrentRow(kRecurWeekly);
            // The rule stays chosen while its texts follow the date.
            Find<QComboBox>(d, "MonthSelector")->setCurrentIndex(6);
            QCOMPARE(rules->currentRow(), kRecurWeekly);
            QCOMPARE(Rules(d)[kRecurWeekly], QStringLiteral("Every Monday"));
            Find<QSpinBox>(d, "YearUpDown")->stepDown();
            QCOMPARE(rules->currentRow(), kRecurWeekly);
            QCOMPARE(Rules(d)[kRecurWeekly], QStringLiteral("Every Sunday"));
            Click(d, "OKButton");
        }));
        QVERIFY(date.Execute());
        QCOMPARE(date.ToText(), std::string("1996,7,14,3"));
        QCOMPARE(date.Describe(), std::string("7/14/1996 and every following Sunday"));
    }

    void CancelReturnsTheStartDate() {
        TRecurringDate date = DateAt(1997y / March / 14d, kRecurYearly);
        Prompter::QueueDialog(Answer([](QDialog& d) {
            Find<QComboBox>(d, "MonthSelector")->setCurrentIndex(10);
            Find<QListWidget>(d, "RecurList")->setCurrentRow(0);
            QCOMPARE(Picker(d).WorkingDate(), 1997y / November / 14d);
            Click(d, "CancelButton");
            QCOMPARE(Picker(d).ResultDate(), 1997y / March / 14d);
        }));
        QVERIFY(!date.Execute());
        QCOMPARE(date.ToText(), std::string("1997,3,14,2"));

        // Escape cancels in the same way.
        Prompter::QueueDialog(Answer([](QDialog& d) {
            Find<QSpinBox>(d, "YearUpDown")->stepUp();
            Picker(d).reject();
            QCOMPARE(Picker(d).ResultDate(), 1997y / March / 14d);
        }));
        QVERIFY(!date.Execute());
        QCOMPARE(date.ToText(), std::string("1997,3,14,2"));
    }

    void UseTodayStartsOnToday() {
        TRecurringDate date(true);
        date.SetDate(2001y / May / 5d);
        Prompter::QueueDialog(Answer([](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Select a date"));
            QCOMPARE(Picker(d).StartDate(), 1997y / March / 14d);
            QCOMPARE(Find<QLabel>(d, "DateLabel")->text(),
                     QStringLiteral("Friday, March 14, 1997"));
            Click(d, "OKButton");
        }));
        QVERIFY(date.Execute());
        QCOMPARE(date.TargetDate(), 1997y / March / 14d);
    }

    void PickerOpensWhereItsPositionSays() {
        TRecurringDate date = DateAt(1997y / March / 14d, kRecurNever);
        date.SetDialogPosition(DialogPosition::AtTopLeft);
        date.SetDialogLeft(40);
        date.SetDialogTop(50);
        Prompter::QueueDialog(Answer([](QDialog& d) {
            QCOMPARE(d.pos(), QPoint(40, 50));
            Click(d, "CancelButton");
        }));
        QVERIFY(!date.Execute());

        date.SetDialogPosition(DialogPosition::CentredOnScreen);
        Prompter::QueueDialog(Answer([](QDialog& d) {
            const QPoint screenCentre = d.screen()->availableGeometry().center();
            const QPoint centre = d.pos() + QPoint(d.width() / 2, d.height() / 2);
            QVERIFY((centre - screenCentre).manhattanLength() <= 4);
            Click(d, "CancelButton");
        }));
        QVERIFY(!date.Execute());
    }

    void NewReminderOfTodayIsDueOnOk() {
        TOutline outline;
        TOutlineNode* person =
            CreateItem(kPersonKind, "Ann", "", "", 1, "", outline.CreateRoot())->Node();
        auto& reminder =
            dynamic_cast<TReminderObject&>(*CreateItem(kReminderKind, "x", "", "", 2, "", person));
        Prompter::QueueDialog(Answer([](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Reminder"));
            QCOMPARE(Find<QLineEdit>(d, "TitleEdit")->text(), QStringLiteral("New Reminder"));
            QCOMPARE(Find<QLabel>(d, "TargetDateLabel")->text(), QStringLiteral("3/14/1997"));
            QCOMPARE(Find<QLineEdit>(d, "RemdComment")->text(), QString());
            auto* setDate = Find<QPushButton>(d, "SetDateBtn");
            QCOMPARE(setDate->text().remove('&'), QStringLiteral("Set Date..."));
            QCOMPARE(setDate->toolTip(), QStringLiteral("Select due date(s)"));
            auto* advance = Find<QPushButton>(d, "AdvanceBtn");
            QCOMPARE(advance->text().remove('&'), QStringLiteral("Advance"));
            QCOMPARE(advance->toolTip(), QStringLiteral("Advance due date"));
            QCOMPARE(Find<QPushButton>(d, "HelpBtn")->text(), QStringLiteral("&Help"));
            QVERIFY(Find<QLabel>(d, "CatSelect"));
            Find<QLineEdit>(d, "RemdComment")->setText("bring the papers");
            Click(d, "OKBtn");
        }));
        QVERIFY(RunReminderEditor(reminder, true, {}));
        QCOMPARE(reminder.Title(), std::string_view("New Reminder"));
        QCOMPARE(reminder.Target(), std::string_view("3/14/1997"));
        QCOMPARE(reminder.Comment(), std::string_view("bring the papers"));
        QVERIFY(reminder.Due());
        QCOMPARE(person->Item()->DueCount(), 1);
    }

    void ATitleTypedAtOnceReplacesNewReminder() {
        TOutline outline;
        TOutlineNode* person =
            CreateItem(kPersonKind, "Ann", "", "", 1, "", outline.CreateRoot())->Node();
        auto& reminder =
            dynamic_cast<TReminderObject&>(*CreateItem(kReminderKind, "x", "", "", 2, "", person));
        Prompter::QueueDialog(Answer([](QDialog& d) {
            auto* title = Find<QLineEdit>(d, "TitleEdit");
            QCOMPARE(d.focusWidget(), title);
            QTest::keyClicks(title, QStringLiteral("Dentist"));
            Click(d, "OKBtn");
        }));
        QVERIFY(RunReminderEditor(reminder, true, {}));
        QCOMPARE(reminder.Title(), std::string_view("Dentist"));
    }

    void EmptyTitleIsRejected() {
        TReminderObject reminder("Dentist", "3/20/1997", "old", 2, "{Remd}1997,3,20,0~~0");
        Prompter::QueueDialog(Answer([](QDialog& d) {
            QCOMPARE(Find<QLineEdit>(d, "TitleEdit")->text(), QStringLiteral("Dentist"));
            QCOMPARE(Find<QLineEdit>(d, "RemdComment")->text(), QStringLiteral("old"));
            Find<QLineEdit>(d, "TitleEdit")->clear();
            Find<QLineEdit>(d, "RemdComment")->setText("new");
            Click(d, "OKBtn");
        }));
        QVERIFY(!RunReminderEditor(reminder, false, {}));
        QCOMPARE(reminder.Title(), std::string_view("Dentist"));
        QCOMPARE(reminder.Comment(), std::string_view("old"));

        // A new reminder with its title cleared does not stay.
        Prompter::QueueDialog(Answer([](QDialog& d) {
            Find<QLineEdit>(d, "TitleEdit")->clear();
            Click(d, "OKBtn");
        }));
        QVERIFY(!RunReminderEditor(reminder, true, {}));
        QCOMPARE(reminder.Title(), std::string_view("Dentist"));
    }

    // Set Date and Advance show at once; Cancel puts the date back, so the date, the list's
    // text and the due mark never disagree.
    void SetDateAndAdvanceShowAtOnceAndCancelPutsTheDateBack() {
        TReminderObject reminder("Rent", "3/20/1997", "", 2, "{Remd}1997,3,20,0~~0");
        QVERIFY(!reminder.Due());
        auto setAndAdvance = [](QDialog& d, const char* closeWith) {
            auto* label = Find<QLabel>(d, "TargetDateLabel");
            QCOMPARE(label->text(), QStringLiteral("3/20/1997"));
            // The picker, answered below, opens over this dialog.
            Find<QPushButton>(d, "SetDateBtn")->click();
            QCOMPARE(label->text(),
                     QStringLiteral("3/28/1997 and every following 4th Fri of the month"));
            Find<QPushButton>(d, "AdvanceBtn")->click();
            QCOMPARE(label->text(),
                     QStringLiteral("4/25/1997 and every following 4th Fri of the month"));
            Click(d, closeWith);
        };
        auto pickThe28th = [](QDialog& d) {
            // The reminder's own date, not today.
            QCOMPARE(Picker(d).StartDate(), 1997y / March / 20d);
            ClickCell(d, 5, 5); // the 28th
            Find<QListWidget>(d, "RecurList")->setCurrentRow(kRecurMonthlyOnWeekday);
            Click(d, "OKButton");
        };
        Prompter::QueueDialog(Answer([&](QDialog& d) { setAndAdvance(d, "CancelBtn"); }));
        Prompter::QueueDialog(Answer(pickThe28th));
        QVERIFY(!RunReminderEditor(reminder, false, {}));
        QCOMPARE(reminder.RecurringDate().ToText(), std::string("1997,3,20,0"));
        QCOMPARE(reminder.Target(), std::string_view("3/20/1997"));

        // OK refused for an empty title keeps nothing either.
        Prompter::QueueDialog(Answer([&](QDialog& d) {
            Find<QLineEdit>(d, "TitleEdit")->clear();
            setAndAdvance(d, "OKBtn");
        }));
        Prompter::QueueDialog(Answer(pickThe28th));
        QVERIFY(!RunReminderEditor(reminder, false, {}));
        QCOMPARE(reminder.RecurringDate().ToText(), std::string("1997,3,20,0"));

        Prompter::QueueDialog(Answer([&](QDialog& d) { setAndAdvance(d, "OKBtn"); }));
        Prompter::QueueDialog(Answer(pickThe28th));
        QVERIFY(RunReminderEditor(reminder, false, {}));
        QCOMPARE(reminder.RecurringDate().ToText(), std::string("1997,4,25,5"));
        QCOMPARE(reminder.Target(),
                 std::string_view("4/25/1997 and every following 4th Fri of the month"));

        // A picker cancelled from the editor leaves the date; OK then writes the description.
        Prompter::QueueDialog(Answer([](QDialog& d) {
            Find<QPushButton>(d, "SetDateBtn")->click();
            QCOMPARE(Find<QLabel>(d, "TargetDateLabel")->text(),
                     QStringLiteral("4/25/1997 and every following 4th Fri of the month"));
            Click(d, "OKBtn");
        }));
        Prompter::QueueDialog(Answer([](QDialog& d) {
            Find<QComboBox>(d, "MonthSelector")->setCurrentIndex(0);
            Click(d, "CancelButton");
        }));
        QVERIFY(RunReminderEditor(reminder, false, {}));
        QCOMPARE(reminder.Target(),
                 std::string_view("4/25/1997 and every following 4th Fri of the month"));
        QVERIFY(!reminder.Due());
    }

private:
    FixedClock clock_;
    DatePicker picker_;
    std::unique_ptr<ScopedServices> services_;
};

QTEST_MAIN(ReminderEditorsTest)
#include "ReminderEditorsTest.moc"
