#pragma once
// The report dialog's settings as numbers: what its masked boxes hold, and the page each
// report asks of the engine. Lengths: margins and gutters in tenths of an inch, band heights
// in hundredths.

#include <string>
#include <string_view>

namespace quill {

// The digits of a box's text read as one number ("0.5 " -> 5, "2.63" -> 263); a text without
// digits counts as 0.
int BoxDigits(std::string_view text);
// The value in decimal, padded with leading zeros to at least minDigits ("50" -> "050").
std::string PaddedDigits(int value, int minDigits);

// The listing's settings as the dialog's list page holds them.
struct ListingSettings {
    std::string title = "Contact List";
    bool landscape = false;
    int topTenths = 5;
    int bottomTenths = 5;
    int leftTenths = 0;
};

// The address book's settings as the dialog's book page holds them.
struct BookSettings {
    int columns = 1; // 1 to 4
    bool landscape = false;
    int leftTenths = 0;
    int gutterTenths = 10;
    int topTenths = 5;
    int bottomTenths = 5;
};

// What a banded report asks of its page.
struct ReportPage {
    bool landscape = false;
    int leftMarginTenths = 0;
    int pageHeaderHeight = 0; // hundredths
    int pageFooterHeight = 0; // hundredths
    int columns = 1;
    int gutterTenths = 0;
};
ReportPage ListingPage(const ListingSettings& settings);
ReportPage BookPage(const BookSettings& settings);

} // namespace quill
