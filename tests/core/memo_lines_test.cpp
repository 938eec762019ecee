// The lines of a multi-line box: every kind of line end, empty lines kept, a final break
// starting no further line.

#include "core/editing/memo_lines.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

using Lines = std::vector<std::string>;

TEST(MemoLinesTest, SplitsAtEveryKindOfLineEndAndKeepsEmptyLines) {
    EXPECT_TRUE(MemoLines("").empty());
    EXPECT_EQ(MemoLines("1 Main St"), Lines{"1 Main St"});
    EXPECT_EQ(MemoLines("a\nb\r\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(MemoLines("a\n\nb"), (Lines{"a", "", "b"}));
}

TEST(MemoLinesTest, ABreakAtTheVeryEndStartsNoFurtherLine) {
    EXPECT_EQ(MemoLines("a\r\nb\n"), (Lines{"a", "b"}));
    EXPECT_EQ(MemoLines("a\n"), Lines{"a"});
    EXPECT_EQ(MemoLines("\n"), Lines{""}) << "a lone break is text";
    EXPECT_EQ(MemoLines("\n\n"), (Lines{"", ""}));
}

} // namespace
} // namespace quill
