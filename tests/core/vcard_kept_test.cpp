// Cards from other programs keep what the outline can hold: notes, dates, every website,
// extensions, labels, the honorific suffix, the organization and the job title; what is not
// kept is reported. Written from the RFCs' examples and the layouts real address books write.
// Also the 3.0 and 4.0 writer's own rules, and round trips through it.

#include "core/exchange/vcard.h"
#include "core/exchange/vcard_dates.h"
#include "core/exchange/vcard_writer.h"
#include "core/model/attachment_objects.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "core/util/atomic_file.h"
#include "interop_support.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace quill {
namespace {

class AlwaysPerson final : public IVCardImportChoice {
public:
    bool ImportAsOrganization(std::string_view, std::string_view) override { return false; }
};

class VCardKeptTest : public ::testing::Test {
protected:
    test::FakeServices services; // today is 7 December 2026
    test::TempDir dir;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();
    AlwaysPerson choice;
    TImportReport report;

    void Import(std::string_view bytes) {
        const std::string path = dir.File("in.vcf");
        std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
        const FileResult result = ImportVCardFile(path, root, choice, &report);
        ASSERT_TRUE(result.ok) << result.message;
    }
    const TOutlineNode* Child(const TOutlineNode* node, std::string_view text) {
        for (std::size_t i = 0; i < node->ChildCount(); ++i) {
            if (node->ChildAt(i)->Text() == text) {
                return node->ChildAt(i);
            }
        }
        ADD_FAILURE() << "no node " << text;
        return nullptr;
    }
    template <typename T> const T* Point(const TNRBObject& holder, int kind, std::size_t nth) {
        for (std::size_t i = 0; i < holder.ChildCount(); ++i) {
            if (holder.ChildAt(i)->Kind() == kind && nth-- == 0) {
                return dynamic_cast<const T*>(holder.ChildAt(i));
            }
        }
        return nullptr;
    }
};

// RFC 6350, section 8.
constexpr std::string_view kRfc6350Example =
    "BEGIN:VCARD\r\n"
    "VERSION:4.0\r\n"
    "FN:Simon Perreault\r\n"
    "N:Perreault;Simon;;;ing. jr,M.Sc.\r\n"
    "BDAY:--0203\r\n"
    "ANNIVERSARY:20090808T1430-0500\r\n"
    "GENDER:M\r\n"
    "LANG;PREF=1:fr\r\n"
    "LANG;PREF=2:en\r\n"
    "ORG;TYPE=work:Viagenie\r\n"
    "ADR;TYPE=work:;Suite D2-630;2875 Laurier;\r\n"
    " Quebec;QC;G1V 2M2;Canada\r\n"
    "TEL;VALUE=uri;TYPE=\"work,voice\";PREF=1:tel:+1-418-656-9254;ext=102\r\n"
    "TEL;VALUE=uri;TYPE=\"work,cell,voice,video,text\":tel:+1-418-262-6501\r\n"
    "EMAIL;TYPE=work:simon.perreault@viagenie.ca\r\n"
    "GEO;TYPE=work:geo:46.772673,-71.282945\r\n"
    "KEY;TYPE=work;VALUE=uri:\r\n"
    " http://www.viagenie.ca/simon.perreault/simon.asc\r\n"
    "TZ:-0500\r\n"
    "URL;TYPE=home:http://nomis80.org\r\n"
    "END:VCARD\r\n";

TEST_F(VCardKeptTest, Rfc6350ExampleKeepsEverythingTheOutlineCanHold) {
    Import(kRfc6350Example);
    const TOutlineNode* viagenie = Child(root, "Viagenie");
    ASSERT_NE(viagenie, nullptr);
    EXPECT_EQ(viagenie->Item()->Kind(), kOrganizationKind) << "ORG files the person under it";
    const TOutlineNode* simonNode = Child(viagenie, "Simon Perreault");
    ASSERT_NE(simonNode, nullptr);
    const auto* simon = dynamic_cast<const TPersonObject*>(simonNode->Item());
    ASSERT_NE(simon, nullptr);
    EXPECT_EQ(simon->LastName(), "Perreault, ing. jr,M.Sc.") << "the honorific suffix";
    EXPECT_EQ(simon->FirstName(), "Simon");

    const auto* address = Point<TAddressObject>(*simon, kAddressKind, 0);
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(address->Title(), "Office");
    EXPECT_EQ(address->Target(), "Suite D2-630") << "the first line, not the empty box";
    EXPECT_EQ(address->Line(1), "2875 Laurier");
    EXPECT_EQ(address->City(), "Quebec");
    EXPECT_EQ(simon->PrimaryAddress(), "Office") << "the only address, without PREF";

    const auto* work = Point<TPhoneObject>(*simon, kPhoneKind, 0);
    ASSERT_NE(work, nullptr);
    EXPECT_EQ(work->Target(), "+1-418-656-9254");
    EXPECT_EQ(work->Extension(), "102");
    EXPECT_EQ(simon->PrimaryPhone(), work->Title());
    const auto* cell = Point<TPhoneObject>(*simon, kPhoneKind, 1);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->Title(), "Office,Voice Line,Cellular,Video Phone");

