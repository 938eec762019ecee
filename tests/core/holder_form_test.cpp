// The person and organization editors' rules: loading, the title handlers, the name split,
// and what OK writes for a new and an existing holder.

#include "core/editing/holder_form.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/edit_mask.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

// The data line of an item's record (its second line).
std::string DataLine(const TNRBObject& item) {
    const std::string record = item.RecordText(1);
    return record.substr(record.find("\r\n") + 2);
}

class HolderFormTest : public ::testing::Test {
protected:
    test::FakeServices services;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();

    TPersonObject& NewPerson(std::string_view title = "New Person") {
        return *static_cast<TPersonObject*>(CreateItem(kPersonKind, title, "", "", 7, "", root));
    }
    TOrgObject& NewOrg(std::string_view title = "New Organization", std::string_view target = "") {
        return *static_cast<TOrgObject*>(
            CreateItem(kOrganizationKind, title, target, "", 7, "", root));
    }
    TNRBObject* Child(int kind, std::string_view title, TNRBObject& holder,
                      std::string_view target = "", std::string_view data = "") {
        return CreateItem(kind, title, target, "c-" + std::string(title), 9, data, holder.Node());
    }
    // What the USA number box shows, and whether it counts as entered, after typing digits.
    static void TypeUsa(THolderPhoneTab& tab, std::string_view digits) {
        const TEditMask mask(PhoneFormats()[kUsaPhoneFormat].mask);
        tab.number = mask.Apply(digits);
        tab.entered = mask.IsEntered(tab.number);
    }
};

TEST_F(HolderFormTest, NewPersonWithOnlyAPhoneGetsOnePhoneAndAFormalNameWithALeadingBlank) {
    TPersonObject& ann = NewPerson();
    THolderForm form = LoadHolderForm(ann);
    EXPECT_EQ(form.title, "New Person");
    EXPECT_EQ(form.salutation, "");
    PresetNewHolderTitles(form);
    form.title = "Ann Lee";
    SplitTitleIntoNames(form);
    EXPECT_EQ(form.firstName, "Ann");
    EXPECT_EQ(form.lastName, "Lee");
    TypeUsa(form.phone, "555");
    ASSERT_TRUE(form.phone.entered);

    EXPECT_TRUE(AcceptHolderNew(form, ann));

    EXPECT_EQ(ann.Title(), "Ann Lee");
    EXPECT_EQ(ann.Node()->Text(), "Ann Lee");
    EXPECT_EQ(ann.Target(), " Ann Lee");
    ASSERT_EQ(ann.ChildCount(), 1u);
    const TNRBObject* phone = ann.ChildAt(0);
    EXPECT_EQ(phone->Kind(), kPhoneKind);
    EXPECT_EQ(phone->Title(), "Primary Phone");
    EXPECT_EQ(phone->Target(), form.phone.number);
    EXPECT_EQ(phone->Target().front(), '(') << "the mask's literals are kept";
    EXPECT_NE(phone->Id(), 0);
    EXPECT_EQ(ann.PrimaryPhone(), "Primary Phone");
    EXPECT_EQ(ann.PrimaryAddress(), "");
    EXPECT_EQ(ann.PrimaryFax(), "");
    EXPECT_EQ(ann.PrimaryEMail(), "");
    EXPECT_EQ(ann.PrimaryWebsite(), "") << "the bare preset http:// is never stored";
    EXPECT_EQ(ann.Node()->ChildCount(), 0u);
}

