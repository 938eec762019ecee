#include "core/editing/date_picker_state.h"

#include "test_support.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

using namespace std::chrono;

// Every filled cell, row by row, as "row,column:day".
std::vector<std::string> Cells(const MonthGrid& grid) {
    std::vector<std::string> cells;
    for (int row = 0; row < kMonthGridRows; ++row) {
        for (int column = 0; column < kMonthGridColumns; ++column) {
            if (int day = grid.DayAt(row, column)) {
                cells.push_back(std::to_string(row) + "," + std::to_string(column) + ":" +
                                std::to_string(day));
            }
        }
    }
    return cells;
}

TEST(MonthGrid, DaysStartInRowOneUnderTheirWeekday) {
    // March 1997 starts on a Saturday and needs all six rows.
    const MonthGrid march(1997, 3);
    EXPECT_EQ(march.DayAt(1, 6), 1);
    EXPECT_EQ(march.DayAt(2, 0), 2);
    EXPECT_EQ(march.DayAt(3, 5), 14); // Friday the 14th
    EXPECT_EQ(march.DayAt(6, 0), 30);
    EXPECT_EQ(march.DayAt(6, 1), 31);
    EXPECT_EQ(march.DayAt(6, 2), 0);
    EXPECT_EQ(march.DayAt(1, 5), 0);
    const std::vector<std::string> cells = Cells(march);
    ASSERT_EQ(cells.size(), 31u);
    EXPECT_EQ(cells.front(), "1,6:1");
    EXPECT_EQ(cells.back(), "6,1:31");

    // February 2015 starts on a Sunday and fills rows 1 to 4 exactly.
    const MonthGrid february(2015, 2);
    EXPECT_EQ(february.DayAt(1, 0), 1);
    EXPECT_EQ(february.DayAt(4, 6), 28);
    EXPECT_EQ(Cells(february).size(), 28u);
    EXPECT_EQ(february.DayAt(5, 0), 0);

    // A leap February, and the first year the picker reaches (1 January 1 was a Monday).
    EXPECT_EQ(Cells(MonthGrid(1996, 2)).size(), 29u);
    EXPECT_EQ(MonthGrid(1, 1).DayAt(1, 1), 1);
    EXPECT_EQ(MonthGrid(9999, 12).CellOf(31), (std::pair{5, 5})); // a Friday
}

TEST(MonthGrid, RowZeroAndCellsOutsideHoldNoDay) {
    const MonthGrid grid(1997, 3);
    for (int column = 0; column < kMonthGridColumns; ++column) {
        EXPECT_EQ(grid.DayAt(0, column), 0);
    }
    EXPECT_EQ(grid.DayAt(-1, 0), 0);
    EXPECT_EQ(grid.DayAt(7, 0), 0);
    EXPECT_EQ(grid.DayAt(1, 7), 0);
    EXPECT_EQ(grid.CellOf(14), (std::pair{3, 5}));
    EXPECT_FALSE(grid.CellOf(0));
    EXPECT_FALSE(grid.CellOf(32));
    EXPECT_FALSE(MonthGrid(1997, 2).CellOf(29));
}

class DatePickerStateTest : public ::testing::Test {
protected:
    test::FakeServices services_;
};