    const auto* birthday = Point<TReminderObject>(*simon, kReminderKind, 0);
    ASSERT_NE(birthday, nullptr);
    EXPECT_EQ(birthday->Title(), "Birthday");
    EXPECT_EQ(birthday->RecurringDate().RecurMode(), kRecurYearly);
    EXPECT_EQ(birthday->RecurringDate().Year(), 2027) << "the next 3 February after today";
    EXPECT_EQ(birthday->RecurringDate().Month(), 2);
    EXPECT_EQ(birthday->RecurringDate().Day(), 3);
    EXPECT_EQ(birthday->Comment(), "") << "the card gives no year";
    const auto* anniversary = Point<TReminderObject>(*simon, kReminderKind, 1);
    ASSERT_NE(anniversary, nullptr);
    EXPECT_EQ(anniversary->Title(), "Anniversary");
    EXPECT_EQ(anniversary->Comment(), "2009-08-08");

    ASSERT_EQ(simonNode->ChildCount(), 1u);
    EXPECT_EQ(simonNode->ChildAt(0)->Item()->Title(), "Home");
    EXPECT_EQ(simon->PrimaryWebsite(), "Home");

    EXPECT_EQ(report.records, 1u);
    EXPECT_EQ(report.items[kOrganizationKind], 1u);
    EXPECT_EQ(report.items[kReminderKind], 2u);
    EXPECT_EQ(report.notKept, (std::map<std::string, std::size_t, std::less<>>{
                                  {"GENDER", 1}, {"GEO", 1}, {"KEY", 1}, {"LANG", 2}, {"TZ", 1}}));
}

