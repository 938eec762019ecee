#include "core/model/locale_names.h"

#include <gtest/gtest.h>

#include <locale>

namespace quill {
namespace {

using namespace std::chrono;

bool CanLoad(const char* name) {
    try {
        std::locale{name};
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

TEST(EnglishLocaleNames, Names) {
    const ILocaleNames& en = EnglishLocaleNames();
    EXPECT_EQ(en.LongMonthName(9), "September");
    EXPECT_EQ(en.LongMonthName(12), "December");
    EXPECT_EQ(en.ShortMonthName(9), "Sep");
    EXPECT_EQ(en.LongDayName(0), "Sunday");
    EXPECT_EQ(en.LongDayName(6), "Saturday");
    EXPECT_EQ(en.ShortDayName(4), "Thu");
    // Out of range gives nothing rather than a neighbour's name.
    EXPECT_EQ(en.LongMonthName(0), "");
    EXPECT_EQ(en.LongMonthName(13), "");
    EXPECT_EQ(en.ShortDayName(7), "");
}

TEST(EnglishLocaleNames, Dates) {
    const ILocaleNames& en = EnglishLocaleNames();
    EXPECT_EQ(en.ShortDate(1997y / March / 14d), "3/14/1997");
    EXPECT_EQ(en.ShortDate(5y / January / 2d), "1/2/0005");
    EXPECT_EQ(en.LongDate(1997y / March / 14d), "Friday, March 14, 1997");
    EXPECT_EQ(en.LongDate(2000y / January / 1d), "Saturday, January 1, 2000");
    // No weekday for a date that does not exist: its numbers instead.
    EXPECT_EQ(en.LongDate(1997y / February / 30d), "2/30/1997");
}

TEST(MakeLocaleNames, CLocalesAndUnknownNamesAreEnglish) {
    for (const char* name : {"", "C", "POSIX", "C.UTF-8", "xx_NOWHERE.UTF-8", "no such locale"}) {
        const auto names = MakeLocaleNames(name);
        EXPECT_EQ(names->LongMonthName(3), "March") << name;
        EXPECT_EQ(names->ShortDayName(5), "Fri") << name;
        EXPECT_EQ(names->ShortDate(1997y / March / 14d), "3/14/1997") << name;
        EXPECT_EQ(names->LongDate(1997y / March / 14d), "Friday, March 14, 1997") << name;
    }
}

TEST(MakeLocaleNames, NamesComeOutAsUtf8WhateverTheCodeset) {
    bool tried = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.ISO-8859-1", "de_DE"}) {
        if (!CanLoad(name)) {
            continue;
        }
        tried = true;
        const auto names = MakeLocaleNames(name);
        EXPECT_EQ(names->LongMonthName(3), "M\xC3\xA4rz") << name;
        EXPECT_EQ(names->LongDayName(1), "Montag") << name;
        // The blank that pads a one-digit day is dropped.
        EXPECT_EQ(names->LongDate(1997y / March / 7d), "Freitag, M\xC3\xA4rz 7, 1997") << name;
    }
    if (!tried) {
        GTEST_SKIP() << "no German locale installed";
    }
}

} // namespace
} // namespace quill
