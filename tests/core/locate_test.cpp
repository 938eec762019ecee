// The find-as-you-type walk: word-start matching, the order of the walk and its wrap.

#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/locate.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "core/util/text_encoding.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

class LocateTest : public ::testing::Test {
protected:
    test::FakeServices services;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();

    TOutlineNode* Node(int kind, std::string_view title, TOutlineNode* parent) {
        return CreateItem(kind, title, "", "", 5, "", parent)->Node();
    }
    TNRBObject* Sub(int kind, std::string_view title, TOutlineNode* holder) {
        return CreateItem(kind, title, "", "", 5, "", holder);
    }
};

TEST(MatchesAtWordStart, OnlyTheFirstOccurrenceCountsAndOnlyAtAWordStart) {
    EXPECT_TRUE(MatchesAtWordStart("ann lee", "lee"));
    EXPECT_FALSE(MatchesAtWordStart("fleet services", "lee"));
    // "an" first occurs inside "joan", although "anderson" begins with it.
    EXPECT_FALSE(MatchesAtWordStart("joan anderson", "an"));
    EXPECT_TRUE(MatchesAtWordStart("ann", "ann"));
    EXPECT_FALSE(MatchesAtWordStart("ann", ""));
    EXPECT_FALSE(MatchesAtWordStart("", "a"));
}

TEST(MatchesAtWordStart, ATextNotYetLoweredMatchesAsItsLowerCaseWould) {
    // Whether compared as it stands (ASCII) or lowered first, the answer is the same.
    const std::string_view texts[] = {"Ann Lee",    "FLEET Services", "Joan ANDERSON", "ann",
                                      "",           "  lead blank",   "x~y LEE",       "René Lee",
                                      "ÉMILE Zola", "ΑΘΉΝΑ Lee",      "Lee Lee"};
    const std::string_view needles[] = {"lee",   "an",   "ann",  "services", "é", "émile",
                                        "αθήνα", "lead", "zola", "x~y",      "",  "ann lee"};
    std::string buffer;
    for (const std::string_view text : texts) {
        for (const std::string_view needle : needles) {
            EXPECT_EQ(MatchesAtWordStartOf(text, needle, buffer),
                      MatchesAtWordStart(Utf8ToLower(text), needle))
                << "\"" << text << "\" and \"" << needle << "\"";
        }
    }
}

TEST_F(LocateTest, FindsTheNextMatchingNodeAndContinuesFromIt) {
    TOutlineNode* friends = Node(kFolderKind, "Friends", root);
    TOutlineNode* ann = Node(kPersonKind, "Ann Lee", friends);
    TOutlineNode* fleet = Node(kOrganizationKind, "Fleet Services", root);
    TOutlineNode* lee = Node(kPersonKind, "Lee Marvin", root);
    (void)fleet;

    LocateResult first = LocateInOutline(outline, root, "lee");
    EXPECT_EQ(first.node, ann);
    EXPECT_EQ(first.subItem, nullptr);
    // F3 again starts behind the node found.
    EXPECT_EQ(LocateInOutline(outline, ann, "lee").node, lee);
    // Past the last node the walk wraps to the top and finds the first again.
    EXPECT_EQ(LocateInOutline(outline, lee, "lee").node, ann);
}

TEST_F(LocateTest, CaseOfTheCaptionDoesNotMatterButTheTextMustBeLowerCase) {
    TOutlineNode* upper = Node(kPersonKind, "ANN LEE", root);
    EXPECT_EQ(LocateInOutline(outline, root, "ann").node, upper);
}

TEST_F(LocateTest, ASubItemIsFoundThroughItsHolderAndOnlyTheFirstOfTwo) {
    TOutlineNode* bob = Node(kPersonKind, "Bob", root);
    TNRBObject* home = Sub(kPhoneKind, "Home", bob);
    Sub(kPhoneKind, "Home Office", bob);

    LocateResult found = LocateInOutline(outline, root, "home");
    EXPECT_EQ(found.node, bob);
    EXPECT_EQ(found.subItem, home);
    // Searching on from Bob wraps through the tree and meets Bob's first phone again.
    found = LocateInOutline(outline, bob, "home");
    EXPECT_EQ(found.subItem, home);
}

TEST_F(LocateTest, TheStartNodeIsTestedLastAndEveryNodeIsVisitedOnce) {
    TOutlineNode* bob = Node(kPersonKind, "Bob", root);
    Node(kPersonKind, "Carl", root);
    Sub(kPhoneKind, "Mobile", bob);
    int steps = 0;
    LocateResult found = LocateInOutline(outline, bob, "mob", [&] { ++steps; });
    EXPECT_EQ(found.node, bob);
    EXPECT_EQ(steps, 3); // Carl, the root, then Bob
}

TEST_F(LocateTest, NothingMatchesAnEmptyTextOrAnOutlineOfTheRootAlone) {
    // The root's own caption is tested last, and it can match.
    EXPECT_EQ(LocateInOutline(outline, root, "my").node, root);
    Node(kPersonKind, "Ann", root);
    Sub(kPhoneKind, "Home", root);
    EXPECT_FALSE(LocateInOutline(outline, root, ""));

    TOutline alone;
    TOutlineNode* only = alone.CreateRoot();
    int steps = 0;
    EXPECT_FALSE(LocateInOutline(alone, only, "x", [&] { ++steps; }));
    EXPECT_EQ(steps, 1);
}

} // namespace
} // namespace quill
