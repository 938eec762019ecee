#include "core/model/locale_names.h"
#include "core/model/recurring_date.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

using namespace std::chrono;

class FixedClock final : public IClock {
public:
    Date Today() const override { return today; }
    Date today = 1997y / March / 14d;
};

class RecurringDateTest : public ::testing::Test {
protected:
    static TRecurringDate At(Date date, int mode) {
        TRecurringDate r;
        EXPECT_TRUE(r.SetDate(date));
        r.SetRecurMode(mode);
        return r;
    }
    static Date Advanced(Date date, int mode) {
        TRecurringDate r = At(date, mode);
        r.Advance();
        return r.TargetDate();
    }

    FixedClock clock_;
    ScopedServices services_{Services{.clock = &clock_, .locale = &EnglishLocaleNames()}};
};

TEST_F(RecurringDateTest, StartsTodayOnceWithPickerDefaults) {
    TRecurringDate r;
    EXPECT_EQ(r.TargetDate(), 1997y / March / 14d);
    EXPECT_EQ(r.RecurMode(), kRecurNever);
    EXPECT_TRUE(r.UseToday());
    EXPECT_FALSE(TRecurringDate(false).UseToday());
    EXPECT_EQ(r.DialogCaption(), "Select a date");
    EXPECT_EQ(r.DialogPosition(), DialogPosition::CentredOnScreen);
    EXPECT_EQ(r.DialogTop(), 0);
    EXPECT_EQ(r.DialogLeft(), 0);
    EXPECT_FALSE(r.LastOccurrence());
    // A new reminder is due at once.
    EXPECT_TRUE(r.IsDueOn(clock_.today));
    EXPECT_FALSE(r.IsDueOn(1997y / March / 13d));
}

TEST_F(RecurringDateTest, AdvanceByDays) {
    EXPECT_EQ(Advanced(1997y / February / 28d, kRecurNever), 1997y / March / 1d);
    EXPECT_EQ(Advanced(1996y / February / 28d, kRecurNever), 1996y / February / 29d);
    EXPECT_EQ(Advanced(1997y / December / 31d, kRecurNever), 1998y / January / 1d);
    EXPECT_EQ(Advanced(1997y / March / 28d, kRecurWeekly), 1997y / April / 4d);
    EXPECT_EQ(Advanced(1997y / March / 14d, kRecurEveryOtherWeek), 1997y / March / 28d);
    EXPECT_EQ(Advanced(1997y / March / 28d, kRecurEveryOtherWeek), 1997y / April / 11d);
}

TEST_F(RecurringDateTest, MonthlyOnDayWrapsYearAndKeepsTheDayThroughShortMonths) {
    EXPECT_EQ(Advanced(1997y / December / 12d, kRecurMonthlyOnDay), 1998y / January / 12d);
    // November goes to December of the same year, not past it.
    EXPECT_EQ(Advanced(1997y / November / 12d, kRecurMonthlyOnDay), 1997y / December / 12d);
    // A whole year of steps visits every month once and lands a year on.
    TRecurringDate year = At(1997y / January / 12d, kRecurMonthlyOnDay);
    for (unsigned month = 2; month <= 13; ++month) {
        year.Advance();
        const Date expected =
            month <= 12 ? 1997y / std::chrono::month{month} / 12d : 1998y / January / 12d;
        EXPECT_EQ(year.TargetDate(), expected) << month;
    }

    TRecurringDate r = At(1997y / January / 31d, kRecurMonthlyOnDay);
    r.Advance();
    EXPECT_EQ(r.ToText(), "1997,2,31,1");
    EXPECT_EQ(r.TargetDate(), 1997y / February / 28d);
    EXPECT_EQ(r.ShortText(), "2/28/1997");
    EXPECT_EQ(r.Describe(), "2/28/1997 and every following 31st of the month");
    EXPECT_TRUE(r.IsDueOn(1997y / February / 28d));
    EXPECT_FALSE(r.LastOccurrence()); // 31 February is no date
    r.Advance();
    EXPECT_EQ(r.TargetDate(), 1997y / March / 31d);
    EXPECT_EQ(r.LastOccurrence(), 1997y / March / 31d);
    r.Advance();
    EXPECT_EQ(r.TargetDate(), 1997y / April / 30d);
    EXPECT_EQ(r.LastOccurrence(), 1997y / March / 31d); // 31 April keeps the previous one
}

TEST_F(RecurringDateTest, YearlyLeapDayComesBackInLeapYears) {
    TRecurringDate r = At(1996y / February / 29d, kRecurYearly);
    r.Advance();
    EXPECT_EQ(r.TargetDate(), 1997y / February / 28d);
    EXPECT_EQ(r.Describe(), "2/28/1997 and every following February 29th");
    r.Advance();
    r.Advance();
    r.Advance();
    EXPECT_EQ(r.TargetDate(), 2000y / February / 29d);
}

