// The single-page editors' forms: what each shows for a stored and for a new item, and the
// conditions under which OK writes them back.

#include "core/editing/item_forms.h"

#include "core/model/attachment_objects.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/edit_mask.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

class ItemFormsTest : public ::testing::Test {
protected:
    test::FakeServices services;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();
    TOutlineNode* holder = CreateItem(kPersonKind, "Ann", "", "", 1, "", root)->Node();

    template <typename T>
    T& Make(int kind, std::string_view title, std::string_view target = "",
            std::string_view data = "", std::string_view comment = "") {
        TNRBObject* item = CreateItem(kind, title, target, comment, 7, data, holder);
        return *static_cast<T*>(item);
    }
};

TEST_F(ItemFormsTest, NewAddressNeedsTitleAndMemoAndIsPaddedToThreeLines) {
    auto& address = Make<TAddressObject>(kAddressKind, "New Address");
    AddressForm form = LoadAddressForm(address, EditMode::New);
    EXPECT_EQ(form.title, "New Address");
    EXPECT_TRUE(form.memo.empty());

    // A new address without address text is dropped, even with every other box filled.
    form.city = "Springfield";
    EXPECT_FALSE(AcceptAddressForm(form, EditMode::New, address));
    EXPECT_TRUE(address.City().empty());
    form.memo = "1 Main St";
    form.title.clear();
    EXPECT_FALSE(AcceptAddressForm(form, EditMode::New, address));
    EXPECT_EQ(address.LineCount(), 0u);

    form.title = "Home";
    form.state = "Kent";
    form.postCode = "AB1 2CD";
    form.country = "UK";
    form.comment = "front door";
    ASSERT_TRUE(AcceptAddressForm(form, EditMode::New, address));
    EXPECT_EQ(address.Title(), "Home");
    EXPECT_EQ(address.Target(), "1 Main St");
    EXPECT_EQ(address.Comment(), "front door");
    EXPECT_EQ(address.Lines(), (std::vector<std::string_view>{"1 Main St", "", ""}));
    EXPECT_EQ(address.City(), "Springfield");
    EXPECT_EQ(address.Country(), "UK");
    const std::string record = address.RecordText(1);
    EXPECT_NE(record.find("\r\n{Addr}1 Main St~~~~~~Springfield~~Kent~~AB1 2CD~~UK"),
              std::string::npos)
        << record;
}

TEST_F(ItemFormsTest, EditedAddressNeedsOnlyATitleAndKeepsEveryLineTyped) {
    auto& address =
        Make<TAddressObject>(kAddressKind, "Office", "1 Main St",
                             "{Addr}1 Main St~~Floor 2~~~~Springfield~~Kent~~AB1~~UK", "desk");
    AddressForm form = LoadAddressForm(address, EditMode::Edit);
    EXPECT_EQ(form.title, "Office");
    EXPECT_EQ(form.memo, "1 Main St\nFloor 2\n");
    EXPECT_EQ(form.city, "Springfield");
    EXPECT_EQ(form.state, "Kent");
    EXPECT_EQ(form.postCode, "AB1");
    EXPECT_EQ(form.country, "UK");
    EXPECT_EQ(form.comment, "desk");

    // Accepting what was loaded changes nothing.
    ASSERT_TRUE(AcceptAddressForm(form, EditMode::Edit, address));
    EXPECT_EQ(address.Lines(), (std::vector<std::string_view>{"1 Main St", "Floor 2", ""}));

    AddressForm untitled = form;
    untitled.title.clear();
    untitled.memo = "elsewhere";
    EXPECT_FALSE(AcceptAddressForm(untitled, EditMode::Edit, address));
    EXPECT_EQ(address.Title(), "Office");
    EXPECT_EQ(address.Target(), "1 Main St");

    form.memo = "a\nb\nc\nd\ne";
    ASSERT_TRUE(AcceptAddressForm(form, EditMode::Edit, address));
    EXPECT_EQ(address.LineCount(), 5u);
    EXPECT_EQ(address.Line(4), "e");
    EXPECT_EQ(LoadAddressForm(address, EditMode::Edit).memo, "a\nb\nc\nd\ne");

    // An emptied memo is accepted in Edit: three empty lines and an empty Target.
    form.memo.clear();
    ASSERT_TRUE(AcceptAddressForm(form, EditMode::Edit, address));
    EXPECT_EQ(address.Lines(), (std::vector<std::string_view>{"", "", ""}));
    EXPECT_TRUE(address.Target().empty());
    EXPECT_EQ(address.Title(), "Office");
}

