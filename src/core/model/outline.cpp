#include "core/model/outline.h"
#include "core/util/prefetch.h"

#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"

#include "core/util/ascii.h"

#include <algorithm>
#include <cstdint>

namespace quill {
namespace {

// Node images are small indices; anything else shows as no image.
std::int8_t ImageByte(int index) {
    return (index >= -1 && index <= 127) ? static_cast<std::int8_t>(index) : std::int8_t{-1};
}

// Hands onRun each run [begin, end) of the nodes that are neighbouring siblings in order and
// all pass fits, last run first, so that the rows of the runs still to come stay as they are;
// a node that does not fit is a run of its own. A view told of a whole run at once lays
// itself out once, not once for every node (a whole list selected).
template <typename Fits, typename OnRun>
void ForEachSiblingRunLastFirst(const std::vector<TOutlineNode*>& nodes, Fits&& fits,
                                OnRun&& onRun) {
    for (std::size_t end = nodes.size(); end > 0;) {
        const TOutlineNode* last = nodes[end - 1];
        std::size_t begin = end - 1;
        if (fits(last)) {
            while (begin > 0 && fits(nodes[begin - 1]) &&
                   nodes[begin - 1]->Parent() == last->Parent() &&
                   nodes[begin - 1]->Row() + 1 == nodes[begin]->Row()) {
                --begin;
            }
        }
        onRun(begin, end);
        end = begin;
    }
}

// The due reminders below count neighbouring nodes of a list.
int CountDueBelowRun(const OwnedList<TOutlineNode>& list, std::size_t first, std::size_t count) {
    int due = 0;
    for (std::size_t i = first; i < first + count; ++i) {
        due += CountDueBelow(list[i]);
    }
    return due;
}

} // namespace

TOutlineNode::~TOutlineNode() {
    // Descendants go first, leaves before their parents, while the chain above each still
    // stands: their reminders take their due marks off it as they are destroyed. The walk
    // is a loop, not a recursion, so no depth of outline can exhaust the stack.
    TOutlineNode* n = this;
    for (;;) {
        while (!n->children_.empty()) {
            n = n->children_.back();
        }
        if (n == this) {
            break;
        }
        TOutlineNode* parent = n->parent_;
        parent->children_.take(parent->children_.size() - 1).reset();
        n = parent;
    }
    item_.reset();
}

int TOutlineNode::Depth() const {
    int depth = 0;
    for (const TOutlineNode* n = parent_; n; n = n->parent_) {
        ++depth;
    }
    return depth;
}

bool TOutlineNode::IsAncestorOf(const TOutlineNode* node) const {
    for (const TOutlineNode* n = node ? node->parent_ : nullptr; n; n = n->parent_) {
        if (n == this) {
            return true;
        }
    }
    return false;
}

namespace {

std::size_t SubtreeSize(const TOutlineNode* top) {
    std::size_t count = 0;
    ForEachInSubtree(top, [&](const TOutlineNode*) { ++count; });
    return count;
}

} // namespace

int TOutlineNode::AbsoluteIndex() const {
    std::size_t index = 0;
    const TOutlineNode* n = this;
    for (;;) {
        const TOutlineNode* parent = n->parent_;
        if (parent) {
            for (int i = 0; i < n->row_; ++i) {
                index += SubtreeSize(parent->ChildAt(static_cast<std::size_t>(i)));
            }
            index += 1; // the parent itself
            n = parent;
            continue;
        }
        if (const TOutline* outline = n->outline_) {
            for (int i = 0; i < n->row_; ++i) {
                index += SubtreeSize(outline->ChildOf(nullptr, static_cast<std::size_t>(i)));
            }
        }
        return static_cast<int>(index);
    }
}

TOutlineNode* TOutlineNode::NextInTree() const {
    if (!children_.empty()) {
        return children_.front();
    }
    const TOutlineNode* n = this;
    while (n) {
        const auto next = static_cast<std::size_t>(n->row_) + 1;
        if (n->parent_) {
            if (next < n->parent_->children_.size()) {
                return n->parent_->children_[next];
            }
        } else if (n->outline_) {
            return n->outline_->ChildOf(nullptr, next);
        }
        n = n->parent_;
    }
    return nullptr;
}

TOutline::TOutline() = default;

TOutline::~TOutline() {
    // Nobody listens to the teardown.
    observers_.clear();
    for (TOutlineNode* node : topLevel_) {
        node->outline_ = nullptr;
    }
    topLevel_.clear();
}

TOutlineNode* TOutline::ChildOf(TOutlineNode* parent, std::size_t row) const {
    const auto& list = parent ? parent->children_ : topLevel_;
    return row < list.size() ? list[row] : nullptr;
}

std::size_t TOutline::ChildCountOf(const TOutlineNode* parent) const {
    return parent ? parent->children_.size() : topLevel_.size();
}

OwnedList<TOutlineNode>& TOutline::ChildrenOf(TOutlineNode* parent) {
    return parent ? parent->children_ : topLevel_;
}

void TOutline::Renumber(TOutlineNode* parent, std::size_t from) {
    auto& list = ChildrenOf(parent);
    for (std::size_t i = from; i < list.size(); ++i) {
        list[i]->row_ = static_cast<std::int32_t>(i);
    }
}

TOutlineNode* TOutline::AddNode(TOutlineNode* parent, std::string_view text,
                                std::unique_ptr<TNRBObject> item, int image, int selected) {
    auto& list = ChildrenOf(parent);
    const int row = static_cast<int>(list.size());
    std::unique_ptr<TOutlineNode> node(new TOutlineNode());
    node->text_ = text;
    node->item_ = std::move(item);
    node->imageIndex_ = ImageByte(image);
    node->selectedIndex_ = ImageByte(selected);
    Notify([&](IOutlineObserver& o) { o.NodesAboutToBeInserted(parent, row, row); });
    Attach(std::move(node), parent, list.size());
    Notify([&](IOutlineObserver& o) { o.NodesInserted(parent, row, row); });
    return list.back();
}

TOutlineNode* TOutline::CreateRoot() {
    if (!topLevel_.empty()) {
        return nullptr;
    }
    auto root = std::make_unique<TNRBObject>(kRootKind, DefaultTitle(kRootKind), "", "", kRootId);
    TNRBObject* item = root.get();
    TOutlineNode* node = AddNode(nullptr, item->Title(), std::move(root), kRootImage, kRootImage);
    item->SetNode(node);
    return node;
}

void TOutline::Attach(std::unique_ptr<TOutlineNode> node, TOutlineNode* parent, std::size_t row) {
    auto& list = ChildrenOf(parent);
    row = std::min(row, list.size());
    node->parent_ = parent;
    if (!node->HasChildren()) {
        node->outline_ = this;
    } else if (node->outline_ != this) {
        ForEachInSubtree(node.get(), [this](TOutlineNode* n) { n->outline_ = this; });
    }
    list.insert(row, std::move(node));
    Renumber(parent, row);
}

std::unique_ptr<TOutlineNode> TOutline::Detach(TOutlineNode* node) {
    auto& list = ChildrenOf(node->parent_);
    const auto row = static_cast<std::size_t>(node->row_);
    std::unique_ptr<TOutlineNode> owned = list.take(row);
    Renumber(node->parent_, row);
    owned->parent_ = nullptr;
    owned->row_ = 0;
    return owned;
}

void TOutline::DeleteNode(TOutlineNode* node) {
    if (node && node->Outline() == this) {
        DeleteRun(node->parent_, static_cast<std::size_t>(node->row_), 1);
    }
}

void TOutline::DeleteNodes(const std::vector<TOutlineNode*>& nodes) {
    ForEachSiblingRunLastFirst(
        nodes, [this](const TOutlineNode* node) { return node && node->Outline() == this; },
        [&](std::size_t begin, std::size_t end) {
            if (end - begin > 1) {
                DeleteRun(nodes[begin]->parent_, static_cast<std::size_t>(nodes[begin]->row_),
                          end - begin);
            } else {
                DeleteNode(nodes[begin]);
            }
        });
}

void TOutline::DeleteRun(TOutlineNode* parent, std::size_t first, std::size_t count) {
    auto& list = ChildrenOf(parent);
    if (const int due = CountDueBelowRun(list, first, count); due > 0 && parent) {
        ShiftDueMarks(parent, -due);
    }
    const int last = static_cast<int>(first + count - 1);
    Notify([&](IOutlineObserver& o) {
        o.NodesAboutToBeRemoved(parent, static_cast<int>(first), last);
    });
    OwnedList<TOutlineNode> gone;
    list.moveTo(first, count, gone);
    Renumber(parent, first);
    for (TOutlineNode* node : gone) {
        node->parent_ = nullptr;
        ForEachInSubtree(node, [](TOutlineNode* n) { n->outline_ = nullptr; });
    }
    Notify([&](IOutlineObserver& o) { o.NodesRemoved(parent, static_cast<int>(first), last); });
    // Destroyed detached: whatever their items do on the way out stays inside the subtrees.
    gone.clear();
}

void TOutline::DeleteChildrenOf(TOutlineNode* node) {
    auto& list = ChildrenOf(node);
    while (!list.empty()) {
        DeleteNode(list.back());
    }
}

bool TOutline::MoveNode(TOutlineNode* node, TOutlineNode* destination, std::size_t row) {
    if (!node || node->Outline() != this || node == destination ||
        (destination && (node->IsAncestorOf(destination) || destination->Outline() != this))) {
        return false;
    }
    TOutlineNode* source = node->parent_;
    const std::size_t sizeAfterRemoval = ChildCountOf(destination) - (source == destination);
    row = std::min(row, sizeAfterRemoval);
    if (source == destination && row == static_cast<std::size_t>(node->row_)) {
        return true;
    }
    const int due = CountDueBelow(node);
    if (due > 0 && source) {
        ShiftDueMarks(source, -due);
    }
    const int destinationRow = static_cast<int>(
        (source == destination && row >= static_cast<std::size_t>(node->row_)) ? row + 1 : row);
    Notify([&](IOutlineObserver& o) {
        o.NodesAboutToBeMoved(source, node->row_, node->row_, destination, destinationRow);
    });
    Attach(Detach(node), destination, row);
    Notify([&](IOutlineObserver& o) { o.NodesMoved(destination, node->row_, node->row_); });
    if (due > 0 && destination) {
        ShiftDueMarks(destination, due);
    }
    return true;
}

bool TOutline::MovableInBlock(const TOutlineNode* node, const TOutlineNode* destination) const {
    return node && node->Outline() == this && node != destination && node->parent_ != destination &&
           (!destination || (destination->Outline() == this && !node->IsAncestorOf(destination)));
}

void TOutline::MoveBlockToEnd(TOutlineNode* source, std::size_t first, std::size_t count,
                              TOutlineNode* destination) {
    auto& from = ChildrenOf(source);
    auto& to = ChildrenOf(destination);
    const int due = CountDueBelowRun(from, first, count);
    if (due > 0 && source) {
        ShiftDueMarks(source, -due);
    }
    const auto at = to.size();
    const int last = static_cast<int>(first + count - 1);
    Notify([&](IOutlineObserver& o) {
        o.NodesAboutToBeMoved(source, static_cast<int>(first), last, destination,
                              static_cast<int>(at));
    });
    from.moveTo(first, count, to);
    Renumber(source, first);
    for (std::size_t i = at; i < to.size(); ++i) {
        to[i]->parent_ = destination;
    }
    Renumber(destination, at);
    Notify([&](IOutlineObserver& o) {
        o.NodesMoved(destination, static_cast<int>(at), static_cast<int>(to.size() - 1));
    });
    if (due > 0 && destination) {
        ShiftDueMarks(destination, due);
    }
}

std::size_t TOutline::MoveNodesToEnd(const std::vector<TOutlineNode*>& nodes,
                                     TOutlineNode* destination) {
    // Taken front first, every node would renumber all the siblings after it: a folder's
    // 40,000 entries dragged away took seconds. Taken last first, each leaves from near the
    // end; reversals then put them in their order. Neighbouring siblings (a whole list
    // selected) go as one block with one announcement: a view told of each node's move
    // lays itself out again for every one.
    std::vector<std::size_t> blocks; // the sizes of the blocks, in the order they went
    std::size_t moved = 0;
    ForEachSiblingRunLastFirst(
        nodes, [&](const TOutlineNode* node) { return MovableInBlock(node, destination); },
        [&](std::size_t begin, std::size_t end) {
            if (end - begin > 1) {
                MoveBlockToEnd(nodes[begin]->parent_, static_cast<std::size_t>(nodes[begin]->row_),
                               end - begin, destination);
                blocks.push_back(end - begin);
                moved += end - begin;
            } else if (MoveNode(nodes[begin], destination, ChildCountOf(destination))) {
                blocks.push_back(1);
                ++moved;
            }
        });
    if (blocks.size() > 1) {
        // The blocks stand last first, each in its own order.
        auto& list = ChildrenOf(destination);
        const std::size_t first = list.size() - moved;
        Notify([&](IOutlineObserver& o) { o.ChildrenAboutToBeSorted(destination); });
        std::reverse(list.begin() + first, list.end());
        std::size_t at = first;
        for (auto size = blocks.rbegin(); size != blocks.rend(); ++size) {
            std::reverse(list.begin() + at, list.begin() + at + *size);
            at += *size;
        }
        Renumber(destination, first);
        Notify([&](IOutlineObserver& o) { o.ChildrenSorted(destination); });
    }
    return moved;
}

namespace {

// A sibling's place in a sort by title: the first twelve bytes of its lowered title packed
// into numbers that order as the bytes do (missing bytes count as 0), and its position, with
// a flag that puts folders first.
struct SiblingKey {
    std::uint64_t head = 0; // bytes 0 to 7
    std::uint32_t tail = 0; // bytes 8 to 11
    std::uint32_t place = 0;
};
constexpr std::uint32_t kNotFolder = std::uint32_t{1} << 31;
constexpr std::uint32_t kPosition = kNotFolder - 1;
constexpr std::size_t kKeyBytes = 12;

SiblingKey MakeSiblingKey(std::string_view title, std::size_t position, bool folder) {
    SiblingKey key;
    key.place = static_cast<std::uint32_t>(position) | (folder ? 0 : kNotFolder);
    for (std::size_t b = 0; b < kKeyBytes && b < title.size(); ++b) {
        const auto c = static_cast<unsigned char>(AsciiLower(title[b]));
        if (b < 8) {
            key.head |= std::uint64_t{c} << (56 - 8 * b);
        } else {
            key.tail |= std::uint32_t{c} << (88 - 8 * b);
        }
    }
    return key;
}

bool SameKeyBytes(const SiblingKey& a, const SiblingKey& b) {
    return ((a.place ^ b.place) & kNotFolder) == 0 && a.head == b.head && a.tail == b.tail;
}

bool KeyBefore(const SiblingKey& a, const SiblingKey& b) {
    if ((a.place ^ b.place) & kNotFolder) {
        return a.place < b.place;
    }
    if (a.head != b.head) {
        return a.head < b.head;
    }
    return a.tail != b.tail ? a.tail < b.tail : a.place < b.place;
}

// Sorts the keys into the order of ItemSortsBefore, equal titles by position. Most keys are
// told apart by their bytes; only a run of keys that tie reads its titles, once each: the
// rest of each lowered title goes into one buffer, and the run is sorted on that.
template <typename TitleOf> void SortSiblingKeys(std::vector<SiblingKey>& keys, TitleOf&& titleOf) {
    std::sort(keys.begin(), keys.end(), KeyBefore);
    struct Tied {
        std::size_t offset; // of the rest in rests
        std::size_t restSize;
        std::size_t size; // of the whole title
        SiblingKey key;
    };
    std::string rests;
    std::vector<Tied> tied;
    std::vector<std::string_view> titles;
    for (std::size_t i = 0; i < keys.size();) {
        std::size_t end = i + 1;
        while (end < keys.size() && SameKeyBytes(keys[i], keys[end])) {
            ++end;
        }
        if (end - i > 1) {
            rests.clear();
            tied.clear();
            // The titles lie at random places: fetched first in a loop of their own, so
            // that the processor overlaps the reads.
            titles.clear();
            for (std::size_t k = i; k < end; ++k) {
                titles.push_back(titleOf(keys[k]));
            }
            for (std::size_t k = i; k < end; ++k) {
                const std::string_view title = titles[k - i];
                const std::string_view rest = title.substr(std::min(title.size(), kKeyBytes));
                tied.push_back({rests.size(), rest.size(), title.size(), keys[k]});
                for (const char c : rest) {
                    rests.push_back(AsciiLower(c));
                }
            }
            // Equal first bytes and equal rests leave titles of up to twelve bytes that
            // differ in length only: the shorter one is the other's beginning.
            std::sort(tied.begin(), tied.end(), [&rests](const Tied& a, const Tied& b) {
                const std::string_view ra(rests.data() + a.offset, a.restSize);
                const std::string_view rb(rests.data() + b.offset, b.restSize);
                if (const int order = ra.compare(rb); order != 0) {
                    return order < 0;
                }
                return a.size != b.size ? a.size < b.size : a.key.place < b.key.place;
            });
            for (std::size_t k = i; k < end; ++k) {
                keys[k] = tied[k - i].key;
            }
        }
        i = end;
    }
}

} // namespace

void TOutline::SortChildren(TOutlineNode* parent) {
    auto& list = parent->children_;
    const auto before = [](const TOutlineNode* a, const TOutlineNode* b) {
        return ItemSortsBefore(*a->item_, *b->item_);
    };
    if (std::is_sorted(list.begin(), list.end(), before)) {
        return;
    }
    TOutline* outline = parent->Outline();
    if (outline) {
        outline->Notify([&](IOutlineObserver& o) { o.ChildrenAboutToBeSorted(parent); });
    }
    // A large import sorts a million siblings in one go: on small keys made once, so that
    // comparisons rarely read the items.
    std::vector<SiblingKey> keys;
    keys.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        // Each item lies a whole record's memory after the one before: asked for ahead.
        if (i + 8 < list.size()) {
            PrefetchForReading(list.begin()[i + 8]->item_.get());
        }
        if (i + 4 < list.size()) {
            list.begin()[i + 4]->item_->PrefetchRecord();
        }
        const TNRBObject& item = *list.begin()[i]->item_;
        keys.push_back(MakeSiblingKey(item.Title(), i, item.Kind() == kFolderKind));
    }
    SortSiblingKeys(keys, [&list](const SiblingKey& key) {
        return list.begin()[key.place & kPosition]->item_->Title();
    });
    // The nodes moved to their places along each cycle of the order, with no second list;
    // a key whose position is its own place is done.
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if ((keys[i].place & kPosition) == i) {
            continue;
        }
        TOutlineNode* first = list.begin()[i];
        for (std::size_t j = i;;) {
            const std::size_t from = keys[j].place & kPosition;
            keys[j].place = static_cast<std::uint32_t>(j);
            if (from == i) {
                list.begin()[j] = first;
                break;
            }
            list.begin()[j] = list.begin()[from];
            j = from;
        }
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i + 8 < list.size()) {
            PrefetchForWriting(list.begin()[i + 8]); // the nodes are scattered now
        }
        list.begin()[i]->row_ = static_cast<std::int32_t>(i);
    }
    if (outline) {
        outline->Notify([&](IOutlineObserver& o) { o.ChildrenSorted(parent); });
    }
}

