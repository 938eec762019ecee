// Labels and envelopes: the stock table, where every label lands on the sheet, what each
// label says, the envelope placement table, the delivery address and "ret_addr.dat".

#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "core/reports/envelope_report.h"
#include "core/reports/label_report.h"
#include "core/reports/report_settings.h"
#include "core/storage/categories.h"
#include "core/util/atomic_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace quill {
namespace {

using Lines = std::vector<std::string>;

TEST(LabelStockTest, EighteenStocksInListOrderFirstIsTheNameTag) {
    const auto stocks = LabelStocks();
    ASSERT_EQ(stocks.size(), 18u);
    EXPECT_EQ(stocks.front().name, "Avery 5095-Name Tag");
    EXPECT_EQ(stocks[9].name, "Avery 5385-Rotary Card");
    EXPECT_EQ(stocks.back().name, "Avery 5664-Shipping");
    const TLabelDimension* s5160 = FindLabelStock("Avery 5160-Address");
    ASSERT_NE(s5160, nullptr);
    EXPECT_EQ(s5160, &stocks[1]);
    // The boxes are filled with each value padded to three digits: 0.50, 0.19, 1.00 ...
    Lines boxes;
    for (const int v :
         {s5160->top, s5160->side, s5160->height, s5160->width, s5160->hPitch, s5160->vPitch}) {
        boxes.push_back(PaddedDigits(v, 3));
    }
    EXPECT_EQ(boxes, (Lines{"050", "019", "100", "263", "275", "100"}));
    EXPECT_EQ(s5160->across, 3);
    EXPECT_EQ(FindLabelStock("Avery 5160"), nullptr);
}

TEST(LabelStockTest, EveryStockFitsItsLabelsOnALetterSheetInTheUsualCount) {
    const std::map<std::string, int> perSheet{
        {"Avery 5095-Name Tag", 8},    {"Avery 5160-Address", 30},  {"Avery 5161-Address", 20},
        {"Avery 5162-Address", 14},    {"Avery 5163-Shipping", 10}, {"Avery 5164-Shipping", 6},
        {"Avery 5385-Rotary Card", 8}, {"Avery 5389-Post Card", 2}, {"Avery 5660-Address", 30},
        {"Avery 5663-Address", 10}};
    for (const TLabelDimension& stock : LabelStocks()) {
        const LabelSheet sheet{stock};
        const auto known = perSheet.find(std::string(stock.name));
        if (known != perSheet.end()) {
            EXPECT_EQ(sheet.PerSheet(), known->second) << stock.name;
        }
        // The last label of a sheet ends on the sheet.
        const LabelSheet::Spot last = sheet.MemoAt(static_cast<std::size_t>(sheet.PerSheet() - 1));
        EXPECT_EQ(last.sheet, 0) << stock.name;
        EXPECT_LE(last.left - kLabelInset + stock.width, kLetterWidth) << stock.name;
        EXPECT_LE(last.top - kLabelInset + stock.height, kLetterHeight) << stock.name;
    }
}

TEST(LabelStockTest, LabelNLandsAtItsLabelsCornerPlusTheInsetWithoutDrift) {
    const TLabelDimension& s = *FindLabelStock("Avery 5160-Address");
    const LabelSheet sheet{s};
    ASSERT_EQ(sheet.Rows(), 10);
    // Across first: label 2 is beside label 1, label 4 starts the second row.
    const LabelSheet::Spot second = sheet.MemoAt(1);
    EXPECT_EQ(second.left, 19 + 275 + 10);
    EXPECT_EQ(second.top, 50 + 10);
    const LabelSheet::Spot third = sheet.MemoAt(2);
    EXPECT_EQ(third.left, 19 + 2 * 275 + 10) << "the hundredths are kept column by column";
    const LabelSheet::Spot fourth = sheet.MemoAt(3);
    EXPECT_EQ(fourth.left, 29);
    EXPECT_EQ(fourth.top, 50 + 100 + 10);
    EXPECT_EQ(fourth.width, 253);
    EXPECT_EQ(fourth.height, 90);
    const LabelSheet::Spot next = sheet.MemoAt(30);
    EXPECT_EQ(next.sheet, 1);
    EXPECT_EQ(next.left, 29);
    EXPECT_EQ(next.top, 60);
}

TEST(LabelStockTest, BandsFollowTheSettingsNotTheOldRounding) {
    TLabelDimension s = *FindLabelStock("Avery 5162-Address");
    const LabelBands b = MakeLabelBands(s);
    EXPECT_EQ(b.columns, 2);
    EXPECT_EQ(b.detailHeight, 133);
    EXPECT_EQ(b.pageHeader, 83);
    EXPECT_EQ(b.leftMargin, 16);
    EXPECT_EQ(b.columnPitch, 419);
    EXPECT_EQ(b.memoWidth, 390);
    EXPECT_EQ(b.memoHeight, 123);
    s.top = 20; // a top margin of 0.25 inch or less: nothing above the first row but itself
    s.across = 0;
    const LabelBands small = MakeLabelBands(s);
    EXPECT_EQ(small.pageHeader, 20);
    EXPECT_EQ(small.columns, 1);
}

class LabelRecordsTest : public ::testing::Test {
protected:
    test::FakeServices services;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();

