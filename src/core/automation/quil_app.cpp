#include "core/automation/quil_app.h"

#include "core/automation/automation_host.h"
#include "core/exchange/record_types.h"
#include "core/model/item_factory.h"
#include "core/model/nrb_object.h"

#include <exception>
#include <limits>

namespace quill {
namespace {

// The guarded reads: whatever goes wrong gives the member's empty value.
template <typename Result, typename Read> Result Guarded(Read&& read) {
    try {
        return read();
    } catch (const std::exception&) {
        return Result{};
    }
}

std::int32_t ToInt32(std::size_t n) {
    return n > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())
               ? std::numeric_limits<std::int32_t>::max()
               : static_cast<std::int32_t>(n);
}

bool InSubtree(const TOutlineNode* top, const TOutlineNode* node) {
    return node && (node == top || top->IsAncestorOf(node));
}

} // namespace

TQuilApp::TQuilApp(IAutomationHost& host) : host_(host), outline_(host.Outline()) {
    node_ = outline_.Root();
    item_ = node_ ? node_->Item() : nullptr;
    outline_.AddObserver(this);
}

TQuilApp::~TQuilApp() {
    outline_.RemoveObserver(this);
}

TOutlineNode& TQuilApp::NeedNode() const {
    if (!node_) {
        throw AutomationError("There is no current node: the node was deleted.");
    }
    return *node_;
}

TNRBObject& TQuilApp::NeedItem() const {
    if (!item_) {
        throw AutomationError("There is no current item: the item was deleted.");
    }
    return *item_;
}

void TQuilApp::Insert(int kind, std::string_view title, std::string_view target,
                      std::string_view comment, std::string_view data) {
    TOutlineNode& parent = NeedNode();
    // An item holds its kind in a byte: the factory would quietly make kind 256 a folder
    // and -1 an unknown kind 255.
    if (kind < 0 || kind > 255) {
        throw AutomationError("An item of kind " + std::to_string(kind) +
                              " cannot be inserted: kinds are 0 to 255.");
    }
    if (!CreateItem(kind, title, target, comment, 0, data, &parent)) {
        throw AutomationError("An item of kind " + std::to_string(kind) +
                              " cannot be inserted: there is only one root.");
    }
}

void TQuilApp::CopyClipboard() {
    host_.PutTextOnClipboard(NeedItem().ClipboardText());
}

void TQuilApp::DoDefaultAction() {
    TNRBObject& item = NeedItem();
    if (beforeUserWait_) {
        beforeUserWait_();
    }
    item.Activate();
}

std::int32_t TQuilApp::quilID() const {
    return Guarded<std::int32_t>([&] { return NeedItem().Id(); });
}

std::int32_t TQuilApp::quilClass() const {
    return Guarded<std::int32_t>([&] { return NeedItem().Kind() & 0x7F; });
}

std::string TQuilApp::quilTitle() const {
    return Guarded<std::string>([&] { return std::string(NeedItem().Title()); });
}

std::string TQuilApp::quilTarget() const {
    return Guarded<std::string>([&] { return std::string(NeedItem().Target()); });
}

std::string TQuilApp::quilComment() const {
    return Guarded<std::string>([&] { return std::string(NeedItem().Comment()); });
}

std::string TQuilApp::quilField(std::string_view name) const {
    return Guarded<std::string>([&] { return NeedItem().CSVFieldText(name); });
}

void TQuilApp::SetquilTitle(std::string_view title) {
    NeedItem().SetTitle(title);
    host_.RefreshFolderTitles();
}

void TQuilApp::SetquilTarget(std::string_view target) {
    NeedItem().SetTarget(target);
}

void TQuilApp::SetquilComment(std::string_view comment) {
    NeedItem().SetComment(comment);
}

void TQuilApp::SetquilField(std::string_view name, std::string_view value) {
    TNRBObject& item = NeedItem();
    // A misspelt name would change nothing and look like success.
    if (!FindCSVField(name)) {
        std::string names;
        for (std::size_t i = 0; i < kCSVFieldCount; ++i) {
            names += (i ? ", " : "") + std::string(CSVFieldName(static_cast<CSVField>(i)));
        }
        throw AutomationError("There is no field \"" + std::string(name) + "\"; the fields are " +
                              names + ".");
    }
    item.ReadCSVRecord({std::string(value)}, {std::string(name)});
}

std::int32_t TQuilApp::ItemCount() const {
    if (nodeCount_ < 0) {
        nodeCount_ = ToInt32(outline_.NodeCount());
    }
    return nodeCount_;
}