TEST_F(RecurringDateTest, MonthlyOnWeekday) {
    // The 4th Monday stays the 4th, though the next month's is also its last.
    EXPECT_EQ(Advanced(1997y / March / 24d, kRecurMonthlyOnWeekday), 1997y / April / 28d);
    EXPECT_EQ(Advanced(1997y / April / 28d, kRecurMonthlyOnWeekday), 1997y / May / 26d);
    // The 2nd Friday.
    EXPECT_EQ(Advanced(1997y / March / 14d, kRecurMonthlyOnWeekday), 1997y / April / 11d);
    EXPECT_EQ(Advanced(1997y / December / 5d, kRecurMonthlyOnWeekday), 1998y / January / 2d);
    EXPECT_EQ(Advanced(1997y / March / 28d, kRecurMonthlyOnWeekday), 1997y / April / 25d);
    // Days 29 to 31 mean the last one, even when that lies in the fourth week.
    EXPECT_EQ(Advanced(1997y / January / 31d, kRecurMonthlyOnWeekday), 1997y / February / 28d);
    EXPECT_EQ(Advanced(1997y / May / 30d, kRecurMonthlyOnWeekday), 1997y / June / 27d);

    TRecurringDate r = At(1996y / November / 29d, kRecurMonthlyOnWeekday);
    r.Advance();
    EXPECT_EQ(r.TargetDate(), 1996y / December / 27d);
    // The date alone cannot remember "last": the 27th is in the fourth week, and the 4th
    // Friday of January 1997 is the 24th, not the last Friday (the 31st).
    EXPECT_EQ(r.Describe(), "12/27/1996 and every following 4th Fri of the month");
    r.Advance();
    EXPECT_EQ(r.TargetDate(), 1997y / January / 24d);
}

TEST_F(RecurringDateTest, UnknownModeNeitherMovesNorDescribesARule) {
    for (int mode : {-1, 6, 100}) {
        TRecurringDate r = At(1997y / March / 14d, mode);
        r.Advance();
        EXPECT_EQ(r.TargetDate(), 1997y / March / 14d);
        EXPECT_EQ(r.Describe(), "3/14/1997");
    }
}

TEST_F(RecurringDateTest, AdvanceReachesTheLastYearItself) {
    EXPECT_EQ(Advanced(9998y / May / 1d, kRecurYearly), 9999y / May / 1d);
    EXPECT_EQ(Advanced(9998y / December / 3d, kRecurMonthlyOnDay), 9999y / January / 3d);
    EXPECT_EQ(Advanced(9998y / December / 31d, kRecurNever), 9999y / January / 1d);
    EXPECT_EQ(Advanced(9999y / December / 24d, kRecurWeekly), 9999y / December / 31d);
    EXPECT_EQ(Advanced(9999y / December / 17d, kRecurEveryOtherWeek), 9999y / December / 31d);
    EXPECT_EQ(Advanced(9999y / November / 26d, kRecurMonthlyOnWeekday), 9999y / December / 24d);
    EXPECT_EQ(Advanced(9999y / November / 29d, kRecurMonthlyOnWeekday), 9999y / December / 27d);
}

TEST_F(RecurringDateTest, AdvanceStopsAtTheLastYear) {
    EXPECT_EQ(Advanced(9999y / December / 31d, kRecurNever), 9999y / December / 31d);
    EXPECT_EQ(Advanced(9999y / May / 1d, kRecurYearly), 9999y / May / 1d);
    EXPECT_EQ(Advanced(9999y / December / 3d, kRecurMonthlyOnDay), 9999y / December / 3d);
    EXPECT_EQ(Advanced(9999y / December / 3d, kRecurMonthlyOnWeekday), 9999y / December / 3d);
}

TEST_F(RecurringDateTest, DescribeEachMode) {
    const char* expected[] = {
        "3/14/1997",
        "3/14/1997 and every following 14th of the month",
        "3/14/1997 and every following March 14th",
        "3/14/1997 and every following Friday",
        "3/14/1997 and every following other Friday",
        "3/14/1997 and every following 2nd Fri of the month",
    };
    for (int mode = 0; mode < kRecurModeCount; ++mode) {
        EXPECT_EQ(At(1997y / March / 14d, mode).Describe(), expected[mode]) << mode;
    }
    EXPECT_EQ(At(1996y / November / 29d, kRecurMonthlyOnWeekday).Describe(),
              "11/29/1996 and every following Last Fri of the month");
}

TEST_F(RecurringDateTest, PickerRuleTexts) {
    const std::array<std::string, kRecurModeCount> expected{
        "Does not recur", "Every 14th of the month", "Every March 14th",
        "Every Friday",   "Every other Friday",      "Every 2nd Fri of the month"};
    EXPECT_EQ(PickerRuleTexts(1997y / March / 14d), expected);
    EXPECT_EQ(PickerRuleTexts(1997y / January / 31d)[5], "Every Last Fri of the month");
    // A day the month lacks is taken as its last day.
    EXPECT_EQ(PickerRuleTexts(1997y / February / 30d)[1], "Every 28th of the month");
}

