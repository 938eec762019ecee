#include "core/reports/report_settings.h"

#include <algorithm>

namespace quill {

int BoxDigits(std::string_view text) {
    int value = 0;
    for (const char c : text) {
        if (c >= '0' && c <= '9' && value < 100000000) {
            value = value * 10 + (c - '0');
        }
    }
    return value;
}

std::string PaddedDigits(int value, int minDigits) {
    std::string digits = std::to_string(value < 0 ? 0 : value);
    if (static_cast<int>(digits.size()) < minDigits) {
        digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
    }
    return digits;
}

ReportPage ListingPage(const ListingSettings& s) {
    ReportPage page;
    page.landscape = s.landscape;
    page.leftMarginTenths = s.leftTenths;
    page.pageHeaderHeight = s.topTenths * 10;
    page.pageFooterHeight = s.bottomTenths * 10;
    return page;
}

ReportPage BookPage(const BookSettings& s) {
    ReportPage page;
    page.landscape = s.landscape;
    page.leftMarginTenths = s.leftTenths;
    page.pageHeaderHeight = s.topTenths * 10;
    page.pageFooterHeight = s.bottomTenths * 10;
    page.columns = std::clamp(s.columns, 1, 4);
    page.gutterTenths = s.gutterTenths;
    return page;
}

} // namespace quill
