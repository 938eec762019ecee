// The item model: factory, ordering, lookups, renaming, action entries and clipboard.

#include "core/model/attachment_objects.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/group_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "core/model/record_text.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

class ItemModelTest : public ::testing::Test {
protected:
    test::FakeServices services;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();

    TNRBObject* Make(int kind, std::string_view title, TOutlineNode* parent,
                     std::string_view target = "", std::string_view data = "") {
        return CreateItem(kind, title, target, "", 5, data, parent);
    }
};

TEST_F(ItemModelTest, FactoryBuildsEveryKindWithItsClassAndPlace) {
    TNRBObject* person = Make(kPersonKind, "Ann", root);
    ASSERT_NE(person, nullptr);
    EXPECT_NE(dynamic_cast<TPersonObject*>(person), nullptr);
    ASSERT_NE(person->Node(), nullptr);
    EXPECT_EQ(person->Node()->Parent(), root);
    EXPECT_EQ(person->Node()->Item(), person);
    EXPECT_EQ(person->Node()->Text(), "Ann");

    const int treeKinds[] = {kFolderKind, kOrganizationKind, kTeamKind, kWebsiteKind};
    for (int kind : treeKinds) {
        TNRBObject* item = Make(kind, "t", root);
        ASSERT_NE(item, nullptr) << kind;
        EXPECT_EQ(item->Kind(), kind);
        EXPECT_EQ(item->Node()->Item(), item);
    }
    const int childKinds[] = {kAddressKind,  kPhoneKind, kEMailKind, kFaxKind, kReminderKind,
                              kDocumentKind, kToolKind,  13,         200};
    for (int kind : childKinds) {
        TNRBObject* item = Make(kind, "c", person->Node());
        ASSERT_NE(item, nullptr) << kind;
        EXPECT_EQ(item->Kind(), kind);
        EXPECT_EQ(item->Node(), person->Node()) << "a child's node is its holder's";
        EXPECT_EQ(person->ChildAt(person->ChildCount() - 1), item);
    }
    EXPECT_EQ(person->Node()->ChildCount(), 0u) << "child kinds never become nodes";
    EXPECT_NE(dynamic_cast<TUnknownKindObject*>(person->ChildAt(8)), nullptr);
}

TEST_F(ItemModelTest, FactoryRefusesWhatItCannotPlace) {
    EXPECT_EQ(CreateItem(kRootKind, "My Contacts", "", "", 1, "", root), nullptr);
    EXPECT_EQ(CreateItem(kPhoneKind, "p", "", "", 1, "", nullptr), nullptr);
    EXPECT_EQ(root->ChildCount(), 0u);
    EXPECT_EQ(root->Item()->ChildCount(), 0u);
    // The kind is a byte: 256 + 3 is a person.
    TNRBObject* person = CreateItem(256 + kPersonKind, "P", "", "", 1, "", root);
    ASSERT_NE(person, nullptr);
    EXPECT_EQ(person->Kind(), kPersonKind);
}

TEST_F(ItemModelTest, NodeImagesFollowTheKind) {
    TOutlineNode* folder = Make(kFolderKind, "f", root)->Node();
    EXPECT_EQ(folder->ImageIndex(), 0);
    EXPECT_EQ(folder->SelectedIndex(), kOpenFolderImage);
    TOutlineNode* team = Make(kTeamKind, "t", root)->Node();
    EXPECT_EQ(team->ImageIndex(), 2);
    EXPECT_EQ(team->SelectedIndex(), 2);
    TOutlineNode* web = Make(kWebsiteKind, "w", root)->Node();
    EXPECT_EQ(web->ImageIndex(), 4);
    EXPECT_EQ(web->SelectedIndex(), 4);
    EXPECT_EQ(root->ImageIndex(), kRootImage);
    EXPECT_EQ(root->SelectedIndex(), kRootImage);
    EXPECT_EQ(root->Item()->Id(), kRootId);
    EXPECT_EQ(root->Text(), "My Contacts");
}

TEST_F(ItemModelTest, RandomIdsAreDrawnOnlyForZero) {
    SeedItemIds(42);
    TNRBObject* kept = CreateItem(kFolderKind, "a", "", "", -17, "", root);
    EXPECT_EQ(kept->Id(), -17);
    bool sawNonZero = false;
    for (int i = 0; i < 50; ++i) {
        const std::int32_t id = CreateItem(kFolderKind, "b", "", "", 0, "", root)->Id();
        EXPECT_GE(id, 0);
        EXPECT_LE(id, 65534 * 32767);
        sawNonZero = sawNonZero || id != 0;
    }
    EXPECT_TRUE(sawNonZero);
    SeedItemIds(42);
    const std::int32_t first = DrawItemId();
    SeedItemIds(42);
    EXPECT_EQ(DrawItemId(), first) << "seeding makes ids repeatable";
}

