// Phone-number masks: the format list, the notation, typing into a mask, and what counts as
// an entered number.

#include "core/model/edit_mask.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

TEST(EditMaskTest, FormatListHoldsTheElevenFormatsInOrder) {
    const auto formats = PhoneFormats();
    ASSERT_EQ(formats.size(), 11u);
    EXPECT_EQ(formats[kUsaPhoneFormat].name, "USA");
    EXPECT_EQ(formats[kUsaPhoneFormat].mask, "!\\(999\\)000-0000;0;_");
    EXPECT_EQ(formats[kFreePhoneFormat].name, "Free Format");
    EXPECT_TRUE(formats[kFreePhoneFormat].mask.empty());
    EXPECT_EQ(formats[9].name, "Sweden");
    EXPECT_EQ(formats[9].mask, formats[7].mask) << "Sweden uses the Norway mask";
    EXPECT_EQ(formats[10].name, "United Kingdom");
}

TEST(EditMaskTest, ParsesSlotsLiteralsAndTheTwoFields) {
    const TEditMask usa(PhoneFormats()[kUsaPhoneFormat].mask);
    ASSERT_TRUE(usa.HasMask());
    EXPECT_TRUE(usa.LeadingBlanks());
    EXPECT_FALSE(usa.SavesLiterals());
    EXPECT_EQ(usa.Blank(), '_');
    EXPECT_EQ(usa.Length(), 13u);
    EXPECT_EQ(usa.EmptyText(), "(___)___-____");
    EXPECT_EQ(usa.SlotAt(0), TEditMask::Slot::Literal);
    EXPECT_EQ(usa.SlotAt(1), TEditMask::Slot::OptionalDigit);
    EXPECT_EQ(usa.SlotAt(5), TEditMask::Slot::RequiredDigit);
    EXPECT_TRUE(usa.Accepts(1, '7'));
    EXPECT_FALSE(usa.Accepts(1, 'x'));
    EXPECT_TRUE(usa.Accepts(0, '('));

    // An escaped zero is a literal digit, not a slot.
    const TEditMask netherlands(PhoneFormats()[6].mask);
    EXPECT_EQ(netherlands.EmptyText(), "0____-_______");
    EXPECT_EQ(netherlands.SlotAt(0), TEditMask::Slot::Literal);
    EXPECT_EQ(netherlands.SlotAt(1), TEditMask::Slot::RequiredDigit);
    const TEditMask norway(PhoneFormats()[7].mask);
    EXPECT_FALSE(norway.LeadingBlanks());
    EXPECT_EQ(norway.EmptyText(), "__ __ __ __");
    EXPECT_EQ(TEditMask("00-00;1;*").EmptyText(), "**-**");
    EXPECT_TRUE(TEditMask("00-00;1;*").SavesLiterals());
}

TEST(EditMaskTest, TypingFillsDigitPositionsAndStepsOverLiterals) {
    const TEditMask usa(PhoneFormats()[kUsaPhoneFormat].mask);
    EXPECT_EQ(usa.Apply("5551234567"), "(555)123-4567");
    EXPECT_EQ(usa.Apply("(555)123-4567"), "(555)123-4567") << "the displayed form types back";
    EXPECT_EQ(usa.Apply("555"), "(555)___-____");
    EXPECT_EQ(usa.Apply("55a5"), "(555)___-____") << "letters are refused";
    EXPECT_EQ(usa.Apply("55512345678999"), "(555)123-4567") << "extra digits are dropped";
    // A digit equal to a literal further on still fills the next digit position.
    const TEditMask denmark(PhoneFormats()[2].mask);
    EXPECT_EQ(denmark.Apply("40123456"), "+45 40 12 34 56");
    EXPECT_EQ(TEditMask().Apply("anything at all"), "anything at all");
}

