// vCard files: property lines, the program's own cards, cards from phones and web address
// books (2.1, 3.0, 4.0), reading them into persons and organizations, writing, import and
// export.

#include "core/exchange/vcard.h"
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
#include <map>
#include <set>

namespace quill {
namespace {

using Values = std::vector<std::string>;

std::vector<TCard> CardsOf(std::string_view text) {
    std::vector<TCard> cards;
    ForEachVCard(text, [&](TCard& card) { cards.push_back(card); });
    return cards;
}

TCard OneCard(std::string_view text) {
    std::vector<TCard> cards = CardsOf(text);
    EXPECT_EQ(cards.size(), 1u);
    return cards.empty() ? TCard() : cards.front();
}

// What every card of the program's own form starts with.
const std::string kOwnHead = "begin:vcard\r\nVERSION:2.1\r\nPRODID:-//Quillmere//Quillmere//EN\r\n";
// The card's first property of that name. A missing one fails the test and reads as empty,
// instead of crashing the test binary and every test after it.
const TCardProperty& Prop(const TCard& card, std::string_view name) {
    static const TCardProperty none;
    const TCardProperty* found = card.Find(name);
    if (found == nullptr) {
        ADD_FAILURE() << "the card has no " << name;
        return none;
    }
    return *found;
}

void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

// --- Property lines

TEST(VCardPropertyTest, NameAndTypesFromTheNamePart) {
    TCardProperty fax("TEL;WORK;FAX;PREF:555-1234");
    EXPECT_EQ(fax.Name(), "TEL");
    EXPECT_TRUE(fax.HasType(kVCardWork));
    EXPECT_TRUE(fax.HasType(kVCardFax));
    EXPECT_TRUE(fax.HasType(kVCardPref));
    EXPECT_EQ(fax.TypeDisplayText(), "Office,Preferred,Fax Line");
    EXPECT_EQ(fax.Values(), Values{"555-1234"});
    // Types are written in table order, whatever order they were read in.
    EXPECT_EQ(fax.Format(), "TEL;WORK;PREF;FAX:555-1234");

    TCardProperty mixed("EMAIL,internet applelink;x400:a@b");
    EXPECT_EQ(mixed.TypeDisplayText(), "AppleLink,Internet,X.400");
    // NAME=VALUE parameters mean nothing in the program's own form.
    EXPECT_EQ(TCardProperty("TEL;TYPE=WORK:1").Types(), 0u);
    EXPECT_EQ(TCardProperty("TEL:1").TypeDisplayText(), "");
    EXPECT_EQ(VCardTypeIndexOf("ewORLD"), 21);
    EXPECT_EQ(VCardTypeIndexOf("MOBILE"), -1);
}

TEST(VCardPropertyTest, ValuesSplitAtBothSeparatorsOutsideQuotes) {
    EXPECT_EQ(TCardProperty("TITLE:Doe, John").Values(), (Values{"Doe", " John"}));
    EXPECT_EQ(TCardProperty("TITLE:Doe, John").Format(), "TITLE:Doe; John");
    EXPECT_EQ(TCardProperty("N:Doe;John;").Values(), (Values{"Doe", "John", ""}));
    EXPECT_TRUE(TCardProperty("TITLE:").Values().empty());
    EXPECT_TRUE(TCardProperty("TITLE").Values().empty());
    EXPECT_EQ(TCardProperty("URL:http://x.org:8080/a").Values(), Values{"http://x.org:8080/a"});
    EXPECT_EQ(TCardProperty(R"(ORG:"Acme, Inc.";Sales)").Values(), (Values{"Acme, Inc.", "Sales"}));
    // Backslashes mean nothing in the program's own form.
    EXPECT_EQ(TCardProperty(R"(ORG:a\,b)").Values(), (Values{"a\\", "b"}));
}

TEST(VCardPropertyTest, ParseReplacesWhatThePropertyHeld) {
    TCardProperty property("TEL;CELL:1;2");
    property.Parse("EMAIL:x");
    EXPECT_EQ(property.Name(), "EMAIL");
    EXPECT_EQ(property.Types(), 0u);
    EXPECT_EQ(property.Values(), Values{"x"});
}

TEST(VCardPropertyTest, FormatDropsOneTrailingSeparatorAndKeepsABareColon) {
    TCardProperty n;
    n.SetName("N");
    for (const char* value : {"Doe", "John", "Q", ""}) {
        n.AddValue(value);
    }
    EXPECT_EQ(n.Format(), "N:Doe;John;Q;");
    TCardProperty title;
    title.SetName("TITLE");
    EXPECT_EQ(title.Format(), "TITLE:");
    title.AddValue("");
    EXPECT_EQ(title.Format(), "TITLE:");
}

TEST(VCardPropertyTest, EveryValueReadsBackAsWrittenWithoutDisturbingItsNeighbours) {
    const Values tricky{"12 High St, Apt 3",  "a;b",     "\"quoted\"",         "\"\"", "",
                        "Robert \"Bob\" Lee", "x\",\"y", "say \"hi\", then go"};
    for (const std::string& value : tricky) {
        TCardProperty property;
        property.SetName("ADR");
        property.AddValue("before");
        property.AddValue(value);
        property.AddValue("after");
        const TCardProperty back(property.Format());
        EXPECT_EQ(back.Values(), property.Values()) << property.Format();
    }
    // A lone quote cannot be protected; it is written as a single quote rather than
    // swallowing the values after it.
    TCardProperty odd;
    odd.SetName("ADR");
    odd.AddValue("5\" floppy");
    odd.AddValue("City");
    EXPECT_EQ(TCardProperty(odd.Format()).Values(), (Values{"5' floppy", "City"}));
    // A line break would split the line.
    TCardProperty broken;
    broken.SetName("TITLE");
    broken.AddValue("a\r\nb");
    EXPECT_EQ(broken.Format(), "TITLE:a  b");
}

// --- Cards of the program's own form

TEST(VCardFileTest, BeginAndEndLinesInAnyCase) {
    const std::vector<TCard> cards = CardsOf("junk\r\nBEGIN:VCARD\r\nFN:a\r\nEND:VCARD\r\n"
                                             "FN:outside\r\n"
                                             "Begin:vCard\r\nFN:b\r\nend:vcard\r\n"
                                             "begin:vcard\nFN:c\r\n");
    ASSERT_EQ(cards.size(), 3u) << "a card without end line still counts";
    EXPECT_EQ(cards[0].Count(), 1u);
    EXPECT_EQ(Prop(cards[1], "FN").Value(0), "b");
    EXPECT_EQ(Prop(cards[2], "FN").Value(0), "c");
    EXPECT_FALSE(cards[0].IsStandard());
    EXPECT_TRUE(CardsOf("FN:a\r\nN:b\r\n").empty());
    EXPECT_EQ(CardsOf("begin:vcard\rFN:a\rend:vcard\rbegin:vcard\r").size(), 2u);
}

TEST(VCardFileTest, LinesAreTakenByPrefixAndFoundByExactName) {
    const TCard card = OneCard("begin:vcard\r\n"
                               "tel:555\r\n"
                               "NOTE:hello\r\n"
                               "X-FOO:bar\r\n"
                               " folded rest\r\n"
                               "PHOTO:abc\r\n"
                               "TEL:556\r\n"
                               "end:vcard\r\n");
    ASSERT_EQ(card.Count(), 3u);
    EXPECT_EQ(card.At(0).Name(), "tel");
    EXPECT_EQ(card.At(1).Name(), "NOTE");
    EXPECT_EQ(Prop(card, "TEL").Value(0), "556");
    EXPECT_EQ(card.Find("N"), nullptr);
    EXPECT_EQ(card.IndexOf(card.Find("TEL")), 2);
}

TEST(VCardFileTest, TextThatIsNotUtf8IsReadAsWindows1252) {
    EXPECT_EQ(Prop(OneCard("begin:vcard\r\nN:M\xFCller;J\x9A"
                           "rg\r\nend:vcard\r\n"),
                   "N")
                  .Values(),
              (Values{"M\xC3\xBCller", "J\xC5\xA1rg"}));
    EXPECT_EQ(Prop(OneCard("\xEF\xBB\xBF"
                           "begin:vcard\r\nN:M\xC3\xBCller\r\nend:vcard\r\n"),
                   "N")
                  .Value(0),
              "M\xC3\xBCller");
}

TEST(VCardFileTest, LoadAppendsAndSaveWritesEveryCard) {
    test::TempDir dir;
    const std::string path = dir.File("cards.vcf");
    WriteFile(path, "begin:vcard\r\nFN:a\r\nend:vcard\r\nbegin:vcard\r\nTEL;CELL:1\r\n");
    TVCardFile file;
    file.SetFilename(path);
    ASSERT_TRUE(file.Load());
    ASSERT_TRUE(file.Load());
    EXPECT_EQ(file.CardCount(), 4u);

    file.SetFilename(dir.File("out.vcf"));
    ASSERT_TRUE(file.Save());
    const std::string twice =
        kOwnHead + "FN:a\r\nend:vcard\r\n" + kOwnHead + "TEL;CELL:1\r\nend:vcard\r\n";
    EXPECT_EQ(ReadWholeFile(dir.File("out.vcf")), twice + twice);

    TVCardFile missing;
    missing.SetFilename(dir.File("none.vcf"));
    const FileResult result = missing.Load();
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find("none.vcf"), std::string::npos);
}

// --- Cards from phones and web address books

TEST(VCardStandardTest, Version30CardFromAnAddressBook) {
    // As address books export it: the VERSION line after lines it governs, groups, folding,
    // escapes, lower-case parameters and types as TYPE= lists.
    const TCard card =
        OneCard("BEGIN:VCARD\r\n"
                "N:Lee;Ann;Marie;Dr.;\r\n"
                "FN:Dr. Ann Marie\r\n"
                "  Lee\r\n"
                "VERSION:3.0\r\n"
                "ORG:Acme\\, Inc.;Research\r\n"
                "TITLE:Chief\\, Science\\\\Labs\r\n"
                "item1.EMAIL;type=INTERNET;type=pref:ann@acme.example\r\n"
                "item1.X-ABLabel:_$!<Other>!$_\r\n"
                "TEL;TYPE=WORK,VOICE:+1 555 0100\r\n"
                "tel;type=CELL:+1 555 0101\r\n"
                "item2.ADR;type=HOME;type=pref:;;12 High St\\nApt 3;Springfield;I\r\n"
                "\tL;62701;USA\r\n"
                "URL;type=pref:http\\://acme.example/~ann\r\n"
                "NOTE:Met at the fair\\, 2019\\\\spring\r\n"
                "END:VCARD\r\n");
    EXPECT_EQ(card.Version(), "3.0");
    EXPECT_EQ(Prop(card, "FN").Value(0), "Dr. Ann Marie Lee");
    EXPECT_EQ(Prop(card, "N").Values(), (Values{"Lee", "Ann", "Marie", "Dr.", ""}));
    EXPECT_EQ(Prop(card, "ORG").Values(), (Values{"Acme, Inc.", "Research"}));
    const TCardProperty* email = card.Find("EMAIL");
    ASSERT_NE(email, nullptr);
    EXPECT_EQ(email->TypeDisplayText(), "Preferred,Internet");
    EXPECT_EQ(email->Value(0), "ann@acme.example");
    EXPECT_EQ(Prop(card, "TEL").TypeDisplayText(), "Office,Voice Line");
    ASSERT_EQ(card.Count(), 11u) << "X-ABLabel and NOTE are kept";
    EXPECT_EQ(card.At(4).Group(), "item1");
    EXPECT_EQ(card.FindInGroup("X-ABLABEL", "item1")->Value(0), "_$!<Other>!$_");
    EXPECT_EQ(Prop(card, "NOTE").Value(0), "Met at the fair, 2019\\spring");
    EXPECT_EQ(card.At(7).Name(), "TEL") << "names are case-insensitive in a standard card";
    EXPECT_EQ(card.At(7).TypeDisplayText(), "Cellular");
    EXPECT_EQ(Prop(card, "ADR").Values(),
              (Values{"", "", "12 High St\nApt 3", "Springfield", "IL", "62701", "USA"}));
    EXPECT_EQ(Prop(card, "URL").Value(0), "http://acme.example/~ann");
    EXPECT_EQ(Prop(card, "TITLE").Value(0), "Chief, Science\\Labs");
}

TEST(VCardStandardTest, Version40TypesPreferenceAndTelephoneUris) {
    const TCard card =
        OneCard("BEGIN:VCARD\r\nVERSION:4.0\r\n"
                "TEL;VALUE=uri;TYPE=\"cell,voice\";PREF=1:tel:+1-555-555-0199\r\n"
                "TEL;VALUE=uri;TYPE=home;PREF=2:tel:+1-555-555-0198\r\n"
                "EMAIL;TYPE=work:ann@example.com\r\n"
                "ADR;TYPE=work;LABEL=\"1 Main St.:Suite 2\":;;1 Main St.;Anytown;;1234;\r\n"
                "END:VCARD\r\n");
    ASSERT_EQ(card.Count(), 4u);
    EXPECT_EQ(card.At(0).TypeDisplayText(), "Preferred,Voice Line,Cellular");
    EXPECT_EQ(card.At(0).Value(0), "+1-555-555-0199");
    EXPECT_EQ(card.At(1).TypeDisplayText(), "Home") << "only PREF=1 is the preferred one";
    EXPECT_EQ(Prop(card, "EMAIL").TypeDisplayText(), "Office");
    EXPECT_EQ(Prop(card, "ADR").Value(2), "1 Main St.") << "a colon in a quoted parameter";
    EXPECT_EQ(Prop(card, "ADR").ValueCount(), 7u);
}

TEST(VCardStandardTest, Version21QuotedPrintableAndCharacterSets) {
    // As phones export it: quoted-printable in UTF-8 with soft line breaks, and a Latin-1
    // value from an older program, in a file that is otherwise plain ASCII.
    const TCard card = OneCard(
        "BEGIN:VCARD\r\n"
        "VERSION:2.1\r\n"
        "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=BCrgen;;;\r\n"
        "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:J=C3=BCrgen M=C3=BC=\r\n"
        "ller\r\n"
        "ADR;HOME;QUOTED-PRINTABLE;CHARSET=ISO-8859-1:;;Gro=DFe Stra=DFe 1;K=F6ln;;50667;\r\n"
        "TEL;CELL;PREF:+49 170 1234567\r\n"
        "item1.TEL;TYPE=WORK:+49 221 1\r\n"
        "ORG:Rhein\\;Main GmbH\r\n"
        "END:VCARD\r\n");
    EXPECT_EQ(card.Version(), "2.1");
    EXPECT_EQ(Prop(card, "N").Values(), (Values{"M\xC3\xBCller", "J\xC3\xBCrgen", "", "", ""}));
    EXPECT_EQ(Prop(card, "FN").Value(0), "J\xC3\xBCrgen M\xC3\xBCller");
    EXPECT_EQ(Prop(card, "ADR").Value(2), "Gro\xC3\x9F"
                                          "e Stra\xC3\x9F"
                                          "e 1");
    EXPECT_EQ(Prop(card, "ADR").Value(3), "K\xC3\xB6ln");
    EXPECT_EQ(Prop(card, "TEL").TypeDisplayText(), "Preferred,Cellular");
    EXPECT_EQ(card.At(4).TypeDisplayText(), "Office");
    EXPECT_EQ(Prop(card, "ORG").Values(), Values{"Rhein;Main GmbH"});
}

TEST(VCardStandardTest, QuotedPrintableDecodesToTheVeryEndOfAValue) {
    const TCard card = OneCard("BEGIN:VCARD\r\nVERSION:2.1\r\n"
                               "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Gr=C3=BCn;J=C3=B6\r\n"
                               "ORG;QUOTED-PRINTABLE:a=3D\r\n"
                               "TITLE;QUOTED-PRINTABLE:c=4\r\n"
                               "END:VCARD\r\n");
    const TCardProperty* n = card.Find("N");
    const TCardProperty* org = card.Find("ORG");
    const TCardProperty* title = card.Find("TITLE");
    ASSERT_TRUE(n && org && title);
    EXPECT_EQ(n->Values(), (Values{"Gr\xC3\xBCn", "J\xC3\xB6"}));
    EXPECT_EQ(org->Value(0), "a=");
    EXPECT_EQ(title->Value(0), "c=4") << "an unfinished escape stands for itself";
}

TEST(VCardStandardTest, RawEightBitValuesFollowTheFileOrTheirCharacterSet) {
    // A Latin-1 file: every value read as Windows-1252, the one marked UTF-8 as UTF-8.
    const TCard card = OneCard("BEGIN:VCARD\r\nVERSION:2.1\r\n"
                               "N;CHARSET=ISO-8859-1:M\xFCller\r\n"
                               "FN;CHARSET=UTF-8:J\xC3\xBCrgen\r\n"
                               "TITLE:K\xF6nig\r\n"
                               "END:VCARD\r\n");
    EXPECT_EQ(Prop(card, "N").Value(0), "M\xC3\xBCller");
    EXPECT_EQ(Prop(card, "FN").Value(0), "J\xC3\xBCrgen");
    EXPECT_EQ(Prop(card, "TITLE").Value(0), "K\xC3\xB6nig");
}

TEST(VCardStandardTest, VersionIsDecidedPerCard) {
    const std::vector<TCard> cards =
        CardsOf("begin:vcard\r\nORG:a\\, b\r\nend:vcard\r\n"
                "BEGIN:VCARD\r\nORG:a\\, b\r\nVERSION:3.0\r\nEND:VCARD\r\n"
                "begin:vcard\r\nORG:a\\, b\r\n zz\r\nend:vcard\r\n");
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(Prop(cards[0], "ORG").Values(), (Values{"a\\", " b"}));
    EXPECT_EQ(Prop(cards[1], "ORG").Values(), Values{"a, b"});
    EXPECT_EQ(Prop(cards[2], "ORG").Values(), (Values{"a\\", " b"})) << "no unfolding";
}

// --- Reading cards into items

class VCardItemTest : public ::testing::Test {
protected:
    test::FakeServices services;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();