namespace {
void AnnounceChange(TOutlineNode* node) {
    if (TOutline* outline = node->Outline()) {
        outline->Notify([&](IOutlineObserver& o) { o.NodeChanged(node); });
    }
}
} // namespace

void TOutline::SetNodeText(TOutlineNode* node, std::string_view text) {
    if (node->text_ == text) {
        return;
    }
    node->text_ = text;
    AnnounceChange(node);
}

void TOutline::SetNodeImages(TOutlineNode* node, int image, int selected) {
    if (node->imageIndex_ == image && node->selectedIndex_ == selected) {
        return;
    }
    node->imageIndex_ = ImageByte(image);
    node->selectedIndex_ = ImageByte(selected);
    AnnounceChange(node);
}

void TOutline::SetNodeStateIndex(TOutlineNode* node, int state) {
    if (node->stateIndex_ == state) {
        return;
    }
    node->stateIndex_ = ImageByte(state);
    AnnounceChange(node);
}

void TOutline::ShiftDueMarks(TOutlineNode* node, int delta) {
    if (node && node->outline_ && node->outline_->dueMarksDeferred_ > 0) {
        node->outline_->dueMarksPending_ = true;
        return;
    }
    for (TOutlineNode* n = node; n && n->parent_; n = n->parent_) {
        // A holder being destroyed has already let go of its item.
        if (TNRBObject* item = n->item_.get()) {
            item->AdjustDueCount(delta);
            SetNodeStateIndex(n, item->DueCount() > 0 ? kDueStateImage : kNoStateImage);
        }
    }
}