TEST_F(VCardKeptTest, AppleLabelsDatesAndJobTitle) {
    // As Apple's address book exports a card: grouped labels, its own and custom ones, a
    // birthday without its year, an anniversary as a labelled date, and no PREF at all.
    Import("BEGIN:VCARD\r\nVERSION:3.0\r\nPRODID:-//Apple Inc.//Mac OS X 10.15//EN\r\n"
           "N:Appleseed;Johnny;;;\r\nFN:Johnny Appleseed\r\nORG:Apple;\r\n"
           "TITLE:Sales Manager\r\nNOTE:Met at WWDC\\, twice\r\n"
           "item1.TEL;type=pref:+1 408 555 0100\r\nitem1.X-ABLabel:_$!<Mobile>!$_\r\n"
           "item2.TEL:+1 408 555 0101 x12\r\nitem2.X-ABLabel:Assistant\r\n"
           "EMAIL;type=INTERNET;type=WORK:j@apple.example\r\n"
           "EMAIL;type=INTERNET;type=HOME:j@home.example\r\n"
           "item3.URL:http://a.example\r\nitem3.X-ABLabel:_$!<HomePage>!$_\r\n"
           "URL:http://b.example\r\n"
           "BDAY;X-APPLE-OMIT-YEAR=1604:1604-03-14\r\n"
           "item4.X-ABDATE:1975-03-01\r\nitem4.X-ABLabel:_$!<Anniversary>!$_\r\n"
           "X-SOCIALPROFILE;type=twitter:x\r\nEND:VCARD\r\n");
    const TOutlineNode* apple = Child(root, "Apple");
    ASSERT_NE(apple, nullptr);
    const auto* johnny = dynamic_cast<const TPersonObject*>(apple->ChildAt(0)->Item());
    ASSERT_NE(johnny, nullptr);
    EXPECT_EQ(johnny->Comment(), "Sales Manager \xE2\x80\x94 Met at WWDC, twice");
    const auto* mobile = Point<TPhoneObject>(*johnny, kPhoneKind, 0);
    const auto* assistant = Point<TPhoneObject>(*johnny, kPhoneKind, 1);
    ASSERT_NE(mobile, nullptr);
    ASSERT_NE(assistant, nullptr);
    EXPECT_EQ(mobile->Title(), "Mobile");
    EXPECT_EQ(johnny->PrimaryPhone(), "Mobile");
    EXPECT_EQ(assistant->Title(), "Assistant");
    EXPECT_EQ(assistant->Target(), "+1 408 555 0101");
    EXPECT_EQ(assistant->Extension(), "12");
    EXPECT_EQ(johnny->PrimaryEMail(), "Office,Internet") << "no PREF: the first";
    ASSERT_EQ(apple->ChildAt(0)->ChildCount(), 2u);
    EXPECT_EQ(apple->ChildAt(0)->ChildAt(0)->Item()->Title(), "HomePage");
    EXPECT_EQ(apple->ChildAt(0)->ChildAt(1)->Item()->Title(), "Web URL 2");
    const auto* birthday = Point<TReminderObject>(*johnny, kReminderKind, 0);
    ASSERT_NE(birthday, nullptr);
    EXPECT_EQ(birthday->RecurringDate().Year(), 2027);
    EXPECT_EQ(birthday->Comment(), "") << "1604 stands for no year";
    const auto* anniversary = Point<TReminderObject>(*johnny, kReminderKind, 1);
    ASSERT_NE(anniversary, nullptr);
    EXPECT_EQ(anniversary->Comment(), "1975-03-01");
    EXPECT_EQ(report.notKept,
              (std::map<std::string, std::size_t, std::less<>>{{"X-SOCIALPROFILE", 1}}));
}

TEST_F(VCardKeptTest, CategoriesComeBackByTheirNames) {
    std::vector<std::string> names(32);
    names[0] = "Friends, old"; // written escaped, read back as two pieces in a row
    names[1] = "Work";
    const std::string path = dir.File("categories.vcf");
    std::ofstream(path, std::ios::binary)
        << "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann;;;\r\nFN:Ann Lee\r\n"
           "CATEGORIES:friends\\, old, WORK ,User Defined 3\r\nCATEGORIES:Golf,Work\r\n"
           "END:VCARD\r\n"
           "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Moe;Bob;;;\r\nFN:Bob Moe\r\n"
           "CATEGORIES:Work;User Defined 32\r\nEND:VCARD\r\n"
           "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Roe;Cy;;;\r\nFN:Cy Roe\r\n"
           "CATEGORIES:Friends\r\nEND:VCARD\r\n";
    ASSERT_TRUE(ImportVCardFile(path, root, choice, &report, names));
    ASSERT_EQ(root->ChildCount(), 3u);
    EXPECT_EQ(Child(root, "Ann Lee")->Item()->Categories(), 0b111);
    EXPECT_EQ(Child(root, "Bob Moe")->Item()->Categories(), static_cast<std::int32_t>(0x80000002u));
    EXPECT_EQ(Child(root, "Cy Roe")->Item()->Categories(), 0)
        << "a piece of a category's name is not the category";
    // Golf and the lone Friends name no category; the cards holding them say so.
    EXPECT_EQ(report.notKept, (std::map<std::string, std::size_t, std::less<>>{{"CATEGORIES", 2}}));
}

