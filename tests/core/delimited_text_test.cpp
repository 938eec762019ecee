// Delimited text: splitting lines, reading records into items, writing a subtree as CSV, and
// a round trip through both.

#include "core/exchange/delimited_text.h"
#include "core/exchange/record_types.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "core/util/atomic_file.h"
#include "core/util/work_progress.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace quill {
namespace {

using Fields = std::vector<std::string>;

TEST(DelimitedSplitTest, QuotesHoldSeparatorsAndDoubledQuotes) {
    EXPECT_EQ(SplitDelimitedLine(R"("Lee, Ann",555)", ','), (Fields{"Lee, Ann", "555"}));
    EXPECT_EQ(SplitDelimitedLine(R"("say ""hi""",x)", ','), (Fields{R"(say "hi")", "x"}));
    EXPECT_EQ(SplitDelimitedLine(R"("""",)", ','), (Fields{R"(")", ""}));
    // Blanks stay; a quote inside an unquoted value is an ordinary character.
    EXPECT_EQ(SplitDelimitedLine(R"( a b ,5" disk, "x")", ','),
              (Fields{" a b ", R"(5" disk)", R"( "x")"}));
    // Text behind a closing quote is kept; an unclosed quote runs to the end.
    EXPECT_EQ(SplitDelimitedLine(R"("ab"c,d)", ','), (Fields{"abc", "d"}));
    EXPECT_EQ(SplitDelimitedLine(R"(x,"open, still)", ','), (Fields{"x", "open, still"}));
}

TEST(DelimitedSplitTest, EmptyValuesAndLines) {
    EXPECT_TRUE(SplitDelimitedLine("", ',').empty());
    EXPECT_EQ(SplitDelimitedLine(",", ','), (Fields{"", ""}));
    EXPECT_EQ(SplitDelimitedLine("a,,b,", ','), (Fields{"a", "", "b", ""}));
    EXPECT_EQ(SplitDelimitedLine(R"("",x)", ','), (Fields{"", "x"}));
}

TEST(DelimitedSplitTest, TabSeparatedKeepsCommasInValues) {
    EXPECT_EQ(SplitDelimitedLine("Smith, J\t555", '\t'), (Fields{"Smith, J", "555"}));
    EXPECT_EQ(SplitDelimitedLine("\"a\tb\"\t\t", '\t'), (Fields{"a\tb", "", ""}));
}

TEST(DelimitedSplitTest, ReusedValuesAreReplacedWhole) {
    Fields values;
    SplitDelimitedLine("one,two,three", ',', values);
    SplitDelimitedLine("\"x\"", ',', values);
    EXPECT_EQ(values, (Fields{"x"}));
}

TEST(DelimitedSplitTest, ValuesPastTheLimitAreOnlyCounted) {
    Fields values;
    EXPECT_EQ(SplitDelimitedLine("a,\"b,c\",,\"\",d,\"\"\"\",", ',', values, 2), 2u)
        << "of the values after the second, \"d\" and the quote hold text";
    EXPECT_EQ(values, (Fields{"a", "b,c"}));
    EXPECT_EQ(SplitDelimitedLine("a,b", ',', values, 0), 2u);
    EXPECT_TRUE(values.empty());
}

TEST(DelimitedSplitTest, ExportedColumnsReadBackAsWritten) {
    const Fields values{"", "plain", "a, b", R"(He said "no")", R"("")", " pad ", "tab\there"};
    std::string line;
    for (const std::string& value : values) {
        AppendCSVColumn(line, value);
    }
    line.pop_back();
    EXPECT_EQ(SplitDelimitedLine(line, ','), values);
    EXPECT_EQ(CSVColumn(R"(5" disk)"), R"("5"" disk",)");
}

class DelimitedTextTest : public ::testing::Test {
protected:
    test::FakeServices services;
    test::TempDir dir;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();
    TOutlineNode* folder = CreateItem(kFolderKind, "Import", "", "", 1, "", root)->Node();

    std::string WriteFile(std::string_view bytes, const std::string& name = "in.csv") {
        const std::string path = dir.File(name);
        std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
        return path;
    }
    FileResult Import(int kind, const Fields& fields, std::string_view text, char sep = ',') {
        return ImportDelimitedText(WriteFile(text), folder, *RecordTypeOfKind(kind), fields, sep);
    }
    template <typename T = TNRBObject> T* NodeItem(std::size_t row) const {
        TOutlineNode* node = folder->ChildAt(row);
        return node ? dynamic_cast<T*>(node->Item()) : nullptr;
    }
    template <typename T = TNRBObject> T* ListItem(std::size_t i) const {
        return dynamic_cast<T*>(folder->Item()->ChildAt(i));
    }
    std::string Export(const TOutlineNode& node, int kind, const Fields& fields, bool names = false,
                       const HiddenItemTest& hidden = {}) {
        const std::string path = dir.File("out.csv");
        const FileResult result =
            WriteCSVSubtree(node, path, *RecordTypeOfKind(kind), fields, names, hidden);
        EXPECT_TRUE(result.ok) << result.message;
        return ReadWholeFile(path).value_or("<unreadable>");
    }
    TPersonObject* Person(TOutlineNode* parent, std::string_view first, std::string_view last) {
        auto* p = static_cast<TPersonObject*>(CreateItem(
            kPersonKind, std::string(first) + " " + std::string(last), "", "", 1, "", parent));
        p->SetFirstName(first);
        p->SetLastName(last);
        return p;
    }
};

TEST_F(DelimitedTextTest, PersonTitleComesFromTitleOrTheName) {
    ASSERT_TRUE(Import(kPersonKind, {"First Name", "Last Name"}, "Ann,Lee\r\n"));
    ASSERT_EQ(folder->ChildCount(), 1u);
    auto* ann = NodeItem<TPersonObject>(0);
    ASSERT_NE(ann, nullptr);
    EXPECT_EQ(ann->Title(), "New") << "Title not chosen";
    EXPECT_EQ(ann->Target(), "Ann Lee");
    EXPECT_EQ(ann->FirstName(), "Ann");
    EXPECT_EQ(ann->Node()->Text(), "New");

    outline.DeleteChildrenOf(folder);
    ASSERT_TRUE(Import(kPersonKind, {"Title", "First Name", "Last Name"}, ",Ann,Lee\r\n"));
    ann = NodeItem<TPersonObject>(0);
    ASSERT_NE(ann, nullptr);
    EXPECT_EQ(ann->Title(), "Ann Lee");
    EXPECT_EQ(ann->Node()->Text(), "Ann Lee") << "the caption follows the title";
}

TEST_F(DelimitedTextTest, AFieldChosenTwiceTakesItsFirstColumn) {
    ASSERT_TRUE(Import(kPhoneKind, {"Title", "Phone Number", "Title", "Comment", "Phone Number"},
                       "Home,555-0100,Work,kitchen,555-0199\r\n"));
    ASSERT_EQ(folder->Item()->ChildCount(), 1u);
    const TNRBObject* phone = ListItem(0);
    ASSERT_NE(phone, nullptr);
    EXPECT_EQ(phone->Title(), "Home");
    EXPECT_EQ(phone->Target(), "555-0100");
    EXPECT_EQ(phone->Comment(), "kitchen");
}

TEST_F(DelimitedTextTest, PersonLinesThatFailLeaveNothing) {
    // An empty line, a line without names and a line with only blanks between commas.
    ASSERT_TRUE(
        Import(kPersonKind, {"Title", "First Name", "Last Name"}, "\r\nBoss,,\r\nX\r\n,Bo,\r\n"));
    ASSERT_EQ(folder->ChildCount(), 1u);
    EXPECT_EQ(NodeItem(0)->Title(), "Bo ");
    EXPECT_EQ(folder->Item()->ChildCount(), 0u);
}

TEST_F(DelimitedTextTest, ValuesMatchFieldsByPosition) {
    // Extra values are ignored; a short line leaves the later fields absent.
    ASSERT_TRUE(Import(kPersonKind, {"Last Name", "First Name", "Comment"},
                       "\"Lee, Jr.\",Ann,met,extra,more\nKim,Bo\n"));
    ASSERT_EQ(folder->ChildCount(), 2u);
    // Both are titled "New"; the sort keeps file order.
    auto* lee = NodeItem<TPersonObject>(0);
    auto* kim = NodeItem<TPersonObject>(1);
    ASSERT_TRUE(lee && kim);
    EXPECT_EQ(lee->LastName(), "Lee, Jr.");
    EXPECT_EQ(lee->Target(), "Ann Lee, Jr.");
    EXPECT_EQ(lee->Comment(), "met");
    EXPECT_EQ(kim->Target(), "Bo Kim");
    EXPECT_EQ(kim->Comment(), "");
}

TEST_F(DelimitedTextTest, PersonGetsItsPrimaryContactPoints) {
    const Fields fields{"Title",   "First Name",   "Last Name",      "Address Line 1",
                        "City",    "Phone Number", "E-Mail Address", "Fax Number",
                        "Website", "Comment"};
    ASSERT_TRUE(Import(kPersonKind, fields,
                       "Ann,Ann,Lee,1 Main St,Springfield,555-1234,ann@example.org,,"
                       "http://ann.example.org,friend\r\n"));
    auto* ann = NodeItem<TPersonObject>(0);
    ASSERT_NE(ann, nullptr);
    EXPECT_EQ(ann->Comment(), "friend");
    ASSERT_EQ(ann->ChildCount(), 3u) << "no fax: its number is empty";
    auto* address = dynamic_cast<TAddressObject*>(ann->ChildAt(0));
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(address->Title(), "Primary Address");
    EXPECT_EQ(address->Target(), "1 Main St");
    EXPECT_EQ(address->City(), "Springfield");
    EXPECT_EQ(address->LineCount(), 3u);
    EXPECT_EQ(address->Comment(), "") << "the comment is the person's alone";
    EXPECT_EQ(address->Node(), ann->Node());
    EXPECT_EQ(ann->ChildAt(1)->Title(), "Primary Phone");
    EXPECT_EQ(ann->ChildAt(1)->Target(), "555-1234");
    EXPECT_EQ(ann->ChildAt(2)->Title(), "Primary EMail");
    ASSERT_EQ(ann->Node()->ChildCount(), 1u);
    TNRBObject* web = ann->Node()->ChildAt(0)->Item();
    EXPECT_EQ(web->Kind(), kWebsiteKind);
    EXPECT_EQ(web->Title(), "Primary Website");
    EXPECT_EQ(web->Node()->Text(), "Primary Website");

    EXPECT_EQ(ann->PrimaryAddress(), "Primary Address");
    EXPECT_EQ(ann->PrimaryPhone(), "Primary Phone");
    EXPECT_EQ(ann->PrimaryEMail(), "Primary EMail");
    EXPECT_EQ(ann->PrimaryWebsite(), "Primary Website");
    EXPECT_EQ(ann->PrimaryFax(), "");
    EXPECT_EQ(ann->PrimaryContact(kWebsiteKind), web);
}

TEST_F(DelimitedTextTest, ContactPointsAreTitledByRoleWithoutTitleColumn) {
    ASSERT_TRUE(Import(kPersonKind, {"First Name", "Last Name", "Phone Number"}, "Ann,Lee,555\n"));
    auto* ann = NodeItem<TPersonObject>(0);
    ASSERT_EQ(ann->ChildCount(), 1u);
    EXPECT_EQ(ann->Title(), "New");
    EXPECT_EQ(ann->ChildAt(0)->Title(), "Primary Phone");
    EXPECT_EQ(ann->PrimaryPhone(), "Primary Phone");
    EXPECT_EQ(ann->Node()->Text(), "New") << "the phone does not rename its holder";
}

TEST_F(DelimitedTextTest, OrganizationNeedsItsTitle) {
    ASSERT_TRUE(Import(kOrganizationKind, {"Phone Number"}, "555\n"));
    EXPECT_EQ(folder->ChildCount(), 0u);
    ASSERT_TRUE(Import(kOrganizationKind, {"Title", "Phone Number", "Comment"},
                       ",555\nAcme,556,supplier\nShort\n"));
    ASSERT_EQ(folder->ChildCount(), 2u);
    auto* acme = NodeItem<TOrgObject>(0);
    ASSERT_NE(acme, nullptr);
    EXPECT_EQ(acme->Title(), "Acme");
    EXPECT_EQ(acme->Comment(), "supplier");
    EXPECT_EQ(acme->PrimaryPhone(), "Primary Phone");
    ASSERT_EQ(acme->ChildCount(), 1u);
    EXPECT_EQ(acme->ChildAt(0)->Comment(), "");
    const TOrgObject* empty = NodeItem<TOrgObject>(1);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->ChildCount(), 0u);
}

TEST_F(DelimitedTextTest, ContactPointRecordsAndTheirRules) {
    // Phones without Title all fail.
    ASSERT_TRUE(Import(kPhoneKind, {"Phone Number", "Comment"}, "555,a\n556,b\n"));
    EXPECT_EQ(folder->Item()->ChildCount(), 0u);

    ASSERT_TRUE(Import(kPhoneKind, {"Title", "Phone Number", "Extension"}, "Home,555,12\n,1\n"));
    ASSERT_EQ(folder->Item()->ChildCount(), 1u);
    const TPhoneObject* phone = ListItem<TPhoneObject>(0);
    ASSERT_NE(phone, nullptr);
    EXPECT_EQ(phone->Extension(), "12");
    EXPECT_EQ(ListItem(0)->Node(), folder);

    // E-mail titled by the part before the at sign, or the whole address.
    ASSERT_TRUE(Import(kEMailKind, {"E-Mail Address"}, "ann@example.org\nlocal\n@x\n"));
    ASSERT_EQ(folder->Item()->ChildCount(), 3u);
    EXPECT_EQ(ListItem(1)->Title(), "ann");
    EXPECT_EQ(ListItem(1)->Target(), "ann@example.org");
    EXPECT_EQ(ListItem(2)->Title(), "local");

    ASSERT_TRUE(Import(kFaxKind, {"Title", "Fax Number"}, "Office,555\nOffice\n"));
    EXPECT_EQ(folder->Item()->ChildCount(), 4u);
}

TEST_F(DelimitedTextTest, WebsiteTitleFromTheUrlOnlyWhenItIsOne) {
    ASSERT_TRUE(Import(kWebsiteKind, {"Website"}, "http://example.org\nexample.org\n\n"));
    ASSERT_EQ(folder->ChildCount(), 2u);
    EXPECT_EQ(NodeItem(0)->Title(), "http://example.org");
    EXPECT_EQ(NodeItem(1)->Title(), "New");
    EXPECT_EQ(NodeItem(1)->Target(), "example.org");
    ASSERT_TRUE(Import(kWebsiteKind, {"Title", "Comment"}, "Site,c\n"));
    EXPECT_EQ(folder->ChildCount(), 2u) << "no Website column: nothing";
}

TEST_F(DelimitedTextTest, AddressLinesCloseUpAndPad) {
    ASSERT_TRUE(Import(kAddressKind, {"Address Line 1", "Address Line 3", "Country"},
                       "1 Main St,Flat 2,UK\n,x,UK\n"));
    ASSERT_EQ(folder->Item()->ChildCount(), 1u);
    auto* address = ListItem<TAddressObject>(0);
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(address->Title(), "New Address");
    EXPECT_EQ(address->Target(), "1 Main St");
    ASSERT_EQ(address->LineCount(), 3u);
    EXPECT_EQ(address->Line(1), "Flat 2") << "line 3 moves up without line 2";
    EXPECT_EQ(address->Line(2), "");
    EXPECT_EQ(address->Country(), "UK");
}

TEST_F(DelimitedTextTest, TabSeparatedFile) {
    ASSERT_TRUE(Import(kPhoneKind, {"Title", "Phone Number"}, "Smith, J\t555\n", '\t'));
    ASSERT_EQ(folder->Item()->ChildCount(), 1u);
    EXPECT_EQ(ListItem(0)->Title(), "Smith, J");
    EXPECT_EQ(ListItem(0)->Target(), "555");
}

TEST_F(DelimitedTextTest, ReadsUtf8AndWindows1252LinesAndEveryLineEnd) {
    ASSERT_TRUE(Import(kPhoneKind, {"Title", "Phone Number"},
                       "\xEF\xBB\xBFJos\xC3\xA9,1\rM\xFCller,2\r\nLast,3"));
    ASSERT_EQ(folder->Item()->ChildCount(), 3u);
    EXPECT_EQ(ListItem(0)->Title(), "José") << "byte order mark dropped";
    EXPECT_EQ(ListItem(1)->Title(), "Müller") << "read as Windows-1252";
    EXPECT_EQ(ListItem(2)->Target(), "3") << "a last line without its end";
}

TEST_F(DelimitedTextTest, ReadsUnicodeTextOfSpreadsheetsInUtf16) {
    // "Unicode text" as a spreadsheet saves it: UTF-16 little endian, with its mark, tabs.
    const std::u16string text =
        u"Jos\u00e9 M\u00fcller\t+49 30 1234\r\n\u5f20\u4f1f\t\U0001F4DE 1\r\n";
    std::string little = "\xFF\xFE", big = "\xFE\xFF";
    for (const char16_t unit : text) {
        little += static_cast<char>(unit & 0xFF);
        little += static_cast<char>(unit >> 8);
        big += static_cast<char>(unit >> 8);
        big += static_cast<char>(unit & 0xFF);
    }
    for (const std::string& bytes : {little, big}) {
        const std::size_t before = folder->Item()->ChildCount();
        ASSERT_TRUE(Import(kPhoneKind, {"Title", "Phone Number"}, bytes, '\t'));
        ASSERT_EQ(folder->Item()->ChildCount(), before + 2);
        EXPECT_EQ(ListItem(before)->Title(), "José Müller");
        EXPECT_EQ(ListItem(before)->Target(), "+49 30 1234");
        EXPECT_EQ(ListItem(before + 1)->Title(), "\xE5\xBC\xA0\xE4\xBC\x9F");
        EXPECT_EQ(ListItem(before + 1)->Target(), "\xF0\x9F\x93\x9E 1");
    }
}

TEST_F(DelimitedTextTest, NamesLineOfAnExportIsNotARecord) {
    const Fields fields{"Title", "Phone Number"};
    ASSERT_TRUE(
        Import(kPhoneKind, fields, "Title,\"Phone Number\"\nHome,555\nTitle,Phone Number\n"));
    ASSERT_EQ(folder->Item()->ChildCount(), 2u) << "only the first line is taken as names";
    EXPECT_EQ(ListItem(0)->Title(), "Home");
    // Names in another order are data.
    ASSERT_TRUE(Import(kPhoneKind, fields, "Phone Number,Title\n"));
    EXPECT_EQ(folder->Item()->ChildCount(), 3u);
}

TEST_F(DelimitedTextTest, MissingFileIsNoErrorUnreadableFileIs) {
    const TRecordType& type = *RecordTypeOfKind(kPersonKind);
    EXPECT_TRUE(ImportDelimitedText(dir.File("none.csv"), folder, type, {"Title"}, ','));
    const FileResult result =
        ImportDelimitedText(dir.path().string(), folder, type, {"Title"}, ',');
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find(dir.path().string()), std::string::npos);
    EXPECT_EQ(folder->ChildCount(), 0u);
}

TEST_F(DelimitedTextTest, ImportedNodesAreSortedAndAnnouncedInOneBracket) {
    struct Counter : IOutlineObserver {
        int suspended = 0, resumed = 0, sorted = 0;
        void UpdatesSuspended() override { ++suspended; }
        void UpdatesResumed() override { ++resumed; }
        void ChildrenSorted(TOutlineNode*) override { ++sorted; }
    } counter;
    outline.AddObserver(&counter);
    ASSERT_TRUE(Import(kPersonKind, {"Title", "First Name"}, "Zoe,Zoe\nadam,Adam\nMia,Mia\n"));
    outline.RemoveObserver(&counter);
    ASSERT_EQ(folder->ChildCount(), 3u);
    EXPECT_EQ(NodeItem(0)->Title(), "adam");
    EXPECT_EQ(NodeItem(2)->Title(), "Zoe");
    EXPECT_EQ(counter.suspended, 1);
    EXPECT_EQ(counter.resumed, 1);
    EXPECT_LE(counter.sorted, 1);
}

TEST_F(DelimitedTextTest, HeaderLineQuotesNamesThatNeedIt) {
    EXPECT_EQ(CSVHeaderLine({"Title", "Salutation", "First Name", "State/Province"}),
              R"(Title,Salutation,"First Name",State/Province)");
    EXPECT_EQ(CSVHeaderLine({"a,b", R"(q"x)"}), R"("a,b","q""x")");
    Person(folder, "Ann", "Lee");
    EXPECT_EQ(Export(*folder, kPersonKind, {"First Name", "Last Name"}, true),
              "\"First Name\",\"Last Name\"\r\n\"Ann\",\"Lee\"\r\n");
    EXPECT_EQ(Export(*folder, kPersonKind, {"First Name", "Last Name"}, false),
              "\"Ann\",\"Lee\"\r\n");
}

TEST_F(DelimitedTextTest, ExportQuotesEveryValueAndDoublesInnerQuotes) {
    TPersonObject* ann = Person(folder, "Ann", "Lee");
    ann->SetComment(R"(says "hi", often)");
    EXPECT_EQ(Export(*folder, kPersonKind, {"Title", "Comment"}),
              "\"Ann Lee\",\"says \"\"hi\"\", often\"\r\n");
}

TEST_F(DelimitedTextTest, ExportTakesPrimaryContactPointsAndLeavesEmptyColumns) {
    TPersonObject* ann = Person(folder, "Ann", "Lee");
    CreateItem(kPhoneKind, "Work", "555", "", 1, "{Phon}12", ann->Node());
    CreateItem(kPhoneKind, "Home", "556", "", 1, "", ann->Node());
    ann->SetPrimaryPhone("Home");
    ann->SetPrimaryFax("Gone"); // names no fax
    EXPECT_EQ(Export(*folder, kPersonKind, {"Last Name", "Fax Number", "Phone Number", "City"}),
              "\"Lee\",,\"556\",\r\n");
}

TEST_F(DelimitedTextTest, ContactPointExportFindsThemInEveryHolder) {
    for (const char* name : {"Ann", "Bob"}) {
        TPersonObject* p = Person(folder, name, "Lee");
        CreateItem(kPhoneKind, std::string(name) + " 1", "1", "", 1, "{Phon}7", p->Node());
        CreateItem(kEMailKind, "mail", "m@x", "", 1, "", p->Node());
        CreateItem(kPhoneKind, std::string(name) + " 2", "2", "", 1, "", p->Node());
    }
    EXPECT_EQ(Export(*folder, kPhoneKind, {"Title", "Phone Number", "Extension"}),
              "\"Ann 1\",\"1\",\"7\"\r\n\"Ann 2\",\"2\",\"\"\r\n"
              "\"Bob 1\",\"1\",\"7\"\r\n\"Bob 2\",\"2\",\"\"\r\n");
    // A field the kind does not know gives nothing, so a line of only such fields is none.
    EXPECT_EQ(Export(*folder, kPhoneKind, {"City"}), "");
    EXPECT_EQ(Export(*folder, kEMailKind, {"E-Mail Address", "City"}), "\"m@x\"\r\n\"m@x\"\r\n");
}

TEST_F(DelimitedTextTest, ExportSkipsHiddenItemsButNotWhatIsBelowThem) {
    TPersonObject* ann = Person(folder, "Ann", "Lee");
    CreateItem(kPhoneKind, "Ann's", "1", "", 1, "", ann->Node());
    TNRBObject* team = CreateItem(kTeamKind, "Team", "", "", 1, "", folder);
    CreateItem(kPhoneKind, "Team's", "2", "", 1, "", team->Node());
    TPersonObject* bob = Person(team->Node(), "Bob", "Kim");
    ann->SetCategories(1);
    team->SetCategories(1);
    const HiddenItemTest hidden = [](const TNRBObject& item) { return item.InCategory(1); };
    EXPECT_EQ(Export(*folder, kPersonKind, {"First Name"}, false, hidden), "\"Bob\"\r\n");
    EXPECT_EQ(Export(*folder, kPhoneKind, {"Title"}, false, hidden), "");
    EXPECT_EQ(Export(*team->Node(), kPhoneKind, {"Title"}), "\"Team's\"\r\n");
    bob->SetCategories(1);
    EXPECT_EQ(Export(*folder, kPersonKind, {"First Name"}, false, hidden), "");
}

// A listener stopping a large export part-way leaves the file that was there.
TEST_F(DelimitedTextTest, StoppedLargeExportKeepsTheOldFile) {
    for (int i = 0; i < 6000; ++i) {
        Person(folder, "F" + std::to_string(i), "L");
    }
    struct StopAtSecondReport : IWorkProgress {
        int reports = 0;
        bool Progress(std::uint64_t, std::uint64_t) override { return ++reports < 2; }
    } listener;
    const std::string path = dir.File("out.csv");
    WriteFile("old", "out.csv");
    {
        WorkProgressScope scope(listener);
        EXPECT_FALSE(
            WriteCSVSubtree(*folder, path, *RecordTypeOfKind(kPersonKind), {"Title"}, true).ok);
    }
    EXPECT_EQ(listener.reports, 2);
    EXPECT_EQ(ReadWholeFile(path).value_or(""), "old");
}

TEST_F(DelimitedTextTest, ExportFailureIsReported) {
    Person(folder, "Ann", "Lee");
    const FileResult result = WriteCSVSubtree(*folder, dir.File("no/such/dir/out.csv"),
                                              *RecordTypeOfKind(kPersonKind), {"Title"}, true);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.message.empty());
}

// What survives a round trip: the person's own fields and its primary contact points.
struct PersonImage {
    std::string title, salutation, first, middle, last, comment;
    std::vector<std::string> points; // kind, title, target and kind fields of each
    bool operator==(const PersonImage&) const = default;
};

PersonImage ImageOf(const TPersonObject& p) {
    PersonImage image{std::string(p.Title()),
                      std::string(p.Salutation()),
                      std::string(p.FirstName()),
                      std::string(p.MiddleName()),
                      std::string(p.LastName()),
                      std::string(p.Comment()),
                      {}};
    for (int kind : {kAddressKind, kPhoneKind, kFaxKind, kEMailKind, kWebsiteKind}) {
        const TNRBObject* point = p.PrimaryContact(kind);
        if (!point) {
            continue;
        }
        std::string text = std::to_string(kind) + "|" + std::string(point->Title()) + "|" +
                           std::string(point->Target());
        if (const auto* a = dynamic_cast<const TAddressObject*>(point)) {
            for (std::string_view line : a->Lines()) {
                text.append("|").append(line);
            }
            text.append("|").append(a->City()).append("|").append(a->State());
            text.append("|").append(a->PostCode()).append("|").append(a->Country());
        }
        image.points.push_back(text);
    }
    return image;
}

TEST_F(DelimitedTextTest, PersonsRoundTripThroughExportAndImport) {
    TPersonObject* ann = Person(folder, "Ann", "O\"Lee, Jr.");
    ann->SetSalutation("Dr.");
    ann->SetMiddleName("Marie");
    ann->SetComment("met at \"the fair\", 2019");
    auto* home = static_cast<TAddressObject*>(
        CreateItem(kAddressKind, "Primary Address", "1 Main St", "", 1,
                   "{Addr}1 Main St~~~~Flat 2~~Springfield~~Kent~~AB1 2CD~~UK", ann->Node()));
    ASSERT_EQ(home->Line(2), "Flat 2");
    CreateItem(kPhoneKind, "Primary Phone", "(555)123-4567", "", 1, "", ann->Node());
    CreateItem(kFaxKind, "Primary Fax", "555", "", 1, "", ann->Node());
    CreateItem(kEMailKind, "Primary EMail", "ann@example.org", "", 1, "", ann->Node());
    CreateItem(kWebsiteKind, "Primary Website", "https://ann.example.org", "", 1, "", ann->Node());
    ann->SetPrimaryAddress("Primary Address");
    ann->SetPrimaryPhone("Primary Phone");
    ann->SetPrimaryFax("Primary Fax");
    ann->SetPrimaryEMail("Primary EMail");
    ann->SetPrimaryWebsite("Primary Website");
    TPersonObject* bob = Person(folder, "Bob", "");
    CreateItem(kEMailKind, "Primary EMail", "bob@example.org", "", 1, "", bob->Node());
    bob->SetPrimaryEMail("Primary EMail");
    Person(folder, "", "Solo");
    TOutline::SortChildren(folder); // as the import leaves them

    const TRecordType& type = *RecordTypeOfKind(kPersonKind);
    const Fields fields(type.fields.begin(), type.fields.end());
    const std::string path = dir.File("persons.csv");
    ASSERT_TRUE(WriteCSVSubtree(*folder, path, type, fields, true));

    TOutline other;
    TOutlineNode* target = other.CreateRoot();
    ASSERT_TRUE(ImportDelimitedText(path, target, type, fields, ','));
    ASSERT_EQ(target->ChildCount(), folder->ChildCount());
    for (std::size_t i = 0; i < folder->ChildCount(); ++i) {
        const auto& before = static_cast<const TPersonObject&>(*folder->ChildAt(i)->Item());
        const auto& after = static_cast<const TPersonObject&>(*target->ChildAt(i)->Item());
        EXPECT_EQ(ImageOf(after), ImageOf(before)) << before.Title();
        EXPECT_EQ(after.ChildCount() + after.Node()->ChildCount(),
                  before.ChildCount() + before.Node()->ChildCount());
    }
}

} // namespace
} // namespace quill