TEST_F(ItemModelTest, OrderingPutsFoldersFirstThenTitlesWithoutCase) {
    TFolderObject beta("beta", "", "", 1, "");
    TPersonObject alpha("Alpha", "", "", 1, "");
    EXPECT_TRUE(ItemSortsBefore(beta, alpha));
    EXPECT_FALSE(ItemSortsBefore(alpha, beta));
    TPersonObject bob("bob", "", "", 1, "");
    TPersonObject alice("Alice", "", "", 1, "");
    EXPECT_TRUE(ItemSortsBefore(alice, bob));
    TFolderObject a("a", "", "", 1, "");
    TFolderObject b("B", "", "", 1, "");
    EXPECT_TRUE(ItemSortsBefore(a, b));
    TPersonObject same1("Same", "", "", 1, "");
    TPersonObject same2("same", "", "", 1, "");
    EXPECT_FALSE(ItemSortsBefore(same1, same2));
    EXPECT_FALSE(ItemSortsBefore(same2, same1));
}

TEST_F(ItemModelTest, UrlAndInternetAddressTests) {
    EXPECT_TRUE(IsURL("ftp:abcd"));
    EXPECT_FALSE(IsURL("ftp:abc")) << "seven characters are not enough";
    EXPECT_TRUE(IsURL("HTTP://example.com"));
    EXPECT_TRUE(IsURL("mailto:ann@example.com"));
    EXPECT_TRUE(IsURL("telnet:host"));
    EXPECT_FALSE(IsURL("https//example.com"));
    EXPECT_FALSE(IsURL("www.example.com"));
    // Secure sites are today's common case; refusing them would drop the user's input.
    EXPECT_TRUE(IsURL("https://example.com"));
    EXPECT_TRUE(IsInternetAddress("ann@example.com"));
    EXPECT_FALSE(IsInternetAddress("ann.example.com"));
}

TEST_F(ItemModelTest, FindChildMatchesTitleExactlyAndKind) {
    TNRBObject* person = Make(kPersonKind, "Ann", root);
    TOutlineNode* node = person->Node();
    Make(kFaxKind, "Home", node);
    TNRBObject* lower = Make(kPhoneKind, "home", node);
    EXPECT_EQ(person->FindChild("Home", kPhoneKind), nullptr);
    EXPECT_EQ(person->FindChild("home", kPhoneKind), lower);
    EXPECT_EQ(person->FindChild("", kPhoneKind), nullptr);
    TNRBObject* upper = Make(kPhoneKind, "Home", node);
    EXPECT_EQ(person->FindChild("Home", kPhoneKind), upper);
    TNRBObject* site = Make(kWebsiteKind, "Site", node);
    EXPECT_EQ(person->FindChild("Site", kWebsiteKind), site) << "websites are child nodes";
    std::vector<std::string> titles;
    person->ListChildTitles(kPhoneKind, titles);
    EXPECT_EQ(titles, (std::vector<std::string>{"home", "Home"}));
    titles.clear();
    person->ListChildTitles(kWebsiteKind, titles);
    EXPECT_EQ(titles, (std::vector<std::string>{"Site"}));
}

TEST_F(ItemModelTest, FindChildByWordLooksAtWordStartsOfTheFirstOccurrence) {
    TNRBObject* folder = Make(kFolderKind, "f", root);
    TOutlineNode* node = folder->Node();
    Make(kPhoneKind, "Office Main", node);
    TNRBObject* mobile = Make(kPhoneKind, "Mobile", node);
    TNRBObject* umlaut = Make(kEMailKind, "Ärger Post", node);
    EXPECT_EQ(folder->FindChildByWord("main"), node->Item()->ChildAt(0));
    EXPECT_EQ(folder->FindChildByWord("mob"), mobile);
    EXPECT_EQ(folder->FindChildByWord("ffice"), nullptr);
    EXPECT_EQ(folder->FindChildByWord("ärger"), umlaut) << "lower case is Unicode-aware";
    EXPECT_EQ(folder->FindChildByWord("post"), umlaut);
    // Only the first occurrence counts: "ain" inside "Main" is not at a word start.
    TNRBObject* folder2 = Make(kFolderKind, "g", root);
    Make(kPhoneKind, "Mainly main", folder2->Node());
    EXPECT_EQ(folder2->FindChildByWord("ain"), nullptr);
}