TEST_F(VCardKeptTest, WhichCardsTakeTitleAsTheCaption) {
    Import("begin:vcard\r\nVERSION:2.1\r\nPRODID:-//Quillmere//Quillmere//EN\r\n"
           "N:Lee;Ann\r\nFN:Ann Lee\r\nTITLE:Annie\r\nend:vcard\r\n"
           "begin:vcard\r\nN:Roe;Bo\r\nFN:Bo Roe\r\nTITLE:Bobby\r\nend:vcard\r\n"
           "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Kim;Cy\r\nFN:Cy Kim\r\nTITLE:Chief\r\nEND:VCARD\r\n"
           "BEGIN:VCARD\r\nVERSION:3.0\r\nN:;;;;\r\nFN:\r\nORG:Only Org Ltd\r\nEND:VCARD\r\n");
    ASSERT_EQ(root->ChildCount(), 4u);
    EXPECT_EQ(root->ChildAt(0)->Text(), "Annie") << "the program's own card";
    EXPECT_EQ(root->ChildAt(1)->Text(), "Bobby") << "an older copy's card, without VERSION";
    EXPECT_EQ(root->ChildAt(2)->Text(), "Cy Kim") << "another program's 2.1 card";
    EXPECT_EQ(root->ChildAt(2)->Item()->Comment(), "Chief") << "its TITLE is the job title";
    EXPECT_EQ(root->ChildAt(3)->Text(), "Only Org Ltd") << "a card with only ORG";
    EXPECT_EQ(root->ChildAt(3)->ChildCount(), 0u);
}

TEST_F(VCardKeptTest, Utf16FilesWithAByteOrderMark) {
    // A card in UTF-16, little and big endian: the smiley is the surrogate pair D83D DE00.
    std::u16string wide = u"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:J\u00FCrgen \U0001F600\r\n"
                          u"N:M\u00FCller;J\u00FCrgen;;;\r\nEND:VCARD\r\n";
    for (bool little : {true, false}) {
        std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
        for (char16_t unit : wide) {
            const char lo = static_cast<char>(unit & 0xFF);
            const char hi = static_cast<char>(unit >> 8);
            bytes += little ? lo : hi;
            bytes += little ? hi : lo;
        }
        Import(bytes);
    }
    ASSERT_EQ(root->ChildCount(), 2u);
    EXPECT_EQ(root->ChildAt(0)->Text(), "J\xC3\xBCrgen \xF0\x9F\x98\x80");
    EXPECT_EQ(root->ChildAt(1)->Text(), "J\xC3\xBCrgen \xF0\x9F\x98\x80");
    EXPECT_EQ(static_cast<const TPersonObject*>(root->ChildAt(1)->Item())->LastName(),
              "M\xC3\xBCller");
}

TEST(VCardDateTest, FormsCardsWriteAndDaysThatDoNotExist) {
    EXPECT_EQ(ParseCardDate("1980-03-14"), (CardDate{1980, 3, 14}));
    EXPECT_EQ(ParseCardDate("19800314T000000Z"), (CardDate{1980, 3, 14}));
    EXPECT_EQ(ParseCardDate("1955-07-19T00:00:00Z"), (CardDate{1955, 7, 19}));
    EXPECT_EQ(ParseCardDate("--0203"), (CardDate{0, 2, 3}));
    EXPECT_EQ(ParseCardDate("--02-29"), (CardDate{0, 2, 29}));
    EXPECT_EQ(ParseCardDate("1604-03-14", "1604"), (CardDate{0, 3, 14}));
    EXPECT_FALSE(ParseCardDate("circa 1800"));
    EXPECT_FALSE(ParseCardDate("2019-02-29")) << "not a leap year";
    EXPECT_FALSE(ParseCardDate("2019-13-01"));
    EXPECT_FALSE(ParseCardDate("1980-03-14x"));
    EXPECT_EQ(IsoCardDate({0, 2, 3}), "--02-03");
    EXPECT_EQ(IsoCardDate({987, 12, 31}), "0987-12-31");
}

