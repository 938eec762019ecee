// The automation object's members over an outline, its cursor rules, and the cursor's safety
// when the user deletes what it points at.

#include "core/automation/automation_host.h"
#include "core/automation/quil_app.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace quill {
namespace {

// The main window as the tests set it up: which pane is active and what is selected. The
// search records its text and moves the selection where the test says it would.
class FakeHost final : public IAutomationHost {
public:
    TOutline outline;
    bool listActive = false;
    std::vector<TNRBObject*> entries;
    TOutlineNode* selectedNode = nullptr;
    std::vector<std::string> searches;
    std::function<void()> locateMoves;
    int refreshes = 0;
    std::string clipboard;

    TOutline& Outline() override { return outline; }
    bool ListIsActive() const override { return listActive; }
    std::vector<TNRBObject*> SelectedEntries() const override { return entries; }
    TOutlineNode* SelectedNode() const override { return selectedNode; }
    void Locate(std::string_view text) override {
        searches.emplace_back(text);
        if (locateMoves) {
            locateMoves();
        }
    }
    void RefreshFolderTitles() override { ++refreshes; }
    void PutTextOnClipboard(std::string_view text) override { clipboard = text; }
};

// My Contacts
//   Friends (folder, id 100)
//     Ann Lee (person, id 200): Home (phone, id 201), Work (phone, id 202)
//       Ann's Site (website, id 210)
//     Bob (person, id 300)
//   Zeta Corp (organization, id 400): Office (address, id 401)
class QuilAppTest : public ::testing::Test {
protected:
    test::FakeServices services;
    FakeHost host;
    TOutlineNode* root = host.outline.CreateRoot();
    TOutlineNode* friends = Node(kFolderKind, "Friends", root, 100);
    TOutlineNode* ann = Node(kPersonKind, "Ann Lee", friends, 200);
    TNRBObject* home = Sub(kPhoneKind, "Home", ann, 201, "{Phon}~~0", "555-0100");
    TNRBObject* work = Sub(kPhoneKind, "Work", ann, 202, "{Phon}~~0", "555-0199");
    TOutlineNode* annSite = Node(kWebsiteKind, "Ann's Site", ann, 210);
    TOutlineNode* bob = Node(kPersonKind, "Bob", friends, 300);
    TOutlineNode* zeta = Node(kOrganizationKind, "Zeta Corp", root, 400);
    TNRBObject* office =
        Sub(kAddressKind, "Office", zeta, 401, "{Addr}1 Main St~~~~~~Springfield~~Kent~~AB1~~UK");
    TQuilApp app{host};