TEST_F(HolderFormTest, NewPersonCreatesEveryFilledTabWithItsRecordData) {
    TPersonObject& bob = NewPerson();
    THolderForm form = LoadHolderForm(bob);
    PresetNewHolderTitles(form);
    form.title = "Bob";
    form.salutation = "Dr.";
    form.firstName = "Bob";
    form.middleName = "J";
    form.lastName = "Stone";
    form.comment = "friend";
    form.address.lines = {"1 Main St"};
    form.address.city = "Springfield";
    form.address.state = "Kent";
    form.address.postCode = "AB1 2CD";
    form.address.country = "UK";
    form.address.comment = "home";
    TypeUsa(form.phone, "5551234567");
    form.phone.extension = "12";
    form.fax.number = "0123";
    form.fax.entered = true;
    form.email.address = "bob@example.org";
    form.web.url = "http://example.org";
    form.web.comment = "blog";
    ASSERT_TRUE(AcceptHolderNew(form, bob));

    EXPECT_EQ(bob.Target(), "Dr. Bob Stone") << "no middle name in the formal name";
    EXPECT_EQ(bob.MiddleName(), "J");
    EXPECT_EQ(bob.Comment(), "friend");
    ASSERT_EQ(bob.ChildCount(), 4u);

    auto* address = dynamic_cast<TAddressObject*>(bob.ChildAt(0));
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(address->Title(), "Primary Address");
    EXPECT_EQ(address->Target(), "1 Main St");
    EXPECT_EQ(address->Comment(), "home");
    EXPECT_EQ(address->LineCount(), 3u);
    EXPECT_EQ(DataLine(*address), "{Addr}1 Main St~~~~~~Springfield~~Kent~~AB1 2CD~~UK~~0");

    EXPECT_EQ(bob.ChildAt(1)->Target(), "(555)123-4567");
    EXPECT_EQ(DataLine(*bob.ChildAt(1)), "{Phon}12~~0");
    EXPECT_EQ(bob.ChildAt(2)->Kind(), kFaxKind);
    EXPECT_EQ(bob.ChildAt(2)->Title(), "Primary FAX");
    EXPECT_EQ(bob.ChildAt(3)->Kind(), kEMailKind);
    EXPECT_EQ(bob.ChildAt(3)->Target(), "bob@example.org");

    ASSERT_EQ(bob.Node()->ChildCount(), 1u);
    const TNRBObject* site = bob.Node()->ChildAt(0)->Item();
    EXPECT_EQ(site->Kind(), kWebsiteKind);
    EXPECT_EQ(site->Title(), "Primary Website");
    EXPECT_EQ(site->Target(), "http://example.org");
    EXPECT_EQ(site->Comment(), "blog");

    EXPECT_EQ(bob.PrimaryAddress(), "Primary Address");
    EXPECT_EQ(bob.PrimaryPhone(), "Primary Phone");
    EXPECT_EQ(bob.PrimaryFax(), "Primary FAX");
    EXPECT_EQ(bob.PrimaryEMail(), "Primary E-Mail");
    EXPECT_EQ(bob.PrimaryWebsite(), "Primary Website");
}

TEST_F(HolderFormTest, NewPersonSkipsTabsWhoseInputIsIncomplete) {
    TPersonObject& p = NewPerson();
    THolderForm form = LoadHolderForm(p);
    PresetNewHolderTitles(form);
    // Address title set, memo empty; phone only the mask's placeholders; fax without title;
    // e-mail without address.
    form.address.city = "Springfield";
    TypeUsa(form.phone, "");
    EXPECT_FALSE(form.phone.entered);
    form.fax.title.clear();
    form.fax.number = "0123";
    form.fax.entered = true;
    ASSERT_TRUE(AcceptHolderNew(form, p));
    EXPECT_EQ(p.ChildCount(), 0u);
    EXPECT_EQ(p.PrimaryAddress(), "");
    EXPECT_EQ(p.PrimaryPhone(), "");
    EXPECT_EQ(p.PrimaryFax(), "");
    EXPECT_EQ(p.PrimaryEMail(), "");
}

TEST_F(HolderFormTest, WebsiteIsStoredOnlyWithAKnownSchemeAndMoreThanSevenCharacters) {
    struct Case {
        const char* url;
        bool stored;
    };
    const Case cases[] = {{"http://", false},
                          {"www.example.org", false},
                          {"ftp:abc", false},
                          {"ftp:abcd", true},
                          {"MAILTO:a@b.c", true}};
    for (const Case& c : cases) {
        TPersonObject& p = NewPerson();
        THolderForm form = LoadHolderForm(p);
        PresetNewHolderTitles(form);
        form.web.url = c.url;
        AcceptHolderNew(form, p);
        EXPECT_EQ(p.Node()->ChildCount(), c.stored ? 1u : 0u) << c.url;
        EXPECT_EQ(p.PrimaryWebsite(), c.stored ? "Primary Website" : "") << c.url;
    }
    // Existing persons follow the same test.
    TPersonObject& p = NewPerson("P");
    Child(kPhoneKind, "Home", p, "1");
    THolderForm form = LoadHolderForm(p);
    form.web.title = "Site";
    form.web.url = "ftp:abc";
    AcceptHolderEdit(form, p);
    EXPECT_EQ(p.Node()->ChildCount(), 0u);
    form.web.url = "ftp:abcd";
    AcceptHolderEdit(form, p);
    EXPECT_EQ(p.Node()->ChildCount(), 1u);
    EXPECT_EQ(p.PrimaryWebsite(), "Site");
}

