#pragma once
// What the date picker decides, apart from its widgets: the month grid, the year limits,
// the day held to the chosen month, and the dates it hands back on OK and on Cancel.

#include "core/model/recurring_date.h"
#include "core/services.h"

#include <array>
#include <optional>
#include <string>
#include <utility>

namespace quill {

inline constexpr int kPickerMinYear = 1;
inline constexpr int kPickerMaxYear = 9999;
inline constexpr int kMonthGridRows = 7;
inline constexpr int kMonthGridColumns = 7;

// Which day each cell of the picker's 7-by-7 grid holds. Row 0 is for the day names; the
// days start in row 1 in the column of the first day's weekday (Sunday = column 0) and go
// on in the next row after Saturday. A month needs at most six rows.
class MonthGrid {
public:
    MonthGrid(int year, int month);

    // The day in the cell, 0 for an empty cell, row 0 or a cell outside the grid.
    int DayAt(int row, int column) const;
    // The cell (row, column) of the day; none when the month has no such day.
    std::optional<std::pair<int, int>> CellOf(int day) const;

private:
    std::array<std::array<int, kMonthGridColumns>, kMonthGridRows> days_{};
};

// Row 0 of the grid: the locale's short day names, Sunday first.
std::array<std::string, kMonthGridColumns> GridDayNames();

// The picker's start, working and result dates and its chosen rule.
class DatePickerState {
public:
    // The start date is made real first (year 1 to 9999, the day held to its month); the
    // rule is the row of the rule list to select, or -1 for none (a mode the list lacks).
    DatePickerState(Date start, int recurMode);

    Date StartDate() const { return start_; }
    Date WorkingDate() const;
    int Year() const { return year_; }
    int Month() const { return month_; }
    int Day() const { return day_; }
    // The date chosen: the working date after Accept, the start date after Cancel (and
    // before either).
    Date ResultDate() const { return result_; }

    // The year arrows stop at 1 and at 9999.
    bool CanStepYear(bool up) const;
    void StepYear(bool up);
    // Month 1 to 12; another value changes nothing.
    void ChooseMonth(int month);
    // The day of a grid cell; false (and no change) for a cell without one.
    bool ChooseCell(int row, int column);

    MonthGrid Grid() const { return MonthGrid(year_, month_); }
    // The recurring date's stored day beside the date it shows: a monthly or yearly rule on
    // the 31st (or 29 February) shows the last day of a shorter month. OK on that date keeps
    // the stored day (ApplyTo), so the rule texts name it while the working date is there.
    void KeepStoredDay(Date shown, int day);

    // The six rule texts for the working date, in RecurMode order: the rules OK would store.
    std::array<std::string, kRecurModeCount> RuleTexts() const;
    int Rule() const { return rule_; }
    void SetRule(int rule);

    void Accept() { result_ = WorkingDate(); }
    void Cancel() { result_ = start_; }

    // Takes the result date and the chosen rule into the recurring date; with no rule
    // chosen its mode stays.
    void ApplyTo(TRecurringDate& date) const;

private:
    void SettleDay();

    Date start_;
    int year_ = 1;
    int month_ = 1;
    int day_ = 1;
    Date result_;
    int rule_ = -1;
    Date keptShown_;
    int keptDay_ = 0; // none
};

} // namespace quill
