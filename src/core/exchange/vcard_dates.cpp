#include "core/exchange/vcard_dates.h"

#include "core/model/attachment_objects.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/recurring_date.h"
#include "core/services.h"

#include <chrono>

namespace quill {
namespace {

bool Digits(std::string_view text, std::size_t count, int& value) {
    if (text.size() < count) {
        return false;
    }
    value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

// Month and day, with or without the hyphen between them; what follows must be a time.
bool MonthDay(std::string_view text, CardDate& date) {
    if (!Digits(text, 2, date.month)) {
        return false;
    }
    text.remove_prefix(2);
    if (!text.empty() && text.front() == '-') {
        text.remove_prefix(1);
    }
    if (!Digits(text, 2, date.day)) {
        return false;
    }
    text.remove_prefix(2);
    return text.empty() || text.front() == 'T' || text.front() == 't';
}

std::string TwoDigits(int value) {
    std::string text = std::to_string(value);
    return value < 10 ? "0" + text : text;
}

} // namespace

std::optional<CardDate> ParseCardDate(std::string_view text, std::string_view omittedYear) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    CardDate date;
    if (text.starts_with("--")) {
        if (!MonthDay(text.substr(2), date)) {
            return std::nullopt;
        }
    } else {
        if (!Digits(text, 4, date.year) || date.year == 0) {
            return std::nullopt;
        }
        text.remove_prefix(4);
        if (!text.empty() && text.front() == '-') {
            text.remove_prefix(1);
        }
        if (!MonthDay(text, date)) {
            return std::nullopt;
        }
        int omitted = 0;
        if (!omittedYear.empty() && Digits(omittedYear, omittedYear.size(), omitted) &&
            omitted == date.year) {
            date.year = 0;
        }
    }
    if (date.month < 1 || date.month > 12 || date.day < 1) {
        return std::nullopt;
    }
    // Without a year the 29th of February is a day that comes round.
    const int daysInMonth = DaysInMonth(date.year == 0 ? 2000 : date.year, date.month);
    if (date.day > daysInMonth) {
        return std::nullopt;
    }
    return date;
}

std::string IsoCardDate(const CardDate& date) {
    std::string text;
    if (date.year > 0) {
        text = std::to_string(date.year);
        while (text.size() < 4) {
            text.insert(text.begin(), '0');
        }
    } else {
        text = "-";
    }
    return text + "-" + TwoDigits(date.month) + "-" + TwoDigits(date.day);
}

TNRBObject* CreateDateReminder(std::string_view title, const CardDate& date, TOutlineNode* node) {
    const Date today = CurrentServices().clock->Today();
    int year = static_cast<int>(today.year());
    const int month = static_cast<int>(static_cast<unsigned>(today.month()));
    const int day = static_cast<int>(static_cast<unsigned>(today.day()));
    if (date.month < month || (date.month == month && date.day < day)) {
        ++year;
    }
    TRecurringDate recurring(false);
    recurring.SetYear(static_cast<std::uint16_t>(year));
    recurring.SetMonth(static_cast<std::uint16_t>(date.month));
    recurring.SetDay(static_cast<std::uint16_t>(date.day));
    recurring.SetRecurMode(kRecurYearly);
    std::string dataLine(DataLineTag(kReminderKind));
    dataLine += recurring.ToText();
    const std::string comment = date.year > 0 ? IsoCardDate(date) : std::string();
    return CreateItem(kReminderKind, title, recurring.Describe(), comment, 0, dataLine, node);
}

std::optional<CardDate> ReminderCardDate(const TReminderObject& reminder) {
    const TRecurringDate& recurring = reminder.RecurringDate();
    if (recurring.RecurMode() != kRecurYearly) {
        return std::nullopt;
    }
    CardDate date;
    date.month = recurring.Month();
    date.day = recurring.Day();
    if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31) {
        return std::nullopt;
    }
    if (const std::optional<CardDate> full = ParseCardDate(reminder.Comment());
        full && full->month == date.month && full->day == date.day) {
        date.year = full->year;
    }
    return date;
}

} // namespace quill