    TNRBObject* Make(int kind, std::string_view title, TOutlineNode* parent,
                     std::string_view target = "") {
        return CreateItem(kind, title, target, "", 1, "", parent);
    }
    TAddressObject* Address(std::string_view title, TOutlineNode* holder, Lines lines,
                            std::string_view city) {
        auto* a = static_cast<TAddressObject*>(Make(kAddressKind, title, holder, lines[0]));
        a->SetLines(lines);
        a->SetCity(city);
        a->SetState("OR");
        a->SetPostCode("97201");
        a->SetCountry("USA");
        return a;
    }
    std::vector<Lines> All(TOutlineNode* selected, const HiddenItemTest& hidden = {}) {
        TLabelRecords records;
        records.Initialize(selected, hidden);
        std::vector<Lines> out;
        Lines lines;
        while (records.Next(lines)) {
            out.push_back(lines);
        }
        EXPECT_TRUE(lines.empty());
        return out;
    }
};

TEST_F(LabelRecordsTest, PersonsByFormalNameOrganizationsByTitleLooseAddressesByTheirTitle) {
    TOutlineNode* folder = Make(kFolderKind, "Mail", root)->Node();
    auto* ann = static_cast<TPersonObject*>(Make(kPersonKind, "Annie", folder, "Ann Lee"));
    Address("Home", ann->Node(), {"1 Elm St", "", ""}, "Portland");
    ann->SetPrimaryAddress("Home");
    Make(kOrganizationKind, "Acme", folder);
    Address("Shop", folder, {"2 Oak Ave", "Unit 5"}, "");
    Address("Depot", folder, {"3 Ash Rd"}, "Salem")->SetCategories(4);
    Make(kPhoneKind, "Desk", folder, "555-0100");

    const std::vector<Lines> labels = All(folder);
    ASSERT_EQ(labels.size(), 4u);
    // Outline order, unsorted: the folder's own addresses come first, then its nodes.
    EXPECT_EQ(labels[0], (Lines{"Shop", "2 Oak Ave", "Unit 5", "97201 USA"}))
        << "no city: no city line, the postal line always";
    EXPECT_EQ(labels[1], (Lines{"Depot", "3 Ash Rd", "Salem, OR", "97201 USA"}));
    EXPECT_EQ(labels[2], (Lines{"Ann Lee", "1 Elm St", "Portland, OR", "97201 USA"}));
    EXPECT_EQ(labels[3], (Lines{"Acme", " "})) << "an organization without an address";

    CategoryFilter filter;
    filter.SetMode(CategoryFilter::Mode::All);
    filter.SetMask(4); // only items in category 3 show
    const std::vector<Lines> filtered = All(folder, filter.Snapshot());
    ASSERT_EQ(filtered.size(), 1u);
    EXPECT_EQ(filtered[0][0], "Depot");
}

TEST(EnvelopeTest, SizesInListOrderAndFoundByTheirNames) {
    const auto sizes = EnvelopeSizes();
    ASSERT_EQ(sizes.size(), 5u);
    EXPECT_EQ(sizes[0].listText, "#10 Env (4.125 x 9.5 in)");
    EXPECT_EQ(sizes[4].listText, "DL Env (110 x 220 mm)");
    ASSERT_NE(FindEnvelopeSize("Monarch"), nullptr);
    EXPECT_EQ(FindEnvelopeSize("Monarch")->size, EnvelopeSize::Monarch);
    EXPECT_EQ(FindEnvelopeSize("C5 Env (162 x 229 mm)")->size, EnvelopeSize::C5);
    EXPECT_EQ(FindEnvelopeSize("#9"), nullptr);
}

TEST(EnvelopeTest, PlacementFollowsTheTableAndDividesTowardZero) {
    struct Case {
        EnvelopeSize size;
        int h, w;
        EnvelopePlacement expected;
    };
    const Case cases[] = {
        {EnvelopeSize::No10, 412, 920, {152, 270, 30, 20}},
        {EnvelopeSize::No10, 500, 920, {196, 270, 74, 20}},
        {EnvelopeSize::Monarch, 387, 720, {152, 170, 30, 20}}, // (387-388) div 2 is 0
        {EnvelopeSize::B5, 692, 954, {148, 279, 26, 4}},
        {EnvelopeSize::C5, 637, 871, {147, 238, 25, 5}},
        {EnvelopeSize::DL, 433, 836, {149, 221, 27, 6}},
        {EnvelopeSize::DL, 437, 836, {151, 221, 29, 6}},
    };
    for (const Case& c : cases) {
        const EnvelopePlacement p = PlaceEnvelope(c.size, c.h, c.w);
        EXPECT_EQ(p.deliveryTop, c.expected.deliveryTop) << c.h;
        EXPECT_EQ(p.deliveryLeft, c.expected.deliveryLeft);
        EXPECT_EQ(p.returnTop, c.expected.returnTop);
        EXPECT_EQ(p.returnLeft, c.expected.returnLeft);
    }
}

TEST_F(LabelRecordsTest, DeliveryLinesComeFromTheAddressAndTheName) {
    TAddressObject* a = Address("Home", root, {"1 Elm St", "", "Floor 2"}, "");
    EXPECT_EQ(DeliveryLines(a, "Ann Lee"),
              (Lines{"Ann Lee", "1 Elm St", "Floor 2", ", OR", "97201 USA"}));
    EXPECT_EQ(DeliveryLines(a, ""), (Lines{"1 Elm St", "Floor 2", ", OR", "97201 USA"}));
    EXPECT_TRUE(DeliveryLines(nullptr, "Ann Lee").empty()) << "no primary address: empty";
}

TEST_F(LabelRecordsTest, AFormalNameWithoutSalutationPrintsFromTheLeftEdge) {
    // No salutation: the formal name starts with the blank that joins it to the first name.
    auto* ann = static_cast<TPersonObject*>(Make(kPersonKind, "Ann", root, " Ann Lee"));
    TAddressObject* home = Address("Home", ann->Node(), {"1 Elm St"}, "Portland");
    ann->SetPrimaryAddress("Home");
    const std::vector<Lines> labels = All(root);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0], (Lines{"Ann Lee", "1 Elm St", "Portland, OR", "97201 USA"}));
    const EnvelopeSource s = EnvelopeSourceOf(ann);
    EXPECT_EQ(DeliveryLines(s.address, s.name).front(), "Ann Lee");
    EXPECT_EQ(DeliveryLines(home, " ").front(), "1 Elm St") << "a name of blanks is no name";
}