// --- The 3.0 and 4.0 writer

class VCardWriterTest : public VCardKeptTest {
protected:
    TPersonObject* Person() {
        TNRBObject* org = CreateItem(kOrganizationKind, "Acme; Inc.", {}, {}, 9, {}, root);
        auto* person = static_cast<TPersonObject*>(
            CreateItem(kPersonKind, "Ann Lee", {}, "Met, twice\\", 7, {}, org->Node()));
        person->SetFirstName("Ann");
        person->SetLastName("Lee, Jr.");
        person->SetSalutation("Dr.");
        person->SetCategories(0b101);
        TOutlineNode* node = person->Node();
        CreateItem(kPhoneKind, "Mobile", "555 0100", {}, 1, "{Phon}12", node);
        CreateItem(kPhoneKind, "Primary Phone", "555 0101", {}, 2, {}, node);
        CreateItem(kFaxKind, "Office,Fax Line", "555 0102", {}, 3, {}, node);
        CreateItem(kEMailKind, "Home", "ann@example.org", {}, 4, {}, node);
        CreateItem(kAddressKind, "Home", "1 Main St", {}, 5,
                   "{Addr}1 Main St~~Flat 2~~~~Springfield~~IL~~62701~~USA", node);
        CreateItem(kReminderKind, "Birthday", {}, "1980-03-14", 6, "{Remd}2027,3,14,2", node);
        CreateItem(kWebsiteKind, "Blog", "http://blog.example", {}, 8, {}, node);
        person->SetPrimaryPhone("Primary Phone");
        person->SetPrimaryEMail("Home");
        return person;
    }
};

TEST_F(VCardWriterTest, Version40CardLineByLine) {
    const TPersonObject* ann = Person();
    const std::string card = StandardVCardText(*ann, VCardVersion::V40, {"Friends, old", "Work"});
    EXPECT_EQ(card, "BEGIN:VCARD\r\n"
                    "VERSION:4.0\r\n"
                    "PRODID:-//Quillmere//Quillmere//EN\r\n"
                    "UID:" +
                        VCardUid(kPersonKind, 7) +
                        "\r\n"
                        "FN:Ann Lee\r\n"
                        "N:Lee;Ann;;Dr.;Jr.\r\n"
                        "ORG:Acme\\; Inc.\r\n"
                        "item1.TEL;TYPE=cell;VALUE=uri:tel:555-0100;ext=12\r\n"
                        "item1.X-ABLABEL:Mobile\r\n"
                        "item2.TEL;PREF=1:555 0101\r\n"
                        "item2.X-ABLABEL:Primary Phone\r\n"
                        "TEL;TYPE=work,fax:555 0102\r\n"
                        "item3.EMAIL;TYPE=home;PREF=1:ann@example.org\r\n"
                        "item3.X-ABLABEL:Home\r\n"
                        "ADR;TYPE=home:;;1 Main St\\nFlat 2;Springfield;IL;62701;USA\r\n"
                        "item4.URL:http://blog.example\r\n"
                        "item4.X-ABLABEL:Blog\r\n"
                        "NOTE:Met\\, twice\\\\\r\n"
                        "CATEGORIES:Friends\\, old,User Defined 3\r\n"
                        "BDAY:19800314\r\n"
                        "END:VCARD\r\n");
    const std::string v3 = StandardVCardText(*ann, VCardVersion::V30);
    EXPECT_NE(v3.find("item1.TEL;TYPE=cell:555 0100 x12\r\n"), std::string::npos) << v3;
    EXPECT_NE(v3.find("item3.EMAIL;TYPE=home,pref:ann@example.org\r\n"), std::string::npos) << v3;
    EXPECT_NE(v3.find("BDAY:1980-03-14\r\n"), std::string::npos) << v3;
}