// Keys as a masked edit takes them: a digit overwrites at the cursor, erasing blanks a
// position, literals stay where they are.
TEST(EditMaskTest, EditingAtTheCursorOverwritesAndBlanksInPlace) {
    const TEditMask usa(PhoneFormats()[kUsaPhoneFormat].mask);
    TEditMask::Editing e{usa.Apply("5551234567"), 6}; // between the 1 and the 2
    ASSERT_TRUE(usa.Type(e, '9'));
    EXPECT_EQ(e.text, "(555)193-4567");
    EXPECT_EQ(e.cursor, 7u);
    // On a literal the digit goes to the next digit position.
    e.cursor = 4;
    ASSERT_TRUE(usa.Type(e, '0'));
    EXPECT_EQ(e.text, "(555)093-4567");
    EXPECT_EQ(e.cursor, 6u);
    EXPECT_FALSE(usa.Type(e, 'x'));
    e.cursor = 13;
    EXPECT_FALSE(usa.Type(e, '1')) << "a full number takes no more";
    EXPECT_EQ(e.text, "(555)093-4567");

    e.cursor = 6;
    usa.EraseBefore(e);
    EXPECT_EQ(e.text, "(555)_93-4567");
    EXPECT_EQ(e.cursor, 5u);
    usa.EraseBefore(e); // over the ")" to the last digit of the area code
    EXPECT_EQ(e.text, "(55_)_93-4567");
    EXPECT_EQ(e.cursor, 3u);
    e.cursor = 8; // on the "-": Delete blanks the digit behind it
    usa.EraseAfter(e);
    EXPECT_EQ(e.text, "(55_)_93-_567");
    EXPECT_EQ(e.cursor, 8u);
    usa.Erase(e, 0, 13);
    EXPECT_EQ(e.text, usa.EmptyText());
    EXPECT_EQ(e.cursor, 0u);
}

TEST(EditMaskTest, TypingBehindTheNumberContinuesAtItsEnd) {
    const TEditMask usa(PhoneFormats()[kUsaPhoneFormat].mask);
    TEditMask::Editing e{usa.Apply("555"), 13}; // clicked far right in the blanks
    ASSERT_TRUE(usa.Type(e, '1'));
    EXPECT_EQ(e.text, "(555)1__-____");
    EXPECT_EQ(usa.FilledEnd(e.text), 6u);
    EXPECT_EQ(usa.FilledEnd(usa.EmptyText()), 0u);
    // A literal digit of the mask is stepped over once, then the digit is typed.
    const TEditMask netherlands(PhoneFormats()[6].mask);
    EXPECT_EQ(netherlands.Apply("00123"), "00123-_______");
    EXPECT_EQ(netherlands.Apply("123"), "0123_-_______");
}

TEST(EditMaskTest, EnteredMeansSomethingBesideLiteralsAndBlanks) {
    for (const PhoneFormat& format : PhoneFormats()) {
        const TEditMask mask(format.mask);
        if (mask.HasMask()) {
            EXPECT_FALSE(mask.IsEntered(mask.EmptyText())) << format.name;
        }
    }
    const TEditMask usa(PhoneFormats()[kUsaPhoneFormat].mask);
    EXPECT_TRUE(usa.IsEntered("(555)___-____"));
    EXPECT_EQ(usa.Value("(555)123-4567"), "5551234567");
    const TEditMask kept("00-00;1;_");
    EXPECT_EQ(kept.Value("12-3_"), "12-3") << "literals saved, blanks never";
    // Without a mask the text is the value.
    const TEditMask free(PhoneFormats()[kFreePhoneFormat].mask);
    EXPECT_FALSE(free.HasMask());
    EXPECT_TRUE(free.IsEntered("x"));
    EXPECT_FALSE(free.IsEntered(""));
}

TEST(EditMaskTest, FilledLeavesOutOpenPositionsAndTheLiteralsBehindThem) {
    const TEditMask usa(PhoneFormats()[kUsaPhoneFormat].mask);
    EXPECT_EQ(usa.Filled("(555)123-4567"), "(555)123-4567");
    EXPECT_EQ(usa.Filled("(555)123-4___"), "(555)123-4");
    EXPECT_EQ(usa.Filled("(555)___-____"), "(555");
    EXPECT_EQ(usa.Filled(usa.EmptyText()), "");
    const TEditMask germany(PhoneFormats()[4].mask);
    EXPECT_EQ(germany.Filled(germany.Apply("30123456")), "(301 23) 456");
    const TEditMask denmark(PhoneFormats()[2].mask);
    EXPECT_EQ(denmark.Filled(denmark.Apply("123")), "+45 12 3");
    // A blank character typed where the mask has it as a literal stays.
    EXPECT_EQ(TEditMask("0_0;0;_").Filled("1_2"), "1_2");
    // Free format keeps the text, underscores and all.
    EXPECT_EQ(TEditMask().Filled("a_b__"), "a_b__");
}

} // namespace
} // namespace quill
