// The outline's structure, its change announcements and the due marks along it.

#include "core/model/attachment_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <sstream>

namespace quill {
namespace {

// Writes every announcement as a line, so tests compare what a view model would see.
class RecordingObserver : public IOutlineObserver {
public:
    std::vector<std::string> log;
    static std::string Name(const TOutlineNode* n) { return n ? std::string(n->Text()) : "-"; }
    void Add(std::string what, const TOutlineNode* parent, int first, int last) {
        log.push_back(what + " " + Name(parent) + " " + std::to_string(first) + "-" +
                      std::to_string(last));
    }
    void NodesAboutToBeInserted(TOutlineNode* p, int f, int l) override { Add("+?", p, f, l); }
    void NodesInserted(TOutlineNode* p, int f, int l) override { Add("+", p, f, l); }
    void NodesAboutToBeRemoved(TOutlineNode* p, int f, int l) override { Add("-?", p, f, l); }
    void NodesRemoved(TOutlineNode* p, int f, int l) override { Add("-", p, f, l); }
    void NodesAboutToBeMoved(TOutlineNode* s, int f, int l, TOutlineNode* d, int row) override {
        Add("move?", s, f, l);
        log.back() += " " + Name(d) + " " + std::to_string(row);
    }
    void NodesMoved(TOutlineNode* d, int f, int l) override { Add("move", d, f, l); }
    void ChildrenAboutToBeSorted(TOutlineNode* p) override { log.push_back("sort? " + Name(p)); }
    void ChildrenSorted(TOutlineNode* p) override { log.push_back("sort " + Name(p)); }
    void NodeChanged(TOutlineNode* n) override { log.push_back("node " + Name(n)); }
    void ItemsAboutToBeAdded(TOutlineNode* h, int f, int l) override { Add("items+?", h, f, l); }
    void ItemsAdded(TOutlineNode* h, int f, int l) override { Add("items+", h, f, l); }
    void ItemsAboutToBeRemoved(TOutlineNode* h, int f, int l) override { Add("items-?", h, f, l); }
    void ItemsRemoved(TOutlineNode* h, int f, int l) override { Add("items-", h, f, l); }
    void ItemChanged(TNRBObject* item) override {
        log.push_back("item " + std::string(item->Title()));
    }
    void UpdatesSuspended() override { log.push_back("suspend"); }
    void UpdatesResumed() override { log.push_back("resume"); }
};

class OutlineTest : public ::testing::Test {
protected:
    test::FakeServices services;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();