TEST_F(HolderFormTest, TitleSplitsIntoNamesByCommaTextWords) {
    THolderForm form;
    form.middleName = "kept";
    form.title = "Ann Lee";
    SplitTitleIntoNames(form);
    EXPECT_EQ(form.firstName, "Ann");
    EXPECT_EQ(form.middleName, "kept") << "two words leave the middle name";
    EXPECT_EQ(form.lastName, "Lee");

    form.title = "John Paul Jones Junior";
    SplitTitleIntoNames(form);
    EXPECT_EQ(form.firstName, "John");
    EXPECT_EQ(form.middleName, "Paul");
    EXPECT_EQ(form.lastName, "Jones");

    form.title = "Lee, Ann";
    SplitTitleIntoNames(form);
    EXPECT_EQ(form.firstName, "Lee") << "surname, comma, given name: taken in written order";
    EXPECT_EQ(form.lastName, "Ann");

    form.title = "\"Mary Ann\" Lee";
    SplitTitleIntoNames(form);
    EXPECT_EQ(form.firstName, "Mary Ann");
    EXPECT_EQ(form.lastName, "Lee");

    THolderForm one;
    one.firstName = "f";
    one.lastName = "l";
    one.title = "Madonna";
    SplitTitleIntoNames(one);
    EXPECT_EQ(one.firstName, "f");
    EXPECT_EQ(one.lastName, "l");
    one.title = "";
    SplitTitleIntoNames(one);
    EXPECT_EQ(one.firstName, "f");
}

TEST_F(HolderFormTest, LoadingShowsThePrimaryContactPointsAndTheChoices) {
    TPersonObject& p = NewPerson("Ann Lee");
    p.SetSalutation("Ms.");
    p.SetFirstName("Ann");
    p.SetMiddleName("M");
    p.SetLastName("Lee");
    p.SetComment("note");
    Child(kAddressKind, "Home", p, "1 Main St",
          "{Addr}1 Main St~~Flat 2~~~~Springfield~~Kent~~AB1~~UK");
    Child(kAddressKind, "Office", p, "2 High St", "{Addr}2 High St~~~~~~Town~~~~~~");
    Child(kPhoneKind, "Mobile", p, "(555)123-4567", "{Phon}42");
    Child(kFaxKind, "Fax", p, "0123");
    Child(kEMailKind, "Mail", p, "ann@example.org");
    Child(kWebsiteKind, "Blog", p, "http://blog.example.org");
    p.SetPrimaryAddress("Office");
    p.SetPrimaryPhone("Mobile");
    p.SetPrimaryFax("Fax");
    p.SetPrimaryEMail("Mail");
    p.SetPrimaryWebsite("Blog");

    THolderForm form = LoadHolderForm(p);
    EXPECT_EQ(form.title, "Ann Lee");
    EXPECT_EQ(form.salutation, "Ms.");
    EXPECT_EQ(form.middleName, "M");
    EXPECT_EQ(form.comment, "note");
    EXPECT_EQ(form.addressTitles, (std::vector<std::string>{"Home", "Office"}));
    EXPECT_EQ(form.webTitles, (std::vector<std::string>{"Blog"}));
    EXPECT_EQ(form.address.title, "Office");
    EXPECT_EQ(form.address.lines, (std::vector<std::string>{"2 High St", "", ""}));
    EXPECT_EQ(form.address.city, "Town");
    EXPECT_EQ(form.phone.title, "Mobile");
    EXPECT_EQ(form.phone.number, "(555)123-4567");
    EXPECT_EQ(form.phone.extension, "42");
    EXPECT_EQ(form.phone.comment, "c-Mobile");
    EXPECT_EQ(form.fax.number, "0123");
    EXPECT_EQ(form.email.address, "ann@example.org");
    EXPECT_EQ(form.web.url, "http://blog.example.org");

    // Choosing another title fills the tab; a title without a contact point keeps it.
    form.address.title = "Home";
    EXPECT_TRUE(FillHolderTab(form, p, kAddressKind));
    EXPECT_EQ(form.address.lines, (std::vector<std::string>{"1 Main St", "Flat 2", ""}));
    EXPECT_EQ(form.address.country, "UK");
    EXPECT_EQ(form.address.comment, "c-Home");
    form.address.title = "home";
    EXPECT_FALSE(FillHolderTab(form, p, kAddressKind)) << "titles match case-sensitively";
    EXPECT_EQ(form.address.city, "Springfield");
    form.phone.title = "Fax";
    EXPECT_FALSE(FillHolderTab(form, p, kPhoneKind)) << "a fax is no phone";
    EXPECT_EQ(form.phone.number, "(555)123-4567");
}