void TOutline::EndDeferredDueMarks(TOutlineNode* top) {
    if (dueMarksDeferred_ == 0 || --dueMarksDeferred_ > 0 || !dueMarksPending_) {
        return;
    }
    dueMarksPending_ = false;
    if (!top || top->outline_ != this) {
        return;
    }
    const int before = top->item_ ? top->item_->DueCount() : 0;
    int topCount = 0;
    // Children before their parents, walked along the tree itself without a list of nodes.
    const auto firstLeaf = [](TOutlineNode* n) {
        while (!n->children_.empty()) {
            n = n->children_.front();
        }
        return n;
    };
    for (TOutlineNode* n = firstLeaf(top);;) {
        if (TNRBObject* item = n->item_.get()) {
            int count = item->Due() ? 1 : 0;
            for (std::size_t i = 0; i < item->ChildCount(); ++i) {
                count += item->ChildAt(i)->Due() ? 1 : 0;
            }
            for (TOutlineNode* child : n->children_) {
                count += child->item_ ? child->item_->DueCount() : 0;
            }
            if (n == top) {
                topCount = count;
            }
            // The top-level node keeps no count, as ShiftDueMarks leaves it out.
            if (n->parent_) {
                item->AdjustDueCount(count - item->DueCount());
                SetNodeStateIndex(n, count > 0 ? kDueStateImage : kNoStateImage);
            }
        }
        if (n == top) {
            break;
        }
        TOutlineNode* parent = n->parent_;
        const auto next = static_cast<std::size_t>(n->row_) + 1;
        n = next < parent->children_.size() ? firstLeaf(parent->children_[next]) : parent;
    }
    if (top->parent_ && topCount != before) {
        ShiftDueMarks(top->parent_, topCount - before);
    }
}

