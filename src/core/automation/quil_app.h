#pragma once
// TQuilApp: one automation client's view of the main window's outline. It keeps a cursor
// (a current node and a current item) that most members read or move. Reads that fail (an
// index out of range, no current item) give their empty value and leave the cursor alone;
// the other members report a failure by throwing AutomationError.
//
// The cursor never dangles: when the user or another client deletes the node or item under
// it, that part of the cursor becomes empty, and the members that need it fail until the
// client moves the cursor again (Items, UserSelected, ItemWithId).

#include "core/model/outline.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quill {

class IAutomationHost;
class TNRBObject;

class AutomationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TQuilApp final : private IOutlineObserver {
public:
    // Starts at the top node and its item. The host and its outline must outlive the object.
    explicit TQuilApp(IAutomationHost& host);
    ~TQuilApp() override;
    TQuilApp(const TQuilApp&) = delete;
    TQuilApp& operator=(const TQuilApp&) = delete;

    // Creates an item of the kind under the current node (a random Id, data as its data line);
    // the cursor stays.
    void Insert(int kind, std::string_view title, std::string_view target, std::string_view comment,
                std::string_view data);
    // The current item's clipboard text, as plain text.
    void CopyClipboard();
    // The current item's Activate. Once the item is known, the hook set below is called.
    void DoDefaultAction();
    // Called when a member has done its checks and is about to start something that may
    // wait for the user (an item's editor, a mail dialog): the server answers its client
    // then, rather than when the user is done. Empty: nothing is called.
    void SetBeforeUserWait(std::function<void()> hook) { beforeUserWait_ = std::move(hook); }
    const std::function<void()>& BeforeUserWait() const { return beforeUserWait_; }

    std::int32_t quilID() const;
    std::int32_t quilClass() const; // the low seven bits of the kind
    std::string quilTitle() const;
    std::string quilTarget() const;
    std::string quilComment() const;
    // The item's column text for the field as an export writes it (quoted, comma behind).
    std::string quilField(std::string_view name) const;
    // Renames as the user does (the caption follows) and refreshes the captions.
    void SetquilTitle(std::string_view title);
    void SetquilTarget(std::string_view target);
    void SetquilComment(std::string_view comment);
    // Reads the one field as a delimited-text import does; what the item makes of it is
    // not reported.
    void SetquilField(std::string_view name, std::string_view value);

    // Nodes are numbered in tree order, the top node 0.
    std::int32_t ItemCount() const;
    bool Items(std::int32_t index);
    std::int32_t CurrentItemIndex() const;
    // The next sibling's index; without one the last child node's; without either -1.
    std::int32_t NextSiblingIndex() const;
    // Child nodes, then the current node's item's Children.
    std::int32_t ChildCount() const;
    bool Child(std::int32_t position);
    // 1 while the tree is the active pane, else the number of selected list entries.
    std::int32_t SelectCount() const;
    bool UserSelected(std::int32_t position);
    // Runs the window's search, then UserSelected(0): true whenever the cursor could be set,
    // found or not.
    bool NextItemWithTitle(std::string_view title);
    // The node whose item has the Id (at once), else the last child item with it.
    bool ItemWithId(std::int32_t id);

    TOutlineNode* CurrentNode() const { return node_; }
    TNRBObject* CurrentItem() const { return item_; }

private:
    TOutlineNode& NeedNode() const;
    TNRBObject& NeedItem() const;
    TOutlineNode* NodeAt(std::int32_t index) const;
    bool SelectUserItem(std::int32_t position);

    // IOutlineObserver: let go of what is about to be destroyed, forget the walk position.
    void NodesAboutToBeRemoved(TOutlineNode* parent, int first, int last) override;
    void ItemsAboutToBeRemoved(TOutlineNode* holder, int first, int last) override;
    void NodesInserted(TOutlineNode*, int, int) override { ForgetWalk(); }
    void NodesRemoved(TOutlineNode*, int, int) override { ForgetWalk(); }
    void NodesMoved(TOutlineNode*, int, int) override { ForgetWalk(); }
    void ChildrenSorted(TOutlineNode*) override { ForgetWalk(); }
    void ForgetWalk() const;

    IAutomationHost& host_;
    TOutline& outline_;
    TOutlineNode* node_ = nullptr;
    TNRBObject* item_ = nullptr;
    std::function<void()> beforeUserWait_;
    // Where the last node lookup by index ended, so that a client walking the tree index by
    // index does not start each step from the top. Valid until the tree's shape changes.
    mutable std::int32_t walkIndex_ = -1;
    mutable TOutlineNode* walkNode_ = nullptr;
    mutable std::int32_t nodeCount_ = -1;
};

} // namespace quill
