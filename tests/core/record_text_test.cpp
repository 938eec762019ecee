// The text of one item record: field splitting, numbers, field cleaning, the header line and
// every kind's data line, written and read.

#include "core/model/attachment_objects.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/group_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "core/model/record_text.h"
#include "core/storage/data_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

namespace quill {
namespace {

using Fields = std::vector<std::string>;

Fields Split(std::string_view text) {
    Fields fields;
    SplitFields(text, fields);
    return fields;
}

// The data line of a record: everything after the header's line break.
std::string DataLineOf(const std::string& record) {
    const std::size_t at = record.find("\r\n");
    return at == std::string::npos ? std::string() : record.substr(at + 2);
}

TEST(RecordTextSplit, SplitsLeftToRightWithoutLookAhead) {
    EXPECT_EQ(Split("a~~b~~c"), (Fields{"a", "b", "c"}));
    EXPECT_EQ(Split("a~~~~b"), (Fields{"a", "", "b"}));
    // Three tildes split after the first two; the third belongs to the next field.
    EXPECT_EQ(Split("a~~~b"), (Fields{"a", "~b"}));
    EXPECT_EQ(Split("a~~~~~b"), (Fields{"a", "", "~b"}));
    EXPECT_EQ(Split(""), (Fields{""}));
    EXPECT_EQ(Split("~~"), (Fields{"", ""}));
    EXPECT_EQ(Split("abc~"), (Fields{"abc~"}));
    EXPECT_EQ(Split("~a~b~"), (Fields{"~a~b~"}));
    EXPECT_EQ(Split("Ann Lee~~Ms. Ann Lee~~met at the fair~~77"),
              (Fields{"Ann Lee", "Ms. Ann Lee", "met at the fair", "77"}));
    // The views agree with the copies.
    std::vector<std::string_view> views;
    SplitFieldViews("x~~~~y~~", views);
    ASSERT_EQ(views.size(), 4u);
    EXPECT_EQ(views[0], "x");
    EXPECT_EQ(views[1], "");
    EXPECT_EQ(views[2], "y");
    EXPECT_EQ(views[3], "");
}

TEST(RecordTextSplit, SeparatorSearchAgreesWithPlainFind) {
    // Every string of up to nine bytes over '~', 'a' and '\0' at every odd and even offset.
    const char alphabet[] = {'~', 'a', '\0'};
    for (std::size_t length = 0; length <= 9; ++length) {
        std::size_t total = 1;
        for (std::size_t i = 0; i < length; ++i) {
            total *= 3;
        }
        for (std::size_t code = 0; code < total; ++code) {
            std::string text;
            for (std::size_t i = 0, c = code; i < length; ++i, c /= 3) {
                text.push_back(alphabet[c % 3]);
            }
            ASSERT_EQ(FindFieldSeparator(text), std::string_view(text).find(kFieldSeparator))
                << "in \"" << text << "\"";
        }
    }
}

TEST(RecordTextNumber, LeadingNumberTakesTheLeadingDigits) {
    EXPECT_EQ(LeadingNumber("42"), 42);
    EXPECT_EQ(LeadingNumber("42abc"), 42);
    EXPECT_EQ(LeadingNumber("007"), 7);
    EXPECT_EQ(LeadingNumber("-17"), -17);
    EXPECT_EQ(LeadingNumber("+17"), 17);
    EXPECT_EQ(LeadingNumber("  12"), 12);
    EXPECT_EQ(LeadingNumber(""), 0);
    EXPECT_EQ(LeadingNumber("abc"), 0);
    EXPECT_EQ(LeadingNumber("x12"), 0);
    EXPECT_EQ(LeadingNumber("-"), 0);
    EXPECT_EQ(LeadingNumber("--5"), 0);
    EXPECT_EQ(LeadingNumber("1 2"), 1);
    EXPECT_EQ(LeadingNumber("12~~3"), 12);
    // 32-bit fields wrap as the stored value would.
    EXPECT_EQ(LeadingNumber("2147483647"), INT32_MAX);
    EXPECT_EQ(LeadingNumber("-2147483648"), INT32_MIN);
    EXPECT_EQ(LeadingNumber("2147483648"), INT32_MIN);
    EXPECT_EQ(LeadingNumber("4294967295"), -1);
    EXPECT_EQ(LeadingNumber("4294967297"), 1);
    EXPECT_EQ(LeadingNumber("99999999999"), 1215752191);
}

TEST(RecordTextClean, LineBreaksBecomeBlanksAndTildeRunsShrink) {
    EXPECT_EQ(CleanField("plain text"), "plain text");
    EXPECT_EQ(CleanField("a\r\nb"), "a b");
    EXPECT_EQ(CleanField("a\rb\nc"), "a b c");
    EXPECT_EQ(CleanField("a\n\rb"), "a  b");
    EXPECT_EQ(CleanField("\r\n\r\n"), "  ");
    EXPECT_EQ(CleanField("a~~b"), "a~b");
    EXPECT_EQ(CleanField("a~~~~~b"), "a~b");
    EXPECT_EQ(CleanField("a~b~c"), "a~b~c");
    EXPECT_EQ(CleanField("~a"), "~a");
    EXPECT_EQ(CleanField("a~"), "a");
    EXPECT_EQ(CleanField("a~~~"), "a");
    EXPECT_EQ(CleanField("~"), "");
    EXPECT_EQ(CleanField("~~"), "");
    EXPECT_EQ(CleanField(""), "");
    EXPECT_EQ(CleanField("a~\r\n~b"), "a~ ~b");
    EXPECT_EQ(CleanField("Zoë~~Ω\n美"), "Zoë~Ω 美");

    EXPECT_TRUE(IsCleanField(""));
    EXPECT_TRUE(IsCleanField("~a~b"));
    EXPECT_FALSE(IsCleanField("a~~b"));
    EXPECT_FALSE(IsCleanField("a~"));
    EXPECT_FALSE(IsCleanField("a\nb"));
    EXPECT_FALSE(IsCleanField("a\rb"));
}

// Whatever a field held, once cleaned it sits between two separators and splits back out
// unchanged.
TEST(RecordTextClean, ACleanedFieldAlwaysSplitsBackOut) {
    const std::string_view pieces[] = {"a", "~", "~~", "\r", "\n", "\r\n", " ", "é", "{", "}"};
    std::mt19937 random(20260107);
    for (int round = 0; round < 2000; ++round) {
        std::string raw;
        const int length = static_cast<int>(random() % 12);
        for (int i = 0; i < length; ++i) {
            raw.append(pieces[random() % std::size(pieces)]);
        }
        const std::string clean = CleanField(raw);
        SCOPED_TRACE(testing::Message() << "raw: " << testing::PrintToString(raw));
        EXPECT_TRUE(IsCleanField(clean));
        EXPECT_EQ(CleanField(clean), clean);
        EXPECT_EQ(IsCleanField(raw), clean == raw);
        EXPECT_EQ(Split("x~~" + clean + "~~y"), (Fields{"x", clean, "y"}));
        EXPECT_EQ(Split(clean + "~~" + clean), (Fields{clean, clean}));
    }
}

TEST(RecordTextHeader, WritesLevelKindAndTheFourFields) {
    std::string out = "kept ";
    AppendHeaderLine(out, 1, 3, "Ann Lee", "Ms. Ann Lee", "met at the fair", 77);
    EXPECT_EQ(out, "kept {1 3 }Ann Lee~~Ms. Ann Lee~~met at the fair~~77");

    out.clear();
    AppendHeaderLine(out, -3, 255, "", "", "", INT32_MIN);
    EXPECT_EQ(out, "{-3 255 }~~~~~~-2147483648");

    out.clear();
    AppendHeaderLine(out, 12, 0, "F", "t", "c", 0);
    EXPECT_EQ(out, "{12 0 }F~~t~~c~~0");

    out.clear();
    AppendNumber(out, -120);
    AppendNumber(out, 0);
    AppendNumber(out, 2147483647);
    EXPECT_EQ(out, "-12002147483647");
}

class RecordTextItemTest : public ::testing::Test {
protected:
    test::FakeServices services;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();

