#include "core/wizards/import_recorder.h"

#include "core/model/nrb_object.h"

#include <algorithm>
#include <functional>

namespace quill {
namespace {

std::size_t KindSlot(int kind) {
    return kind >= 0 && kind < kKindCount ? static_cast<std::size_t>(kind) : kKindCount;
}

void CountItem(const TNRBObject& item, KindCounts& counts) {
    ++counts[KindSlot(item.Kind())];
    for (std::size_t i = 0; i < item.ChildCount(); ++i) {
        CountItem(*item.ChildAt(i), counts);
    }
}

template <typename Erase> void ForEachItemBelow(const TNRBObject& item, Erase&& erase) {
    for (std::size_t i = 0; i < item.ChildCount(); ++i) {
        erase(item.ChildAt(i));
        ForEachItemBelow(*item.ChildAt(i), erase);
    }
}

struct KindWords {
    std::string_view one;
    std::string_view many;
};

constexpr std::array<KindWords, kKindCount + 1> kKindWords{{
    {"folder", "folders"},
    {"organization", "organizations"},
    {"team", "teams"},
    {"person", "persons"},
    {"website", "websites"},
    {"address", "addresses"},
    {"phone number", "phone numbers"},
    {"e-mail address", "e-mail addresses"},
    {"fax number", "fax numbers"},
    {"reminder", "reminders"},
    {"document", "documents"},
    {"top item", "top items"},
    {"tool", "tools"},
    {"item of another kind", "items of other kinds"},
}};

} // namespace

TImportRecorder::TImportRecorder(TOutline& outline) : outline_(&outline) {
    outline_->AddObserver(this);
}

TImportRecorder::~TImportRecorder() {
    Stop();
}

void TImportRecorder::Stop() {
    if (watching_) {
        watching_ = false;
        outline_->RemoveObserver(this);
    }
}

void TImportRecorder::NodesInserted(TOutlineNode* parent, int first, int last) {
    for (int row = first; row <= last; ++row) {
        if (TOutlineNode* node = outline_->ChildOf(parent, static_cast<std::size_t>(row))) {
            // A node that went away may have left its address to this new one.
            if (!goneNodes_.empty()) {
                goneNodes_.erase(node);
            }
            nodes_.push_back(node);
        }
    }
}

void TImportRecorder::Forget(TOutlineNode* node) {
    if (!nodes_.empty() && nodes_.back() == node) {
        nodes_.pop_back();
    } else {
        goneNodes_.insert(node);
    }
    orders_.erase(node);
    if (const TNRBObject* item = node->Item()) {
        ForEachItemBelow(*item, [this](TNRBObject* child) { ForgetItem(child); });
    }
}

void TImportRecorder::ForgetItem(TNRBObject* item) {
    if (!items_.empty() && items_.back().first == item) {
        items_.pop_back();
    } else {
        goneItems_.insert(item);
    }
}

void TImportRecorder::NodesAboutToBeRemoved(TOutlineNode* parent, int first, int last) {
    for (int row = first; row <= last; ++row) {
        TOutlineNode* node = outline_->ChildOf(parent, static_cast<std::size_t>(row));
        if (!node) {
            continue;
        }
        if (!nodes_.empty() && nodes_.back() == node && !node->HasChildren()) {
            ++dropped_; // a refused record, just made
        } else if (std::find(nodes_.begin(), nodes_.end(), node) != nodes_.end() &&
                   !goneNodes_.contains(node)) {
            ++dropped_;
        }
        // Whatever goes with the node is no longer there to count or to take back; children
        // first, so that the node itself is still the last one added when it was.
        std::vector<TOutlineNode*> gone;
        ForEachInSubtree(node, [&gone](TOutlineNode* n) { gone.push_back(n); });
        for (auto it = gone.rbegin(); it != gone.rend(); ++it) {
            Forget(*it);
        }
    }
}

void TImportRecorder::ItemsAdded(TOutlineNode* holder, int first, int last) {
    if (!holder || !holder->Item()) {
        return;
    }
    for (int row = first; row <= last; ++row) {
        if (TNRBObject* item = holder->Item()->ChildAt(static_cast<std::size_t>(row))) {
            if (!goneItems_.empty()) {
                goneItems_.erase(item);
            }
            items_.emplace_back(item, holder);
        }
    }
}

void TImportRecorder::ItemsAboutToBeRemoved(TOutlineNode* holder, int first, int last) {
    if (!holder || !holder->Item()) {
        return;
    }
    for (int row = first; row <= last; ++row) {
        if (TNRBObject* item = holder->Item()->ChildAt(static_cast<std::size_t>(row))) {
            ForEachItemBelow(*item, [this](TNRBObject* child) { ForgetItem(child); });
            ForgetItem(item);
        }
    }
}

void TImportRecorder::ChildrenAboutToBeSorted(TOutlineNode* parent) {
    if (orders_.contains(parent)) {
        return;
    }
    const std::vector<TOutlineNode*> live = LiveNodes();
    if (parent && InAddedSubtree(parent, live)) {
        return;
    }
    std::vector<TOutlineNode*>& order = orders_[parent];
    for (std::size_t row = 0; row < outline_->ChildCountOf(parent); ++row) {
        TOutlineNode* child = outline_->ChildOf(parent, row);
        if (!std::binary_search(live.begin(), live.end(), child)) {
            order.push_back(child);
        }
    }
}

std::vector<TOutlineNode*> TImportRecorder::LiveNodes() const {
    std::vector<TOutlineNode*> live;
    live.reserve(nodes_.size());
    for (TOutlineNode* node : nodes_) {
        if (goneNodes_.empty() || !goneNodes_.contains(node)) {
            live.push_back(node);
        }
    }
    std::sort(live.begin(), live.end());
    live.erase(std::unique(live.begin(), live.end()), live.end());
    return live;
}

bool TImportRecorder::InAddedSubtree(const TOutlineNode* node,
                                     const std::vector<TOutlineNode*>& live) {
    for (; node; node = node->Parent()) {
        if (std::binary_search(live.begin(), live.end(), node)) {
            return true;
        }
    }
    return false;
}

std::vector<TOutlineNode*> TImportRecorder::TopNodes() const {
    const std::vector<TOutlineNode*> live = LiveNodes();
    std::vector<TOutlineNode*> tops;
    for (TOutlineNode* node : live) {
        if (!InAddedSubtree(node->Parent(), live)) {
            tops.push_back(node);
        }
    }
    return tops;
}

std::vector<TNRBObject*> TImportRecorder::TopItems() const {
    const std::vector<TOutlineNode*> live = LiveNodes();
    std::vector<TNRBObject*> tops;
    for (const auto& [item, holder] : items_) {
        if ((goneItems_.empty() || !goneItems_.contains(item)) && !InAddedSubtree(holder, live)) {
            tops.push_back(item);
        }
    }
    return tops;
}

KindCounts TImportRecorder::Counts() const {
    KindCounts counts{};
    for (const TOutlineNode* node : TopNodes()) {
        if (!node->HasChildren()) {
            if (node->Item()) {
                CountItem(*node->Item(), counts);
            }
            continue;
        }
        ForEachInSubtree(node, [&counts](const TOutlineNode* n) {
            if (n->Item()) {
                CountItem(*n->Item(), counts);
            }
        });
    }
    for (const TNRBObject* item : TopItems()) {
        CountItem(*item, counts);
    }
    return counts;
}

void TImportRecorder::Undo() {
    Stop();
    const std::vector<TNRBObject*> items = TopItems();
    std::unordered_map<TNRBObject*, TOutlineNode*> holders(items_.begin(), items_.end());
    for (TNRBObject* item : items) {
        holders.at(item)->Item()->RemoveChild(item);
    }
    // In the order of their rows, so that neighbours go as one run: the views then hear of a
    // few runs of rows instead of each of a large import's entries.
    std::vector<TOutlineNode*> tops = TopNodes();
    std::sort(tops.begin(), tops.end(), [](const TOutlineNode* a, const TOutlineNode* b) {
        return a->Parent() != b->Parent() ? std::less<>()(a->Parent(), b->Parent())
                                          : a->Row() < b->Row();
    });
    outline_->DeleteNodes(tops);
    items_.clear();
    nodes_.clear();
    goneItems_.clear();
    goneNodes_.clear();
    for (const auto& [parent, order] : orders_) {
        for (std::size_t row = 0; row < order.size(); ++row) {
            // Mostly already in place: the siblings were in order before the import too.
            if (outline_->ChildOf(parent, row) != order[row]) {
                outline_->MoveNode(order[row], parent, row);
            }
        }
    }
    orders_.clear();
}

std::string DescribeCounts(const KindCounts& counts) {
    std::vector<std::string> parts;
    for (std::size_t kind = 0; kind < counts.size(); ++kind) {
        if (counts[kind] > 0) {
            const KindWords& words = kKindWords[kind];
            parts.push_back(std::to_string(counts[kind]) + " " +
                            std::string(counts[kind] == 1 ? words.one : words.many));
        }
    }
    if (parts.empty()) {
        return "nothing";
    }
    std::string text = parts.front();
    for (std::size_t i = 1; i < parts.size(); ++i) {
        text += (i + 1 == parts.size() ? " and " : ", ") + parts[i];
    }
    return text;
}

std::string ImportResultText(const KindCounts& counts, std::size_t notKept) {
    std::string text = "Imported " + DescribeCounts(counts) + ".";
    if (notKept > 0) {
        text += "\n" + std::to_string(notKept) +
                (notKept == 1 ? " record was not kept: it held nothing the record type can use."
                              : " records were not kept: they held nothing the record type can "
                                "use.");
    }
    return text;
}

std::string ImportResultText(const TImportReport& report, int recordKind) {
    KindCounts counts{};
    for (std::size_t kind = 0; kind < report.items.size(); ++kind) {
        counts[KindSlot(static_cast<int>(kind))] += report.items[kind];
    }
    std::size_t refused = 0;
    if (recordKind >= 0 && static_cast<std::size_t>(recordKind) < report.items.size()) {
        const std::size_t made = report.items[static_cast<std::size_t>(recordKind)];
        refused = report.records > made ? report.records - made : 0;
    }
    std::string text = ImportResultText(counts, refused);
    if (report.notKept.empty()) {
        return text;
    }
    text += "\nNot kept from the file: ";
    std::size_t listed = 0;
    for (const auto& [name, count] : report.notKept) {
        if (listed == kMaxNotKeptNames) {
            text += " and " + std::to_string(report.notKept.size() - listed) + " more";
            break;
        }
        text += (listed > 0 ? ", " : "") + name + " (" + std::to_string(count) + ")";
        ++listed;
    }
    return text + ".";
}

} // namespace quill