    TPersonObject* NewPerson(std::string_view title = {}) {
        return static_cast<TPersonObject*>(CreateItem(kPersonKind, title, {}, {}, 7, {}, root));
    }
    TOrgObject* NewOrg(std::string_view title = {}) {
        return static_cast<TOrgObject*>(CreateItem(kOrganizationKind, title, {}, {}, 8, {}, root));
    }
    template <typename T> T* ChildOf(const TNRBObject& holder, std::size_t i) {
        auto* child = dynamic_cast<T*>(holder.ChildAt(i));
        EXPECT_NE(child, nullptr) << "child " << i;
        return child;
    }
};

TEST_F(VCardItemTest, PersonTakesNamesTitleAndFormalName) {
    const TCard card = OneCard("begin:vcard\r\nN:Doe;John;Q;Dr.\r\nFN:Johnny\r\n"
                               "TITLE:John Doe\r\nend:vcard\r\n");
    EXPECT_EQ(CardDisplayName(card), "Dr. John Q Doe");
    TPersonObject* person = NewPerson();
    person->ReadVCard(card);
    EXPECT_EQ(person->LastName(), "Doe");
    EXPECT_EQ(person->FirstName(), "John");
    EXPECT_EQ(person->MiddleName(), "Q");
    EXPECT_EQ(person->Salutation(), "Dr.");
    EXPECT_EQ(person->Title(), "John Doe");
    EXPECT_EQ(person->Node()->Text(), "John Doe");
    EXPECT_EQ(person->Target(), "Dr. John Doe");

    TPersonObject* byFn = NewPerson();
    byFn->ReadVCard(OneCard("begin:vcard\r\nN:Roe;Jane\r\nFN:J. Roe\r\nend:vcard\r\n"));
    EXPECT_EQ(byFn->Title(), "J. Roe");
    EXPECT_EQ(byFn->Target(), " Jane Roe");
    EXPECT_EQ(byFn->Salutation(), "") << "N with two values fills two fields";

    TPersonObject* byName = NewPerson();
    byName->ReadVCard(OneCard("begin:vcard\r\nN:Roe;Jane\r\nend:vcard\r\n"));
    EXPECT_EQ(byName->Title(), "Jane Roe");
}

TEST_F(VCardItemTest, StandardCardNamesThePersonByFnNotByJobTitle) {
    const TCard card = OneCard("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann;;;\r\nFN:Ann Lee\r\n"
                               "TITLE:Chief Scientist\r\nEND:VCARD\r\n");
    TPersonObject* person = NewPerson();
    person->ReadVCard(card);
    EXPECT_EQ(person->Title(), "Ann Lee");
    EXPECT_EQ(CardItemTitle(card, kPersonKind), "Ann Lee");
}

TEST_F(VCardItemTest, ContactPointsWithTitlesFromTypesAndPrimariesFromPref) {
    const TCard card = OneCard("begin:vcard\r\n"
                               "TEL;WORK;FAX;PREF:555-1234\r\n"
                               "TEL:555-0000\r\n"
                               "TEL;WORK;VOICE:555-1111\r\n"
                               "ADR;HOME:;;12 High St;Springfield;IL;PC1;USA\r\n"
                               "EMAIL;INTERNET;PREF:john@example.com\r\n"
                               "ADR;WORK;PREF:1 Main St\r\n"
                               "URL:http://example.com/a\r\n"
                               "URL:http://example.com/b\r\n"
                               "end:vcard\r\n");
    TPersonObject* person = NewPerson("P");
    person->ReadVCard(card);
    ASSERT_EQ(person->ChildCount(), 6u);

    // Addresses first, then e-mail, then phones and faxes in card order.
    auto* home = ChildOf<TAddressObject>(*person, 0);
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(home->Title(), "Home");
    EXPECT_EQ(home->Target(), "");
    EXPECT_EQ(home->Line(0), "");
    EXPECT_EQ(home->Line(1), "");
    EXPECT_EQ(home->Line(2), "12 High St");
    EXPECT_EQ(home->City(), "Springfield");
    EXPECT_EQ(home->State(), "IL");
    EXPECT_EQ(home->PostCode(), "PC1");
    EXPECT_EQ(home->Country(), "USA");
    auto* work = ChildOf<TAddressObject>(*person, 1);
    ASSERT_NE(work, nullptr);
    EXPECT_EQ(work->Title(), "Office,Preferred");
    EXPECT_EQ(work->Target(), "1 Main St");
    EXPECT_EQ(work->Country(), "") << "missing values read as empty";
    EXPECT_EQ(person->PrimaryAddress(), "Office,Preferred");

    auto* email = ChildOf<TEMailObject>(*person, 2);
    ASSERT_NE(email, nullptr);
    EXPECT_EQ(email->Title(), "Preferred,Internet");
    EXPECT_EQ(person->PrimaryEMail(), "Preferred,Internet");

    auto* fax = ChildOf<TFaxObject>(*person, 3);
    ASSERT_NE(fax, nullptr);
    EXPECT_EQ(fax->Title(), "Office,Preferred,Fax Line");
    EXPECT_EQ(fax->Target(), "555-1234");
    EXPECT_EQ(person->PrimaryFax(), "Office,Preferred,Fax Line");
    EXPECT_EQ(ChildOf<TPhoneObject>(*person, 4)->Title(), "");
    EXPECT_EQ(ChildOf<TPhoneObject>(*person, 5)->Title(), "Office,Voice Line");
    EXPECT_EQ(person->PrimaryPhone(), "") << "the first phone is untitled: it names nothing";

    ASSERT_EQ(person->Node()->ChildCount(), 2u) << "every URL";
    const TNRBObject* site = person->Node()->ChildAt(0)->Item();
    EXPECT_EQ(site->Kind(), kWebsiteKind);
    EXPECT_EQ(site->Title(), "Web URL");
    EXPECT_EQ(site->Target(), "http://example.com/a");
    EXPECT_EQ(person->Node()->ChildAt(1)->Item()->Title(), "Web URL 2");
    EXPECT_EQ(person->PrimaryWebsite(), "Web URL") << "no PREF: the first";
}

TEST_F(VCardItemTest, LowerCaseNamesOfTheOwnFormAreNeverFound) {
    TPersonObject* person = NewPerson();
    person->ReadVCard(OneCard("begin:vcard\r\ntel:555\r\nend:vcard\r\n"));
    EXPECT_EQ(person->ChildCount(), 0u);
}

TEST_F(VCardItemTest, ValuesThatWouldBreakTheRecordAreCleaned) {
    // A "~~" would shift every later field of the address record, a line break would end it.
    const TCard card = OneCard("BEGIN:VCARD\r\nVERSION:3.0\r\n"
                               "ADR:a~~b;x\\ny;line 3~;Springfield;IL;1;USA\r\nEND:VCARD\r\n");
    TPersonObject* person = NewPerson();
    person->ReadVCard(card);
    auto* address = ChildOf<TAddressObject>(*person, 0);
    ASSERT_NE(address, nullptr);
    // The box, the extended address and the street's lines fill the three lines.
    EXPECT_EQ(address->Line(1), "x");
    EXPECT_EQ(address->Line(2).substr(0, 9), "y, line 3");
    EXPECT_EQ(address->City(), "Springfield");
    EXPECT_EQ(address->Country(), "USA");
    EXPECT_EQ(address->Line(0).find("~~"), std::string_view::npos);
}

TEST_F(VCardItemTest, OrganizationTakesOnlyOrgAndContactPoints) {
    TOrgObject* org = NewOrg();
    org->ReadVCard(OneCard("begin:vcard\r\nN:Doe;John\r\nFN:John\r\nORG:Acme;Sales\r\n"
                           "TEL;PREF:1\r\nend:vcard\r\n"));
    EXPECT_EQ(org->Title(), "Acme");
    EXPECT_EQ(org->Target(), "");
    EXPECT_EQ(org->PrimaryPhone(), "Preferred");
    EXPECT_EQ(org->ChildCount(), 1u);

    TOrgObject* empty = NewOrg("Old");
    empty->ReadVCard(OneCard("begin:vcard\r\nORG:\r\nend:vcard\r\n"));
    EXPECT_EQ(empty->Title(), "");
}

TEST_F(VCardItemTest, DisplayNameWithFewerNameParts) {
    EXPECT_EQ(CardDisplayName(OneCard("begin:vcard\r\nFN:x\r\nend:vcard\r\n")), "New");
    EXPECT_EQ(CardDisplayName(OneCard("begin:vcard\r\nN:Doe;John\r\nend:vcard\r\n")), "John Doe");
    EXPECT_EQ(CardDisplayName(OneCard("begin:vcard\r\nN:Doe\r\nend:vcard\r\n")), "Doe");
    EXPECT_EQ(CardDisplayName(OneCard("begin:vcard\r\nN:\r\nend:vcard\r\n")), "");
}

// --- Writing

class VCardWriteTest : public VCardItemTest {
protected:
    test::TempDir dir;