TEST_F(ItemModelTest, RenameMovesCaptionOnlyWhenItShowedTheTitle) {
    TNRBObject* zed = Make(kPersonKind, "Zed", root);
    TNRBObject* amy = Make(kPersonKind, "Amy", root);
    zed->SetTitle("Aaron");
    EXPECT_EQ(zed->Node()->Text(), "Aaron");
    ASSERT_EQ(root->ChildCount(), 2u);
    EXPECT_EQ(root->ChildAt(0)->Item(), zed) << "siblings are sorted with the new title";
    EXPECT_EQ(root->ChildAt(1)->Item(), amy);

    // A phone titled like its person's caption renames the caption too.
    TNRBObject* phone = Make(kPhoneKind, "Amy", amy->Node());
    phone->SetTitle("Work");
    EXPECT_EQ(phone->Title(), "Work");
    EXPECT_EQ(amy->Node()->Text(), "Work");
    EXPECT_EQ(amy->Title(), "Amy");
    TNRBObject* other = Make(kPhoneKind, "Home", zed->Node());
    other->SetTitle("Cell");
    EXPECT_EQ(zed->Node()->Text(), "Aaron");
}

TEST_F(ItemModelTest, TextFieldsNeverHoldSeparatorsOrLineBreaks) {
    TNRBObject* person = CreateItem(kPersonKind, "Ann~~Lee", "a\r\nb", "x~~~~y~", 1, "", root);
    EXPECT_EQ(person->Title(), "Ann~Lee");
    EXPECT_EQ(person->Target(), "a b");
    EXPECT_EQ(person->Comment(), "x~y");
    EXPECT_EQ(person->Node()->Text(), "Ann~Lee");
    person->SetComment("line1\nline2\rline3");
    EXPECT_EQ(person->Comment(), "line1 line2 line3");
    auto* p = static_cast<TPersonObject*>(person);
    p->SetFirstName("A~~");
    EXPECT_EQ(p->FirstName(), "A");
    p->SetPrimaryPhone("~~Home");
    EXPECT_EQ(p->PrimaryPhone(), "~Home");
    EXPECT_EQ(CleanField("~"), "");
}

TEST_F(ItemModelTest, PrimaryTitlesSetTogetherKeepTheFieldsNotGiven) {
    auto* person = static_cast<TPersonObject*>(Make(kPersonKind, "Ann", root));
    ASSERT_NE(person, nullptr);
    person->SetPrimaryFax("Office fax");
    person->SetPrimaryWebsite("Blog");
    person->SetPrimaryTitles({"Home~~", "Mobile", std::nullopt, "Work\nmail", ""});
    EXPECT_EQ(person->PrimaryAddress(), "Home");
    EXPECT_EQ(person->PrimaryPhone(), "Mobile");
    EXPECT_EQ(person->PrimaryFax(), "Office fax") << "not given: kept";
    EXPECT_EQ(person->PrimaryEMail(), "Work mail");
    EXPECT_EQ(person->PrimaryWebsite(), "") << "given empty: cleared";
    auto* other = static_cast<TPersonObject*>(Make(kPersonKind, "Bo", root));
    ASSERT_NE(other, nullptr);
    other->SetPrimaryTitles({std::nullopt, std::nullopt, std::nullopt, std::nullopt, ""});
    EXPECT_EQ(other->PrimaryAddress(), "");
    EXPECT_EQ(other->PrimaryWebsite(), "");
}

TEST_F(ItemModelTest, ActionEntriesPerKind) {
    auto menuOf = [](const TNRBObject& item) {
        ActionMenu menu;
        menu.sendMail = menu.dial = true; // stale entries must be cleared
        item.SetupActionMenu(menu);
        return menu;
    };
    const ActionMenu openOnly{true, false, false, false, false, false, false};
    EXPECT_EQ(menuOf(TFolderObject("f", "", "", 1, "")), openOnly);
    EXPECT_EQ(menuOf(TTeamObject("t", "", "", 1, "")), openOnly);
    EXPECT_EQ(menuOf(TNRBObject(kRootKind, "r", "", "", 1)), openOnly);
    EXPECT_EQ(menuOf(TWebObject("w", "", "", 1, "")),
              (ActionMenu{true, false, false, false, true, false, false}));
    EXPECT_EQ(menuOf(TAddressObject("a", "", "", 1, "")),
              (ActionMenu{false, false, false, false, false, false, false}));
    EXPECT_EQ(menuOf(TPhoneObject("p", "", "", 1, "")),
              (ActionMenu{false, false, false, true, false, false, false}));
    EXPECT_EQ(menuOf(TEMailObject("e", "", "", 1, "")),
              (ActionMenu{false, true, false, false, false, false, false}));
    EXPECT_EQ(menuOf(TFaxObject("x", "", "", 1, "")),
              (ActionMenu{false, false, true, true, false, false, false}));
    EXPECT_EQ(menuOf(TReminderObject("r", "", "", 1, "")),
              (ActionMenu{false, false, false, false, false, true, false}));
    EXPECT_EQ(menuOf(TDocObject("d", "", "", 1, "")),
              (ActionMenu{false, false, false, false, false, false, true}));
    EXPECT_EQ(menuOf(TToolObject("t", "", "", 1, "")),
              (ActionMenu{false, false, false, false, false, false, true}));

    TPersonObject person("p", "", "", 1, "{Pers}~~~~~~~~~~Primary Phone~~~~Mail~~~~0");
    EXPECT_EQ(menuOf(person), (ActionMenu{true, true, false, true, false, false, false}))
        << "offered by the field even without such a child";
    TOrgObject org("o", "", "", 1, "{Orgn}~~~~Fax~~~~Site~~0");
    EXPECT_EQ(menuOf(org), (ActionMenu{true, false, true, false, true, false, false}));
}