    TNRBObject* Make(int kind, std::string_view dataLine, TOutlineNode* parent = nullptr) {
        return CreateItem(kind, "T", "", "", 5, dataLine, parent ? parent : root);
    }
    TOutlineNode* Holder() { return Make(kPersonKind, "")->Node(); }
};

TEST_F(RecordTextItemTest, RootRecordIsItsHeaderAlone) {
    EXPECT_EQ(root->Item()->RecordText(0), "{0 11 }My Contacts~~~~~~32892645");
    EXPECT_EQ(root->Item()->RecordText(1), "{1 11 }My Contacts~~~~~~32892645");
}

TEST_F(RecordTextItemTest, RecordIsHeaderLineBreakDataLineWithNoLineEnd) {
    TNRBObject* folder = CreateItem(kFolderKind, "Family", "tgt", "cmt", -5, "{Fold}5", root);
    EXPECT_EQ(folder->RecordText(7), "{7 0 }Family~~tgt~~cmt~~-5\r\n{Fold}5");
    TNRBObject* mail = CreateItem(kEMailKind, "Home", "ann@example.org", "", 2147483647, "{Mail}2",
                                  folder->Node());
    EXPECT_EQ(mail->RecordText(2), "{2 7 }Home~~ann@example.org~~~~2147483647\r\n{Mail}2");
}

struct DataLineCase {
    const char* name;
    int kind;
    const char* input;
    const char* written;
};

void PrintTo(const DataLineCase& c, std::ostream* os) {
    *os << c.name;
}

class RecordTextDataLine : public RecordTextItemTest,
                           public ::testing::WithParamInterface<DataLineCase> {};

TEST_P(RecordTextDataLine, ReadsAndWritesTheKindsFields) {
    const DataLineCase& c = GetParam();
    TOutlineNode* holder = root;
    if (!IsTreeKind(c.kind)) {
        holder = Holder();
    }
    TNRBObject* item = CreateItem(c.kind, "Title", "Target", "Comment", 9, c.input, holder);
    ASSERT_NE(item, nullptr);
    const std::string record = item->RecordText(3);
    const std::string header = "{3 " + std::to_string(c.kind) + " }Title~~Target~~Comment~~9\r\n";
    ASSERT_EQ(record.substr(0, header.size()), header);
    EXPECT_EQ(DataLineOf(record), c.written);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, RecordTextDataLine,
    ::testing::Values(
        // Complete lines come back as they were read.
        DataLineCase{"folder", kFolderKind, "{Fold}5", "{Fold}5"},
        DataLineCase{"organization", kOrganizationKind,
                     "{Orgn}Office~~Switchboard~~Office Fax~~Info~~Homepage~~-2147483648",
                     "{Orgn}Office~~Switchboard~~Office Fax~~Info~~Homepage~~-2147483648"},
        DataLineCase{"team", kTeamKind, "{Team}0", "{Team}0"},
        DataLineCase{"person", kPersonKind,
                     "{Pers}Ms.~~Ann~~B.~~Lee~~Home~~Mobile~~Fax~~Mail~~Web~~12",
                     "{Pers}Ms.~~Ann~~B.~~Lee~~Home~~Mobile~~Fax~~Mail~~Web~~12"},
        DataLineCase{"website", kWebsiteKind, "{Webs}3", "{Webs}3"},
        DataLineCase{"address", kAddressKind,
                     "{Addr}1 Main St~~Flat 2~~Block C~~Springfield~~Kent~~AB1 2CD~~UK~~4",
                     "{Addr}1 Main St~~Flat 2~~Block C~~Springfield~~Kent~~AB1 2CD~~UK~~4"},
        DataLineCase{"phone", kPhoneKind, "{Phon}123~~1", "{Phon}123~~1"},
        DataLineCase{"email", kEMailKind, "{Mail}7", "{Mail}7"},
        DataLineCase{"fax", kFaxKind, "{Faxs}8", "{Faxs}8"},
        DataLineCase{"reminder", kReminderKind, "{Remd}1997,3,14,1~~2", "{Remd}1997,3,14,1~~2"},
        DataLineCase{"document", kDocumentKind, "{Docs}16", "{Docs}16"},
        DataLineCase{"tool", kToolKind, "{Tool}gedit~~--new-window~~32",
                     "{Tool}gedit~~--new-window~~32"},
        // An unknown kind keeps its line whatever it holds.
        DataLineCase{"unknown", 200, "{Zzzz}any~~~thing~~", "{Zzzz}any~~~thing~~"},
        DataLineCase{"unknownEmpty", 13, "", ""},
        // Lines that stop early, or carry more, or junk in the categories.
        DataLineCase{"folderNoCategories", kFolderKind, "{Fold}", "{Fold}0"},
        DataLineCase{"folderJunkCategories", kFolderKind, "{Fold}5abc", "{Fold}5"},
        DataLineCase{"folderExtraFields", kFolderKind, "{Fold}1~~2~~3", "{Fold}1"},
        DataLineCase{"folderWrappedCategories", kFolderKind, "{Fold}4294967297", "{Fold}1"},
        DataLineCase{"phoneTagAlone", kPhoneKind, "{Phon}", "{Phon}~~0"},
        DataLineCase{"addressWithoutCategories", kAddressKind,
                     "{Addr}1 Main St~~~~~~Springfield~~Kent~~AB1 2CD~~UK",
                     "{Addr}1 Main St~~~~~~Springfield~~Kent~~AB1 2CD~~UK~~0"},
        DataLineCase{"addressOneLine", kAddressKind, "{Addr}1 Main St",
                     "{Addr}1 Main St~~~~~~~~~~~~~~0"},
        DataLineCase{"personNamesOnly", kPersonKind, "{Pers}~~John~~~~Doe",
                     "{Pers}~~John~~~~Doe~~~~~~~~~~~~0"},
        DataLineCase{"toolProgramOnly", kToolKind, "{Tool}gedit", "{Tool}gedit~~~~0"},
        // Wrong tags, tags in the wrong case, and no line at all leave the fields empty.
        DataLineCase{"phoneGivenMailLine", kPhoneKind, "{Mail}4", "{Phon}~~0"},
        DataLineCase{"folderLowerCaseTag", kFolderKind, "{fold}5", "{Fold}0"},
        DataLineCase{"teamGivenFolderLine", kTeamKind, "{Fold}5", "{Team}0"},
        DataLineCase{"personNoLine", kPersonKind, "", "{Pers}~~~~~~~~~~~~~~~~~~0"},
        DataLineCase{"addressNoLine", kAddressKind, "", "{Addr}~~~~~~~~~~~~~~0"},
        DataLineCase{"organizationNoLine", kOrganizationKind, "", "{Orgn}~~~~~~~~~~0"},
        // Fields read from a line are cleaned like any other.
        DataLineCase{"personTildesInFields", kPersonKind, "{Pers}Dr.~~~~~Jo~~~~Lee~",
                     "{Pers}Dr.~~~~~Jo~~~~Lee~~~~~~~~~~0"}),
    [](const ::testing::TestParamInfo<DataLineCase>& info) { return info.param.name; });

TEST_F(RecordTextItemTest, FieldsReadFromADataLineLandInTheirPlaces) {
    auto* person = dynamic_cast<TPersonObject*>(
        Make(kPersonKind, "{Pers}Ms.~~Ann~~B.~~Lee~~Home~~Mobile~~Fax~~Mail~~Web~~12"));
    ASSERT_NE(person, nullptr);
    EXPECT_EQ(person->Salutation(), "Ms.");
    EXPECT_EQ(person->FirstName(), "Ann");
    EXPECT_EQ(person->MiddleName(), "B.");
    EXPECT_EQ(person->LastName(), "Lee");
    EXPECT_EQ(person->PrimaryAddress(), "Home");
    EXPECT_EQ(person->PrimaryPhone(), "Mobile");
    EXPECT_EQ(person->PrimaryFax(), "Fax");
    EXPECT_EQ(person->PrimaryEMail(), "Mail");
    EXPECT_EQ(person->PrimaryWebsite(), "Web");
    EXPECT_EQ(person->Categories(), 12);

    auto* address = dynamic_cast<TAddressObject*>(
        Make(kAddressKind, "{Addr}1 Main St~~~~~~Springfield~~Kent~~AB1 2CD~~UK", person->Node()));
    ASSERT_NE(address, nullptr);
    ASSERT_EQ(address->Lines().size(), 3u);
    EXPECT_EQ(address->Line(0), "1 Main St");
    EXPECT_EQ(address->Line(1), "");
    EXPECT_EQ(address->Line(2), "");
    EXPECT_EQ(address->City(), "Springfield");
    EXPECT_EQ(address->State(), "Kent");
    EXPECT_EQ(address->PostCode(), "AB1 2CD");
    EXPECT_EQ(address->Country(), "UK");
    EXPECT_EQ(address->Categories(), 0);

    auto* phone = dynamic_cast<TPhoneObject*>(Make(kPhoneKind, "{Phon}", person->Node()));
    ASSERT_NE(phone, nullptr);
    EXPECT_EQ(phone->Extension(), "");
    EXPECT_EQ(phone->Categories(), 0);

    auto* reminder =
        dynamic_cast<TReminderObject*>(Make(kReminderKind, "{Remd}1997,3,14,1~~2", person->Node()));
    ASSERT_NE(reminder, nullptr);
    EXPECT_EQ(reminder->RecurringDate().Year(), 1997);
    EXPECT_EQ(reminder->RecurringDate().Month(), 3);
    EXPECT_EQ(reminder->RecurringDate().Day(), 14);
    EXPECT_EQ(reminder->RecurringDate().RecurMode(), 1);
    EXPECT_EQ(reminder->Categories(), 2);
    EXPECT_TRUE(reminder->Due()); // 1997 is long past on the fake clock

    auto* tool = dynamic_cast<TToolObject*>(
        Make(kToolKind, "{Tool}gedit~~--new-window~~32", person->Node()));
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->Program(), "gedit");
    EXPECT_EQ(tool->Parameters(), "--new-window");
    EXPECT_EQ(tool->Categories(), 32);