std::size_t TOutline::NodeCount() const {
    std::size_t count = 0;
    for (const TOutlineNode* node : topLevel_) {
        count += SubtreeSize(node);
    }
    return count;
}

void TOutline::ForEachNode(const std::function<void(TOutlineNode*)>& visit) const {
    for (TOutlineNode* n = Root(); n; n = n->NextInTree()) {
        visit(n);
    }
}

void TOutline::AddObserver(IOutlineObserver* observer) {
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
        observers_.push_back(observer);
    }
}

void TOutline::RemoveObserver(IOutlineObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void TOutline::BeginUpdate() {
    if (updateDepth_++ == 0) {
        Notify([](IOutlineObserver& o) { o.UpdatesSuspended(); });
    }
}

void TOutline::EndUpdate() {
    if (updateDepth_ > 0 && --updateDepth_ == 0) {
        Notify([](IOutlineObserver& o) { o.UpdatesResumed(); });
    }
}

int CountDueBelow(const TOutlineNode* top) {
    int count = 0;
    ForEachInSubtree(top, [&](const TOutlineNode* node) {
        if (const TNRBObject* item = node->Item()) {
            for (std::size_t i = 0; i < item->ChildCount(); ++i) {
                count += item->ChildAt(i)->Due() ? 1 : 0;
            }
            count += item->Due() ? 1 : 0;
        }
    });
    return count;
}

std::string NodePath(const TOutlineNode* node, std::string_view separator) {
    std::vector<std::string_view> parts;
    for (const TOutlineNode* n = node; n; n = n->Parent()) {
        parts.push_back(n->Text());
    }
    std::string path;
    for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
        if (!path.empty() || it != parts.rbegin()) {
            path.append(separator);
        }
        path.append(*it);
    }
    return path;
}

TOutlineNode* OutlineRootOf(TOutlineNode* node) {
    if (!node) {
        return nullptr;
    }
    if (TOutline* outline = node->Outline()) {
        return outline->Root();
    }
    while (node->Parent()) {
        node = node->Parent();
    }
    return node;
}

} // namespace quill