    TOutlineNode* Node(int kind, std::string_view title, TOutlineNode* parent, std::int32_t id) {
        return CreateItem(kind, title, "", "", id, "", parent)->Node();
    }
    TNRBObject* Sub(int kind, std::string_view title, TOutlineNode* holder, std::int32_t id,
                    std::string_view data = "", std::string_view target = "") {
        return CreateItem(kind, title, target, "", id, data, holder);
    }
    void ExpectCursor(const TOutlineNode* node, const TNRBObject* item) {
        EXPECT_EQ(app.CurrentNode(), node);
        EXPECT_EQ(app.CurrentItem(), item);
    }
};

TEST_F(QuilAppTest, AFreshObjectStandsOnTheTopNodeAndTheRootItem) {
    EXPECT_EQ(app.CurrentItemIndex(), 0);
    EXPECT_EQ(app.quilClass(), 11);
    EXPECT_EQ(app.quilTitle(), "My Contacts");
    EXPECT_EQ(app.quilID(), 32892645);
    EXPECT_EQ(app.ChildCount(), 2);
}

TEST_F(QuilAppTest, ItemsWalksTheTreeInOrderAndRefusesIndexesOutsideIt) {
    ASSERT_EQ(app.ItemCount(), 6);
    const std::vector<std::string> expected{"My Contacts", "Friends", "Ann Lee",
                                            "Ann's Site",  "Bob",     "Zeta Corp"};
    for (std::int32_t i = 0; i < app.ItemCount(); ++i) {
        ASSERT_TRUE(app.Items(i));
        EXPECT_EQ(app.quilTitle(), expected[static_cast<std::size_t>(i)]);
        EXPECT_EQ(app.CurrentItemIndex(), i);
    }
    // Backwards too, where the walk has to start again from the top.
    ASSERT_TRUE(app.Items(2));
    EXPECT_EQ(app.CurrentNode(), ann);

    EXPECT_FALSE(app.Items(app.ItemCount()));
    ExpectCursor(ann, ann->Item());
    EXPECT_FALSE(app.Items(-1));
    ExpectCursor(ann, ann->Item());
}

TEST_F(QuilAppTest, ItemsFollowsTheTreeAfterItChangesShape) {
    ASSERT_TRUE(app.Items(4)); // Bob, remembered as where the walk ended
    // A node added before Bob shifts him one place down.
    TOutlineNode* amy = Node(kPersonKind, "Amy", ann, 500);
    EXPECT_EQ(app.ItemCount(), 7);
    ASSERT_TRUE(app.Items(4));
    EXPECT_EQ(app.CurrentNode(), amy);
    ASSERT_TRUE(app.Items(5));
    EXPECT_EQ(app.CurrentNode(), bob);
    // Sorting Friends' children reorders the walk as well.
    bob->Item()->SetTitle("Aaron");
    ASSERT_TRUE(app.Items(2));
    EXPECT_EQ(app.CurrentNode(), bob);
}

TEST_F(QuilAppTest, NextSiblingIndexFallsBackToTheLastChildNodeThenToMinusOne) {
    ASSERT_TRUE(app.Items(2)); // Ann Lee: her sibling Bob is index 4
    EXPECT_EQ(app.NextSiblingIndex(), 4);
    ASSERT_TRUE(app.Items(0)); // the top node has no sibling: its last child, Zeta Corp
    EXPECT_EQ(app.NextSiblingIndex(), 5);
    ASSERT_TRUE(app.Items(4)); // Bob: no sibling after him, no children
    EXPECT_EQ(app.NextSiblingIndex(), -1);
    ASSERT_TRUE(app.Items(3)); // Ann's Site: the only child of Ann, childless
    EXPECT_EQ(app.NextSiblingIndex(), -1);
}

TEST_F(QuilAppTest, ChildCountsChildNodesThenChildrenAndChildMovesOnlyTheItem) {
    ASSERT_TRUE(app.Items(2));
    ASSERT_EQ(app.ChildCount(), 3); // one child node and two contact points
    ASSERT_TRUE(app.Child(0));
    ExpectCursor(ann, annSite->Item());
    ASSERT_TRUE(app.Child(1));
    ExpectCursor(ann, home);
    ASSERT_TRUE(app.Child(2));
    ExpectCursor(ann, work);
    EXPECT_EQ(app.quilTitle(), "Work");
    EXPECT_EQ(app.quilClass(), kPhoneKind);
    // Past the end, or before the start: false, and the cursor stays.
    EXPECT_FALSE(app.Child(3));
    EXPECT_FALSE(app.Child(-1));
    ExpectCursor(ann, work);
    // The count is the current node's, whatever the current item is.
    EXPECT_EQ(app.ChildCount(), 3);
    EXPECT_EQ(app.CurrentItemIndex(), 2);
}

TEST_F(QuilAppTest, SelectCountIsOneForTheTreeAndTheSelectionSizeForTheList) {
    host.entries = {ann->Item(), bob->Item()};
    host.listActive = false;
    EXPECT_EQ(app.SelectCount(), 1);
    host.listActive = true;
    EXPECT_EQ(app.SelectCount(), 2);
    host.entries.clear();
    EXPECT_EQ(app.SelectCount(), 0);
}

TEST_F(QuilAppTest, UserSelectedTakesTheListEntryAndItsNodeOrTheTreeSelection) {
    host.selectedNode = friends;
    host.listActive = true;
    host.entries = {ann->Item(), bob->Item()};
    ASSERT_TRUE(app.UserSelected(1));
    ExpectCursor(bob, bob->Item());

    // A contact point in the list: its holder's node becomes current.
    host.selectedNode = ann;
    host.entries = {home, work};
    ASSERT_TRUE(app.UserSelected(1));
    ExpectCursor(ann, work);

    EXPECT_FALSE(app.UserSelected(2));
    EXPECT_FALSE(app.UserSelected(-1));
    ExpectCursor(ann, work);

    // The list without a selection, or the tree active: the tree's selected node.
    host.entries.clear();
    host.selectedNode = zeta;
    ASSERT_TRUE(app.UserSelected(5));
    ExpectCursor(zeta, zeta->Item());
    host.listActive = false;
    host.entries = {ann->Item()};
    host.selectedNode = friends;
    ASSERT_TRUE(app.UserSelected(0));
    ExpectCursor(friends, friends->Item());

    host.selectedNode = nullptr;
    EXPECT_FALSE(app.UserSelected(0));
    ExpectCursor(friends, friends->Item());
}

TEST_F(QuilAppTest, NextItemWithTitleSearchesThenTakesTheUserSelection) {
    host.selectedNode = root;
    host.locateMoves = [&] {
        host.selectedNode = ann;
        host.listActive = true;
        host.entries = {work};
    };
    ASSERT_TRUE(app.NextItemWithTitle("wo"));
    EXPECT_EQ(host.searches, std::vector<std::string>{"wo"});
    ExpectCursor(ann, work);

    // Nothing matches: the selection stays, and the result is still true.
    host.locateMoves = nullptr;
    host.listActive = false;
    host.selectedNode = zeta;
    EXPECT_TRUE(app.NextItemWithTitle("nobody"));
    ExpectCursor(zeta, zeta->Item());
}

TEST_F(QuilAppTest, ItemWithIdStopsAtANodeButTakesTheLastMatchingChildItem) {
    ASSERT_TRUE(app.ItemWithId(300));
    ExpectCursor(bob, bob->Item());
    ASSERT_TRUE(app.ItemWithId(202));
    ExpectCursor(ann, work);

    // Ids are not unique: a later child item with the same id wins over an earlier one.
    office->SetId(201);
    ASSERT_TRUE(app.ItemWithId(201));
    ExpectCursor(zeta, office);
    // A node's own item ends the walk at once, before later child items.
    bob->Item()->SetId(201);
    ASSERT_TRUE(app.ItemWithId(201));
    ExpectCursor(bob, bob->Item());

    EXPECT_FALSE(app.ItemWithId(999));
    ExpectCursor(bob, bob->Item());
}

TEST_F(QuilAppTest, SettingTheTitleRenamesTheNodeAndResortsButTargetChangesOnlyTheTarget) {
    ASSERT_TRUE(app.Items(1)); // Friends
    app.SetquilTitle("aardvarks");
    EXPECT_EQ(friends->Text(), "aardvarks");
    EXPECT_EQ(host.refreshes, 1);

    // Renaming Bob to Aaron puts him before Ann under his folder.
    ASSERT_TRUE(app.ItemWithId(300));
    app.SetquilTitle("Aaron");
    EXPECT_EQ(bob->Row(), 0);
    EXPECT_EQ(app.CurrentItemIndex(), 2);

    ASSERT_TRUE(app.ItemWithId(200));
    app.SetquilTarget("Ann B. Lee");
    app.SetquilComment("met in Leeds");
    EXPECT_EQ(app.quilTarget(), "Ann B. Lee");
    EXPECT_EQ(app.quilComment(), "met in Leeds");
    EXPECT_EQ(app.quilTitle(), "Ann Lee");
    EXPECT_EQ(ann->Text(), "Ann Lee");
}

TEST_F(QuilAppTest, TextsFromAClientAreMadeSafeForTheDataFile) {
    ASSERT_TRUE(app.ItemWithId(300));
    app.SetquilTitle("Bob~~Two\r\nLines");
    app.SetquilComment("a~~b");
    EXPECT_EQ(app.quilTitle().find("~~"), std::string::npos);
    EXPECT_EQ(app.quilTitle().find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(app.quilComment().find("~~"), std::string::npos);
}

TEST_F(QuilAppTest, FieldsReadAndWriteAsTheDelimitedTextDoes) {
    ASSERT_TRUE(app.ItemWithId(401));
    EXPECT_EQ(app.quilField("City"), "\"Springfield\",");
    EXPECT_EQ(app.quilField("No Such Field"), "");
    // An address reads nothing without its first line, as an import line without it.
    app.SetquilField("City", "Shelbyville");
    EXPECT_EQ(app.quilField("City"), "\"Springfield\",");

    ASSERT_TRUE(app.ItemWithId(300));
    app.SetquilField("First Name", "Robert");
    EXPECT_EQ(app.quilField("First Name"), "\"Robert\",");
    EXPECT_EQ(app.quilTarget(), "Robert "); // a person's target is built from the names

    // A field the kind does not take is ignored; the item stays as it was.
    ASSERT_TRUE(app.ItemWithId(100));
    app.SetquilField("City", "Nowhere");
    EXPECT_EQ(app.quilField("City"), "");
    EXPECT_EQ(app.quilTitle(), "Friends");
}

TEST_F(QuilAppTest, SettingAFieldThatDoesNotExistIsAnErrorNamingTheFields) {
    ASSERT_TRUE(app.ItemWithId(300));
    const std::string firstName = app.quilField("First Name");
    const std::string target = app.quilTarget();
    try {
        app.SetquilField("Frist Name", "Robert");
        ADD_FAILURE() << "a misspelt field was taken";
    } catch (const AutomationError& e) {
        const std::string message = e.what();
        EXPECT_EQ(message.rfind("There is no field \"Frist Name\"; the fields are Title, ", 0), 0u)
            << message;
        EXPECT_NE(message.find(", First Name, "), std::string::npos);
        EXPECT_NE(message.find(", Extension."), std::string::npos);
    }
    EXPECT_EQ(app.quilField("First Name"), firstName);
    EXPECT_EQ(app.quilTarget(), target);
    EXPECT_THROW(app.SetquilField("", "x"), AutomationError);
}

TEST_F(QuilAppTest, InsertHangsNewItemsUnderTheCurrentNodeAndLeavesTheCursor) {
    ASSERT_TRUE(app.Items(5)); // Zeta Corp
    app.Insert(kFolderKind, "Staff", "", "from a script", "");
    app.Insert(kPhoneKind, "Switchboard", "555-0000", "", "{Phon}555-0000~~42");
    ExpectCursor(zeta, zeta->Item());
    ASSERT_EQ(zeta->ChildCount(), 1u);
    const TNRBObject* staff = zeta->ChildAt(0)->Item();
    EXPECT_EQ(staff->Title(), "Staff");
    EXPECT_EQ(staff->Comment(), "from a script");
    EXPECT_EQ(zeta->ChildAt(0)->Text(), "Staff");
    ASSERT_EQ(zeta->Item()->ChildCount(), 2u);
    const TNRBObject* phone = zeta->Item()->ChildAt(1);
    EXPECT_EQ(phone->Kind(), kPhoneKind);
    EXPECT_EQ(phone->Categories(), 42); // the data line was read
    EXPECT_EQ(phone->Node(), zeta);
    EXPECT_EQ(app.ItemCount(), 7);

    // A kind the program does not know is kept as a child item; its class is the kind's
    // low seven bits.
    app.Insert(200, "Odd", "", "", "");
    ASSERT_TRUE(app.Child(3));
    EXPECT_EQ(app.quilTitle(), "Odd");
    EXPECT_EQ(app.quilClass(), 200 & 0x7F);

    // There is one root; asking for another is an error, and nothing is added.
    EXPECT_THROW(app.Insert(kRootKind, "Second Root", "", "", ""), AutomationError);
    EXPECT_EQ(app.ItemCount(), 7);
}

TEST_F(QuilAppTest, InsertRefusesAKindThatDoesNotFitAnItemsByte) {
    // Taken modulo 256 they would be a folder, an unknown kind 255 and one 232: none of
    // them what the client asked for.
    ASSERT_TRUE(app.Items(5)); // Zeta Corp
    for (const int kind : {256, -1, 1000}) {
        try {
            app.Insert(kind, "Wrong", "", "", "");
            ADD_FAILURE() << "kind " << kind << " was inserted";
        } catch (const AutomationError& e) {
            EXPECT_EQ(std::string(e.what()), "An item of kind " + std::to_string(kind) +
                                                 " cannot be inserted: kinds are 0 to 255.");
        }
    }
    EXPECT_EQ(zeta->ChildCount(), 0u);
    EXPECT_EQ(zeta->Item()->ChildCount(), 1u);
    app.Insert(255, "Last Kind", "", "", "");
    ASSERT_EQ(zeta->Item()->ChildCount(), 2u);
    EXPECT_EQ(zeta->Item()->ChildAt(1)->Kind(), 255);
}

TEST_F(QuilAppTest, InsertDrawsARandomIdForEachItem) {
    SeedItemIds(7);
    app.Insert(kFolderKind, "One", "", "", "");
    app.Insert(kFolderKind, "Two", "", "", "");
    const std::int32_t one = root->ChildAt(2)->Item()->Id();
    const std::int32_t two = root->ChildAt(3)->Item()->Id();
    EXPECT_NE(one, two);
    ASSERT_TRUE(app.ItemWithId(two));
    EXPECT_EQ(app.quilTitle(), "Two");
}

TEST_F(QuilAppTest, CopyClipboardAndTheDefaultActionWorkOnTheCurrentItem) {
    ASSERT_TRUE(app.ItemWithId(401));
    app.CopyClipboard();
    EXPECT_EQ(host.clipboard, "1 Main St\r\nSpringfield, Kent AB1\r\nUK\r\n");

    ASSERT_TRUE(app.ItemWithId(201));
    app.DoDefaultAction(); // a phone dials
    ASSERT_EQ(services.shell.calls.size(), 1u);
    EXPECT_EQ(services.shell.calls[0].rfind("call 555-0100|", 0), 0u);

    ASSERT_TRUE(app.ItemWithId(100));
    app.DoDefaultAction(); // a folder is selected in the tree
    EXPECT_EQ(services.navigator.selected, std::vector<TOutlineNode*>{friends});
}

TEST_F(QuilAppTest, ADeletedNodeUnderTheCursorEmptiesItInsteadOfDangling) {
    ASSERT_TRUE(app.Items(2));        // Ann Lee
    host.outline.DeleteNode(friends); // her folder goes, and she with it
    ExpectCursor(nullptr, nullptr);
    // The guarded reads give their empty values; the rest report the failure.
    EXPECT_EQ(app.quilTitle(), "");
    EXPECT_EQ(app.quilID(), 0);
    EXPECT_EQ(app.CurrentItemIndex(), 0);
    EXPECT_EQ(app.ChildCount(), 0);
    EXPECT_EQ(app.NextSiblingIndex(), 0);
    EXPECT_FALSE(app.Child(0));
    EXPECT_THROW(app.SetquilTitle("x"), AutomationError);
    EXPECT_THROW(app.Insert(kFolderKind, "x", "", "", ""), AutomationError);
    EXPECT_THROW(app.CopyClipboard(), AutomationError);
    EXPECT_THROW(app.DoDefaultAction(), AutomationError);
    // Moving the cursor again brings it back to life.
    EXPECT_EQ(app.ItemCount(), 2);
    ASSERT_TRUE(app.Items(1));
    EXPECT_EQ(app.quilTitle(), "Zeta Corp");
}

TEST_F(QuilAppTest, ADeletedChildNodeOrChildItemTakesOnlyTheCurrentItem) {
    ASSERT_TRUE(app.Items(2));
    ASSERT_TRUE(app.Child(0)); // Ann's Site, a child node
    host.outline.DeleteNode(annSite);
    ExpectCursor(ann, nullptr);
    EXPECT_EQ(app.ChildCount(), 2);
    EXPECT_EQ(app.quilTitle(), "");

    ASSERT_TRUE(app.Child(1)); // Work
    ann->Item()->RemoveChild(work);
    ExpectCursor(ann, nullptr);
    EXPECT_THROW(app.SetquilTarget("x"), AutomationError);

    // A sibling's deletion leaves the cursor alone.
    ASSERT_TRUE(app.Child(0));
    host.outline.DeleteNode(bob);
    ExpectCursor(ann, home);
}

TEST_F(QuilAppTest, ARevertEmptiesEveryCursorBelowTheRootButNotOneOnIt) {
    TQuilApp other{host};
    ASSERT_TRUE(app.ItemWithId(401));
    host.outline.DeleteChildrenOf(root);
    ExpectCursor(nullptr, nullptr);
    EXPECT_EQ(other.CurrentNode(), root);
    EXPECT_EQ(other.quilTitle(), "My Contacts");
    EXPECT_EQ(other.ItemCount(), 1);
}

TEST_F(QuilAppTest, TwoObjectsKeepCursorsOfTheirOwn) {
    auto other = std::make_unique<TQuilApp>(host);
    ASSERT_TRUE(app.Items(4));
    ASSERT_TRUE(other->ItemWithId(401));
    EXPECT_EQ(app.quilTitle(), "Bob");
    EXPECT_EQ(other->quilTitle(), "Office");
    // One going away leaves the other working and listening.
    other.reset();
    host.outline.DeleteNode(bob);
    ExpectCursor(nullptr, nullptr);
}

} // namespace
} // namespace quill
