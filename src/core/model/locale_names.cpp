#include "core/model/locale_names.h"
#include "core/util/text_encoding.h"

#include <array>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <iterator>
#include <locale>
#include <sstream>
#include <string>

namespace quill {
namespace {

constexpr std::array<std::string_view, 12> kLongMonths{
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<std::string_view, 12> kShortMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<std::string_view, 7> kLongDays{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                    "Thursday", "Friday", "Saturday"};
constexpr std::array<std::string_view, 7> kShortDays{"Sun", "Mon", "Tue", "Wed",
                                                     "Thu", "Fri", "Sat"};

template <std::size_t N>
std::string Pick(const std::array<std::string_view, N>& names, std::size_t index) {
    return index < N ? std::string(names[index]) : std::string();
}

unsigned WeekdayOf(Date date) {
    return std::chrono::weekday{std::chrono::sys_days{date}}.c_encoding();
}

std::string ZeroPadded(int value, std::size_t width) {
    const bool negative = value < 0;
    std::string digits = std::to_string(negative ? -static_cast<long>(value) : value);
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), '0');
    }
    return negative ? "-" + digits : digits;
}

// M/d/yyyy. Also what any locale shows for a date the calendar does not have, so that a
// broken value prints as its numbers rather than as garbage.
std::string NumericDate(Date date) {
    return std::to_string(static_cast<unsigned>(date.month())) + "/" +
           std::to_string(static_cast<unsigned>(date.day())) + "/" +
           ZeroPadded(static_cast<int>(date.year()), 4);
}

class EnglishNames final : public ILocaleNames {
public:
    std::string LongMonthName(unsigned month) const override {
        return Pick(kLongMonths, month - 1);
    }
    std::string ShortMonthName(unsigned month) const override {
        return Pick(kShortMonths, month - 1);
    }
    std::string LongDayName(unsigned weekday) const override { return Pick(kLongDays, weekday); }
    std::string ShortDayName(unsigned weekday) const override { return Pick(kShortDays, weekday); }
    std::string ShortDate(Date date) const override { return NumericDate(date); }
    std::string LongDate(Date date) const override {
        if (!date.ok()) {
            return NumericDate(date);
        }
        return LongDayName(WeekdayOf(date)) + ", " +
               LongMonthName(static_cast<unsigned>(date.month())) + " " +
               std::to_string(static_cast<unsigned>(date.day())) + ", " +
               ZeroPadded(static_cast<int>(date.year()), 4);
    }
};

// Wide text is UTF-32 where wchar_t has 32 bits and UTF-16 where it has 16.
std::string Utf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            c &= 0xFFFF;
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
                const auto low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::tm TmOf(Date date) {
    using namespace std::chrono;
    std::tm tm{};
    tm.tm_year = static_cast<int>(date.year()) - 1900;
    tm.tm_mon = static_cast<int>(static_cast<unsigned>(date.month())) - 1;
    tm.tm_mday = static_cast<int>(static_cast<unsigned>(date.day()));
    tm.tm_wday = static_cast<int>(WeekdayOf(date));
    tm.tm_yday = static_cast<int>((sys_days{date} - sys_days{date.year() / January / 1}).count());
    tm.tm_hour = 12;
    return tm;
}

// Formats through the wide time_put facet: the wide form is Unicode whatever the locale's
// codeset, so a Latin-1 or other legacy locale still comes out as UTF-8.
class StdLocaleNames final : public ILocaleNames {
public:
    explicit StdLocaleNames(const std::locale& locale) : locale_(locale) {
        std::tm tm{};
        for (int m = 0; m < 12; ++m) {
            tm.tm_mon = m;
            longMonths_[m] = Format(tm, L"%B");
            shortMonths_[m] = Format(tm, L"%b");
        }
        for (int d = 0; d < 7; ++d) {
            tm.tm_wday = d;
            longDays_[d] = Format(tm, L"%A");
            shortDays_[d] = Format(tm, L"%a");
        }
    }

    std::string LongMonthName(unsigned month) const override {
        return month >= 1 && month <= 12 ? longMonths_[month - 1] : std::string();
    }
    std::string ShortMonthName(unsigned month) const override {
        return month >= 1 && month <= 12 ? shortMonths_[month - 1] : std::string();
    }
    std::string LongDayName(unsigned weekday) const override {
        return weekday < 7 ? longDays_[weekday] : std::string();
    }
    std::string ShortDayName(unsigned weekday) const override {
        return weekday < 7 ? shortDays_[weekday] : std::string();
    }
    std::string ShortDate(Date date) const override {
        return date.ok() ? Format(TmOf(date), L"%x") : NumericDate(date);
    }
    std::string LongDate(Date date) const override {
        // %e pads single-digit days with a blank; the padding is dropped.
        return date.ok() ? Format(TmOf(date), L"%A, %B %e, %Y", true) : NumericDate(date);
    }

private:
    std::string Format(const std::tm& tm, std::wstring_view pattern,
                       bool collapseBlanks = false) const {
        std::wostringstream out;
        out.imbue(locale_);
        const auto& facet = std::use_facet<std::time_put<wchar_t>>(locale_);
        facet.put(std::ostreambuf_iterator<wchar_t>(out), out, L' ', &tm, pattern.data(),
                  pattern.data() + pattern.size());
        std::wstring text = out.str();
        if (collapseBlanks) {
            std::wstring collapsed;
            for (wchar_t c : text) {
                if (c != L' ' || (!collapsed.empty() && collapsed.back() != L' ')) {
                    collapsed += c;
                }
            }
            while (!collapsed.empty() && collapsed.back() == L' ') {
                collapsed.pop_back();
            }
            text = std::move(collapsed);
        }
        return Utf8(text);
    }

    std::locale locale_;
    std::array<std::string, 12> longMonths_;
    std::array<std::string, 12> shortMonths_;
    std::array<std::string, 7> longDays_;
    std::array<std::string, 7> shortDays_;
};

bool IsCLocaleName(std::string_view name) {
    for (std::string_view plain : {std::string_view("C"), std::string_view("POSIX")}) {
        if (name == plain || (name.size() > plain.size() && name.substr(0, plain.size()) == plain &&
                              (name[plain.size()] == '.' || name[plain.size()] == '@'))) {
            return true;
        }
    }
    return name.empty();
}

// The name that decides LC_TIME, by the usual precedence; the platform's default locale
// when none of the variables is set (on Windows the user's regional settings).
std::string EnvironmentTimeLocale() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) {
            return value;
        }
    }
    try {
        return std::locale("").name();
    } catch (const std::exception&) {
        return "C";
    }
}

} // namespace

std::unique_ptr<ILocaleNames> MakeLocaleNames(std::string_view localeName) {
    if (!IsCLocaleName(localeName)) {
        try {
            return std::make_unique<StdLocaleNames>(std::locale(std::string(localeName)));
        } catch (const std::exception&) {
            // Not installed or not a locale name: English as for "C".
        }
    }
    return std::make_unique<EnglishNames>();
}

ILocaleNames& SystemLocaleNames() {
    static const std::unique_ptr<ILocaleNames> names = MakeLocaleNames(EnvironmentTimeLocale());
    return *names;
}

ILocaleNames& EnglishLocaleNames() {
    static EnglishNames names;
    return names;
}

} // namespace quill
