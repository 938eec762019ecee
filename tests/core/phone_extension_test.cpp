// Numbers written with their extension behind them, taken apart for dialing and for cards.

#include "core/comm/phone_extension.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

std::string Split(std::string_view text) {
    const NumberAndExtension parts = SplitExtension(text);
    return parts.number + "|" + parts.extension;
}

TEST(PhoneExtension, MarksBehindTheNumberSplitOffTheExtension) {
    EXPECT_EQ(Split("555-1234 ext. 7"), "555-1234|7");
    EXPECT_EQ(Split("+1 555 0100 x102"), "+1 555 0100|102");
    EXPECT_EQ(Split("(555)123-4567 X 102"), "(555)123-4567|102");
    EXPECT_EQ(Split("555-1234 Extension 12"), "555-1234|12");
    EXPECT_EQ(Split("555-1234 ext7"), "555-1234|7");
}

TEST(PhoneExtension, AnythingElseIsAllNumber) {
    EXPECT_EQ(Split("(555)123-4567"), "(555)123-4567|");
    EXPECT_EQ(Split("555-1234.7"), "555-1234.7|");
    EXPECT_EQ(Split("555-1234x7"), "555-1234x7|") << "the mark stands apart from the number";
    EXPECT_EQ(Split("555 1234 ext. 12#"), "555 1234 ext. 12#|");
    EXPECT_EQ(Split("x 7"), "x 7|");
    EXPECT_EQ(Split(""), "|");
}

} // namespace
} // namespace quill
