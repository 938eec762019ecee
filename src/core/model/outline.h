#pragma once
// The outline: the tree of nodes that the main window shows on its left. A node has a
// caption, three image indices, a parent, its child nodes, and owns its tree item. Every
// change goes through TOutline, which announces it to its observers in two steps ("about
// to" and "done") so that a view model can map each one onto its own notifications.

#include "core/model/compact_string.h"
#include "core/model/model_heap.h"
#include "core/model/owned_list.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

class TNRBObject;
class TOutline;

class TOutlineNode {
public:
    ~TOutlineNode();
    TOutlineNode(const TOutlineNode&) = delete;
    TOutlineNode& operator=(const TOutlineNode&) = delete;
    QUILL_MODEL_HEAP_OBJECT

    std::string_view Text() const { return text_; }
    int ImageIndex() const { return imageIndex_; }
    int SelectedIndex() const { return selectedIndex_; }
    int StateIndex() const { return stateIndex_; }
    TNRBObject* Item() const { return item_.get(); }

    // None for a top-level node (the root).
    TOutlineNode* Parent() const { return parent_; }
    // Position among the parent's children (or among the top-level nodes).
    int Row() const { return row_; }
    std::size_t ChildCount() const { return children_.size(); }
    TOutlineNode* ChildAt(std::size_t row) const {
        return row < children_.size() ? children_[row] : nullptr;
    }
    bool HasChildren() const { return !children_.empty(); }

    // 0 for a top-level node.
    int Depth() const;
    // Position in tree order (each node before its descendants, siblings in order).
    int AbsoluteIndex() const;
    // The outline the node belongs to; none while it is detached.
    TOutline* Outline() const { return outline_; }
    bool IsAncestorOf(const TOutlineNode* node) const;

    // The next node in tree order, or none after the last.
    TOutlineNode* NextInTree() const;

private:
    friend class TOutline;
    TOutlineNode() = default;

    CompactString text_;
    // Tree nodes show the kind images 0 to 12 and the state bullet: a byte each suffices.
    std::int8_t imageIndex_ = 0;
    std::int8_t selectedIndex_ = 0;
    std::int8_t stateIndex_ = -1;
    std::int32_t row_ = 0;
    TOutlineNode* parent_ = nullptr;
    TOutline* outline_ = nullptr; // none while detached
    OwnedList<TOutlineNode> children_;
    std::unique_ptr<TNRBObject> item_;
};

// Visits top and every node below it in tree order, without recursion.
template <typename Node, typename Visit> void ForEachInSubtree(Node* top, Visit&& visit) {
    std::vector<Node*> stack{top};
    while (!stack.empty()) {
        Node* node = stack.back();
        stack.pop_back();
        visit(node);
        for (std::size_t i = node->ChildCount(); i-- > 0;) {
            stack.push_back(node->ChildAt(i));
        }
    }
}

// Told of every change of the outline. Rows are positions among a parent's child nodes (the
// parent is none for top-level nodes) or, for items, positions in a holder's Children.
class IOutlineObserver {
public:
    virtual ~IOutlineObserver() = default;
    virtual void NodesAboutToBeInserted(TOutlineNode* /*parent*/, int /*first*/, int /*last*/) {}
    virtual void NodesInserted(TOutlineNode* /*parent*/, int /*first*/, int /*last*/) {}
    virtual void NodesAboutToBeRemoved(TOutlineNode* /*parent*/, int /*first*/, int /*last*/) {}
    virtual void NodesRemoved(TOutlineNode* /*parent*/, int /*first*/, int /*last*/) {}
    // The child nodes first to last of source go, in their order, to destination, before its
    // row destinationRow as counted before they are taken out.
    virtual void NodesAboutToBeMoved(TOutlineNode* /*source*/, int /*first*/, int /*last*/,
                                     TOutlineNode* /*destination*/, int /*destinationRow*/) {}
    // They now stand at rows first to last of destination.
    virtual void NodesMoved(TOutlineNode* /*destination*/, int /*first*/, int /*last*/) {}
    virtual void ChildrenAboutToBeSorted(TOutlineNode* /*parent*/) {}
    virtual void ChildrenSorted(TOutlineNode* /*parent*/) {}
    // Caption, image or state image.
    virtual void NodeChanged(TOutlineNode* /*node*/) {}
    virtual void ItemsAboutToBeAdded(TOutlineNode* /*holder*/, int /*first*/, int /*last*/) {}
    virtual void ItemsAdded(TOutlineNode* /*holder*/, int /*first*/, int /*last*/) {}
    virtual void ItemsAboutToBeRemoved(TOutlineNode* /*holder*/, int /*first*/, int /*last*/) {}
    virtual void ItemsRemoved(TOutlineNode* /*holder*/, int /*first*/, int /*last*/) {}
    // A field of the item that the views show (Title, Target, Comment, image) changed.
    virtual void ItemChanged(TNRBObject* /*item*/) {}
    // Bulk work (loading, reverting, importing) starts and ends; views may stop drawing.
    virtual void UpdatesSuspended() {}
    virtual void UpdatesResumed() {}
};

class TOutline {
public:
    TOutline();
    ~TOutline();
    TOutline(const TOutline&) = delete;
    TOutline& operator=(const TOutline&) = delete;