TEST_F(VCardWriterTest, FoldingEscapingNamesAndUids) {
    // Folded at 75 octets, never inside a character, and unfolded the line is whole again.
    const std::string text = "NOTE:" + std::string(70, 'a') + "\xC3\xBC" + std::string(80, 'b');
    const std::string folded = FoldedVCardLine(text);
    std::string unfolded;
    std::size_t start = 0;
    while (start < folded.size()) {
        const std::size_t end = folded.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        const std::string line = folded.substr(start, end - start);
        EXPECT_LE(line.size(), 75u);
        unfolded += start == 0 ? line : line.substr(1);
        start = end + 2;
    }
    EXPECT_EQ(unfolded, text);
    EXPECT_EQ(folded.substr(0, 75), text.substr(0, 75)) << "the ü stands after the cut";

    EXPECT_EQ(EscapedVCardText("a;b,c\\d\ne", false), "a;b\\,c\\\\d\\ne");
    EXPECT_EQ(EscapedVCardText("a;b", true), "a\\;b");

    // FN is never empty; an organization has no N in 4.0 and an empty one in 3.0.
    TNRBObject* nameless = CreateItem(kPersonKind, "", {}, {}, 5, {}, root);
    EXPECT_NE(StandardVCardText(*nameless, VCardVersion::V40).find("\r\nFN:New Person\r\n"),
              std::string::npos);
    TNRBObject* org = CreateItem(kOrganizationKind, "Acme", {}, {}, 5, {}, root);
    const std::string v4 = StandardVCardText(*org, VCardVersion::V40);
    EXPECT_NE(v4.find("\r\nKIND:org\r\n"), std::string::npos);
    EXPECT_EQ(v4.find("\r\nN:"), std::string::npos);
    EXPECT_NE(StandardVCardText(*org, VCardVersion::V30).find("\r\nN:;;;;\r\n"), std::string::npos);

    // Name-based: the same for the same item, another for another kind, Id or occurrence.
    EXPECT_EQ(VCardUid(kPersonKind, 5), VCardUid(kPersonKind, 5));
    EXPECT_EQ(VCardUid(kPersonKind, 5).size(), 9u + 36u);
    EXPECT_EQ(VCardUid(kPersonKind, 5)[9 + 14], '5') << "a version 5 UUID";
    EXPECT_NE(VCardUid(kPersonKind, 5), VCardUid(kOrganizationKind, 5));
    EXPECT_NE(VCardUid(kPersonKind, 5), VCardUid(kPersonKind, 6));
    EXPECT_NE(VCardUid(kPersonKind, 5), VCardUid(kPersonKind, 5, 2));
}

TEST_F(VCardWriterTest, SubtreeExportTellsItemsOfOneIdApartByOrder) {
    CreateItem(kPersonKind, "Twin", {}, {}, 42, {}, root);
    CreateItem(kPersonKind, "Twin", {}, {}, 42, {}, root);
    VCardExportOptions options;
    options.version = VCardVersion::V40;
    options.subtree = true;
    const std::string path = dir.File("all.vcf");
    ASSERT_TRUE(ExportVCardFile(*root, path, options));
    const std::string text = ReadWholeFile(path).value_or("");
    EXPECT_NE(text.find("UID:" + VCardUid(kPersonKind, 42, 1)), std::string::npos);
    EXPECT_NE(text.find("UID:" + VCardUid(kPersonKind, 42, 2)), std::string::npos);
    // Exporting the second twin alone gives it the same UID as in the whole.
    options.subtree = false;
    ASSERT_TRUE(ExportVCardFile(*root->ChildAt(1), path, options));
    EXPECT_NE(ReadWholeFile(path).value_or("").find("UID:" + VCardUid(kPersonKind, 42, 2)),
              std::string::npos);
}