TEST_F(HolderFormTest, HolderWithoutContainedItemsShowsNoChoicesEvenWithWebsites) {
    TPersonObject& p = NewPerson("P");
    Child(kWebsiteKind, "Blog", p, "http://blog.example.org");
    p.SetPrimaryWebsite("Blog");
    THolderForm form = LoadHolderForm(p);
    EXPECT_TRUE(form.webTitles.empty());
    EXPECT_EQ(form.web.title, "");
    EXPECT_EQ(form.web.url, kWebAddressPreset);
    form.web.title = "Blog";
    EXPECT_FALSE(FillHolderTab(form, p, kWebsiteKind));
    EXPECT_EQ(form.web.url, kWebAddressPreset);
}

TEST_F(HolderFormTest, EditUpdatesTheFoundContactPointAndNewTitlesAddASecondOne) {
    TPersonObject& p = NewPerson("Ann");
    TNRBObject* home = Child(kPhoneKind, "Home", p, "111", "{Phon}1");
    p.SetPrimaryPhone("Home");
    THolderForm form = LoadHolderForm(p);
    form.phone.number = "222";
    form.phone.entered = true;
    form.phone.extension = "9";
    form.phone.comment = "evenings";
    form.firstName = "Ann";
    AcceptHolderEdit(form, p);
    ASSERT_EQ(p.ChildCount(), 1u);
    EXPECT_EQ(home->Target(), "222");
    EXPECT_EQ(home->Comment(), "evenings");
    EXPECT_EQ(static_cast<TPhoneObject*>(home)->Extension(), "9");

    // A title the person does not have (case counts) makes a second phone, now primary.
    form.phone.title = "home";
    form.phone.number = "333";
    AcceptHolderEdit(form, p);
    ASSERT_EQ(p.ChildCount(), 2u);
    EXPECT_EQ(home->Target(), "222") << "the old phone stays as it was";
    EXPECT_EQ(p.ChildAt(1)->Title(), "home");
    EXPECT_EQ(p.ChildAt(1)->Target(), "333");
    EXPECT_EQ(DataLine(*p.ChildAt(1)), "{Phon}9~~0");
    EXPECT_EQ(p.PrimaryPhone(), "home");
    EXPECT_EQ(p.Target(), " Ann ") << "own fields are always written";
}

TEST_F(HolderFormTest, EditSkipsIncompleteTabsAndKeepsTheirPrimaryTitles) {
    TPersonObject& p = NewPerson("Ann");
    TNRBObject* phone = Child(kPhoneKind, "Home", p, "111");
    TNRBObject* mail = Child(kEMailKind, "Mail", p, "a@b.c");
    p.SetPrimaryPhone("Home");
    p.SetPrimaryEMail("Mail");
    p.SetPrimaryFax("Old fax");
    THolderForm form = LoadHolderForm(p);
    form.phone.number.clear();
    form.phone.entered = false;
    form.email.address.clear();
    form.fax.title.clear();
    form.fax.number = "5";
    form.fax.entered = true;
    AcceptHolderEdit(form, p);
    EXPECT_EQ(phone->Target(), "111");
    EXPECT_EQ(mail->Target(), "a@b.c");
    EXPECT_EQ(p.ChildCount(), 2u);
    EXPECT_EQ(p.PrimaryFax(), "Old fax") << "an empty title box leaves the primary";
}