    TPersonObject* JohnDoe() {
        TPersonObject* person = NewPerson("John Doe");
        person->SetLastName("Doe");
        person->SetFirstName("John");
        person->SetMiddleName("Q");
        person->SetSalutation("Dr.");
        person->SetTarget(person->FormalName());
        TOutlineNode* node = person->Node();
        CreateItem(kAddressKind, "Home", "12 High St", {}, 1,
                   "{Addr}12 High St, Apt 3~~~~~~Springfield~~IL~~62701~~USA", node);
        CreateItem(kPhoneKind, "Work", "555-0100", {}, 2, {}, node);
        CreateItem(kFaxKind, "Fax", "555-0101", {}, 3, {}, node);
        CreateItem(kEMailKind, "Mail", "john@example.com", {}, 4, {}, node);
        CreateItem(kEMailKind, "Old", "john at example", {}, 5, {}, node);
        CreateItem(kReminderKind, "Call", {}, {}, 6, {}, node);
        CreateItem(kWebsiteKind, "Blog", "http://blog.example", {}, 9, {}, node);
        CreateItem(kWebsiteKind, "Home page", "http://example.com/?a=1;b=2", {}, 10, {}, node);
        person->SetPrimaryAddress("Home");
        person->SetPrimaryFax("Fax");
        person->SetPrimaryEMail("Mail");
        person->SetPrimaryWebsite("Home page");
        return person;
    }
    std::string Written(const TNRBObject& item) {
        const std::string path = dir.File("out.vcf");
        std::filesystem::remove(path);
        item.SaveVCardFile(path);
        return ReadWholeFile(path).value_or("(none)");
    }
};

TEST_F(VCardWriteTest, PersonCardLineByLine) {
    EXPECT_EQ(Written(*JohnDoe()),
              kOwnHead + "N:Doe;John;Q;Dr.\r\n"
                         "FN:Dr. John Doe\r\n"
                         "TITLE:John Doe\r\n"
                         "ADR;PREF:\"12 High St, Apt 3\";;;Springfield;IL;62701;USA\r\n"
                         "TEL:555-0100\r\n"
                         "TEL;PREF;FAX:555-0101\r\n"
                         "EMAIL;PREF;INTERNET:john@example.com\r\n"
                         "EMAIL:john at example\r\n"
                         "URL:\"http://example.com/?a=1;b=2\"\r\n"
                         "URL:http://blog.example\r\n"
                         "end:vcard\r\n");
}

TEST_F(VCardWriteTest, EmptyFieldsAndUntitledContactPoints) {
    TPersonObject* person = NewPerson();
    person->SetMiddleName("Q");
    CreateItem(kPhoneKind, {}, "555", {}, 1, {}, person->Node());
    // An empty primary names nothing, so the untitled phone is not the preferred one.
    EXPECT_EQ(Written(*person), kOwnHead + "N:;;Q;\r\nFN:\r\nTITLE:\r\nTEL:555\r\nend:vcard\r\n");
}

TEST_F(VCardWriteTest, OrganizationCardAndOtherKindsWriteNothing) {
    TOrgObject* org = NewOrg("Acme, Inc.");
    CreateItem(kPhoneKind, "Main", "555", {}, 1, {}, org->Node());
    org->SetPrimaryPhone("Main");
    EXPECT_EQ(Written(*org), kOwnHead + "N:\"Acme, Inc.\"\r\nFN:\"Acme, Inc.\"\r\n"
                                        "ORG:\"Acme, Inc.\"\r\nTEL;PREF:555\r\nend:vcard\r\n");

    TNRBObject* folder = CreateItem(kFolderKind, "F", {}, {}, 1, {}, root);
    EXPECT_EQ(Written(*folder), "(none)");
    EXPECT_EQ(folder->VCardLine(), "");
    EXPECT_EQ(ItemVCard(*folder).Count(), 0u);
}

TEST_F(VCardWriteTest, WrittenPersonReadsBackWithItsDataIntact) {
    const TPersonObject* original = JohnDoe();
    const std::string path = dir.File("john.vcf");
    original->SaveVCardFile(path);
    TVCardFile file;
    file.SetFilename(path);
    ASSERT_TRUE(file.Load());
    ASSERT_EQ(file.CardCount(), 1u);
    TPersonObject* copy = NewPerson();
    copy->ReadVCard(file.CardAt(0));
    EXPECT_EQ(copy->Title(), "John Doe");
    EXPECT_EQ(copy->Target(), original->Target());
    EXPECT_EQ(copy->MiddleName(), "Q");
    auto* address = ChildOf<TAddressObject>(*copy, 0);
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(address->Line(0), "12 High St, Apt 3");
    EXPECT_EQ(address->City(), "Springfield");
    EXPECT_EQ(address->Country(), "USA");
    EXPECT_EQ(copy->PrimaryAddress(), "Preferred");
    ASSERT_EQ(copy->Node()->ChildCount(), 2u) << "both websites";
    EXPECT_EQ(copy->Node()->ChildAt(0)->Item()->Target(), "http://example.com/?a=1;b=2")
        << "the primary website is written first";
    EXPECT_EQ(copy->PrimaryWebsite(), "Web URL");
    // What the copy writes is what the original wrote, up to the titles a card has no room for.
    EXPECT_EQ(Prop(ItemVCard(*copy), "ADR").Format(), Prop(ItemVCard(*original), "ADR").Format());
}

// --- Import and export

class RecordingChoice final : public IVCardImportChoice {
public:
    std::vector<bool> answers;
    std::vector<std::pair<std::string, std::string>> asked;
    bool ImportAsOrganization(std::string_view displayName,
                              std::string_view organization) override {
        asked.emplace_back(displayName, organization);
        const bool answer = asked.size() <= answers.size() && answers[asked.size() - 1];
        return answer;
    }
};

class VCardImportTest : public VCardItemTest {
protected:
    test::TempDir dir;
    RecordingChoice choice;