TEST_F(LabelRecordsTest, EnvelopeIsAddressedByKindOfTheItem) {
    auto* ann = static_cast<TPersonObject*>(Make(kPersonKind, "Annie", root, "Ann Lee"));
    TAddressObject* home = Address("Home", ann->Node(), {"1 Elm St"}, "Portland");
    EnvelopeSource s = EnvelopeSourceOf(ann);
    EXPECT_EQ(s.address, nullptr) << "no primary address named";
    EXPECT_EQ(s.name, "Ann Lee");
    ann->SetPrimaryAddress("Home");
    EXPECT_EQ(EnvelopeSourceOf(ann).address, home);
    auto* acme = static_cast<TOrgObject*>(Make(kOrganizationKind, "Acme", root, "acme.example"));
    EXPECT_EQ(EnvelopeSourceOf(acme).name, "Acme");
    s = EnvelopeSourceOf(home);
    EXPECT_EQ(s.address, home);
    EXPECT_EQ(s.name, "Home");
    s = EnvelopeSourceOf(Make(kPhoneKind, "Desk", root, "555"));
    EXPECT_EQ(s.address, nullptr);
    EXPECT_EQ(s.name, "");
    EXPECT_EQ(EnvelopeSourceOf(nullptr).address, nullptr);
}

TEST(ReturnAddressTest, WrittenWithCrLfReadBackAndMissingIsEmpty) {
    test::TempDir dir;
    const std::string path = dir.File(std::string(kReturnAddressFile));
    EXPECT_TRUE(ReadReturnAddress(path).empty());
    const Lines lines{"Quill Ltd", "", "1 Main St", "Zürich"};
    std::string error;
    ASSERT_TRUE(WriteReturnAddress(path, lines, &error)) << error;
    EXPECT_EQ(ReadWholeFile(path).value_or(""), "Quill Ltd\r\n\r\n1 Main St\r\nZürich\r\n");
    EXPECT_EQ(ReadReturnAddress(path), lines);
    ASSERT_TRUE(WriteReturnAddress(path, {}, &error));
    EXPECT_EQ(ReadWholeFile(path).value_or("x"), "");
}

TEST(ReturnAddressTest, AWindowsFileIsReadAndAFailedWriteSaysSo) {
    test::TempDir dir;
    const std::string path = dir.File("ret_addr.dat");
    std::ofstream(path, std::ios::binary) << "M\xfcller\r\nLine two\nLast";
    EXPECT_EQ(ReadReturnAddress(path), (Lines{"Müller", "Line two", "Last"}));
    std::string error;
    EXPECT_FALSE(WriteReturnAddress(dir.File("missing/ret_addr.dat"), {"x"}, &error));
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace quill