// Records which actions reach a contact point.
class SpyPhone : public TPhoneObject {
public:
    using TPhoneObject::TPhoneObject;
    int dials = 0;
    void Dial() override { ++dials; }
};

TEST_F(ItemModelTest, PersonActionsReachTheNamedPrimaryOnly) {
    auto* person = static_cast<TPersonObject*>(Make(kPersonKind, "Ann", root));
    person->SetPrimaryPhone("home");
    auto* upper = static_cast<SpyPhone*>(
        person->AddChild(std::make_unique<SpyPhone>("Home", "1", "", 1, "")));
    auto* lower = static_cast<SpyPhone*>(
        person->AddChild(std::make_unique<SpyPhone>("home", "2", "", 1, "")));
    upper->SetNode(person->Node());
    lower->SetNode(person->Node());
    person->Dial();
    EXPECT_EQ(upper->dials, 0);
    EXPECT_EQ(lower->dials, 1);
    lower->SetTitle("Work");
    person->Dial();
    EXPECT_EQ(lower->dials, 1) << "a primary naming no child does nothing";
    lower->Activate();
    EXPECT_EQ(lower->dials, 2) << "double-clicking a phone dials";
}

TEST_F(ItemModelTest, ActivateSelectsTheHolderForPlainKinds) {
    TNRBObject* person = Make(kPersonKind, "Ann", root);
    TNRBObject* address = Make(kAddressKind, "Home", person->Node());
    address->Activate();
    person->Activate();
    ASSERT_EQ(services.navigator.selected.size(), 2u);
    EXPECT_EQ(services.navigator.selected[0], person->Node());
    EXPECT_EQ(services.navigator.selected[1], person->Node());
    TNRBObject* folder = Make(kFolderKind, "F", root);
    EXPECT_TRUE(folder->EditNew(folder->Node()));
    ASSERT_EQ(services.navigator.edited.size(), 1u);
    EXPECT_EQ(services.navigator.edited[0], folder->Node());
}

TEST_F(ItemModelTest, AddressKeepsLinesAndFormatsItsPostalBlock) {
    TAddressObject address("Home", "1 Main St", "", 1,
                           "{Addr}1 Main St~~~~~~Springfield~~Kent~~AB1 2CD~~UK");
    ASSERT_EQ(address.Lines().size(), 3u);
    EXPECT_EQ(address.Lines()[0], "1 Main St");
    EXPECT_EQ(address.Lines()[1], "");
    EXPECT_EQ(address.Categories(), 0);
    EXPECT_EQ(address.ClipboardText(), "1 Main St\r\nSpringfield, Kent AB1 2CD\r\nUK\r\n");

    address.SetLines({"a", "b", "c", "d", "e"});
    EXPECT_EQ(address.ClipboardText(),
              "a\r\nb\r\nc\r\nd\r\ne\r\nSpringfield, Kent AB1 2CD\r\nUK\r\n");
    const std::string record = address.RecordText(2);
    EXPECT_NE(record.find("{Addr}a~~b~~c~~Springfield"), std::string::npos)
        << "only three lines are written";
    address.SetLines({"1 Main St"});
    address.PadLines();
    EXPECT_EQ(address.Lines().size(), 3u);
    EXPECT_NE(address.RecordText(1).find("\r\n{Addr}1 Main St~~~~~~Springfield"),
              std::string::npos);
}