    auto* unknown = dynamic_cast<TUnknownKindObject*>(Make(77, "{Zzzz}a~~b", person->Node()));
    ASSERT_NE(unknown, nullptr);
    EXPECT_EQ(unknown->Kind(), 77);
    EXPECT_EQ(unknown->DataLine(), "{Zzzz}a~~b");
    EXPECT_EQ(unknown->Categories(), 0);
}

TEST_F(RecordTextItemTest, ShortLinesKeepMissingFieldsAndClearCategories) {
    auto* person = dynamic_cast<TPersonObject*>(
        Make(kPersonKind, "{Pers}Ms.~~Ann~~B.~~Lee~~Home~~Mobile~~Fax~~Mail~~Web~~12"));
    ASSERT_NE(person, nullptr);
    person->ReadDataLine("{Pers}Dr.~~Jo");
    EXPECT_EQ(person->Salutation(), "Dr.");
    EXPECT_EQ(person->FirstName(), "Jo");
    EXPECT_EQ(person->MiddleName(), "B.");
    EXPECT_EQ(person->LastName(), "Lee");
    EXPECT_EQ(person->PrimaryWebsite(), "Web");
    EXPECT_EQ(person->Categories(), 0);

    auto* org = dynamic_cast<TOrgObject*>(Make(kOrganizationKind, "{Orgn}A~~P~~F~~E~~W~~3"));
    ASSERT_NE(org, nullptr);
    org->ReadDataLine("{Orgn}B~~~~G");
    EXPECT_EQ(org->PrimaryAddress(), "B");
    EXPECT_EQ(org->PrimaryPhone(), "");
    EXPECT_EQ(org->PrimaryFax(), "G");
    EXPECT_EQ(org->PrimaryEMail(), "E");
    EXPECT_EQ(org->PrimaryWebsite(), "W");
    EXPECT_EQ(org->Categories(), 0);

    // An address appends the lines it reads to those it has; only three are written.
    auto* address = dynamic_cast<TAddressObject*>(
        Make(kAddressKind, "{Addr}a~~b~~c~~City~~St~~PC~~Co~~1", person->Node()));
    ASSERT_NE(address, nullptr);
    address->ReadDataLine("{Addr}x~~~~y~~New City");
    ASSERT_EQ(address->Lines().size(), 6u);
    EXPECT_EQ(address->Line(3), "x");
    EXPECT_EQ(address->Line(5), "y");
    EXPECT_EQ(address->City(), "New City");
    EXPECT_EQ(address->State(), "St");
    EXPECT_EQ(address->Country(), "Co");
    EXPECT_EQ(DataLineOf(address->RecordText(1)), "{Addr}a~~b~~c~~New City~~St~~PC~~Co~~0");

    auto* tool = dynamic_cast<TToolObject*>(Make(kToolKind, "{Tool}gedit~~-n~~4", person->Node()));
    ASSERT_NE(tool, nullptr);
    tool->ReadDataLine("{Tool}vim");
    EXPECT_EQ(tool->Program(), "vim");
    EXPECT_EQ(tool->Parameters(), "-n");
    EXPECT_EQ(tool->Categories(), 0);

    // A reminder whose date text does not read keeps its date but takes the categories.
    auto* reminder =
        dynamic_cast<TReminderObject*>(Make(kReminderKind, "{Remd}2030,5,6,3~~1", person->Node()));
    ASSERT_NE(reminder, nullptr);
    reminder->ReadDataLine("{Remd}junk~~6");
    EXPECT_EQ(DataLineOf(reminder->RecordText(1)), "{Remd}2030,5,6,3~~6");
    EXPECT_FALSE(reminder->Due());
}

TEST_F(RecordTextItemTest, WrongTagChangesNothing) {
    auto* phone = dynamic_cast<TPhoneObject*>(Make(kPhoneKind, "{Phon}12~~4", Holder()));
    ASSERT_NE(phone, nullptr);
    phone->ReadDataLine("{Mail}0");
    EXPECT_EQ(phone->Extension(), "12");
    EXPECT_EQ(phone->Categories(), 4);
    phone->ReadDataLine("Phon}9~~9");
    phone->ReadDataLine(" {Phon}9~~9");
    phone->ReadDataLine("");
    EXPECT_EQ(DataLineOf(phone->RecordText(1)), "{Phon}12~~4");

    TNRBObject* folder = Make(kFolderKind, "{Fold}6");
    folder->ReadDataLine("{Team}1");
    EXPECT_EQ(folder->Categories(), 6);
}

TEST_F(RecordTextItemTest, PersonLayoutWithEmptyFields) {
    auto* person = dynamic_cast<TPersonObject*>(Make(kPersonKind, ""));
    ASSERT_NE(person, nullptr);
    person->SetFirstName("John");
    person->SetLastName("Doe");
    person->SetCategories(3);
    std::string expected = "{Pers}";
    expected += "~~John~~~~Doe";
    for (int i = 0; i < 6; ++i) {
        expected += "~~";
    }
    expected += "3";
    EXPECT_EQ(DataLineOf(person->RecordText(1)), expected);
}

TEST_F(RecordTextItemTest, CategoriesAreWrittenAsSignedNumbers) {
    TNRBObject* folder = Make(kFolderKind, "");
    folder->SetCategories((1 << 0) | (1 << 2));
    EXPECT_EQ(DataLineOf(folder->RecordText(1)), "{Fold}5");
    folder->SetCategories(INT32_MIN); // category 32
    EXPECT_EQ(DataLineOf(folder->RecordText(1)), "{Fold}-2147483648");
    EXPECT_TRUE(folder->InCategory(32));
    folder->SetCategories(-1);
    EXPECT_EQ(DataLineOf(folder->RecordText(1)), "{Fold}-1");
    TNRBObject* reread = Make(kFolderKind, "{Fold}-2147483648");
    EXPECT_EQ(reread->Categories(), INT32_MIN);
}

TEST_F(RecordTextItemTest, AddressWritesOnlyItsFirstThreeLines) {
    auto* address = dynamic_cast<TAddressObject*>(Make(kAddressKind, "", Holder()));
    ASSERT_NE(address, nullptr);
    address->SetLines({"one", "two", "three", "four", "five"});
    address->SetCity("Town");
    address->SetCountry("UK");
    EXPECT_EQ(DataLineOf(address->RecordText(1)), "{Addr}one~~two~~three~~Town~~~~~~UK~~0");
    address->SetLines({"only"});
    EXPECT_EQ(DataLineOf(address->RecordText(1)), "{Addr}only~~~~~~Town~~~~~~UK~~0");
}

// No setter and no factory call lets a value break its record.
TEST_F(RecordTextItemTest, SettersAndFactoryCleanEveryTextField) {
    TNRBObject* folder = CreateItem(kFolderKind, "Line\r\none", "a~~b", "c~", 1, "", root);
    EXPECT_EQ(folder->Title(), "Line one");
    EXPECT_EQ(folder->Node()->Text(), "Line one");
    EXPECT_EQ(folder->Target(), "a~b");
    EXPECT_EQ(folder->Comment(), "c");

    auto* person = dynamic_cast<TPersonObject*>(Make(kPersonKind, ""));
    ASSERT_NE(person, nullptr);
    person->SetTitle("Ann~~\nLee~");
    person->SetTarget("x\ry");
    person->SetComment("~~~");
    person->SetSalutation("Ms.~");
    person->SetFirstName("A\nn");
    person->SetMiddleName("~~");
    person->SetLastName("L~~ee");
    person->SetPrimaryAddress("Home\r\n");
    person->SetPrimaryPhone("P~~");
    person->SetPrimaryFax("F\n");
    person->SetPrimaryEMail("E~~~~");
    person->SetPrimaryWebsite("W~");
    EXPECT_EQ(person->Title(), "Ann~ Lee");
    EXPECT_EQ(person->Node()->Text(), "Ann~ Lee");
    EXPECT_EQ(person->Target(), "x y");
    EXPECT_EQ(person->Comment(), "");
    EXPECT_EQ(person->RecordText(1),
              "{1 3 }Ann~ Lee~~x y~~~~5\r\n{Pers}Ms.~~A n~~~~L~ee~~Home ~~P~~F ~~E~~W~~0");

    auto* address = dynamic_cast<TAddressObject*>(Make(kAddressKind, "", person->Node()));
    auto* phone = dynamic_cast<TPhoneObject*>(Make(kPhoneKind, "", person->Node()));
    auto* tool = dynamic_cast<TToolObject*>(Make(kToolKind, "", person->Node()));
    ASSERT_TRUE(address && phone && tool);
    address->SetLines({"1~~2", "x\r\ny", "~"});
    address->SetCity("C~~");
    address->SetState("S\n");
    address->SetPostCode("P~~~");
    address->SetCountry("\r");
    phone->SetExtension("1~~2\n");
    tool->SetProgram("/bin/x~");
    tool->SetParameters("--a~~b");
    EXPECT_EQ(DataLineOf(address->RecordText(1)), "{Addr}1~2~~x y~~~~C~~S ~~P~~ ~~0");
    EXPECT_EQ(DataLineOf(phone->RecordText(1)), "{Phon}1~2 ~~0");
    EXPECT_EQ(DataLineOf(tool->RecordText(1)), "{Tool}/bin/x~~--a~b~~0");

    // An unknown kind's line loses only its line breaks.
    auto* unknown = dynamic_cast<TUnknownKindObject*>(Make(99, "{Zz}a~~b\r\nc~~", person->Node()));
    ASSERT_NE(unknown, nullptr);
    EXPECT_EQ(unknown->DataLine().find_first_of("\r\n"), std::string_view::npos);
    EXPECT_EQ(unknown->Kind(), 99);

    // And every one of these records reads back as it was written.
    std::string text;
    WriteItemTree(*person, text, 1);
    TOutline copy;
    TOutlineNode* copyRoot = copy.CreateRoot();
    ASSERT_TRUE(ReadRecords(text, copyRoot, "copy"));
    ASSERT_EQ(copyRoot->ChildCount(), 1u);
    std::string again;
    WriteItemTree(*copyRoot->ChildAt(0)->Item(), again, 1);
    EXPECT_EQ(again, text);
}

// A person at the top of an exchange file with its primary address, byte for byte.
TEST_F(RecordTextItemTest, AnnLeeRecordByteForByte) {
    const std::string expected = "{1 3 }Ann Lee~~Ms. Ann Lee~~met at the fair~~77\r\n"
                                 "{Pers}Ms.~~Ann~~~~Lee~~Primary Address~~~~~~~~~~0\r\n"
                                 "{2 5 }Primary Address~~12 High Street~~~~78\r\n"
                                 "{Addr}12 High Street~~~~~~Springfield~~Kent~~AB1 2CD~~UK~~0\r\n";

    // Built field by field through the setters.
    auto* person = dynamic_cast<TPersonObject*>(
        CreateItem(kPersonKind, "Ann Lee", "Ms. Ann Lee", "met at the fair", 77, "", root));
    ASSERT_NE(person, nullptr);
    person->SetSalutation("Ms.");
    person->SetFirstName("Ann");
    person->SetLastName("Lee");
    person->SetPrimaryAddress("Primary Address");
    auto* address = dynamic_cast<TAddressObject*>(
        CreateItem(kAddressKind, "Primary Address", "12 High Street", "", 78, "", person->Node()));
    ASSERT_NE(address, nullptr);
    address->SetLines({"12 High Street"});
    address->SetCity("Springfield");
    address->SetState("Kent");
    address->SetPostCode("AB1 2CD");
    address->SetCountry("UK");
    EXPECT_EQ(person->FormalName(), "Ms. Ann Lee");

    std::string written;
    WriteItemTree(*person, written, 1);
    EXPECT_EQ(written, expected);

    // Read back from the text and written again.
    TOutline other;
    TOutlineNode* otherRoot = other.CreateRoot();
    ASSERT_TRUE(ReadRecords(expected, otherRoot, "example.qld"));
    ASSERT_EQ(otherRoot->ChildCount(), 1u);
    const TNRBObject* reread = otherRoot->ChildAt(0)->Item();
    ASSERT_EQ(reread->ChildCount(), 1u);
    EXPECT_EQ(reread->ChildAt(0)->Title(), "Primary Address");
    std::string again;
    WriteItemTree(*reread, again, 1);
    EXPECT_EQ(again, expected);
}

} // namespace
} // namespace quill