    // The first node of the whole tree (the root), none while the outline is empty.
    TOutlineNode* Root() const { return ChildOf(nullptr, 0); }
    std::size_t TopLevelCount() const { return topLevel_.size(); }
    TOutlineNode* ChildOf(TOutlineNode* parent, std::size_t row) const;
    std::size_t ChildCountOf(const TOutlineNode* parent) const;

    // Adds a node as the last child of parent (a top-level node when parent is none),
    // captioned text, with its images, owning item.
    TOutlineNode* AddNode(TOutlineNode* parent, std::string_view text,
                          std::unique_ptr<TNRBObject> item, int image = 0, int selected = 0);
    // Creates the root node holding a new root item, when the outline has none yet.
    TOutlineNode* CreateRoot();
    // Deletes the node, its item and everything below it.
    void DeleteNode(TOutlineNode* node);
    // Deletes distinct nodes, none below another, as DeleteNode would one by one.
    void DeleteNodes(const std::vector<TOutlineNode*>& nodes);
    // Deletes every node below the root (Revert).
    void DeleteChildrenOf(TOutlineNode* node);
    // Moves the node to be a child of destination (none: top level) at row position among
    // the destination's children after the node was taken out (clamped). Refuses to move a
    // node into its own subtree.
    bool MoveNode(TOutlineNode* node, TOutlineNode* destination, std::size_t row);
    // Moves distinct nodes, in their order, to the end of destination's children, as
    // MoveNode would one by one; the nodes MoveNode refuses stay. Returns how many moved.
    std::size_t MoveNodesToEnd(const std::vector<TOutlineNode*>& nodes, TOutlineNode* destination);
    // Sorts the child nodes of parent by the ordering rule of their items (stable).
    // These setters work on detached nodes too; attached ones are announced.
    static void SortChildren(TOutlineNode* parent);
    static void SetNodeText(TOutlineNode* node, std::string_view text);
    static void SetNodeImages(TOutlineNode* node, int image, int selected);
    static void SetNodeStateIndex(TOutlineNode* node, int state);

    // Number of nodes, and the walk in tree order.
    std::size_t NodeCount() const;
    void ForEachNode(const std::function<void(TOutlineNode*)>& visit) const;

    // Observers are not owned; they remove themselves before they go.
    void AddObserver(IOutlineObserver* observer);
    void RemoveObserver(IOutlineObserver* observer);

    // Brackets bulk work; nests.
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return updateDepth_ > 0; }

    // Raises (delta > 0) or lowers the due counts of the items from node up to, but not
    // including, the top-level node, and shows or hides the due bullet on each.
    static void ShiftDueMarks(TOutlineNode* node, int delta);

    // Reading records defers the due marks: each due reminder read would otherwise walk up
    // to the top, which a file nested a hundred thousand levels deep turns into hours.
    // EndDeferredDueMarks counts top's subtree afresh, once, and passes the change above it.
    // Nests; nothing may be deleted or moved while marks are deferred.
    void DeferDueMarks() { ++dueMarksDeferred_; }
    void EndDeferredDueMarks(TOutlineNode* top);

    // Used by items to announce their own changes.
    template <typename F> void Notify(F&& f) {
        for (IOutlineObserver* o : observers_) {
            f(*o);
        }
    }

private:
    OwnedList<TOutlineNode>& ChildrenOf(TOutlineNode* parent);
    void Renumber(TOutlineNode* parent, std::size_t from);
    // Takes the node out of its parent's list, to be attached again.
    std::unique_ptr<TOutlineNode> Detach(TOutlineNode* node);
    void Attach(std::unique_ptr<TOutlineNode> node, TOutlineNode* parent, std::size_t row);
    // Deletes count neighbouring child nodes of parent, from row first on, as one removal.
    void DeleteRun(TOutlineNode* parent, std::size_t first, std::size_t count);
    // Whether the node may go to the end of destination together with its neighbours: one
    // of this outline, from another parent, and not an ancestor of destination.
    bool MovableInBlock(const TOutlineNode* node, const TOutlineNode* destination) const;
    // Moves count neighbouring child nodes of source, from row first on, to the end of
    // destination as one move.
    void MoveBlockToEnd(TOutlineNode* source, std::size_t first, std::size_t count,
                        TOutlineNode* destination);

    OwnedList<TOutlineNode> topLevel_;
    std::vector<IOutlineObserver*> observers_;
    int updateDepth_ = 0;
    int dueMarksDeferred_ = 0;
    bool dueMarksPending_ = false; // a mark was deferred
};

// Drawing suspended for the life of the object, as a long change of the outline (an import)
// wants; none for a node outside any outline.
class TOutlineUpdate {
public:
    explicit TOutlineUpdate(TOutline* outline) : outline_(outline) {
        if (outline_) {
            outline_->BeginUpdate();
        }
    }
    ~TOutlineUpdate() {
        if (outline_) {
            outline_->EndUpdate();
        }
    }
    TOutlineUpdate(const TOutlineUpdate&) = delete;
    TOutlineUpdate& operator=(const TOutlineUpdate&) = delete;

private:
    TOutline* outline_;
};

// The outline's first node ("My Contacts"); for a detached node the top of its own tree.
TOutlineNode* OutlineRootOf(TOutlineNode* node);

// Number of due reminders held at or below the node (counted, not taken from DueCount).
int CountDueBelow(const TOutlineNode* node);

// The node's path from the root, captions joined by separator.
std::string NodePath(const TOutlineNode* node, std::string_view separator);

} // namespace quill