TEST_F(ItemModelTest, AddressCountsEmptyLinesItWasGiven) {
    // Empty lines count as lines: the editor shows as many as were typed.
    TAddressObject address("Home", "", "", 1, "");
    EXPECT_EQ(address.LineCount(), 0u);
    address.SetLines({"", ""});
    EXPECT_EQ(address.LineCount(), 2u);
    address.SetLines({"", "", "", "", "fifth"});
    ASSERT_EQ(address.LineCount(), 5u);
    EXPECT_EQ(address.Line(3), "");
    EXPECT_EQ(address.Line(4), "fifth");
    EXPECT_EQ(address.Line(5), "");
    address.SetLines({});
    EXPECT_EQ(address.LineCount(), 0u);
    EXPECT_EQ(address.Line(0), "");
    address.PadLines();
    EXPECT_EQ(address.LineCount(), 3u);
    // A record's three empty line fields are three lines.
    address.ReadDataLine("{Addr}~~~~~~City~~~~~~~~0");
    EXPECT_EQ(address.LineCount(), 6u) << "read lines are appended to those held";
}

TEST_F(ItemModelTest, CopyToClipboardStoresRecordWithZeroAndPlainText) {
    TNRBObject* person = Make(kPersonKind, "Ann", root);
    TNRBObject* phone =
        CreateItem(kPhoneKind, "Home", "(555)123-4567", "", 77, "{Phon}12~~3", person->Node());
    phone->CopyToClipboard();
    EXPECT_EQ(services.clipboard.stores, 1);
    EXPECT_EQ(services.clipboard.record,
              std::string("{1 6 }Home~~(555)123-4567~~~~77\r\n{Phon}12~~3") + '\0');
    EXPECT_EQ(services.clipboard.text, "(555)123-4567");
}

TEST_F(ItemModelTest, ChildrenCanBeUnlinkedAndMoved) {
    TNRBObject* ann = Make(kPersonKind, "Ann", root);
    TNRBObject* bob = Make(kPersonKind, "Bob", root);
    TNRBObject* phone = Make(kPhoneKind, "Home", ann->Node());
    std::unique_ptr<TNRBObject> moved = ann->UnlinkChild(phone);
    ASSERT_EQ(moved.get(), phone);
    EXPECT_EQ(ann->ChildCount(), 0u);
    bob->AddChild(std::move(moved))->SetNode(bob->Node());
    EXPECT_EQ(bob->ChildAt(0), phone);
    EXPECT_EQ(phone->Node(), bob->Node());
    EXPECT_EQ(ann->UnlinkChild(phone), nullptr) << "not ann's child any more";
    bob->RemoveChild(phone);
    EXPECT_EQ(bob->ChildCount(), 0u);
    EXPECT_EQ(bob->ChildAt(0), nullptr);
}

TEST_F(ItemModelTest, DocumentsAndToolsTakeTheirIcons) {
    TNRBObject* person = Make(kPersonKind, "Ann", root);
    auto* first = static_cast<TDocObject*>(Make(kDocumentKind, "a", person->Node(), "/tmp/x.pdf"));
    auto* second = static_cast<TDocObject*>(Make(kDocumentKind, "b", person->Node(), "/tmp/x.pdf"));
    EXPECT_NE(first->IconIndex(), second->IconIndex()) << "each document adds its own icon";
    EXPECT_EQ(services.icons.added.size(), 2u);
    auto* empty = static_cast<TDocObject*>(Make(kDocumentKind, "c", person->Node()));
    EXPECT_EQ(empty->GetImageIndex(), kGenericFileImage);
    empty->UpdateIcon();
    EXPECT_EQ(empty->GetImageIndex(), kGenericFileImage) << "no file, no icon";
    empty->SetTarget("/tmp/y.txt");
    empty->UpdateIcon();
    const int index = empty->GetImageIndex();
    EXPECT_GT(index, kGenericFileImage);
    empty->UpdateIcon();
    EXPECT_EQ(empty->GetImageIndex(), index) << "later updates replace the same picture";
    ASSERT_EQ(services.icons.replaced.size(), 1u);
    EXPECT_EQ(services.icons.replaced[0].first, index);

    services.icons.tools = {{"gedit", 21}};
    TNRBObject* known = Make(kToolKind, "New Editor", person->Node(), "", "{Tool}gedit~~-n~~0");
    TNRBObject* other = Make(kToolKind, "New Other", person->Node(), "", "{Tool}Gedit~~~~0");
    EXPECT_EQ(known->GetImageIndex(), 21);
    EXPECT_EQ(other->GetImageIndex(), kGenericFileImage) << "the program must match exactly";
    EXPECT_EQ(static_cast<TToolObject*>(known)->Parameters(), "-n");
}

} // namespace
} // namespace quill
