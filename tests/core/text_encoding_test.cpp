#include "core/util/text_encoding.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

TEST(IsValidUtf8, AcceptsWellFormedText) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain ASCII\r\n"));
    EXPECT_TRUE(IsValidUtf8("Zoë € 東京 😀"));
    EXPECT_TRUE(IsValidUtf8("\xC2\x80"));         // U+0080, smallest two-byte form
    EXPECT_TRUE(IsValidUtf8("\xEF\xBF\xBF"));     // U+FFFF
    EXPECT_TRUE(IsValidUtf8("\xF4\x8F\xBF\xBF")); // U+10FFFF
    EXPECT_TRUE(IsValidUtf8(std::string_view("\0", 1)));
}

TEST(IsValidUtf8, RejectsMalformedText) {
    for (const char* bad : {
             "\xC0\x80",         // overlong NUL
             "\xC1\xBF",         // overlong
             "\xE0\x80\x80",     // overlong three-byte
             "\xF0\x80\x80\x80", // overlong four-byte
             "\xED\xA0\x80",     // surrogate U+D800
             "\xED\xBF\xBF",     // surrogate U+DFFF
             "\xF4\x90\x80\x80", // above U+10FFFF
             "\xF5\x80\x80\x80", "\xFE", "\xFF",
             "\x80",         // lone continuation byte
             "ab\xC3",       // truncated at the end
             "\xE2\x82",     // truncated
             "\xE2\x28\xA1", // continuation replaced by ASCII
             "M\xFCller",    // Windows-1252
         }) {
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    }
}

TEST(Windows1252ToUtf8, MapsTheWholeCodePage) {
    EXPECT_EQ(Windows1252ToUtf8("M\xFCller \x80 5"), "Müller € 5");
    EXPECT_EQ(Windows1252ToUtf8("\x93quoted\x94 \x85"), "“quoted” …");
    EXPECT_EQ(Windows1252ToUtf8("\x8A\x9A\x8E\x9E\x9F\x8C\x9C"), "ŠšŽžŸŒœ");
    EXPECT_EQ(Windows1252ToUtf8("\x99\x96\x97\x88\x98"), "™–—ˆ˜");
    EXPECT_EQ(Windows1252ToUtf8("\xA0\xA9\xC0\xFF"), "\u00A0©Àÿ");
    // The five undefined bytes become the C1 controls of the same value.
    EXPECT_EQ(Windows1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
    for (int b = 0x80; b <= 0xFF; ++b) {
        const std::string out = Windows1252ToUtf8(std::string(1, static_cast<char>(b)));
        EXPECT_TRUE(IsValidUtf8(out)) << b;
        EXPECT_GE(out.size(), 2u) << b;
    }
}

TEST(DecodeFileText, KeepsUtf8ConvertsTheRestAndDropsTheMark) {
    EXPECT_EQ(DecodeFileText("Zoë"), "Zoë");
    EXPECT_EQ(DecodeFileText("\xEF\xBB\xBFZoë"), "Zoë");
    EXPECT_EQ(DecodeFileText("Zo\xEB"), "Zoë");
    EXPECT_EQ(DecodeFileText("\xEF\xBB\xBFZo\xEB"), "Zoë");
    // A mark not at the start is content.
    EXPECT_EQ(DecodeFileText("a\xEF\xBB\xBF"), "a\xEF\xBB\xBF");
}

TEST(Utf8ToLower, Latin) {
    EXPECT_EQ(Utf8ToLower("Hello, WORLD 42"), "hello, world 42");
    EXPECT_EQ(Utf8ToLower("ÀÉÎÕÜÝÞ×ß"), "àéîõüýþ×ß"); // × has no case, ß no capital here
    EXPECT_EQ(Utf8ToLower("ŸİIĲ"), "ÿiiĳ");
    EXPECT_EQ(Utf8ToLower("ŁÓDŹ ĽUBOŠ ŇŽĹ"), "łódź ľuboš ňžĺ");
    EXPECT_EQ(Utf8ToLower("ǄǅǇǈǊǋǱǲ"), "ǆǆǉǉǌǌǳǳ");
    EXPECT_EQ(Utf8ToLower("ƏƆƑǍǛǞȘȚȲ"), "əɔƒǎǜǟșțȳ");
    EXPECT_EQ(Utf8ToLower("ỆẞẠ"), "ệßạ");
}

TEST(Utf8ToLower, GreekCyrillicArmenianFullwidth) {
    EXPECT_EQ(Utf8ToLower("ΑΘΗΝΑ ΆΈΉΊΌΎΏ Σ"), "αθηνα άέήίόύώ σ");
    EXPECT_EQ(Utf8ToLower("ἈὙᾈῼ"), "ἀὑᾀῳ");
    EXPECT_EQ(Utf8ToLower("ЁЛКА МОСКВА ЂЏ ЃІЇ"), "ёлка москва ђџ ѓії");
    EXPECT_EQ(Utf8ToLower("ѠҐӁӀӐԮ"), "ѡґӂӏӑԯ");
    EXPECT_EQ(Utf8ToLower("ԱՐՄԵՆԻԱ"), "արմենիա");
    EXPECT_EQ(Utf8ToLower("ＡＢＺ ａ"), "ａｂｚ ａ");
}

TEST(Utf8ToLower, LeavesTheRestAlone) {
    EXPECT_EQ(Utf8ToLower("東京 😀 ω ж"), "東京 😀 ω ж");
    // Invalid bytes are copied, the letters around them still lowered.
    EXPECT_EQ(Utf8ToLower("\xFF"
                          "AB\xC3"),
              "\xFF"
              "ab\xC3");
    EXPECT_EQ(Utf8ToLower("\xC0\x81Ä"), "\xC0\x81ä");
    // Lower case may be longer or shorter in bytes.
    EXPECT_EQ(Utf8ToLower("Ⱥx"), "ⱥx");
    EXPECT_EQ(Utf8ToLower("İX"), "ix");
}

} // namespace
} // namespace quill
