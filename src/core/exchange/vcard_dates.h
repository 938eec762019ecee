#pragma once
// Birthdays and anniversaries of cards as the outline holds them: a yearly reminder under the
// person ("Birthday", "Anniversary") that falls on the next such day, with the full date
// (when the card gave its year) kept as the reminder's comment in ISO form.

#include <optional>
#include <string>
#include <string_view>

namespace quill {

class TNRBObject;
class TOutlineNode;
class TReminderObject;

inline constexpr std::string_view kBirthdayTitle = "Birthday";
inline constexpr std::string_view kAnniversaryTitle = "Anniversary";

struct CardDate {
    int year = 0; // 0: the card gave none
    int month = 1;
    int day = 1;
    bool operator==(const CardDate&) const = default;
};

// A date as cards write it: "1980-03-14", "19800314", either followed by a time, or without
// the year as "--03-14" or "--0314". A year equal to omittedYear (Apple's X-APPLE-OMIT-YEAR)
// counts as none. nullopt for text that is no such date (4.0's free-text dates, "circa
// 1800") and for dates that do not exist (the 30th of February; the 29th only in leap years,
// or without a year).
std::optional<CardDate> ParseCardDate(std::string_view text, std::string_view omittedYear = {});

// "1980-03-14"; "--03-14" without a year.
std::string IsoCardDate(const CardDate& date);

// A yearly reminder titled title under node, on the next day on or after today that has the
// date's month and day, its comment the full date when the year is known.
TNRBObject* CreateDateReminder(std::string_view title, const CardDate& date, TOutlineNode* node);

// The date a yearly reminder stands for: month and day from the reminder, the year from its
// comment when that is the ISO date of the same month and day. nullopt for a reminder that
// does not recur yearly.
std::optional<CardDate> ReminderCardDate(const TReminderObject& reminder);

} // namespace quill
