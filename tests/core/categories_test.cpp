// The category names of the settings file and the category filter of the main window.

#include "core/storage/categories.h"

#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "core/storage/profile_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <fstream>

namespace quill {
namespace {

using Mode = CategoryFilter::Mode;

std::int32_t Cats(std::initializer_list<int> categories) {
    std::uint32_t bits = 0;
    for (int c : categories) {
        bits |= std::uint32_t{1} << (c - 1);
    }
    return static_cast<std::int32_t>(bits);
}

TEST(CategoryNames, AFreshSettingsFileGivesUserDefined1To32) {
    test::TempDir dir;
    const std::vector<std::string> names = ReadCategoryNames(dir.File("nrb.ini"));
    ASSERT_EQ(names.size(), 32u);
    EXPECT_EQ(names[0], "User Defined 1");
    EXPECT_EQ(names[6], "User Defined 7");
    EXPECT_EQ(names[31], "User Defined 32");
}

TEST(CategoryNames, MissingAndEmptyValuesGiveTheDefaultName) {
    test::TempDir dir;
    const std::string ini = dir.File("nrb.ini");
    {
        std::ofstream out(ini, std::ios::binary);
        out << "[Categories]\r\n"
               "Cat1=Family\r\n"
               "Cat2=\r\n"
               "cat3=Work mates\r\n" // key names without regard to case
               "Cat32=Last\r\n"
               "Cat33=Beyond\r\n"
               "Cat1=Duplicate\r\n";
    }
    const std::vector<std::string> names = ReadCategoryNames(ini);
    ASSERT_EQ(names.size(), 32u);
    EXPECT_EQ(names[0], "Family");
    EXPECT_EQ(names[1], "User Defined 2");
    EXPECT_EQ(names[2], "Work mates");
    EXPECT_EQ(names[3], "User Defined 4");
    EXPECT_EQ(names[31], "Last");
}

TEST(CategoryNames, WritingErasesTheSectionAndWritesAtMost32InOrder) {
    test::TempDir dir;
    const std::string ini = dir.File("nrb.ini");
    ASSERT_TRUE(WriteProfileString(ini, "Categories", "Stale", "x"));
    ASSERT_TRUE(WriteProfileString(ini, "Browser", "DDE", "Mosaic"));
    std::vector<std::string> names = ReadCategoryNames(ini);
    names[2] = "Clients";
    names.push_back("Thirty-three");
    ASSERT_TRUE(WriteCategoryNames(ini, names));

    const std::vector<std::string> keys = ReadSectionKeys(ini, "Categories");
    ASSERT_EQ(keys.size(), 32u);
    for (int n = 1; n <= 32; ++n) {
        EXPECT_EQ(keys[n - 1], "Cat" + std::to_string(n));
    }
    EXPECT_EQ(ReadProfileString(ini, "Categories", "Cat3", ""), "Clients");
    EXPECT_EQ(ReadProfileString(ini, "Categories", "Cat4", ""), "User Defined 4");
    EXPECT_EQ(ReadProfileString(ini, "Browser", "DDE", ""), "Mosaic");
    EXPECT_EQ(ReadCategoryNames(ini), std::vector<std::string>(names.begin(), names.end() - 1));
}

TEST(CategoryFilter, OffHidesNothing) {
    CategoryFilter filter;
    EXPECT_FALSE(filter.On());
    filter.SetMask(Cats({1}));
    EXPECT_FALSE(filter.Hides(0));
    EXPECT_FALSE(filter.Hides(Cats({2})));
    EXPECT_FALSE(filter.Snapshot());
}

TEST(CategoryFilter, AnEmptyMaskHidesNothingInEitherMode) {
    CategoryFilter filter;
    for (Mode mode : {Mode::Any, Mode::All}) {
        filter.SetMode(mode);
        EXPECT_TRUE(filter.On());
        EXPECT_FALSE(filter.Hides(0));
        EXPECT_FALSE(filter.Hides(Cats({5, 32})));
        EXPECT_FALSE(filter.Snapshot());
    }
}

TEST(CategoryFilter, AnyWith2And32TickedShowsACategory32ItemAndAllHidesIt) {
    std::vector<bool> ticks(32, false);
    ticks[1] = true;
    ticks[31] = true;
    CategoryFilter filter;
    filter.SetMask(CategoryFilter::MaskOf(ticks));
    EXPECT_EQ(filter.Mask(), 0x80000002u);

    const std::int32_t only32 = Cats({32});
    EXPECT_LT(only32, 0); // the top bit: a negative 32-bit set
    filter.SetMode(Mode::Any);
    EXPECT_FALSE(filter.Hides(only32));
    EXPECT_FALSE(filter.Hides(Cats({2})));
    EXPECT_TRUE(filter.Hides(Cats({1, 3})));
    EXPECT_TRUE(filter.Hides(0));

    filter.SetMode(Mode::All);
    EXPECT_TRUE(filter.Hides(only32));
    EXPECT_TRUE(filter.Hides(Cats({2})));
    EXPECT_FALSE(filter.Hides(Cats({2, 32})));
    EXPECT_FALSE(filter.Hides(-1));
}

TEST(CategoryFilter, TickingOneCategoryInAllHidesEveryItemWithoutIt) {
    CategoryFilter filter;
    filter.SetMode(Mode::All);
    filter.SetMask(CategoryFilter::MaskOf({false, false, false, false, true}));
    EXPECT_TRUE(filter.Hides(0));
    EXPECT_TRUE(filter.Hides(Cats({4, 6})));
    EXPECT_FALSE(filter.Hides(Cats({5})));
    EXPECT_FALSE(filter.Hides(Cats({1, 5, 32})));
}

TEST(CategoryFilter, MaskOfRebuildsFromScratchAndIgnoresEntriesPast32) {
    std::vector<bool> ticks(40, false);
    ticks[0] = true;
    ticks[35] = true;
    EXPECT_EQ(CategoryFilter::MaskOf(ticks), 1u);
    EXPECT_EQ(CategoryFilter::MaskOf({}), 0u);
}

TEST(CategoryFilter, TheTestsLeaveHiddenItemsOutOfTheSubtreeWriter) {
    test::FakeServices services;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();
    TNRBObject* folder = CreateItem(kFolderKind, "Friends", "", "", 1, "", root);
    TNRBObject* ann = CreateItem(kPersonKind, "Ann", "", "", 2, "", folder->Node());
    TNRBObject* bob = CreateItem(kPersonKind, "Bob", "", "", 3, "", folder->Node());
    folder->SetCategories(Cats({32}));
    ann->SetCategories(Cats({32}));
    bob->SetCategories(Cats({1}));

    CategoryFilter filter;
    filter.SetMode(Mode::Any);
    filter.SetMask(Cats({2, 32}));
    const HiddenItemTest live = filter.LiveTest();
    const HiddenItemTest fixed = filter.Snapshot();
    ASSERT_TRUE(fixed);
    std::string out;
    AppendSubtreeRecords(*folder->Node(), out, fixed, false);
    EXPECT_NE(out.find("Friends"), std::string::npos);
    EXPECT_NE(out.find("Ann"), std::string::npos);
    EXPECT_EQ(out.find("Bob"), std::string::npos);
    EXPECT_TRUE(live(*bob));

    filter.SetMode(Mode::Off); // the live test follows the filter, the snapshot does not
    EXPECT_FALSE(live(*bob));
    EXPECT_TRUE(fixed(*bob));
    out.clear();
    AppendSubtreeRecords(*folder->Node(), out, live, false);
    EXPECT_NE(out.find("Bob"), std::string::npos);
}

} // namespace
} // namespace quill