    TOutlineNode* Node(int kind, std::string_view title, TOutlineNode* parent) {
        return CreateItem(kind, title, "", "", 1, "", parent)->Node();
    }
    // A reminder due today (the fake clock says 2026-12-07) under holder.
    TReminderObject* DueReminder(TOutlineNode* holder) {
        return static_cast<TReminderObject*>(
            CreateItem(kReminderKind, "r", "", "", 1, "{Remd}2026,12,7,0~~0", holder));
    }
    TReminderObject* LaterReminder(TOutlineNode* holder) {
        return static_cast<TReminderObject*>(
            CreateItem(kReminderKind, "r", "", "", 1, "{Remd}2026,12,8,0~~0", holder));
    }
};

TEST_F(OutlineTest, TreeOrderDepthAndAbsoluteIndex) {
    TOutlineNode* a = Node(kFolderKind, "a", root);
    TOutlineNode* a1 = Node(kPersonKind, "a1", a);
    TOutlineNode* a2 = Node(kPersonKind, "a2", a);
    TOutlineNode* a21 = Node(kWebsiteKind, "a21", a2);
    TOutlineNode* b = Node(kFolderKind, "b", root);
    std::vector<TOutlineNode*> order;
    outline.ForEachNode([&](TOutlineNode* n) { order.push_back(n); });
    EXPECT_EQ(order, (std::vector<TOutlineNode*>{root, a, a1, a2, a21, b}));
    for (std::size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(order[i]->AbsoluteIndex(), static_cast<int>(i));
    }
    EXPECT_EQ(root->Depth(), 0);
    EXPECT_EQ(a21->Depth(), 3);
    EXPECT_EQ(outline.NodeCount(), 6u);
    EXPECT_EQ(a2->Row(), 1);
    EXPECT_TRUE(a->IsAncestorOf(a21));
    EXPECT_FALSE(a21->IsAncestorOf(a));
    EXPECT_EQ(NodePath(a21, "\\"), "My Contacts\\a\\a2\\a21");
}

TEST_F(OutlineTest, AnnouncesEachChangeInTwoSteps) {
    RecordingObserver seen;
    outline.AddObserver(&seen);
    TOutlineNode* person = Node(kPersonKind, "p", root);
    TNRBObject* phone = CreateItem(kPhoneKind, "ph", "", "", 1, "", person);
    phone->SetTarget("555");
    person->Item()->RemoveChild(phone);
    outline.DeleteNode(person);
    outline.BeginUpdate();
    outline.BeginUpdate();
    outline.EndUpdate();
    outline.EndUpdate();
    EXPECT_EQ(seen.log, (std::vector<std::string>{
                            "+? My Contacts 0-0", "+ My Contacts 0-0", "items+? p 0-0",
                            "items+ p 0-0", "item ph", "items-? p 0-0", "items- p 0-0",
                            "-? My Contacts 0-0", "- My Contacts 0-0", "suspend", "resume"}));
    outline.RemoveObserver(&seen);
    Node(kFolderKind, "quiet", root);
    EXPECT_EQ(seen.log.size(), 11u);
}

TEST_F(OutlineTest, MoveAnnouncesTheRowBeforeRemovalAndRefusesCycles) {
    TOutlineNode* a = Node(kFolderKind, "a", root);
    TOutlineNode* b = Node(kFolderKind, "b", root);
    TOutlineNode* c = Node(kFolderKind, "c", root);
    RecordingObserver seen;
    outline.AddObserver(&seen);
    EXPECT_TRUE(outline.MoveNode(a, root, 2));
    EXPECT_EQ(root->ChildAt(0), b);
    EXPECT_EQ(root->ChildAt(1), c);
    EXPECT_EQ(root->ChildAt(2), a);
    EXPECT_EQ(a->Row(), 2);
    EXPECT_EQ(seen.log, (std::vector<std::string>{"move? My Contacts 0-0 My Contacts 3",
                                                  "move My Contacts 2-2"}));
    EXPECT_TRUE(outline.MoveNode(c, a, 0));
    EXPECT_EQ(c->Parent(), a);
    EXPECT_EQ(a->Row(), 1);
    EXPECT_FALSE(outline.MoveNode(a, c, 0)) << "into its own subtree";
    EXPECT_FALSE(outline.MoveNode(a, a, 0));
    seen.log.clear();
    EXPECT_TRUE(outline.MoveNode(b, root, 0));
    EXPECT_TRUE(seen.log.empty()) << "a move to where it stands is no change";
    outline.RemoveObserver(&seen);
}

// The outline as text: every node's title, with its row as the node has it where that is
// not its place, and its due count where it has one.
std::string Shape(const TOutlineNode* node) {
    std::string text(node->Text());
    if (const int due = node->Item()->DueCount(); due > 0) {
        text += "!" + std::to_string(due);
    }
    if (!node->HasChildren()) {
        return text;
    }
    text += "(";
    for (std::size_t i = 0; i < node->ChildCount(); ++i) {
        const TOutlineNode* child = node->ChildAt(i);
        text += (i ? " " : "") + Shape(child);
        if (child->Row() != static_cast<int>(i) || child->Parent() != node) {
            text += "@wrong-row-or-parent";
        }
    }
    return text + ")";
}

TEST_F(OutlineTest, MovingManyNodesToTheEndMatchesMovingThemOneByOne) {
    // Two outlines alike; one moves the nodes one by one front first, the other at once.
    struct Built {
        std::vector<TOutlineNode*> picked;
        TOutlineNode* destination;
    };
    const auto build = [this](TOutlineNode* top) {
        Built built;
        TOutlineNode* source = CreateItem(kFolderKind, "src", "", "", 1, "", top)->Node();
        built.destination = CreateItem(kFolderKind, "dst", "", "", 1, "", top)->Node();
        TOutlineNode* kept =
            CreateItem(kFolderKind, "d0", "", "", 1, "", built.destination)->Node();
        CreateItem(kFolderKind, "d1", "", "", 1, "", built.destination);
        std::vector<TOutlineNode*> persons;
        for (int i = 0; i < 12; ++i) {
            persons.push_back(
                CreateItem(kPersonKind, "p" + std::to_string(i), "", "", 1, "", source)->Node());
        }
        TOutlineNode* inner = CreateItem(kFolderKind, "p3in", "", "", 1, "", persons[3])->Node();
        DueReminder(persons[5]);
        DueReminder(inner);
        // A descendant before its ancestor, a node already in the destination, the
        // destination itself and an ancestor of it (refused), a run to the end.
        built.picked = {persons[1], inner, persons[3], kept, built.destination, top};
        built.picked.insert(built.picked.end(), persons.begin() + 5, persons.end());
        return built;
    };
    TOutline reference;
    TOutlineNode* referenceRoot = reference.CreateRoot();
    const Built one = build(referenceRoot);
    std::size_t movedOneByOne = 0;
    for (TOutlineNode* node : one.picked) {
        movedOneByOne += reference.MoveNode(node, one.destination, one.destination->ChildCount());
    }
    const Built many = build(root);
    RecordingObserver seen;
    outline.AddObserver(&seen);
    EXPECT_EQ(outline.MoveNodesToEnd(many.picked, many.destination), movedOneByOne);
    outline.RemoveObserver(&seen);
    EXPECT_EQ(movedOneByOne, 11u);
    EXPECT_EQ(Shape(root), Shape(referenceRoot));
    EXPECT_EQ(Shape(root), "My Contacts(src(p0 p2 p4) dst!2(d1 p1 p3in!1 p3 d0 p5!1 p6 p7 p8 p9 "
                           "p10 p11))");
    // The run p5 to p11 moves as one block, each other node on its own; the order is set
    // right by one sort.
    EXPECT_EQ(std::count(seen.log.begin(), seen.log.end(), "sort? dst"), 1);
    EXPECT_EQ(seen.log.back(), "sort dst");
    EXPECT_EQ(std::count_if(seen.log.begin(), seen.log.end(),
                            [](const std::string& line) { return line.starts_with("move? "); }),
              5);
    EXPECT_EQ(seen.log.front(), "move? src 5-11 dst 2");
}

TEST_F(OutlineTest, AWholeRunOfSiblingsMovesAsOneBlockAndKeepsItsOrderAndMarks) {
    TOutlineNode* source = Node(kFolderKind, "src", root);
    TOutlineNode* destination = Node(kFolderKind, "dst", root);
    Node(kFolderKind, "d0", destination);
    std::vector<TOutlineNode*> picked;
    for (int i = 0; i < 5; ++i) {
        picked.push_back(Node(kPersonKind, "p" + std::to_string(i), source));
    }
    Node(kPersonKind, "stays", source);
    DueReminder(picked[2]);
    RecordingObserver seen;
    outline.AddObserver(&seen);
    EXPECT_EQ(outline.MoveNodesToEnd(picked, destination), 5u);
    outline.RemoveObserver(&seen);
    EXPECT_EQ(seen.log, (std::vector<std::string>{"node src", "move? src 0-4 dst 1", "move dst 1-5",
                                                  "node dst"}));
    EXPECT_EQ(Shape(root), "My Contacts(src(stays) dst!1(d0 p0 p1 p2!1 p3 p4))");
}

TEST_F(OutlineTest, DeletingNodesRemovesEachRunOfNeighboursAtOnce) {
    TOutlineNode* folder = Node(kFolderKind, "f", root);
    std::vector<TOutlineNode*> children;
    for (int i = 0; i < 6; ++i) {
        children.push_back(Node(kPersonKind, "p" + std::to_string(i), folder));
    }
    TOutlineNode* other = Node(kFolderKind, "o", root);
    Node(kPersonKind, "below", children[1]);
    DueReminder(children[2]);
    RecordingObserver seen;
    outline.AddObserver(&seen);
    outline.DeleteNodes({children[0], children[1], children[2], children[4], other});
    outline.RemoveObserver(&seen);
    EXPECT_EQ(seen.log,
              (std::vector<std::string>{"-? My Contacts 1-1", "- My Contacts 1-1", "-? f 4-4",
                                        "- f 4-4", "node f", "-? f 0-2", "- f 0-2"}));
    EXPECT_EQ(Shape(root), "My Contacts(f(p3 p5))");
}

TEST_F(OutlineTest, SortingIsStableAndAnnouncedOnlyWhenNeeded) {
    TOutlineNode* p = Node(kPersonKind, "bob", root);
    TOutlineNode* f = Node(kFolderKind, "zeta", root);
    TOutlineNode* q = Node(kPersonKind, "Alice", root);
    TOutlineNode* q2 = Node(kPersonKind, "alice", root);
    RecordingObserver seen;
    outline.AddObserver(&seen);
    TOutline::SortChildren(root);
    EXPECT_EQ(root->ChildAt(0), f);
    EXPECT_EQ(root->ChildAt(1), q);
    EXPECT_EQ(root->ChildAt(2), q2) << "equal titles keep their order";
    EXPECT_EQ(root->ChildAt(3), p);
    EXPECT_EQ(p->Row(), 3);
    TOutline::SortChildren(root);
    EXPECT_EQ(seen.log, (std::vector<std::string>{"sort? My Contacts", "sort My Contacts"}));
    outline.RemoveObserver(&seen);
}

// Titles that share long beginnings, differ in case or only in length, and hold bytes above
// 127: the order is exactly that of ItemSortsBefore, equal titles in their former order.
TEST_F(OutlineTest, SortingManySiblingsMatchesTheItemOrder) {
    const std::string letters[] = {"a", "A", "b", "\xC3\xA9", " ", "~", "Z"};
    std::uint32_t state = 12345;
    auto next = [&state](std::uint32_t bound) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % bound;
    };
    std::vector<TOutlineNode*> made;
    for (int i = 0; i < 2000; ++i) {
        std::string title = next(2) == 0 ? "Prof. Dmitri" : "prof. d";
        for (std::uint32_t n = next(6); n > 0; --n) {
            title += letters[next(std::size(letters))];
        }
        made.push_back(Node(next(10) == 0 ? kFolderKind : kPersonKind, title, root));
    }
    std::vector<TOutlineNode*> expected(made);
    std::stable_sort(expected.begin(), expected.end(), [](TOutlineNode* a, TOutlineNode* b) {
        return ItemSortsBefore(*a->Item(), *b->Item());
    });
    TOutline::SortChildren(root);
    ASSERT_EQ(root->ChildCount(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(root->ChildAt(i), expected[i]) << "at " << i;
        ASSERT_EQ(root->ChildAt(i)->Row(), static_cast<int>(i));
    }
}

TEST_F(OutlineTest, DueMarkRaisesCountsUpToButNotIncludingTheRoot) {
    TOutlineNode* folder = Node(kFolderKind, "f", root);
    TOutlineNode* person = Node(kPersonKind, "p", folder);
    TReminderObject* reminder = LaterReminder(person);
    EXPECT_FALSE(reminder->Due());
    reminder->SetDue(true);
    reminder->SetDue(true);
    EXPECT_EQ(person->Item()->DueCount(), 1) << "setting twice counts once";
    EXPECT_EQ(folder->Item()->DueCount(), 1);
    EXPECT_EQ(root->Item()->DueCount(), 0);
    EXPECT_EQ(person->StateIndex(), kDueStateImage);
    EXPECT_EQ(folder->StateIndex(), kDueStateImage);
    EXPECT_EQ(root->StateIndex(), kNoStateImage);
    reminder->SetDue(false);
    EXPECT_EQ(person->Item()->DueCount(), 0);
    EXPECT_EQ(person->StateIndex(), kNoStateImage);
    EXPECT_EQ(folder->StateIndex(), kNoStateImage);
}

TEST_F(OutlineTest, ReminderDueOnReadingAndAdvanced) {
    TOutlineNode* person = Node(kPersonKind, "p", root);
    TReminderObject* today = DueReminder(person);
    EXPECT_TRUE(today->Due()) << "a reminder dated today is due at once";
    EXPECT_EQ(today->GetImageIndex(), kDueReminderImage);
    EXPECT_EQ(person->StateIndex(), kDueStateImage);
    TReminderObject* tomorrow = LaterReminder(person);
    EXPECT_FALSE(tomorrow->Due());
    EXPECT_EQ(tomorrow->GetImageIndex(), kReminderKind);
    EXPECT_EQ(person->Item()->DueCount(), 1);

    today->AdvanceDate(); // does not recur: the next day, which is still in the future
    EXPECT_FALSE(today->Due());
    EXPECT_EQ(today->GetImageIndex(), kReminderKind);
    EXPECT_EQ(person->StateIndex(), kNoStateImage);
    EXPECT_EQ(today->Target(), today->RecurringDate().Describe());
    ASSERT_GE(services.navigator.selected.size(), 2u);
    EXPECT_EQ(services.navigator.selected[services.navigator.selected.size() - 2], root);
    EXPECT_EQ(services.navigator.selected.back(), person);

    // After midnight the image follows the date; the bullet waits for the next event.
    services.clock.today =
        Date{std::chrono::year{2026}, std::chrono::month{12}, std::chrono::day{9}};
    EXPECT_EQ(tomorrow->GetImageIndex(), kDueReminderImage);
    EXPECT_FALSE(tomorrow->Due());
    tomorrow->UpdateDue();
    EXPECT_EQ(person->StateIndex(), kDueStateImage);
}

TEST_F(OutlineTest, DueMarksFollowDeletesMovesAndRemovals) {
    TOutlineNode* folder = Node(kFolderKind, "f", root);
    TOutlineNode* other = Node(kFolderKind, "g", root);
    TOutlineNode* person = Node(kPersonKind, "p", folder);
    TReminderObject* r1 = DueReminder(person);
    DueReminder(person);
    EXPECT_EQ(folder->Item()->DueCount(), 2);

    person->Item()->RemoveChild(r1);
    EXPECT_EQ(folder->Item()->DueCount(), 1) << "a removed reminder takes its mark along";

    ASSERT_TRUE(outline.MoveNode(person, other, 0));
    EXPECT_EQ(folder->Item()->DueCount(), 0);
    EXPECT_EQ(folder->StateIndex(), kNoStateImage);
    EXPECT_EQ(other->Item()->DueCount(), 1);
    EXPECT_EQ(other->StateIndex(), kDueStateImage);
    EXPECT_EQ(person->Item()->DueCount(), 1);

    outline.DeleteNode(person);
    EXPECT_EQ(other->Item()->DueCount(), 0);
    EXPECT_EQ(other->StateIndex(), kNoStateImage);

    // A child moved by dragging carries its mark to the new holder.
    TOutlineNode* ann = Node(kPersonKind, "ann", folder);
    TOutlineNode* bob = Node(kPersonKind, "bob", other);
    TReminderObject* r = DueReminder(ann);
    std::unique_ptr<TNRBObject> owned = ann->Item()->UnlinkChild(r);
    bob->Item()->AddChild(std::move(owned))->SetNode(bob);
    EXPECT_EQ(ann->Item()->DueCount(), 0);
    EXPECT_EQ(folder->Item()->DueCount(), 0);
    EXPECT_EQ(bob->Item()->DueCount(), 1);
    EXPECT_EQ(other->Item()->DueCount(), 1);
    outline.DeleteChildrenOf(root);
    EXPECT_EQ(root->ChildCount(), 0u);
    EXPECT_EQ(root->Item()->DueCount(), 0);
}

TEST_F(OutlineTest, TeardownWithDueRemindersAndObserversIsQuiet) {
    auto local = std::make_unique<TOutline>();
    TOutlineNode* r = local->CreateRoot();
    TOutlineNode* folder = CreateItem(kFolderKind, "f", "", "", 1, "", r)->Node();
    TOutlineNode* person = CreateItem(kPersonKind, "p", "", "", 1, "", folder)->Node();
    DueReminder(person);
    RecordingObserver seen;
    local->AddObserver(&seen);
    local.reset();
    EXPECT_TRUE(seen.log.empty());
}

TEST_F(OutlineTest, VeryDeepOutlinesBuildMoveAndGoWithoutRecursion) {
    // Deeper than any stack would survive with recursive teardown or walks.
    constexpr int kDepth = 200000;
    TOutlineNode* top = Node(kFolderKind, "top", root);
    TOutlineNode* n = top;
    for (int i = 0; i < kDepth; ++i) {
        n = Node(kFolderKind, "deep", n);
    }
    DueReminder(n);
    EXPECT_EQ(top->Item()->DueCount(), 1);
    EXPECT_EQ(n->Depth(), kDepth + 1);
    EXPECT_EQ(outline.NodeCount(), static_cast<std::size_t>(kDepth) + 2);
    EXPECT_EQ(CountDueBelow(top), 1);
    TOutlineNode* other = Node(kFolderKind, "other", root);
    ASSERT_TRUE(outline.MoveNode(top, other, 0));
    EXPECT_EQ(other->Item()->DueCount(), 1);
    EXPECT_EQ(n->Outline(), &outline);
    outline.DeleteNode(other);
    EXPECT_EQ(root->ChildCount(), 0u);
}

} // namespace
} // namespace quill