// Without the UID lines, whose Ids the import draws anew.
std::string WithoutUids(const std::string& text) {
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start) + 2;
        if (text.compare(start, 4, "UID:") != 0) {
            out += text.substr(start, end - start);
        }
        start = end;
    }
    return out;
}

// Answers as a user would: a card that names no person is an organization.
class OrganizationWhenNameless final : public IVCardImportChoice {
public:
    bool ImportAsOrganization(std::string_view name, std::string_view) override {
        return name == "New" || name.find_first_not_of(' ') == std::string_view::npos;
    }
};

TEST_F(VCardWriterTest, RoundTripsAreStableWithTypesAndTitlesKept) {
    Person();
    OrganizationWhenNameless choice;
    for (VCardVersion version : {VCardVersion::V30, VCardVersion::V40}) {
        VCardExportOptions options;
        options.version = version;
        options.subtree = true;
        std::vector<std::string> passes;
        const TOutlineNode* from = root;
        std::vector<std::unique_ptr<TOutline>> outlines;
        for (int pass = 0; pass < 3; ++pass) {
            const std::string path = dir.File("pass" + std::to_string(pass) + ".vcf");
            ASSERT_TRUE(ExportVCardFile(*from, path, options));
            passes.push_back(WithoutUids(ReadWholeFile(path).value_or("")));
            outlines.push_back(std::make_unique<TOutline>());
            TOutlineNode* into = outlines.back()->CreateRoot();
            ASSERT_TRUE(ImportVCardFile(path, into, choice));
            ASSERT_EQ(into->ChildCount(), 1u);
            ASSERT_EQ(into->ChildAt(0)->ChildCount(), 1u);
            EXPECT_EQ(into->ChildAt(0)->ChildAt(0)->Item()->Categories(), 0b101)
                << "the person's categories, by their default names";
            from = into;
        }
        EXPECT_EQ(passes[1], passes[2]) << "stable after the first pass";
        // The first pass keeps the types, titles, extension, organization and birthday.
        for (const std::string kept :
             {"TEL;TYPE=cell", "X-ABLABEL:Mobile", "X-ABLABEL:Primary Phone", "12\r\n",
              "N:Lee;Ann;;Dr.;Jr.\r\nORG:Acme\\; Inc.\r\n", "X-ABLABEL:Blog", "Flat 2;Springfield",
              "1980"}) {
            EXPECT_NE(passes[1].find(kept), std::string::npos) << kept << " in " << passes[1];
        }
        std::size_t cards = 0;
        for (std::size_t at = 0; (at = passes[1].find("BEGIN:VCARD", at)) != std::string::npos;
             ++at) {
            ++cards;
        }
        EXPECT_EQ(cards, 2u) << "the organization and the person under it";
    }
}

// --- Files that other programs wrote (the corpus beside the sources)