TEST_F(HolderFormTest, ExistingAddressEditedWithAnEmptyMemoGetsThreeEmptyLines) {
    TPersonObject& p = NewPerson("Ann");
    auto* address = static_cast<TAddressObject*>(
        Child(kAddressKind, "Home", p, "1 Main St", "{Addr}1 Main St~~x~~y~~City~~~~~~"));
    p.SetPrimaryAddress("Home");
    THolderForm form = LoadHolderForm(p);
    form.address.lines.clear();
    form.address.city = "Elsewhere";
    AcceptHolderEdit(form, p);
    EXPECT_EQ(address->Title(), "Home");
    EXPECT_EQ(address->Target(), "");
    EXPECT_EQ(address->Lines(), (std::vector<std::string_view>{"", "", ""}));
    EXPECT_EQ(address->City(), "Elsewhere");

    // All typed lines stay on an existing address; a new one carries the first three.
    form.address.lines = {"a", "b", "c", "d", "e"};
    AcceptHolderEdit(form, p);
    EXPECT_EQ(address->LineCount(), 5u);
    EXPECT_EQ(address->Target(), "a");
    form.address.title = "Work";
    AcceptHolderEdit(form, p);
    auto* work = dynamic_cast<TAddressObject*>(p.FindChild("Work", kAddressKind));
    ASSERT_NE(work, nullptr);
    EXPECT_EQ(work->LineCount(), 3u);
    EXPECT_EQ(work->City(), "Elsewhere");
    EXPECT_EQ(p.PrimaryAddress(), "Work");
}

TEST_F(HolderFormTest, SeparatorsTypedIntoAFieldDoNotShiftTheNewRecord) {
    TPersonObject& p = NewPerson();
    THolderForm form = LoadHolderForm(p);
    PresetNewHolderTitles(form);
    form.address.lines = {"a~~b"};
    form.address.city = "City";
    AcceptHolderNew(form, p);
    auto* address = dynamic_cast<TAddressObject*>(p.ChildAt(0));
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(address->City(), "City");
    EXPECT_EQ(address->Line(1), "");
}

TEST_F(HolderFormTest, EditRenamesTheNodeAndSortsItAmongItsSiblings) {
    TPersonObject& zed = NewPerson("Zed");
    NewPerson("Mia");
    THolderForm form = LoadHolderForm(zed);
    form.title = "Abe";
    AcceptHolderEdit(form, zed);
    EXPECT_EQ(zed.Node()->Text(), "Abe");
    EXPECT_EQ(zed.Node()->Row(), 0);
}

TEST_F(HolderFormTest, OrganizationKeepsItsTargetAndHasNoNames) {
    TOrgObject& org = NewOrg("New Organization", "kept");
    THolderForm form = LoadHolderForm(org);
    EXPECT_EQ(form.firstName, "");
    PresetNewHolderTitles(form);
    form.title = "Acme Corp";
    form.firstName = "ignored";
    form.comment = "supplier";
    form.email.address = "info@acme.example";
    ASSERT_TRUE(AcceptHolderNew(form, org));
    EXPECT_EQ(org.Title(), "Acme Corp");
    EXPECT_EQ(org.Node()->Text(), "Acme Corp");
    EXPECT_EQ(org.Target(), "kept");
    EXPECT_EQ(org.Comment(), "supplier");
    ASSERT_EQ(org.ChildCount(), 1u);
    EXPECT_EQ(org.PrimaryEMail(), "Primary E-Mail");

    form = LoadHolderForm(org);
    EXPECT_EQ(form.email.title, "Primary E-Mail");
    EXPECT_EQ(form.email.address, "info@acme.example");
    form.email.address = "sales@acme.example";
    AcceptHolderEdit(form, org);
    EXPECT_EQ(org.ChildAt(0)->Target(), "sales@acme.example");
    EXPECT_EQ(org.Target(), "kept");
}

} // namespace
} // namespace quill
