#include "core/editing/date_picker_state.h"

#include <algorithm>
#include <chrono>

namespace quill {
namespace {

Date MakeDate(int year, int month, int day) {
    return Date{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                std::chrono::day{static_cast<unsigned>(day)}};
}

// The nearest date the picker can show.
Date Settled(Date d) {
    const int year = std::clamp(static_cast<int>(d.year()), kPickerMinYear, kPickerMaxYear);
    const int month = std::clamp(static_cast<int>(static_cast<unsigned>(d.month())), 1, 12);
    return MakeDate(year, month,
                    ClampDay(year, month, static_cast<int>(static_cast<unsigned>(d.day()))));
}

} // namespace

MonthGrid::MonthGrid(int year, int month) {
    year = std::clamp(year, kPickerMinYear, kPickerMaxYear);
    month = std::clamp(month, 1, 12);
    const std::chrono::weekday first{std::chrono::sys_days{MakeDate(year, month, 1)}};
    int cell = static_cast<int>(first.c_encoding());
    for (int day = 1; day <= DaysInMonth(year, month); ++day, ++cell) {
        days_[1 + cell / kMonthGridColumns][cell % kMonthGridColumns] = day;
    }
}

int MonthGrid::DayAt(int row, int column) const {
    if (row < 0 || row >= kMonthGridRows || column < 0 || column >= kMonthGridColumns) {
        return 0;
    }
    return days_[row][column];
}

std::optional<std::pair<int, int>> MonthGrid::CellOf(int day) const {
    for (int row = 1; row < kMonthGridRows; ++row) {
        for (int column = 0; column < kMonthGridColumns; ++column) {
            if (day != 0 && days_[row][column] == day) {
                return std::pair{row, column};
            }
        }
    }
    return std::nullopt;
}

std::array<std::string, kMonthGridColumns> GridDayNames() {
    std::array<std::string, kMonthGridColumns> names;
    for (unsigned weekday = 0; weekday < names.size(); ++weekday) {
        names[weekday] = CurrentServices().locale->ShortDayName(weekday);
    }
    return names;
}

DatePickerState::DatePickerState(Date start, int recurMode)
    : start_(Settled(start)), year_(static_cast<int>(start_.year())),
      month_(static_cast<int>(static_cast<unsigned>(start_.month()))),
      day_(static_cast<int>(static_cast<unsigned>(start_.day()))), result_(start_) {
    SetRule(recurMode);
}

Date DatePickerState::WorkingDate() const {
    return MakeDate(year_, month_, day_);
}

bool DatePickerState::CanStepYear(bool up) const {
    return up ? year_ < kPickerMaxYear : year_ > kPickerMinYear;
}

void DatePickerState::StepYear(bool up) {
    if (CanStepYear(up)) {
        year_ += up ? 1 : -1;
    }
    SettleDay();
}

void DatePickerState::ChooseMonth(int month) {
    if (month >= 1 && month <= 12) {
        month_ = month;
    }
    SettleDay();
}

bool DatePickerState::ChooseCell(int row, int column) {
    const int day = Grid().DayAt(row, column);
    if (day != 0) {
        day_ = day;
    }
    SettleDay();
    return day != 0;
}

void DatePickerState::KeepStoredDay(Date shown, int day) {
    keptShown_ = shown;
    keptDay_ = day;
}

std::array<std::string, kRecurModeCount> DatePickerState::RuleTexts() const {
    const Date working = WorkingDate();
    return PickerRuleTexts(working, working == keptShown_ ? keptDay_ : 0);
}

void DatePickerState::SetRule(int rule) {
    rule_ = rule >= 0 && rule < kRecurModeCount ? rule : -1;
}

void DatePickerState::ApplyTo(TRecurringDate& date) const {
    // The date as shown is kept in its own parts: a monthly or yearly rule's day that this
    // month lacks (the 31st, 29 February) would otherwise be cut to the shown last day.
    if (result_ != date.TargetDate()) {
        date.SetDate(result_);
    }
    if (rule_ >= 0) {
        date.SetRecurMode(rule_);
    }
}

// The 31st stays selected while the month changes, so it is pulled back to the month's
// last day (29 or 28 in February).
void DatePickerState::SettleDay() {
    day_ = ClampDay(year_, month_, day_);
}

} // namespace quill
