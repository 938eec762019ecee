#include "core/model/recurring_date.h"

#include "core/util/comma_text.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <vector>

namespace quill {
namespace {

using std::chrono::days;
using std::chrono::sys_days;

constexpr int kMinYear = 1;
constexpr int kMaxYear = 9999;

int YearOf(Date d) {
    return static_cast<int>(d.year());
}
int MonthOf(Date d) {
    return static_cast<int>(static_cast<unsigned>(d.month()));
}
int DayOf(Date d) {
    return static_cast<int>(static_cast<unsigned>(d.day()));
}
unsigned WeekdayOf(Date d) {
    return std::chrono::weekday{sys_days{d}}.c_encoding();
}

// Callers keep the parts in range; every Date made here is ok().
Date MakeDate(int year, int month, int day) {
    return Date{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                std::chrono::day{static_cast<unsigned>(day)}};
}

Date NearestDate(int year, int month, int day) {
    year = std::clamp(year, kMinYear, kMaxYear);
    month = std::clamp(month, 1, 12);
    return MakeDate(year, month, ClampDay(year, month, day));
}

Date NearestDate(Date d) {
    if (d.ok() && YearOf(d) >= kMinYear && YearOf(d) <= kMaxYear) {
        return d;
    }
    // year_month_day keeps each part in a byte or a short, so these casts are exact.
    return NearestDate(YearOf(d), MonthOf(d), DayOf(d));
}

int WeekOfMonth(int day) {
    return (day + 6) / 7;
}

// The fifth week only has the month's last days, so the picker and the description call it
// "Last".
std::string WeekText(int day) {
    const int week = WeekOfMonth(day);
    return week == 5 ? std::string("Last") : Ordinal(week);
}

template <typename T> std::optional<T> ParseWhole(std::string_view text) {
    T value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

} // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    switch (month) {
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return IsLeapYear(year) ? 29 : 28;
    default:
        return month >= 1 && month <= 12 ? 31 : 0;
    }
}

int ClampDay(int year, int month, int day) {
    const int last = DaysInMonth(year, month);
    return std::clamp(day, 1, last > 0 ? last : 31);
}

std::string_view OrdinalSuffix(int n) {
    if (n >= 10 && n <= 20) {
        return "th";
    }
    switch (n % 10) {
    case 1:
        return "st";
    case 2:
        return "nd";
    case 3:
        return "rd";
    default:
        return "th";
    }
}

std::string Ordinal(int n) {
    return std::to_string(n) + std::string(OrdinalSuffix(n));
}

std::array<std::string, kRecurModeCount> PickerRuleTexts(Date date, int ruleDay) {
    const ILocaleNames& names = *CurrentServices().locale;
    const Date d = NearestDate(date);
    const std::string nth = Ordinal(ruleDay >= 1 && ruleDay <= 31 ? ruleDay : DayOf(d));
    const std::string dayName = names.LongDayName(WeekdayOf(d));
    return {
        "Does not recur",
        "Every " + nth + " of the month",
        "Every " + names.LongMonthName(static_cast<unsigned>(MonthOf(d))) + " " + nth,
        "Every " + dayName,
        "Every other " + dayName,
        "Every " + WeekText(DayOf(d)) + " " + names.ShortDayName(WeekdayOf(d)) + " of the month",
    };
}

TRecurringDate::TRecurringDate(bool useToday) : useToday_(useToday) {
    SetDate(CurrentServices().clock->Today());
}

bool TRecurringDate::SetYear(std::uint16_t year) {
    if (year < kMinYear || year > kMaxYear) {
        return false;
    }
    year_ = year;
    return true;
}

bool TRecurringDate::SetMonth(std::uint16_t month) {
    if (month < 1 || month > 12) {
        return false;
    }
    month_ = month;
    return true;
}

bool TRecurringDate::SetDay(std::uint16_t day) {
    if (day < 1 || day > 31) {
        return false;
    }
    day_ = day;
    return true;
}

bool TRecurringDate::SetDate(Date date) {
    if (!date.ok() || YearOf(date) < kMinYear || YearOf(date) > kMaxYear) {
        return false;
    }
    year_ = static_cast<std::uint16_t>(YearOf(date));
    month_ = static_cast<std::uint16_t>(MonthOf(date));
    day_ = static_cast<std::uint16_t>(DayOf(date));
    return true;
}