TEST_F(ItemFormsTest, PhoneNeedsANumberEnteredIntoTheMaskInForce) {
    auto& phone = Make<TPhoneObject>(kPhoneKind, "New Phone");
    PhoneForm form = LoadPhoneForm(phone, EditMode::New);
    EXPECT_EQ(form.title, "New Phone");
    EXPECT_EQ(form.mask, PhoneFormats()[kUsaPhoneFormat].mask);
    const TEditMask usa(form.mask);

    // Only the mask's literals and blanks: nothing was entered, the preset title is no help.
    form.number = usa.EmptyText();
    EXPECT_FALSE(AcceptPhoneForm(form, phone));
    form.number.clear();
    EXPECT_FALSE(AcceptPhoneForm(form, phone));
    EXPECT_TRUE(phone.Target().empty());

    form.number = usa.Apply("5551234567");
    form.title.clear();
    EXPECT_FALSE(AcceptPhoneForm(form, phone));
    form.title = "Home";
    form.extension = "12";
    form.comment = "evenings";
    ASSERT_TRUE(AcceptPhoneForm(form, phone));
    EXPECT_EQ(phone.Title(), "Home");
    EXPECT_EQ(phone.Target(), "(555)123-4567") << "stored as displayed, literals included";
    EXPECT_EQ(phone.Extension(), "12");
    EXPECT_EQ(phone.Comment(), "evenings");

    // Free Format has no mask: any text counts.
    PhoneForm free = LoadPhoneForm(phone, EditMode::New);
    free.mask = PhoneFormats()[kFreePhoneFormat].mask;
    free.number = "+44 20 7946 0000";
    ASSERT_TRUE(AcceptPhoneForm(free, phone));
    EXPECT_EQ(phone.Target(), "+44 20 7946 0000");
}

TEST_F(ItemFormsTest, EditedPhoneShowsTheStoredNumberWithoutMaskAndKeepsItWhenCleared) {
    auto& phone = Make<TPhoneObject>(kPhoneKind, "Office", "(555)123-4567", "{Phon}22", "desk");
    PhoneForm form = LoadPhoneForm(phone, EditMode::Edit);
    EXPECT_EQ(form.title, "Office");
    EXPECT_EQ(form.number, "(555)123-4567");
    EXPECT_EQ(form.extension, "22");
    EXPECT_EQ(form.comment, "desk");
    EXPECT_TRUE(form.mask.empty());

    PhoneForm cleared = form;
    cleared.number.clear();
    cleared.comment = "gone";
    EXPECT_FALSE(AcceptPhoneForm(cleared, phone));
    EXPECT_EQ(phone.Target(), "(555)123-4567");
    EXPECT_EQ(phone.Comment(), "desk");

    form.number = "555 999";
    form.extension.clear();
    ASSERT_TRUE(AcceptPhoneForm(form, phone));
    EXPECT_EQ(phone.Target(), "555 999");
    EXPECT_TRUE(phone.Extension().empty());
}

TEST_F(ItemFormsTest, FaxNeedsANumberOnlyWhenNew) {
    auto& fresh = Make<TFaxObject>(kFaxKind, "New Fax");
    FaxForm form = LoadFaxForm(fresh, EditMode::New);
    EXPECT_EQ(form.title, "New Fax");
    EXPECT_EQ(form.mask, PhoneFormats()[kUsaPhoneFormat].mask);
    form.number = TEditMask(form.mask).EmptyText();
    EXPECT_FALSE(AcceptFaxForm(form, EditMode::New, fresh));
    form.number = TEditMask(form.mask).Apply("5559876543");
    ASSERT_TRUE(AcceptFaxForm(form, EditMode::New, fresh));
    EXPECT_EQ(fresh.Target(), "(555)987-6543");

    auto& stored = Make<TFaxObject>(kFaxKind, "Office", "(555)123-4567", "", "desk");
    FaxForm edit = LoadFaxForm(stored, EditMode::Edit);
    EXPECT_EQ(edit.number, "(555)123-4567");
    EXPECT_TRUE(edit.mask.empty());
    edit.number.clear();
    ASSERT_TRUE(AcceptFaxForm(edit, EditMode::Edit, stored));
    EXPECT_TRUE(stored.Target().empty()) << "a cleared fax number is stored empty";
    EXPECT_EQ(stored.Comment(), "desk");

    edit.title.clear();
    edit.number = "123";
    EXPECT_FALSE(AcceptFaxForm(edit, EditMode::Edit, stored));
    EXPECT_EQ(stored.Title(), "Office");
    EXPECT_TRUE(stored.Target().empty());
}