TOutlineNode* TQuilApp::NodeAt(std::int32_t index) const {
    if (index < 0) {
        return nullptr;
    }
    std::int32_t at = 0;
    TOutlineNode* node = outline_.Root();
    if (walkNode_ && walkIndex_ <= index) {
        at = walkIndex_;
        node = walkNode_;
    }
    while (node && at < index) {
        node = node->NextInTree();
        ++at;
    }
    if (node) {
        walkIndex_ = at;
        walkNode_ = node;
    }
    return node;
}

bool TQuilApp::Items(std::int32_t index) {
    return Guarded<bool>([&] {
        TOutlineNode* node = NodeAt(index);
        if (!node) {
            return false;
        }
        node_ = node;
        item_ = node->Item();
        return true;
    });
}

std::int32_t TQuilApp::CurrentItemIndex() const {
    return Guarded<std::int32_t>([&] { return NeedNode().AbsoluteIndex(); });
}

std::int32_t TQuilApp::NextSiblingIndex() const {
    return Guarded<std::int32_t>([&] {
        const TOutlineNode& node = NeedNode();
        if (const TOutlineNode* sibling =
                outline_.ChildOf(node.Parent(), static_cast<std::size_t>(node.Row()) + 1)) {
            return sibling->AbsoluteIndex();
        }
        if (node.HasChildren()) {
            return node.ChildAt(node.ChildCount() - 1)->AbsoluteIndex();
        }
        return -1;
    });
}

std::int32_t TQuilApp::ChildCount() const {
    return Guarded<std::int32_t>([&] {
        const TOutlineNode& node = NeedNode();
        return ToInt32(node.ChildCount() + node.Item()->ChildCount());
    });
}

bool TQuilApp::Child(std::int32_t position) {
    return Guarded<bool>([&] {
        const TOutlineNode& node = NeedNode();
        if (position < 0) {
            return false;
        }
        const auto p = static_cast<std::size_t>(position);
        TNRBObject* child = p < node.ChildCount() ? node.ChildAt(p)->Item()
                                                  : node.Item()->ChildAt(p - node.ChildCount());
        if (!child) {
            return false;
        }
        item_ = child;
        return true;
    });
}

std::int32_t TQuilApp::SelectCount() const {
    return Guarded<std::int32_t>(
        [&] { return host_.ListIsActive() ? ToInt32(host_.SelectedEntries().size()) : 1; });
}

bool TQuilApp::SelectUserItem(std::int32_t position) {
    if (host_.ListIsActive()) {
        const std::vector<TNRBObject*> entries = host_.SelectedEntries();
        if (!entries.empty()) {
            if (position < 0 || static_cast<std::size_t>(position) >= entries.size()) {
                return false;
            }
            TNRBObject* item = entries[static_cast<std::size_t>(position)];
            item_ = item;
            if (item->Node()) {
                node_ = item->Node();
            }
            return true;
        }
    }
    TOutlineNode* selected = host_.SelectedNode();
    if (!selected) {
        return false;
    }
    node_ = selected;
    item_ = selected->Item();
    return true;
}

bool TQuilApp::UserSelected(std::int32_t position) {
    return Guarded<bool>([&] { return SelectUserItem(position); });
}

bool TQuilApp::NextItemWithTitle(std::string_view title) {
    host_.Locate(title);
    return UserSelected(0);
}

bool TQuilApp::ItemWithId(std::int32_t id) {
    bool found = false;
    for (TOutlineNode* node = outline_.Root(); node; node = node->NextInTree()) {
        TNRBObject* item = node->Item();
        if (item->Id() == id) {
            node_ = node;
            item_ = item;
            return true;
        }
        for (std::size_t i = 0; i < item->ChildCount(); ++i) {
            if (TNRBObject* child = item->ChildAt(i); child->Id() == id) {
                node_ = node;
                item_ = child;
                found = true;
            }
        }
    }
    return found;
}

void TQuilApp::NodesAboutToBeRemoved(TOutlineNode* parent, int first, int last) {
    for (int row = first; row <= last; ++row) {
        const TOutlineNode* going = outline_.ChildOf(parent, static_cast<std::size_t>(row));
        if (!going) {
            continue;
        }
        if (InSubtree(going, node_)) {
            node_ = nullptr;
        }
        // A child item's node is its holder's, a tree item's its own.
        if (item_ && InSubtree(going, item_->Node())) {
            item_ = nullptr;
        }
    }
    ForgetWalk();
}

void TQuilApp::ItemsAboutToBeRemoved(TOutlineNode* holder, int first, int last) {
    const TNRBObject* holderItem = holder ? holder->Item() : nullptr;
    for (int row = first; holderItem && item_ && row <= last; ++row) {
        if (holderItem->ChildAt(static_cast<std::size_t>(row)) == item_) {
            item_ = nullptr;
        }
    }
}

void TQuilApp::ForgetWalk() const {
    walkIndex_ = -1;
    walkNode_ = nullptr;
    nodeCount_ = -1;
}

} // namespace quill