TEST_F(DatePickerStateTest, DayNamesSundayFirst) {
    const std::array<std::string, 7> expected{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    EXPECT_EQ(GridDayNames(), expected);
}

TEST_F(DatePickerStateTest, OpensOnTheStartDateWithItsRule) {
    DatePickerState s(1997y / March / 14d, kRecurYearly);
    EXPECT_EQ(s.StartDate(), 1997y / March / 14d);
    EXPECT_EQ(s.WorkingDate(), 1997y / March / 14d);
    EXPECT_EQ(s.ResultDate(), 1997y / March / 14d);
    EXPECT_EQ(s.Rule(), kRecurYearly);
    EXPECT_EQ(s.RuleTexts()[kRecurYearly], "Every March 14th");
    EXPECT_EQ(s.Grid().CellOf(s.Day()), (std::pair{3, 5}));

    // A rule the list does not have selects nothing; a date out of reach is made real.
    EXPECT_EQ(DatePickerState(1997y / March / 14d, 9).Rule(), -1);
    EXPECT_EQ(DatePickerState(1997y / February / 31d, 0).StartDate(), 1997y / February / 28d);
    EXPECT_EQ(DatePickerState(year{0} / May / 1d, 0).StartDate(), year{1} / May / 1d);
}

TEST_F(DatePickerStateTest, ChoosingFebruaryWithThe31stGivesTheLastDayOfFebruary) {
    DatePickerState s(1997y / January / 31d, kRecurNever);
    s.ChooseMonth(2);
    EXPECT_EQ(s.WorkingDate(), 1997y / February / 28d);
    // The day stays pulled back: going on to March keeps the 28th.
    s.ChooseMonth(3);
    EXPECT_EQ(s.WorkingDate(), 1997y / March / 28d);

    DatePickerState leap(1996y / January / 31d, kRecurNever);
    leap.ChooseMonth(2);
    EXPECT_EQ(leap.WorkingDate(), 1996y / February / 29d);
    DatePickerState april(1996y / March / 31d, kRecurNever);
    april.ChooseMonth(4);
    EXPECT_EQ(april.WorkingDate(), 1996y / April / 30d);

    // Not a month: nothing changes.
    s.ChooseMonth(0);
    s.ChooseMonth(13);
    EXPECT_EQ(s.WorkingDate(), 1997y / March / 28d);
}

TEST_F(DatePickerStateTest, YearArrowsStopAtOneAndAt9999) {
    DatePickerState top(9998y / December / 31d, kRecurNever);
    EXPECT_TRUE(top.CanStepYear(true));
    top.StepYear(true);
    EXPECT_EQ(top.Year(), 9999);
    EXPECT_FALSE(top.CanStepYear(true));
    top.StepYear(true);
    EXPECT_EQ(top.WorkingDate(), 9999y / December / 31d);
    top.StepYear(false);
    EXPECT_EQ(top.Year(), 9998);

    DatePickerState bottom(year{2} / January / 1d, kRecurNever);
    bottom.StepYear(false);
    EXPECT_EQ(bottom.Year(), 1);
    EXPECT_FALSE(bottom.CanStepYear(false));
    EXPECT_TRUE(bottom.CanStepYear(true));
    bottom.StepYear(false);
    EXPECT_EQ(bottom.WorkingDate(), year{1} / January / 1d);

    // Leaving a leap year from 29 February.
    DatePickerState leap(2000y / February / 29d, kRecurNever);
    leap.StepYear(true);
    EXPECT_EQ(leap.WorkingDate(), 2001y / February / 28d);
}

TEST_F(DatePickerStateTest, GridCellsWithANumberChooseTheDay) {
    DatePickerState s(1997y / March / 14d, kRecurMonthlyOnWeekday);
    EXPECT_TRUE(s.ChooseCell(6, 1));
    EXPECT_EQ(s.WorkingDate(), 1997y / March / 31d);
    EXPECT_EQ(s.RuleTexts()[kRecurMonthlyOnWeekday], "Every Last Mon of the month");
    // The day names and empty cells choose nothing.
    EXPECT_FALSE(s.ChooseCell(0, 3));
    EXPECT_FALSE(s.ChooseCell(1, 0));
    EXPECT_FALSE(s.ChooseCell(6, 6));
    EXPECT_EQ(s.WorkingDate(), 1997y / March / 31d);
    // The rule chosen stays while the date changes.
    EXPECT_EQ(s.Rule(), kRecurMonthlyOnWeekday);
}

TEST_F(DatePickerStateTest, OkTakesTheWorkingDateAndCancelTheStartDate) {
    DatePickerState s(1997y / March / 14d, kRecurNever);
    s.ChooseMonth(7);
    s.StepYear(true);
    s.SetRule(kRecurWeekly);
    EXPECT_EQ(s.ResultDate(), 1997y / March / 14d);
    s.Accept();
    EXPECT_EQ(s.ResultDate(), 1998y / July / 14d);
    s.Cancel();
    EXPECT_EQ(s.ResultDate(), 1997y / March / 14d);
    s.SetRule(6);
    EXPECT_EQ(s.Rule(), -1);
}

TEST_F(DatePickerStateTest, ApplyToTakesTheResultAndTheChosenRule) {
    TRecurringDate date(false);
    ASSERT_TRUE(date.SetDate(1997y / March / 14d));
    date.SetRecurMode(kRecurMonthlyOnDay);

    DatePickerState s(date.TargetDate(), date.RecurMode());
    s.ChooseCell(1, 6); // the 1st
    s.SetRule(kRecurEveryOtherWeek);
    s.Accept();
    s.ApplyTo(date);
    EXPECT_EQ(date.ToText(), "1997,3,1,4");

    // With no rule chosen (a stored mode the list lacks) the mode stays.
    date.SetRecurMode(42);
    DatePickerState keep(date.TargetDate(), date.RecurMode());
    keep.ChooseMonth(5);
    keep.Accept();
    keep.ApplyTo(date);
    EXPECT_EQ(date.ToText(), "1997,5,1,42");
}

// A monthly rule on the 31st shows the last day of a shorter month; opening the picker on it
// and pressing OK without choosing another day keeps the 31st, and with it the rule.
TEST_F(DatePickerStateTest, OkOnTheShownDateKeepsADayTheMonthLacks) {
    TRecurringDate date(false);
    ASSERT_TRUE(date.FromText("2025,2,31,1"));
    DatePickerState same(date.TargetDate(), date.RecurMode());
    EXPECT_EQ(same.WorkingDate(), 2025y / February / 28d);
    same.Accept();
    same.ApplyTo(date);
    EXPECT_EQ(date.ToText(), "2025,2,31,1");
    EXPECT_EQ(date.Describe(), "2/28/2025 and every following 31st of the month");

    // Only the rule changed: the day stays too.
    DatePickerState weekly(date.TargetDate(), date.RecurMode());
    weekly.SetRule(kRecurWeekly);
    weekly.Accept();
    weekly.ApplyTo(date);
    EXPECT_EQ(date.ToText(), "2025,2,31,3");

    // Another day chosen is taken as it is.
    DatePickerState other(date.TargetDate(), kRecurMonthlyOnDay);
    other.ChooseCell(5, 4); // the 27th
    other.Accept();
    other.ApplyTo(date);
    EXPECT_EQ(date.ToText(), "2025,2,27,1");
}

// The rule list shows, word for word, the rule that OK stores: each entry of the list is
// the recurring date's own description once that rule is taken.
void ExpectRulesAsOkStoresThem(const DatePickerState& state, const TRecurringDate& date) {
    const auto rules = state.RuleTexts();
    for (int mode = kRecurMonthlyOnDay; mode < kRecurModeCount; ++mode) {
        DatePickerState chosen = state;
        chosen.SetRule(mode);
        chosen.Accept();
        TRecurringDate stored = date;
        chosen.ApplyTo(stored);
        const std::string prefix = "Every ";
        ASSERT_EQ(rules[mode].rfind(prefix, 0), 0u) << rules[mode];
        EXPECT_EQ(stored.Describe(),
                  stored.ShortText() + " and every following " + rules[mode].substr(prefix.size()))
            << "mode " << mode;
    }
}

TEST_F(DatePickerStateTest, RuleListNamesTheStoredDayWhileTheShownDateStays) {
    TRecurringDate date(false);
    ASSERT_TRUE(date.FromText("2025,2,31,1"));
    DatePickerState s(date.TargetDate(), date.RecurMode());
    s.KeepStoredDay(date.TargetDate(), date.Day());
    EXPECT_EQ(s.RuleTexts()[kRecurMonthlyOnDay], "Every 31st of the month");
    ExpectRulesAsOkStoresThem(s, date);

    // Another month takes the day as shown there; back on the shown date the 31st is kept.
    s.ChooseMonth(3);
    EXPECT_EQ(s.RuleTexts()[kRecurMonthlyOnDay], "Every 28th of the month");
    ExpectRulesAsOkStoresThem(s, date);
    s.ChooseMonth(2);
    EXPECT_EQ(s.RuleTexts()[kRecurMonthlyOnDay], "Every 31st of the month");
    ExpectRulesAsOkStoresThem(s, date);
    s.ChooseCell(5, 4); // the 27th
    EXPECT_EQ(s.RuleTexts()[kRecurMonthlyOnDay], "Every 27th of the month");
    ExpectRulesAsOkStoresThem(s, date);

    // A yearly 29 February shown in a common year.
    ASSERT_TRUE(date.FromText("2025,2,29,2"));
    DatePickerState leapDay(date.TargetDate(), date.RecurMode());
    leapDay.KeepStoredDay(date.TargetDate(), date.Day());
    EXPECT_EQ(leapDay.RuleTexts()[kRecurYearly], "Every February 29th");
    ExpectRulesAsOkStoresThem(leapDay, date);
}

} // namespace
} // namespace quill