TEST_F(ItemFormsTest, EMailNeedsAnAddressButNoTitle) {
    auto& mail = Make<TEMailObject>(kEMailKind, "New E-Mail");
    EMailForm form = LoadEMailForm(mail, EditMode::New);
    EXPECT_EQ(form.title, "New E-Mail");
    EXPECT_TRUE(form.address.empty());
    EXPECT_FALSE(AcceptEMailForm(form, mail));
    EXPECT_EQ(mail.Title(), "New E-Mail");

    form.title.clear();
    form.address = "ann@example.org";
    ASSERT_TRUE(AcceptEMailForm(form, mail));
    EXPECT_TRUE(mail.Title().empty());
    EXPECT_EQ(mail.Target(), "ann@example.org");
    // No further check: the mail actions test the address when they use it.
    form.address = "not an address";
    EXPECT_TRUE(AcceptEMailForm(form, mail));
    EXPECT_EQ(LoadEMailForm(mail, EditMode::Edit).address, "not an address");
}

TEST_F(ItemFormsTest, WebsiteNeedsAUrlWithAKnownScheme) {
    auto& site =
        *static_cast<TWebObject*>(CreateItem(kWebsiteKind, "New Website", "", "", 3, "", holder));
    WebsiteForm form = LoadWebsiteForm(site, EditMode::New);
    EXPECT_EQ(form.title, "New Website");
    EXPECT_EQ(form.url, "http://");
    EXPECT_FALSE(AcceptWebsiteForm(form, site)) << "the bare preset is never stored";
    form.url = "not a site";
    EXPECT_FALSE(AcceptWebsiteForm(form, site));
    form.url.clear();
    EXPECT_FALSE(AcceptWebsiteForm(form, site));
    EXPECT_TRUE(site.Target().empty());

    form.title.clear();
    form.url = "https://example.org/";
    ASSERT_TRUE(AcceptWebsiteForm(form, site));
    EXPECT_TRUE(site.Title().empty());
    EXPECT_EQ(site.Target(), "https://example.org/");
    EXPECT_EQ(LoadWebsiteForm(site, EditMode::Edit).url, "https://example.org/");
}

TEST_F(ItemFormsTest, TypedHostNamesAreTakenAsWebAddresses) {
    auto& site =
        *static_cast<TWebObject*>(CreateItem(kWebsiteKind, "New Website", "", "", 3, "", holder));
    WebsiteForm form = LoadWebsiteForm(site, EditMode::New);
    form.url = "www.example.com";
    ASSERT_TRUE(AcceptWebsiteForm(form, site));
    EXPECT_EQ(site.Target(), "http://www.example.com");

    EXPECT_EQ(CompleteWebAddress("  example.org/a?b=1 "), "http://example.org/a?b=1");
    EXPECT_EQ(CompleteWebAddress("http://https://example.org/"), "https://example.org/");
    EXPECT_EQ(CompleteWebAddress("HTTPS://Example.org"), "HTTPS://Example.org");
    EXPECT_EQ(CompleteWebAddress("http://www.example.com"), "http://www.example.com");
    // Nothing that is not a host name is made into one.
    for (const char* left : {"two words.com", "localhost", ".hidden", "file:///etc/passwd"}) {
        EXPECT_EQ(CompleteWebAddress(left), left);
    }
    EXPECT_EQ(CompleteWebAddress("   "), "");
}