    std::string File(std::string_view text) {
        const std::string path = dir.File("in.vcf");
        WriteFile(path, text);
        return path;
    }
};

TEST_F(VCardImportTest, EachCardWithOrgIsAskedAboutAndOthersBecomePersons) {
    TNRBObject* existing = CreateItem(kPersonKind, "Zed", {}, {}, 1, {}, root);
    const std::string path = File("begin:vcard\r\nN:Doe;John;Q;Dr.\r\nORG:Acme;Sales\r\n"
                                  "TEL;PREF:1\r\nend:vcard\r\n"
                                  "begin:vcard\r\nN:Roe;Jane\r\nTITLE:Jane Roe\r\nend:vcard\r\n"
                                  "begin:vcard\r\nTITLE:Bob\r\nORG:Bobcorp\r\nend:vcard\r\n");
    choice.answers = {true, false};
    ASSERT_TRUE(ImportVCardFile(path, root, choice));

    ASSERT_EQ(choice.asked.size(), 2u) << "the card without ORG is not asked about";
    EXPECT_EQ(choice.asked[0], (std::pair<std::string, std::string>{"Dr. John Q Doe", "Acme"}));
    EXPECT_EQ(choice.asked[1], (std::pair<std::string, std::string>{"New", "Bobcorp"}));

    // Sorted among what was there: Acme, Bob, Jane Roe, Zed.
    ASSERT_EQ(root->ChildCount(), 4u);
    const TNRBObject* acme = root->ChildAt(0)->Item();
    EXPECT_EQ(acme->Kind(), kOrganizationKind);
    EXPECT_EQ(acme->Title(), "Acme");
    EXPECT_EQ(acme->ChildCount(), 1u);
    EXPECT_NE(acme->Id(), 0);
    EXPECT_EQ(root->ChildAt(1)->Item()->Kind(), kPersonKind) << "Import as Person";
    EXPECT_EQ(root->ChildAt(1)->Text(), "Bob");
    EXPECT_EQ(root->ChildAt(2)->Item()->Kind(), kPersonKind);
    EXPECT_EQ(root->ChildAt(2)->Text(), "Jane Roe");
    EXPECT_EQ(root->ChildAt(3)->Item(), existing);
}

// Records the captions of nodes as they are inserted, and every change of a caption after.
class CaptionRecorder final : public IOutlineObserver {
public:
    std::vector<std::string> inserted;
    int changed = 0;
    void NodesInserted(TOutlineNode* parent, int first, int last) override {
        for (int row = first; row <= last; ++row) {
            inserted.emplace_back(parent->ChildAt(static_cast<std::size_t>(row))->Text());
        }
    }
    void NodeChanged(TOutlineNode*) override { ++changed; }
};

TEST_F(VCardImportTest, ACardWithOnlyANameIsMadeUnderItsFinalTitle) {
    const std::string path = File("begin:vcard\r\nN:Roe;Jane\r\nend:vcard\r\n"
                                  "begin:vcard\r\nN:Doe;John\r\nORG:Acme\r\nend:vcard\r\n");
    choice.answers = {true};
    CaptionRecorder recorder;
    outline.AddObserver(&recorder);
    const FileResult imported = ImportVCardFile(path, root, choice);
    outline.RemoveObserver(&recorder);
    ASSERT_TRUE(imported);
    // Made in the order they sort in, each under its own title, and never renamed after.
    EXPECT_EQ(recorder.inserted, (std::vector<std::string>{"Acme", "Jane Roe"}));
    EXPECT_EQ(recorder.changed, 0);
    ASSERT_EQ(root->ChildCount(), 2u);
    EXPECT_EQ(root->ChildAt(1)->Item()->Title(), "Jane Roe");
    EXPECT_EQ(root->ChildAt(1)->Item()->Target(), " Jane Roe");
}

// Titles that agree in their first bytes, or differ only in case, are still made in order:
// organizations first, then by title without regard to case, equal titles in file order.
TEST_F(VCardImportTest, CardsAreMadeInTitleOrderWhateverTheirSharedPrefixOrCase) {
    const char* titles[] = {"Anderson-Smythe, Beatrix",
                            "ANDERSON-SMYTHE, Bea",
                            "Anderson-Smythe",
                            "anderson-smythe, beatrix",
                            "Andersen",
                            "Anderson-Smythe, Bea",
                            "Anderson-Smythe Org"};
    std::string text;
    for (const char* title : titles) {
        text += "begin:vcard\r\nVERSION:3.0\r\nFN:" + std::string(title) + "\r\n";
        if (std::string_view(title).ends_with("Org")) {
            text += "ORG:" + std::string(title) + "\r\n";
        }
        text += "end:vcard\r\n";
    }
    choice.answers = {true};
    CaptionRecorder recorder;
    outline.AddObserver(&recorder);
    ASSERT_TRUE(ImportVCardFile(File(text), root, choice));
    outline.RemoveObserver(&recorder);
    EXPECT_EQ(recorder.inserted,
              (std::vector<std::string>{"Anderson-Smythe Org", "Andersen", "Anderson-Smythe",
                                        "ANDERSON-SMYTHE, Bea", "Anderson-Smythe, Bea",
                                        "Anderson-Smythe, Beatrix", "anderson-smythe, beatrix"}));
}

TEST_F(VCardImportTest, PhoneExportImportsWithItsContactPoints) {
    // As a phone's "export contacts" writes them: several cards, 2.1 and 3.0 mixed.
    const std::string path =
        File("BEGIN:VCARD\r\nVERSION:2.1\r\nN:Lee;Ann;;;\r\nFN:Ann Lee\r\n"
             "TEL;CELL;PREF:+1-555-0100\r\nEMAIL;HOME:ann@example.com\r\n"
             "PHOTO;ENCODING=BASE64;JPEG:/9j/4AAQSkZJRgABAQ\r\n NBgcHBwgKCQ\r\n\r\n"
             "END:VCARD\r\n"
             "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Chen;Wei;;;\r\nFN:Wei Chen\r\n"
             "TEL;TYPE=WORK;TYPE=FAX:+1-555-0200\r\nORG:Chen Imports\r\n"
             "URL:https://chen.example\r\nEND:VCARD\r\n");
    TImportReport report;
    ASSERT_TRUE(ImportVCardFile(path, root, choice, &report));
    ASSERT_EQ(root->ChildCount(), 2u) << "Ann Lee, and Chen Imports holding Wei Chen";
    const auto* ann = dynamic_cast<const TPersonObject*>(root->ChildAt(0)->Item());
    ASSERT_NE(ann, nullptr);
    EXPECT_EQ(ann->Title(), "Ann Lee");
    ASSERT_EQ(ann->ChildCount(), 2u) << "the picture's folded data is no N line";
    EXPECT_EQ(ann->PrimaryPhone(), "Preferred,Cellular");
    EXPECT_EQ(ann->ChildAt(0)->Title(), "Home");
    const TOutlineNode* chen = root->ChildAt(1);
    EXPECT_EQ(chen->Item()->Kind(), kOrganizationKind);
    EXPECT_EQ(chen->Text(), "Chen Imports");
    ASSERT_EQ(chen->ChildCount(), 1u) << "a standard card's person is filed under its ORG";
    const auto* wei = dynamic_cast<const TPersonObject*>(chen->ChildAt(0)->Item());
    ASSERT_NE(wei, nullptr);
    ASSERT_EQ(wei->ChildCount(), 1u);
    EXPECT_EQ(wei->ChildAt(0)->Kind(), kFaxKind);
    EXPECT_EQ(wei->ChildAt(0)->Title(), "Office,Fax Line");
    EXPECT_EQ(wei->PrimaryWebsite(), "Web URL");
    EXPECT_EQ(wei->PrimaryFax(), "Office,Fax Line") << "no PREF: the first fax";

    EXPECT_EQ(report.records, 2u);
    EXPECT_EQ(report.items[kPersonKind], 2u);
    EXPECT_EQ(report.items[kOrganizationKind], 1u);
    EXPECT_EQ(report.items[kWebsiteKind], 1u);
    EXPECT_EQ(report.ItemCount(), 7u);
    EXPECT_EQ(report.notKept, (std::map<std::string, std::size_t, std::less<>>{{"PHOTO", 1}}));
}

// Enough cards that they are parsed ahead of the making, in sorted order: each person must
// get the phone and e-mail address of its own card.
TEST_F(VCardImportTest, ManyCardsEachMakeTheirOwnPerson) {
    constexpr int kCards = 3000;
    std::string text;
    for (int i = 0; i < kCards; ++i) {
        // File order differs from title order, so the making goes through the file unevenly.
        const std::string n = std::to_string((i * 7919) % kCards);
        text += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Person" + n + ";Ann;;;\r\nFN:Ann Person" + n +
                "\r\nTEL;TYPE=WORK:555-" + n + "\r\nEMAIL:ann" + n + "@example.org\r\n";
        for (int note = 0; note < i % 5; ++note) {
            text += "NOTE:note " + std::to_string(note) + "\r\n";
        }
        text += "END:VCARD\r\n";
    }
    TImportReport report;
    ASSERT_TRUE(ImportVCardFile(File(text), root, choice, &report));
    EXPECT_EQ(report.records, std::size_t{kCards});
    ASSERT_EQ(root->ChildCount(), std::size_t{kCards});
    std::set<std::string, std::less<>> titles;
    for (std::size_t i = 0; i < root->ChildCount(); ++i) {
        const TNRBObject* person = root->ChildAt(i)->Item();
        ASSERT_NE(person, nullptr);
        EXPECT_TRUE(titles.emplace(person->Title()).second) << "twice: " << person->Title();
        const std::string n = std::string(person->Title()).substr(std::string("Ann Person").size());
        ASSERT_EQ(person->ChildCount(), 2u) << person->Title();
        std::map<int, std::string> targets;
        for (std::size_t c = 0; c < 2; ++c) {
            targets[person->ChildAt(c)->Kind()] = person->ChildAt(c)->Target();
        }
        EXPECT_EQ(targets[kPhoneKind], "555-" + n) << person->Title();
        EXPECT_EQ(targets[kEMailKind], "ann" + n + "@example.org") << person->Title();
    }
}

// Stops the work at its report number stopAt.
class StopAt final : public IWorkProgress {
public:
    explicit StopAt(int stopAt) : stopAt_(stopAt) {}
    bool Progress(std::uint64_t, std::uint64_t) override { return ++reports_ < stopAt_; }

private:
    int stopAt_;
    int reports_ = 0;
};

TEST_F(VCardImportTest, ManyCardsStoppedWhileBeingMadeEndTheImport) {
    std::string text;
    for (int i = 0; i < 2000; ++i) {
        text += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:P" + std::to_string(i) + "\r\nEND:VCARD\r\n";
    }
    const std::string path = File(text);
    StopAt whileReading(100); // in the first pass, which names the cards: nothing is made
    {
        WorkProgressScope scope(whileReading);
        ImportVCardFile(path, root, choice);
    }
    EXPECT_EQ(root->ChildCount(), 0u);
    StopAt whileMaking(2000 + 100); // after the first pass and 99 of the cards made
    {
        WorkProgressScope scope(whileMaking);
        ImportVCardFile(path, root, choice);
    }
    EXPECT_EQ(root->ChildCount(), 99u);
}

TEST_F(VCardImportTest, UnreadableFileImportsNothing) {
    const FileResult result = ImportVCardFile(dir.File("missing.vcf"), root, choice);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find("missing.vcf"), std::string::npos);
    EXPECT_EQ(root->ChildCount(), 0u);
    EXPECT_FALSE(ImportVCardFile(File("begin:vcard\r\n"), nullptr, choice).ok);
    const FileResult noCard = ImportVCardFile(File("no cards here\r\n"), root, choice);
    EXPECT_FALSE(noCard.ok) << "a file without a card is no success";
    EXPECT_NE(noCard.message.find("holds no vCard"), std::string::npos);
    EXPECT_EQ(root->ChildCount(), 0u);
}

