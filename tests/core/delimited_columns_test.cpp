// Delimited text as spreadsheets and address books write it: quoted line breaks (RFC 4180),
// skipped columns, and a first line of column names mapped to fields, with the layouts of
// Google Contacts, Outlook and Thunderbird exports.

#include "core/exchange/column_map.h"
#include "core/exchange/delimited_text.h"
#include "core/exchange/record_types.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "interop_support.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <fstream>

namespace quill {
namespace {

class DelimitedColumnsTest : public ::testing::Test {
protected:
    test::FakeServices services;
    test::TempDir dir;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();
    TImportReport report;

    FileResult Import(std::string_view text, DelimitedImportOptions options,
                      const TRecordType& type = *RecordTypeOfKind(kPersonKind)) {
        const std::string path = dir.File("in.csv");
        std::ofstream(path, std::ios::binary).write(text.data(), std::streamsize(text.size()));
        return ImportDelimitedText(path, root, type, options, &report);
    }
    static DelimitedImportOptions ByHeader(char separator = ',') {
        DelimitedImportOptions options;
        options.separator = separator;
        options.firstLineHasNames = true;
        return options;
    }
    const TPersonObject* PersonAt(std::size_t i) {
        EXPECT_LT(i, root->ChildCount());
        return i < root->ChildCount() ? dynamic_cast<const TPersonObject*>(root->ChildAt(i)->Item())
                                      : nullptr;
    }
};

TEST(DelimitedRecordTest, OpenQuotesContinueTheRecord) {
    EXPECT_FALSE(EndsInOpenQuote("a,\"b,c\",d", ','));
    EXPECT_TRUE(EndsInOpenQuote("a,\"b", ','));
    EXPECT_TRUE(EndsInOpenQuote("a,\"say \"\"hi\"\"", ','));
    EXPECT_FALSE(EndsInOpenQuote("a,\"say \"\"hi\"\"\"", ','));
    EXPECT_FALSE(EndsInOpenQuote("a,b\"c", ',')) << "a quote inside a value opens nothing";
    EXPECT_TRUE(EndsInOpenQuote("x\t\"a,b", '\t'));
}

// A record read line by line: a quote that closes at the start of a line, doubled quotes in
// a continued value, a value opened again on the closing line, and a quote still open at the
// end of the file, which takes the rest of the file.
TEST_F(DelimitedColumnsTest, QuotesAcrossManyLinesCloseWhereTheyClose) {
    DelimitedImportOptions options;
    options.fields = {"First Name", "Address Line 1", "Last Name", "Comment"};
    ASSERT_TRUE(Import("Ann,\"one\n"
                       "\"\"two\"\" three\n"
                       "\",Lee,\"c1\n"
                       "c2\"\n"
                       "Bo,,Roe,\"never closed\n"
                       "still\n",
                       options));
    ASSERT_EQ(root->ChildCount(), 2u);
    const TPersonObject* ann = PersonAt(0);
    const TPersonObject* bo = PersonAt(1);
    ASSERT_NE(ann, nullptr);
    ASSERT_NE(bo, nullptr);
    EXPECT_EQ(ann->Target(), "Ann Lee");
    EXPECT_EQ(ann->Comment(), "c1 c2");
    const auto* address = dynamic_cast<const TAddressObject*>(ann->PrimaryContact(kAddressKind));
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(address->Line(0), "one");
    EXPECT_EQ(address->Line(1), "\"two\" three");
    EXPECT_EQ(bo->Target(), "Bo Roe");
    EXPECT_EQ(bo->Comment(), "never closed still");
    EXPECT_EQ(report.records, 2u);
}

// A line of thousands of separators costs what its columns up to the limit cost: the rest
// is looked at for the report only.
TEST_F(DelimitedColumnsTest, ColumnsPastTheLimitCountOnceInTheReport) {
    DelimitedImportOptions options;
    options.fields = {"First Name", "Last Name"};
    std::string line = "Ann,Lee";
    for (int i = 3; i <= 5000; ++i) {
        line += i == 4096 || i == 4097 || i == 5000 ? ",x" : ",";
    }
    ASSERT_TRUE(Import(line + "\n" + std::string(100000, ',') + "\nBo,Roe\n", options));
    ASSERT_EQ(root->ChildCount(), 2u) << "the line of separators alone makes nothing";
    const TPersonObject* ann = PersonAt(0);
    ASSERT_NE(ann, nullptr);
    EXPECT_EQ(ann->Target(), "Ann Lee");
    EXPECT_EQ(report.records, 3u);
    EXPECT_EQ(report.notKept.at("column 4096"), 1u);
    EXPECT_EQ(report.notKept.at("columns after 4096"), 1u);
    EXPECT_EQ(report.notKept.size(), 2u);
}

TEST_F(DelimitedColumnsTest, QuotedLineBreaksAndSkippedColumns) {
    DelimitedImportOptions options;
    options.fields = {"First Name",     "",     "Last Name", "(Ignore)",
                      "Address Line 1", "City", "Comment"};
    ASSERT_TRUE(Import("Ann,x,Lee,y,\"1 Main St\r\nFlat 2\",Springfield,\"said \"\"hi\"\",\r\n"
                       "twice\"\r\n"
                       "Bo,,Roe,,,,\r\n",
                       options));
    ASSERT_EQ(root->ChildCount(), 2u) << "the line breaks inside quotes split no record";
    const TPersonObject* ann = PersonAt(0);
    ASSERT_NE(ann, nullptr);
    EXPECT_EQ(ann->Target(), "Ann Lee") << "the skipped columns went nowhere";
    EXPECT_EQ(ann->Comment(), "said \"hi\", twice");
    const auto* address = dynamic_cast<const TAddressObject*>(ann->PrimaryContact(kAddressKind));
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(address->Line(0), "1 Main St") << "a street's lines fill the address lines";
    EXPECT_EQ(address->Line(1), "Flat 2");
    EXPECT_EQ(address->City(), "Springfield");
    EXPECT_EQ(report.records, 2u);
    EXPECT_EQ(report.notKept.at("column 2"), 1u);
    EXPECT_EQ(report.notKept.at("column 4"), 1u);
}

// Fields chosen by hand for a file whose first line names its columns (as Thunderbird's tab
// export does): what went nowhere is reported under the file's own column names.
TEST_F(DelimitedColumnsTest, HandChosenFieldsReportLeftColumnsByTheirNames) {
    DelimitedImportOptions options = ByHeader('\t');
    options.fields = {"First Name", "Last Name", "(Ignore)"};
    ASSERT_TRUE(Import("First Name\tLast Name\tNickname\tJob Title\t\r\n"
                       "Ann\tLee\tAnnie\tworker\tx\r\n",
                       options));
    ASSERT_EQ(root->ChildCount(), 1u);
    EXPECT_EQ(report.notKept.at("Nickname"), 1u);
    EXPECT_EQ(report.notKept.at("Job Title"), 1u);
    EXPECT_EQ(report.notKept.at("column 5"), 1u) << "a column without a name keeps its number";
    EXPECT_EQ(report.notKept.size(), 3u);
}

TEST_F(DelimitedColumnsTest, OwnHeaderMapsByNameInAnyOrder) {
    ASSERT_TRUE(Import("\"Last Name\",Notes,\"First Name\",\"E-Mail Address\",Shoe Size\r\n"
                       "Lee,likes tea,Ann,ann@example.org,38\r\n",
                       ByHeader()));
    ASSERT_EQ(root->ChildCount(), 1u) << "the names line is no person";
    const TPersonObject* ann = PersonAt(0);
    ASSERT_NE(ann, nullptr);
    EXPECT_EQ(ann->Title(), "Ann Lee");
    EXPECT_EQ(ann->Comment(), "likes tea");
    ASSERT_NE(ann->PrimaryContact(kEMailKind), nullptr);
    EXPECT_EQ(ann->PrimaryContact(kEMailKind)->Target(), "ann@example.org");
    EXPECT_EQ(report.notKept.at("Shoe Size"), 1u);
}

TEST_F(DelimitedColumnsTest, GoogleContactsLayout) {
    // The columns of Google's export (2024), a fax told by its label, a second address.
    ASSERT_TRUE(Import(
        "First Name,Middle Name,Last Name,Name Prefix,Name Suffix,Nickname,File As,"
        "Organization Name,Organization Title,Birthday,Notes,Labels,E-mail 1 - Label,"
        "E-mail 1 - Value,E-mail 2 - Label,E-mail 2 - Value,Phone 1 - Label,Phone 1 - Value,"
        "Phone 2 - Label,Phone 2 - Value,Address 1 - Label,Address 1 - Formatted,"
        "Address 1 - Street,Address 1 - City,Address 1 - PO Box,Address 1 - Region,"
        "Address 1 - Postal Code,Address 1 - Country,Website 1 - Label,Website 1 - Value\r\n"
        "Ann,M,Lee,Dr.,,,,Acme,CEO,,\"two\nlines\",* myContacts,* Home,ann@example.org,Work,"
        "ann@acme.example,Work Fax,+1 555 0101,Mobile,+1 555 0100,Home,\"1 Main St\nSpringfield\","
        "\"1 Main St\nFlat 2\",Springfield,,IL,62701,US,,http://ann.example\r\n",
        ByHeader()));
    const TPersonObject* ann = PersonAt(0);
    ASSERT_NE(ann, nullptr);
    EXPECT_EQ(ann->Salutation(), "Dr.");
    EXPECT_EQ(ann->MiddleName(), "M");
    EXPECT_EQ(ann->Comment(), "two lines");
    ASSERT_NE(ann->PrimaryContact(kPhoneKind), nullptr);
    EXPECT_EQ(ann->PrimaryContact(kPhoneKind)->Target(), "+1 555 0100") << "not the fax";
    ASSERT_NE(ann->PrimaryContact(kFaxKind), nullptr);
    EXPECT_EQ(ann->PrimaryContact(kFaxKind)->Target(), "+1 555 0101");
    ASSERT_NE(ann->PrimaryContact(kEMailKind), nullptr);
    EXPECT_EQ(ann->PrimaryContact(kEMailKind)->Target(), "ann@example.org");
    const auto* address = dynamic_cast<const TAddressObject*>(ann->PrimaryContact(kAddressKind));
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(address->Line(1), "Flat 2");
    EXPECT_EQ(address->State(), "IL");
    EXPECT_EQ(address->Country(), "US");
    ASSERT_NE(ann->PrimaryContact(kWebsiteKind), nullptr);
    EXPECT_EQ(report.notKept.at("Organization Title"), 1u);
    EXPECT_EQ(report.notKept.at("E-mail 2 - Value"), 1u) << "one e-mail column per person";
    EXPECT_EQ(report.notKept.count("E-mail 1 - Label"), 0u) << "its value was taken";
}

TEST_F(DelimitedColumnsTest, OutlookLayoutTitleIsTheFormOfAddress) {
    ASSERT_TRUE(Import("Title,First Name,Middle Name,Last Name,Suffix,Company,Business Street,"
                       "Business City,Business State,Business Postal Code,"
                       "Business Country/Region,Home Street,Home City,Business Fax,"
                       "Business Phone,Home Phone,Mobile Phone,E-mail Address,"
                       "E-mail Display Name,Web Page,Notes\r\n"
                       "Mr.,Bo,,Roe,,Acme,,,,,,9 Elm Rd,Oakham,555 9,,555 2,555 3,"
                       "bo@example.org,Bo Roe (bo@example.org),,\r\n",
                       ByHeader()));
    const TPersonObject* bo = PersonAt(0);
    ASSERT_NE(bo, nullptr);
    EXPECT_EQ(bo->Salutation(), "Mr.");
    EXPECT_EQ(bo->Title(), "Bo Roe");
    const auto* address = dynamic_cast<const TAddressObject*>(bo->PrimaryContact(kAddressKind));
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(address->Line(0), "9 Elm Rd") << "the home address, the business one is empty";
    EXPECT_EQ(address->City(), "Oakham");
    ASSERT_NE(bo->PrimaryContact(kPhoneKind), nullptr);
    EXPECT_EQ(bo->PrimaryContact(kPhoneKind)->Target(), "555 2") << "the first that has one";
    ASSERT_NE(bo->PrimaryContact(kFaxKind), nullptr);
    EXPECT_EQ(report.notKept.at("Mobile Phone"), 1u);
}

TEST_F(DelimitedColumnsTest, ThunderbirdLayoutAndColumnsOfOtherRecordTypes) {
    ASSERT_TRUE(Import("First Name\tLast Name\tDisplay Name\tPrimary Email\tWork Phone\t"
                       "Home Address\tHome City\tWork Address\tWork City\tWeb Page 1\n"
                       "Cy\tKim\tCy K.\tcy@example.org\t555 1\t\t\t1 Work Way\tWorkton\t\n",
                       ByHeader('\t')));
    const TPersonObject* cy = PersonAt(0);
    ASSERT_NE(cy, nullptr);
    EXPECT_EQ(cy->Title(), "Cy K.");
    const auto* address = dynamic_cast<const TAddressObject*>(cy->PrimaryContact(kAddressKind));
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(address->Line(0), "1 Work Way");
    EXPECT_EQ(address->City(), "Workton") << "street and city of one address";

    // The same columns for the phone record type: only what a phone holds.
    const TColumnMap phones({"Display Name", "Work Phone", "Extension", "Notes"},
                            *RecordTypeOfKind(kPhoneKind));
    EXPECT_EQ(phones.Fields(),
              (std::vector<std::string>{"Title", "Phone Number", "Extension", "Comment"}));
    const TColumnMap nothing({"Shoe Size", ""}, *RecordTypeOfKind(kPersonKind));
    EXPECT_FALSE(nothing.MapsAnything());
    EXPECT_EQ(nothing.Unmapped(), std::vector<std::string>{"Shoe Size"});
    EXPECT_FALSE(Import("Shoe Size\r\n38\r\n", ByHeader()).ok) << "a header that maps nothing";
}

TEST(DelimitedCorpusTest, ExportsOfOtherAddressBooksImportByTheirHeader) {
    const std::optional<std::filesystem::path> corpus = test::InteropCorpus();
    if (!corpus) {
        GTEST_SKIP() << "the folder of other programs' files (interop-corpus) is not here";
    }
    test::FakeServices services;
    struct Case {
        std::string file;
        char separator;
    };
    for (const Case& c : {Case{"csv/google_contacts_export_subset.csv", ','},
                          Case{"csv/thunderbird_export.csv", ','},
                          Case{"csv/thunderbird_basic_csv_addressbook.csv", ','},
                          Case{"tsv/thunderbird_export.txt", '\t'}}) {
        const std::string path = (*corpus / c.file).string();
        TOutline outline;
        TOutlineNode* root = outline.CreateRoot();
        DelimitedImportOptions options;
        options.separator = c.separator;
        options.firstLineHasNames = true;
        TImportReport report;
        ASSERT_TRUE(
            ImportDelimitedText(path, root, *RecordTypeOfKind(kPersonKind), options, &report))
            << path;
        EXPECT_GT(report.records, 1u) << path;
        EXPECT_EQ(root->ChildCount(), report.items[kPersonKind]) << path;
        EXPECT_GE(root->ChildCount() + 1, report.records) << path << ": every named record";
        std::size_t reached = 0;
        for (std::size_t i = 0; i < root->ChildCount(); ++i) {
            const auto* person = dynamic_cast<const TPersonObject*>(root->ChildAt(i)->Item());
            ASSERT_NE(person, nullptr);
            EXPECT_NE(person->Title(), "New") << path;
            reached += person->PrimaryContact(kPhoneKind) || person->PrimaryContact(kEMailKind);
        }
        EXPECT_GT(reached, 0u) << path << ": phones and e-mail addresses come along";
    }
}

} // namespace
} // namespace quill
