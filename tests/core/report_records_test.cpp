// What the listing and the address book print: which items, in which order, with which
// lines, group letters and band heights.

#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "core/reports/address_book.h"
#include "core/reports/listing_report.h"
#include "core/reports/report_settings.h"
#include "core/storage/categories.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quill {
namespace {

using Lines = std::vector<std::string>;

class ReportRecordsTest : public ::testing::Test {
protected:
    test::FakeServices services;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();

    TOutlineNode* Folder(std::string_view title, TOutlineNode* parent) {
        return CreateItem(kFolderKind, title, "", "", 1, "", parent)->Node();
    }
    TPersonObject* Person(std::string_view title, TOutlineNode* parent, std::string_view first = "",
                          std::string_view middle = "", std::string_view last = "") {
        auto* p = static_cast<TPersonObject*>(CreateItem(
            kPersonKind, title, std::string(first) + " " + std::string(last), "", 2, "", parent));
        p->SetFirstName(first);
        p->SetMiddleName(middle);
        p->SetLastName(last);
        return p;
    }
    TOrgObject* Org(std::string_view title, TOutlineNode* parent) {
        return static_cast<TOrgObject*>(
            CreateItem(kOrganizationKind, title, "", "", 3, "", parent));
    }
    TAddressObject* Address(std::string_view title, TOutlineNode* holder, Lines lines,
                            std::string_view city, std::string_view state, std::string_view post,
                            std::string_view country) {
        auto* a = static_cast<TAddressObject*>(
            CreateItem(kAddressKind, title, lines.empty() ? "" : lines[0], "", 4, "", holder));
        a->SetLines(lines);
        a->SetCity(city);
        a->SetState(state);
        a->SetPostCode(post);
        a->SetCountry(country);
        return a;
    }
    TNRBObject* Phone(std::string_view title, std::string_view number, TOutlineNode* holder) {
        return CreateItem(kPhoneKind, title, number, "", 5, "", holder);
    }
    TNRBObject* Child(int kind, std::string_view title, std::string_view target,
                      TOutlineNode* holder) {
        return CreateItem(kind, title, target, "", 6, "", holder);
    }