TEST_F(VCardImportTest, ExportChecksKindAndExtensionBeforeWriting) {
    TPersonObject* person = NewPerson("Ann");
    TNRBObject* folder = CreateItem(kFolderKind, "F", {}, {}, 1, {}, root);

    const FileResult wrongKind = ExportVCardFile(*folder->Node(), dir.File("f.vcf"));
    EXPECT_FALSE(wrongKind.ok);
    EXPECT_EQ(wrongKind.message,
              "vCard publishing is only supported for Person and Organization items.");
    EXPECT_FALSE(CanExportVCard(*folder));

    const FileResult wrongName = ExportVCardFile(*person->Node(), dir.File("ann.txt"));
    EXPECT_FALSE(wrongName.ok);
    EXPECT_EQ(wrongName.title, "Check Filename");
    EXPECT_EQ(wrongName.message, "The exported filename needs to have an extension of \".vcf\"");
    EXPECT_FALSE(std::filesystem::exists(dir.File("ann.txt")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("f.vcf")));

    ASSERT_TRUE(ExportVCardFile(*person->Node(), dir.File("ann.VCF")));
    EXPECT_EQ(ReadWholeFile(dir.File("ann.VCF")),
              kOwnHead + "N:;;;\r\nFN:\r\nTITLE:Ann\r\nend:vcard\r\n");

    const FileResult unwritable = ExportVCardFile(*person->Node(), dir.File("no/such/ann.vcf"));
    EXPECT_FALSE(unwritable.ok);
    EXPECT_NE(unwritable.message.find("ann.vcf"), std::string::npos);
}

} // namespace
} // namespace quill