TEST(Ordinal, Suffixes) {
    const std::pair<int, const char*> cases[] = {
        {1, "1st"},   {2, "2nd"},   {3, "3rd"},   {4, "4th"},   {10, "10th"},
        {11, "11th"}, {12, "12th"}, {13, "13th"}, {20, "20th"}, {21, "21st"},
        {22, "22nd"}, {23, "23rd"}, {30, "30th"}, {31, "31st"}, {0, "0th"}};
    for (const auto& [n, text] : cases) {
        EXPECT_EQ(Ordinal(n), text);
    }
}

TEST(CalendarRules, LeapYearsAndMonthLengths) {
    EXPECT_TRUE(IsLeapYear(1996));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_FALSE(IsLeapYear(1997));
    EXPECT_EQ(DaysInMonth(1997, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(1997, 9), 30);
    EXPECT_EQ(DaysInMonth(1997, 12), 31);
    EXPECT_EQ(DaysInMonth(1997, 13), 0);

    EXPECT_EQ(ClampDay(1997, 2, 31), 28); // picking February with the 31st selected
    EXPECT_EQ(ClampDay(1996, 2, 31), 29);
    EXPECT_EQ(ClampDay(1997, 4, 31), 30);
    EXPECT_EQ(ClampDay(1997, 1, 31), 31);
    EXPECT_EQ(ClampDay(1997, 1, 0), 1);
    EXPECT_EQ(ClampDay(1997, 13, 40), 31);
}

TEST_F(RecurringDateTest, TextRoundTrip) {
    EXPECT_EQ(At(1997y / March / 14d, kRecurMonthlyOnDay).ToText(), "1997,3,14,1");
    TRecurringDate r;
    EXPECT_TRUE(r.FromText("1996,11,29,5"));
    EXPECT_EQ(r.TargetDate(), 1996y / November / 29d);
    EXPECT_EQ(r.RecurMode(), kRecurMonthlyOnWeekday);
    // Blanks separate like commas, and a quoted part is one value.
    EXPECT_TRUE(r.FromText("  1998, 4 \"11\",3"));
    EXPECT_EQ(r.ToText(), "1998,4,11,3");
}

TEST_F(RecurringDateTest, FromTextRejectsWithoutChange) {
    TRecurringDate r = At(1997y / March / 14d, kRecurMonthlyOnDay);
    for (const char* text :
         {"", "1997,3,14", "1997,3,14,1,0", "1998,4,11,", "\"1998,4\",11,2", "1998,x,11,2",
          "1998,4,,2", "-1998,4,11,2", "70000,4,11,2", "1998,4,11,2.5", "1998,+4,11,2"}) {
        EXPECT_FALSE(r.FromText(text)) << text;
        EXPECT_EQ(r.ToText(), "1997,3,14,1") << text;
    }
}

TEST_F(RecurringDateTest, AbsurdStoredPartsStillDescribeAndAdvanceSafely) {
    TRecurringDate r;
    ASSERT_TRUE(r.FromText("0,13,0,1"));
    EXPECT_EQ(r.ToText(), "0,13,0,1"); // stored as read
    EXPECT_EQ(r.TargetDate(), 1y / December / 1d);
    EXPECT_EQ(r.Describe(), "12/1/0001 and every following 1st of the month");
    r.Advance();
    EXPECT_EQ(r.ToText(), "2,1,1,1");

    for (const char* text : {"0,0,0", "65535,65535,65535", "9999,2,31", "1,1,0"}) {
        for (int mode = -1; mode <= kRecurModeCount; ++mode) {
            ASSERT_TRUE(r.FromText(std::string(text) + "," + std::to_string(mode)));
            EXPECT_FALSE(r.Describe().empty());
            r.Advance();
            EXPECT_TRUE(r.TargetDate().ok()) << text << " mode " << mode;
            EXPECT_FALSE(r.Describe().empty());
        }
    }
}

TEST_F(RecurringDateTest, SettingParts) {
    TRecurringDate r = At(1997y / March / 14d, kRecurNever);
    EXPECT_FALSE(r.SetMonth(0));
    EXPECT_FALSE(r.SetMonth(13));
    EXPECT_FALSE(r.SetYear(10000));
    EXPECT_FALSE(r.SetDay(32));
    EXPECT_EQ(r.ToText(), "1997,3,14,0");
    EXPECT_TRUE(r.SetMonth(4));
    EXPECT_TRUE(r.SetDay(31)); // not checked against April
    EXPECT_EQ(r.Day(), 31);
    EXPECT_EQ(r.TargetDate(), 1997y / April / 30d);
    EXPECT_FALSE(r.SetDate(1997y / February / 30d));
    EXPECT_FALSE(r.SetDate(0y / January / 1d));
    EXPECT_EQ(r.ToText(), "1997,4,31,0");
}

} // namespace
} // namespace quill