    static std::vector<ListingRecord> AllListing(TOutlineNode* selected,
                                                 const HiddenItemTest& hidden = {}) {
        TListingRecords records(selected, hidden);
        std::vector<ListingRecord> out;
        ListingRecord r;
        while (records.Next(r)) {
            out.push_back(r);
        }
        EXPECT_TRUE(r.name.empty() && r.address.empty()) << "no data left clears the fields";
        return out;
    }
    static std::vector<AddrBookRecord> AllBook(TOutlineNode* selected,
                                               const HiddenItemTest& hidden = {}) {
        TAddrBookRecords records;
        records.Initialize(selected, hidden);
        std::vector<AddrBookRecord> out;
        AddrBookRecord r;
        while (records.Next(r)) {
            out.push_back(r);
        }
        return out;
    }
};

TEST_F(ReportRecordsTest, ListingRecordTakesTitleAddressAndPrimaryContactPoints) {
    TPersonObject* ann = Person("Ann Lee", root, "Ann", "", "Lee");
    Address("Home", ann->Node(), {"12 Elm St", "", "Apt 4"}, "Springfield", "IL", "62704", "USA");
    Address("Work", ann->Node(), {"1 Main St"}, "Chicago", "IL", "60601", "USA");
    Phone("Cell", "555-0100", ann->Node());
    Child(kFaxKind, "Fax", "555-0199", ann->Node());
    Child(kEMailKind, "Mail", "ann@example.org", ann->Node());
    CreateItem(kWebsiteKind, "Site", "https://ann.example.org", "", 9, "", ann->Node());
    ann->SetPrimaryAddress("Home");
    ann->SetPrimaryPhone("Cell");
    ann->SetPrimaryFax("Fax");
    ann->SetPrimaryEMail("Mail");
    ann->SetPrimaryWebsite("Site");

    const ListingRecord r = MakeListingRecord(*ann);
    EXPECT_EQ(r.name, "Ann Lee");
    EXPECT_EQ(r.address, (Lines{"Ann Lee", "12 Elm St", "Apt 4", "Springfield, IL", "62704 USA"}));
    EXPECT_EQ(r.phone, "555-0100");
    EXPECT_EQ(r.fax, "555-0199");
    EXPECT_EQ(r.eMail, "ann@example.org");
    EXPECT_EQ(r.url, "https://ann.example.org");
}

TEST_F(ReportRecordsTest, ListingValuesWithQuotesAndCommasArriveWhole) {
    TOrgObject* org = Org("Smith, \"Jones\" & Co", root);
    Phone("Main", "555, ext \"7\"", org->Node());
    org->SetPrimaryPhone("Main");
    const ListingRecord r = MakeListingRecord(*org);
    EXPECT_EQ(r.name, "Smith, \"Jones\" & Co");
    EXPECT_EQ(r.phone, "555, ext \"7\"");
    // Without an address the two place lines still print, as the listing always adds them.
    EXPECT_EQ(r.address, (Lines{"Smith, \"Jones\" & Co", ", ", " "}));
}

TEST_F(ReportRecordsTest, ListingStartsAfterTheSelectedNodeAndStaysInsideIt) {
    TOutlineNode* friends = Folder("Friends", root);
    TOutlineNode* others = Folder("Others", root);
    TPersonObject* ann = Person("Ann", friends);
    Person("Bob", ann->Node()); // a person below a person is covered too
    Org("Acme", friends);
    Person("Zed", others);
    CreateItem(kTeamKind, "Team", "", "", 1, "", friends);

    std::vector<std::string> names;
    for (const ListingRecord& r : AllListing(friends)) {
        names.push_back(r.name);
    }
    EXPECT_EQ(names, (Lines{"Ann", "Bob", "Acme"}));

    // The selected person itself is not listed; only what lies below it.
    names.clear();
    for (const ListingRecord& r : AllListing(ann->Node())) {
        names.push_back(r.name);
    }
    EXPECT_EQ(names, (Lines{"Bob"}));
    EXPECT_TRUE(AllListing(nullptr).empty());
}

TEST_F(ReportRecordsTest, HiddenItemsAreSkippedButWhatLiesBelowThemIsVisited) {
    TOutlineNode* friends = Folder("Friends", root);
    TPersonObject* ann = Person("Ann", friends, "Ann", "", "Lee");
    ann->SetCategories(1);
    Person("Bob", ann->Node(), "Bob", "", "Ray")->SetCategories(2);
    Address("Loose", friends, {"3 Oak Rd"}, "Dover", "DE", "19901", "USA")->SetCategories(1);
    Address("Kept", friends, {"4 Oak Rd"}, "Dover", "DE", "19901", "USA")->SetCategories(2);

    CategoryFilter filter;
    filter.SetMode(CategoryFilter::Mode::Any);
    filter.SetMask(2); // category 2 only: Ann and the loose address (category 1) are hidden
    const HiddenItemTest hidden = filter.Snapshot();
    ASSERT_TRUE(hidden(*ann));

    std::vector<std::string> names;
    for (const ListingRecord& r : AllListing(friends, hidden)) {
        names.push_back(r.name);
    }
    EXPECT_EQ(names, (Lines{"Bob"}));

    names.clear();
    for (const AddrBookRecord& r : AllBook(friends, hidden)) {
        names.push_back(r.name);
    }
    EXPECT_EQ(names, (Lines{"Kept", "Ray, Bob "}));

    filter.SetMask(1);
    names.clear();
    for (const AddrBookRecord& r : AllBook(friends, filter.Snapshot())) {
        names.push_back(r.name);
    }
    EXPECT_EQ(names, (Lines{"Lee, Ann ", "Loose"}));
}

TEST_F(ReportRecordsTest, BookSortsWithoutRegardToCaseAndGroupsByTheExactFirstLetter) {
    TOutlineNode* f = Folder("F", root);
    Person("x", f, "Amy", "", "smith");
    Person("y", f, "Bea", "J", "Smith");
    Person("z", f, "Cal", "", "Brown");
    Org("sun Corp", f);

    const std::vector<AddrBookRecord> book = AllBook(f);
    ASSERT_EQ(book.size(), 4u);
    EXPECT_EQ(book[0].name, "Brown, Cal ");
    EXPECT_EQ(book[1].name, "smith, Amy ");
    EXPECT_EQ(book[2].name, "Smith, Bea J");
    EXPECT_EQ(book[3].name, "sun Corp");
    // "smith" and "Smith" sort together, yet "s" and "S" are different group letters.
    EXPECT_TRUE(book[0].groupBand);
    EXPECT_EQ(book[0].groupLetter, "B");
    EXPECT_TRUE(book[1].groupBand);
    EXPECT_EQ(book[1].groupLetter, "s");
    EXPECT_TRUE(book[2].groupBand);
    EXPECT_EQ(book[2].groupLetter, "S");
    EXPECT_TRUE(book[3].groupBand) << "back to a lower-case s after the capital";
}

TEST_F(ReportRecordsTest, BookGroupBandPrintsOncePerLetterAndAgainAfterRewind) {
    TOutlineNode* f = Folder("F", root);
    Org("Able", f);
    Org("Acme", f);
    Org("Ölwerk", f);
    TAddrBookRecords records;
    records.Initialize(f, {});
    AddrBookRecord r;
    ASSERT_TRUE(records.Next(r));
    EXPECT_TRUE(r.groupBand);
    ASSERT_TRUE(records.Next(r));
    EXPECT_FALSE(r.groupBand);
    EXPECT_EQ(r.groupLetter, "A");
    ASSERT_TRUE(records.Next(r));
    EXPECT_TRUE(r.groupBand);
    EXPECT_EQ(r.groupLetter, "Ö") << "a letter of two bytes stays whole";
    EXPECT_FALSE(records.Next(r));
    EXPECT_TRUE(r.name.empty());
    records.Rewind();
    ASSERT_TRUE(records.Next(r));
    EXPECT_TRUE(r.groupBand) << "the remembered letter is cleared";
}

TEST_F(ReportRecordsTest, BookEntriesOfOtherNodesAreTheirAddressesAndPhones) {
    TOutlineNode* f = Folder("Office", root);
    Address("Front Desk", f, {"9 Pine Ave"}, "Austin", "TX", "73301", "USA");
    Phone("Hotline", "555-0123", f);
    Child(kEMailKind, "Mail", "desk@example.org", f);
    TPersonObject* ann = Person("Ann", f, "Ann", "", "Lee");
    Phone("Cell", "555-0100", ann->Node()); // a person's own points are not entries

    const std::vector<AddrBookRecord> book = AllBook(f);
    ASSERT_EQ(book.size(), 3u);
    EXPECT_EQ(book[0].name, "Front Desk");
    EXPECT_EQ(book[0].phone, "");
    EXPECT_EQ(book[0].address, (Lines{"9 Pine Ave", "Austin, TX", "73301 USA"}));
    EXPECT_EQ(book[0].AddressBandHeight(), 89);
    EXPECT_EQ(book[1].name, "Hotline");
    EXPECT_EQ(book[1].phone, "555-0123");
    EXPECT_TRUE(book[1].address.empty()) << "a phone has no address band";
    EXPECT_EQ(book[1].AddressBandHeight(), 0);
    EXPECT_EQ(book[2].name, "Lee, Ann ");
    EXPECT_EQ(book[2].phone, "") << "no primary phone named";
}

TEST_F(ReportRecordsTest, BookAddressLinesLeaveOutAnEmptyCityButKeepThePostalLine) {
    TOrgObject* org = Org("Acme", root);
    Address("HQ", org->Node(), {"", "PO Box 7"}, "", "", "", "Canada");
    Phone("Main", "555-0000", org->Node());
    org->SetPrimaryAddress("HQ");
    org->SetPrimaryPhone("Main");
    TOrgObject* bare = Org("Bare", root);

    const std::vector<AddrBookRecord> book = AllBook(root);
    ASSERT_EQ(book.size(), 2u);
    EXPECT_EQ(book[0].address, (Lines{"PO Box 7", " Canada"}));
    EXPECT_EQ(book[0].phone, "555-0000");
    EXPECT_EQ(book[1].name, "Bare");
    EXPECT_TRUE(book[1].address.empty()) << "no address fields: no address band";
    EXPECT_EQ(book[1].AddressBandHeight(), 0);
    (void)bare;
}

TEST_F(ReportRecordsTest, BookKeyOfAPersonWithoutNamePartsIsItsTitle) {
    TPersonObject* p = Person("Just A Title", root);
    EXPECT_EQ(PersonBookKey(*p), "Just A Title");
    TPersonObject* q = Person("Q", root, "", "", "Ng");
    EXPECT_EQ(PersonBookKey(*q), "Ng,  ");
}

TEST_F(ReportRecordsTest, BookInitializeTakesARangeOfNodes) {
    TOutlineNode* f = Folder("F", root);
    Org("One", f);
    Org("Two", f);
    Org("Three", f);
    const std::vector<TOutlineNode*> nodes = CoveredNodes(f);
    ASSERT_EQ(nodes.size(), 4u);
    TAddrBookRecords records;
    records.Initialize(nodes, 2, 4, {});
    ASSERT_EQ(records.Entries().size(), 2u);
    EXPECT_EQ(records.Entries()[0].key, "Three");
    EXPECT_EQ(records.Entries()[1].key, "Two");
    records.Initialize(nodes, 3, 99, {});
    EXPECT_EQ(records.Entries().size(), 1u);
}

TEST(ReportSettingsTest, BoxesReadTheirDigitsAndPagesFollowTheSettings) {
    EXPECT_EQ(BoxDigits("0.5 "), 5);
    EXPECT_EQ(BoxDigits("2.63 "), 263);
    EXPECT_EQ(BoxDigits("_.__ "), 0);
    EXPECT_EQ(BoxDigits(""), 0);
    EXPECT_EQ(PaddedDigits(50, 3), "050");
    EXPECT_EQ(PaddedDigits(0, 3), "000");
    EXPECT_EQ(PaddedDigits(1100, 3), "1100");

    ListingSettings list;
    list.topTenths = 7;
    list.bottomTenths = 3;
    list.leftTenths = 2;
    list.landscape = true;
    const ReportPage lp = ListingPage(list);
    EXPECT_EQ(lp.pageHeaderHeight, 70);
    EXPECT_EQ(lp.pageFooterHeight, 30);
    EXPECT_EQ(lp.leftMarginTenths, 2);
    EXPECT_TRUE(lp.landscape);
    EXPECT_EQ(lp.columns, 1);

    BookSettings book;
    book.columns = 9;
    const ReportPage bp = BookPage(book);
    EXPECT_EQ(bp.columns, 4);
    EXPECT_EQ(bp.gutterTenths, 10);
    EXPECT_EQ(bp.pageHeaderHeight, 50);
}

} // namespace
} // namespace quill
