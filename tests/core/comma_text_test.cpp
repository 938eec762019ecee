#include "core/util/comma_text.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

using List = std::vector<std::string>;

TEST(CommaTextJoin, QuotesOnlyValuesThatNeedIt) {
    EXPECT_EQ(JoinCommaText({"Notepad", "/usr/bin/gedit", "-s", "1"}),
              "Notepad,/usr/bin/gedit,-s,1");
    EXPECT_EQ(JoinCommaText({"My Tool", "a,b", "say \"hi\"", "tab\there", "1"}),
              "\"My Tool\",\"a,b\",\"say \"\"hi\"\"\",\"tab\there\",1");
    EXPECT_EQ(JoinCommaText({"", "x", ""}), "\"\",x,\"\"");
    EXPECT_EQ(JoinCommaText({}), "");
    EXPECT_EQ(JoinCommaText({"Zoë"}), "Zoë"); // bytes above 0x7F are not blanks
}

TEST(CommaTextSplit, SplitsNamesIntoWords) {
    EXPECT_EQ(SplitCommaText("Ann Lee"), (List{"Ann", "Lee"}));
    EXPECT_EQ(SplitCommaText("Ann  B.  Lee"), (List{"Ann", "B.", "Lee"}));
    EXPECT_EQ(SplitCommaText("\"van der\" Berg"), (List{"van der", "Berg"}));
    EXPECT_EQ(SplitCommaText("  Lee,Ann\t"), (List{"Lee", "Ann"}));
    EXPECT_EQ(SplitCommaText("Cher"), (List{"Cher"}));
}

TEST(CommaTextSplit, BlanksAroundACommaCountOnce) {
    EXPECT_EQ(SplitCommaText("a , b"), (List{"a", "b"}));
    EXPECT_EQ(SplitCommaText("a ,, b"), (List{"a", "", "b"}));
    EXPECT_EQ(SplitCommaText(",a"), (List{"", "a"}));
    EXPECT_EQ(SplitCommaText("a,"), (List{"a", ""}));
    EXPECT_EQ(SplitCommaText("a, "), (List{"a"}));
    EXPECT_TRUE(SplitCommaText("").empty());
    EXPECT_TRUE(SplitCommaText(" \t\r\n").empty());
}

TEST(CommaTextSplit, QuotedRuns) {
    EXPECT_EQ(SplitCommaText("\"say \"\"hi\"\"\",x"), (List{"say \"hi\"", "x"}));
    EXPECT_EQ(SplitCommaText("\"\""), (List{""}));
    EXPECT_EQ(SplitCommaText("\"\"\"\""), (List{"\""}));
    // Text right after a closing quote starts the next value.
    EXPECT_EQ(SplitCommaText("\"ab\"cd"), (List{"ab", "cd"}));
    // A quote inside an unquoted value is an ordinary character.
    EXPECT_EQ(SplitCommaText("ab\"cd ef"), (List{"ab\"cd", "ef"}));
    // An unterminated quote keeps everything to the end, its last character included.
    EXPECT_EQ(SplitCommaText("x,\"a, b"), (List{"x", "a, b"}));
}

TEST(CommaText, OddValuesSurviveTheRoundTrip) {
    const std::vector<List> lists = {
        {"Web Browser", "/opt/firefox/firefox", "-new-tab %1", "1"},
        {"", "", "", ""},
        {" ", "\t", "\r\n", "\x01"},
        {",", "\"", "\"\"", "a\"b,c d"},
        {"Zoë Ångström", "Łódź", "東京", "😀"},
        {"trailing ", " leading", "x"},
        {std::string("nul\0inside", 10)},
    };
    for (const List& list : lists) {
        const std::string text = JoinCommaText(list);
        EXPECT_EQ(SplitCommaText(text), list) << text;
    }
}

} // namespace
} // namespace quill
