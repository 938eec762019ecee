#pragma once
// A reminder's due date and how it recurs: the date and its rule, the words describing
// them, the step to the next occurrence and the short text kept in the reminder's record.
// The date picker is a thin view over the free functions at the end.

#include "core/services.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace quill {

// Recurrence rules. The numbers are stored in records and are the rows of the picker's
// rule list, so they never change.
inline constexpr int kRecurNever = 0;            // once
inline constexpr int kRecurMonthlyOnDay = 1;     // same day number each month
inline constexpr int kRecurYearly = 2;           // same month and day each year
inline constexpr int kRecurWeekly = 3;           // every 7 days
inline constexpr int kRecurEveryOtherWeek = 4;   // every 14 days
inline constexpr int kRecurMonthlyOnWeekday = 5; // n-th (or last) weekday of the month
inline constexpr int kRecurModeCount = 6;

// Where the picker opens.
enum class DialogPosition {
    CentredOnScreen,
    AtTopLeft, // at DialogLeft, DialogTop
    CentredOnOwner,
};

class TRecurringDate {
public:
    // The date starts as today. A reminder passes false so that its picker opens on the
    // reminder's own date instead of today.
    explicit TRecurringDate(bool useToday = true);

    // The stored parts, as written; they need not form a real date (a monthly rule keeps
    // the 31st through 30-day months, and FromText stores what it reads).
    std::uint16_t Year() const { return year_; }
    std::uint16_t Month() const { return month_; }
    std::uint16_t Day() const { return day_; }
    // Replace one part when the value is non-zero and within its own range (year 1 to
    // 9999, month 1 to 12, day 1 to 31); otherwise nothing changes and false is returned.
    // The other parts are not checked against it: 31 with April is kept and TargetDate
    // makes it 30 April.
    bool SetYear(std::uint16_t year);
    bool SetMonth(std::uint16_t month);
    bool SetDay(std::uint16_t day);
    // Takes a real date with a year from 1 to 9999; anything else is ignored (false).
    bool SetDate(Date date);

    // The real date nearest to the stored parts: year held to 1..9999, month to 1..12,
    // day to 1..the last day of that month. Always ok().
    Date TargetDate() const;

    int RecurMode() const { return recurMode_; }
    // Any value is kept; one outside 0..5 describes itself as the date alone and does not
    // move.
    void SetRecurMode(int mode) { recurMode_ = mode; }

    bool UseToday() const { return useToday_; }
    void SetUseToday(bool useToday) { useToday_ = useToday; }

    // Plain data for the picker.
    const std::string& DialogCaption() const { return dialogCaption_; }
    void SetDialogCaption(std::string caption) { dialogCaption_ = std::move(caption); }
    int DialogTop() const { return dialogTop_; }
    void SetDialogTop(int top) { dialogTop_ = top; }
    int DialogLeft() const { return dialogLeft_; }
    void SetDialogLeft(int left) { dialogLeft_ = left; }
    quill::DialogPosition DialogPosition() const { return dialogPosition_; }
    void SetDialogPosition(quill::DialogPosition position) { dialogPosition_ = position; }

    // The date the last Advance ended on, when the stored parts formed a real date then.
    std::optional<Date> LastOccurrence() const { return lastOccurrence_; }

    // Opens the date picker; on OK the chosen date and rule are taken. True on OK.
    bool Execute();

    // Moves to the next occurrence by the rule. A step that would pass the year 9999
    // leaves the date as it is.
    void Advance();

    // The date in the locale's short form followed by the rule in words, e.g.
    // "3/14/1997 and every following 2nd Fri of the month".
    std::string Describe() const;
    // The date alone in the locale's short form.
    std::string ShortText() const;

    // "year,month,day,mode", e.g. "1997,3,14,1".
    std::string ToText() const;
    // Reads the form ToText writes, split as comma text. Anything but exactly four parts,
    // or a part that is not a whole number (year, month and day 0 to 65535, the mode any
    // int), leaves everything unchanged and returns false. Numbers in range but not a date
    // (month 13, day 0) are stored as read; TargetDate makes a real date of them.
    bool FromText(std::string_view text);

    // Due once today reaches the target date.
    bool IsDueOn(Date today) const { return today >= TargetDate(); }

private:
    std::uint16_t year_ = 1;
    std::uint16_t month_ = 1;
    std::uint16_t day_ = 1;
    int recurMode_ = kRecurNever;
    bool useToday_ = true;
    quill::DialogPosition dialogPosition_ = quill::DialogPosition::CentredOnScreen;
    int dialogTop_ = 0;
    int dialogLeft_ = 0;
    std::string dialogCaption_ = "Select a date";
    std::optional<Date> lastOccurrence_;
};

// Gregorian leap years.
bool IsLeapYear(int year);
// 28 to 31; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);
// The day held to 1..the last day of the month (1..31 when the month is not one).
int ClampDay(int year, int month, int day);

// English ordinal suffix: "th" for 10 to 20, else by the last digit "st", "nd", "rd", "th".
std::string_view OrdinalSuffix(int n);
// The number with its suffix: "1st", "12th", "22nd".
std::string Ordinal(int n);

// The picker's six rule texts for the date, in RecurMode order. A date that is not ok()
// is first made real as TargetDate does. A rule day from 1 to 31 is the day number the
// monthly and yearly rules name instead of the date's own, as Describe names the stored day
// that a shorter month lacks (the 31st shown as 28 February).
std::array<std::string, kRecurModeCount> PickerRuleTexts(Date date, int ruleDay = 0);

} // namespace quill