TEST_F(ItemFormsTest, FolderAndTeamAreAlwaysAcceptedAnEmptyTitleToo) {
    TNRBObject* folder = CreateItem(kFolderKind, "Family", "", "old", 1, "", root);
    GroupForm form = LoadGroupForm(*folder);
    EXPECT_EQ(form.title, "Family");
    EXPECT_EQ(form.comment, "old");
    form.title.clear();
    form.comment = "new";
    ASSERT_TRUE(AcceptGroupForm(form, *folder));
    EXPECT_TRUE(folder->Title().empty());
    EXPECT_EQ(folder->Comment(), "new");
    EXPECT_TRUE(folder->Node()->Text().empty()) << "the node caption follows the title";

    TNRBObject* team = CreateItem(kTeamKind, "Board", "", "", 1, "", root);
    ASSERT_TRUE(AcceptGroupForm({"Trustees", ""}, *team));
    EXPECT_EQ(team->Node()->Text(), "Trustees");
}

TEST_F(ItemFormsTest, DocumentNeedsTitleAndFileNameAndTakesItsIconAfresh) {
    auto& doc = Make<TDocObject>(kDocumentKind, "New Document");
    DocumentForm form = LoadDocumentForm(doc, EditMode::New);
    EXPECT_EQ(form.title, "New Document");
    EXPECT_FALSE(AcceptDocumentForm(form, doc)) << "a title without a file name";
    form.title.clear();
    form.fileName = "/home/ann/plan.odt";
    EXPECT_FALSE(AcceptDocumentForm(form, doc)) << "a file name without a title";
    EXPECT_TRUE(services.icons.added.empty());
    EXPECT_EQ(doc.IconIndex(), kGenericFileImage);

    form.title = "Plan";
    ASSERT_TRUE(AcceptDocumentForm(form, doc));
    EXPECT_EQ(doc.Target(), "/home/ann/plan.odt");
    ASSERT_EQ(services.icons.added.size(), 1u);
    const int index = doc.IconIndex();
    EXPECT_NE(index, kGenericFileImage);

    // Edited again: the picture is replaced in place, the index stays.
    DocumentForm edit = LoadDocumentForm(doc, EditMode::Edit);
    EXPECT_EQ(edit.fileName, "/home/ann/plan.odt");
    edit.fileName = "/home/ann/plan.pdf";
    ASSERT_TRUE(AcceptDocumentForm(edit, doc));
    EXPECT_EQ(doc.IconIndex(), index);
    ASSERT_EQ(services.icons.replaced.size(), 1u);
    EXPECT_EQ(services.icons.replaced[0],
              (std::pair<int, std::string>{index, "/home/ann/plan.pdf"}));
}

TEST(DocumentBrowseTest, StartsInTheDirectoryAndReplacesTheTitle) {
    EXPECT_EQ(BrowseStartDirectory("/home/ann/plan.odt"), "/home/ann/");
    EXPECT_EQ(BrowseStartDirectory("/plan.odt"), "/");
    EXPECT_EQ(BrowseStartDirectory("plan.odt"), "");
    EXPECT_EQ(BrowseStartDirectory(""), "");

    DocumentForm form{"My own title", "", "kept"};
    TakeBrowsedFile("/home/ann/report.final.pdf", form);
    EXPECT_EQ(form.title, "report.final.pdf");
    EXPECT_EQ(form.fileName, "/home/ann/report.final.pdf");
    EXPECT_EQ(form.comment, "kept");
}

TEST_F(ItemFormsTest, ToolKeepsItsCallersTitleAndEditsOnlyItsTarget) {
    services.icons.tools.emplace_back("/usr/bin/gedit", 21);
    auto& tool = Make<TToolObject>(kToolKind, "New Editor", "", "{Tool}/usr/bin/gedit~~-s");
    ToolForm form = LoadToolForm(tool, EditMode::New);
    EXPECT_EQ(form.title, "New Editor");
    EXPECT_EQ(form.imageIndex, 21);
    EXPECT_TRUE(form.address.empty());

    form.title.clear();
    form.address = "notes.txt";
    EXPECT_FALSE(AcceptToolForm(form, tool));
    EXPECT_EQ(tool.Title(), "New Editor");

    form.title = "Notes";
    form.comment = "daily";
    ASSERT_TRUE(AcceptToolForm(form, tool));
    EXPECT_EQ(tool.Target(), "notes.txt");
    EXPECT_EQ(tool.Program(), "/usr/bin/gedit");
    EXPECT_EQ(tool.Parameters(), "-s");
    const ToolForm loaded = LoadToolForm(tool, EditMode::Edit);
    EXPECT_EQ(loaded.address, "notes.txt");
    EXPECT_EQ(loaded.comment, "daily");
}

} // namespace
} // namespace quill