// A monthly or yearly rule keeps its day number in the stored parts even where the month
// is shorter, so the 31st comes back on the next 31st and 29 February in leap years; the
// target date of such a month is its last day.
Date TRecurringDate::TargetDate() const {
    return NearestDate(year_, month_, day_);
}

bool TRecurringDate::Execute() {
    return CurrentServices().datePicker->Execute(*this);
}

void TRecurringDate::Advance() {
    const Date d = TargetDate();
    std::optional<Date> next; // set by the rules that step by days
    switch (recurMode_) {
    case kRecurNever:
        next = Date{sys_days{d} + days{1}};
        break;
    case kRecurWeekly:
        next = Date{sys_days{d} + days{7}};
        break;
    case kRecurEveryOtherWeek:
        next = Date{sys_days{d} + days{14}};
        break;
    case kRecurMonthlyOnDay:
    case kRecurYearly: {
        // From the parts as TargetDate reads them, but with the day number kept.
        int year = YearOf(d);
        int month = MonthOf(d);
        const int day = std::clamp<int>(day_, 1, 31);
        if (recurMode_ == kRecurYearly) {
            ++year;
        } else if (++month > 12) {
            month = 1;
            ++year;
        }
        if (year <= kMaxYear) {
            year_ = static_cast<std::uint16_t>(year);
            month_ = static_cast<std::uint16_t>(month);
            day_ = static_cast<std::uint16_t>(day);
        }
        break;
    }
    case kRecurMonthlyOnWeekday: {
        // The same weekday in the same week of a later month. Week 5 means the last one:
        // the first in week 3 or later whose next week falls in another month.
        const int week = WeekOfMonth(DayOf(d));
        sys_days t{d};
        for (;;) {
            t += days{7};
            const Date at{t};
            const int atWeek = WeekOfMonth(DayOf(at));
            if (atWeek == week) {
                break;
            }
            if (week == 5 && atWeek >= 3 && Date{t + days{7}}.month() != at.month()) {
                break;
            }
        }
        next = Date{t};
        break;
    }
    default:
        break;
    }
    if (next && YearOf(*next) <= kMaxYear) {
        SetDate(*next);
    }
    if (year_ >= kMinYear && year_ <= kMaxYear && day_ >= 1 && day_ <= DaysInMonth(year_, month_)) {
        lastOccurrence_ = MakeDate(year_, month_, day_);
    }
}

std::string TRecurringDate::Describe() const {
    const ILocaleNames& names = *CurrentServices().locale;
    const Date d = TargetDate();
    std::string text = names.ShortDate(d);
    const std::string following = " and every following ";
    const int ruleDay = std::clamp<int>(day_, 1, 31);
    switch (recurMode_) {
    case kRecurMonthlyOnDay:
        text += following + Ordinal(ruleDay) + " of the month";
        break;
    case kRecurYearly:
        text += following + names.LongMonthName(static_cast<unsigned>(MonthOf(d))) + " " +
                Ordinal(ruleDay);
        break;
    case kRecurWeekly:
        text += following + names.LongDayName(WeekdayOf(d));
        break;
    case kRecurEveryOtherWeek:
        text += " and every following other " + names.LongDayName(WeekdayOf(d));
        break;
    case kRecurMonthlyOnWeekday:
        text += following + WeekText(DayOf(d)) + " " + names.ShortDayName(WeekdayOf(d)) +
                " of the month";
        break;
    default:
        break;
    }
    return text;
}

std::string TRecurringDate::ShortText() const {
    return CurrentServices().locale->ShortDate(TargetDate());
}

std::string TRecurringDate::ToText() const {
    return std::to_string(year_) + "," + std::to_string(month_) + "," + std::to_string(day_) + "," +
           std::to_string(recurMode_);
}

bool TRecurringDate::FromText(std::string_view text) {
    const std::vector<std::string> parts = SplitCommaText(text);
    if (parts.size() != 4) {
        return false;
    }
    const auto year = ParseWhole<std::uint16_t>(parts[0]);
    const auto month = ParseWhole<std::uint16_t>(parts[1]);
    const auto day = ParseWhole<std::uint16_t>(parts[2]);
    const auto mode = ParseWhole<int>(parts[3]);
    if (!year || !month || !day || !mode) {
        return false;
    }
    year_ = *year;
    month_ = *month;
    day_ = *day;
    recurMode_ = *mode;
    return true;
}

} // namespace quill