TEST(VCardCorpusTest, EveryCardKeepsItsPointsNotesAndDates) {
    const std::optional<std::filesystem::path> corpus = test::InteropCorpus();
    if (!corpus) {
        GTEST_SKIP() << "the folder of other programs' files (interop-corpus) is not here";
    }
    test::FakeServices services;
    std::size_t files = 0;
    std::size_t cards = 0;
    for (const auto& entry : std::filesystem::directory_iterator(*corpus / "vcard")) {
        const std::string path = entry.path().string();
        ++files;
        std::vector<TCard> read;
        ASSERT_TRUE(ForEachVCardInFile(path, [&](TCard& card) { read.push_back(card); }));
        EXPECT_FALSE(read.empty()) << path;
        for (const TCard& card : read) {
            ++cards;
            TOutline outline;
            auto* person = static_cast<TPersonObject*>(
                CreateItem(kPersonKind, {}, {}, {}, 1, {}, outline.CreateRoot()));
            person->ReadVCard(card);
            std::map<std::string, std::size_t> lines;
            for (std::size_t i = 0; i < card.Count(); ++i) {
                ++lines[card.At(i).Name()];
            }
            std::map<int, std::size_t> points;
            for (std::size_t i = 0; i < person->ChildCount(); ++i) {
                ++points[person->ChildAt(i)->Kind()];
            }
            const std::string where = path + ", card " + CardDisplayName(card);
            EXPECT_EQ(points[kPhoneKind] + points[kFaxKind], lines["TEL"]) << where;
            EXPECT_EQ(points[kEMailKind], lines["EMAIL"]) << where;
            EXPECT_EQ(points[kAddressKind], lines["ADR"]) << where;
            EXPECT_EQ(person->Node()->ChildCount(), lines["URL"]) << where;
            if (lines["NOTE"] > 0 && !card.Find("NOTE")->Value(0).empty()) {
                EXPECT_FALSE(person->Comment().empty()) << where;
            }
            if (const TCardProperty* bday = card.Find("BDAY");
                bday && ParseCardDate(bday->Value(0), bday->Parameter("X-APPLE-OMIT-YEAR"))) {
                ASSERT_GT(points[kReminderKind], 0u) << where;
                EXPECT_EQ(person->ChildAt(person->ChildCount() - points[kReminderKind])->Title(),
                          "Birthday")
                    << where;
            }
            if (lines["TEL"] > points[kFaxKind]) {
                EXPECT_NE(person->PrimaryContact(kPhoneKind), nullptr) << where;
            }
            if (lines["EMAIL"] > 0) {
                EXPECT_NE(person->PrimaryContact(kEMailKind), nullptr) << where;
            }
        }
        // The whole file imports, and the report counts every card.
        TOutline outline;
        TImportReport fileReport;
        AlwaysPerson person;
        ASSERT_TRUE(ImportVCardFile(path, outline.CreateRoot(), person, &fileReport)) << path;
        EXPECT_EQ(fileReport.records, read.size()) << path;
    }
    EXPECT_GE(files, 40u);
    EXPECT_GE(cards, 60u);
}

} // namespace
} // namespace quill

namespace quill {
namespace {

TEST(ImportReportTest, TextCountsKindsAndWhatWasNotKept) {
    TImportReport report;
    report.records = 2;
    report.AddItem(kAddressKind);
    report.AddItem(kAddressKind);
    report.AddItem(kFaxKind);
    report.AddItem(kFaxKind);
    report.AddItem(kPersonKind);
    report.AddItem(40); // no kind of the program: not counted
    report.AddNotKept("X-SKYPE");
    report.AddNotKept("PHOTO", 2);
    report.AddNotKept("X-SKYPE");
    EXPECT_EQ(report.ItemCount(), 5u);
    EXPECT_EQ(report.Text("card"), "Read 2 cards.\nCreated: 1 person, 2 addresses, 2 faxes.\n"
                                   "Not kept: PHOTO (2), X-SKYPE (2).\n");
    EXPECT_EQ(TImportReport{}.Text("record"), "Read 0 records.\nCreated: nothing.\n");
}

TEST(ImportReportTest, LinesAboutTheCardItselfAreNotReported) {
    test::FakeServices services;
    TCard card;
    ForEachVCard("BEGIN:VCARD\r\nVERSION:4.0\r\nPRODID:x\r\nUID:urn:uuid:1\r\nREV:2020\r\n"
                 "KIND:individual\r\nFN:A\r\nNICKNAME:Al\r\nEND:VCARD\r\n",
                 [&](TCard& read) { card = read; });
    TImportReport report;
    AddCardLeftovers(card, kPersonKind, report);
    EXPECT_EQ(report.notKept, (std::map<std::string, std::size_t, std::less<>>{{"NICKNAME", 1}}));
}

} // namespace
} // namespace quill
