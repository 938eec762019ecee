#include "core/wizards/import_recorder.h"

#include "core/model/nrb_object.h"

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
            nodes_.insert(node);
        }
    }
}

void TImportRecorder::NodesAboutToBeRemoved(TOutlineNode* parent, int first, int last) {
    for (int row = first; row <= last; ++row) {
        TOutlineNode* node = outline_->ChildOf(parent, static_cast<std::size_t>(row));
        if (!node) {
            continue;
        }
        if (nodes_.contains(node)) {
            ++dropped_;
        }
        // Whatever goes with the node is no longer there to count or to take back.
        ForEachInSubtree(node, [this](TOutlineNode* gone) {
            nodes_.erase(gone);
            orders_.erase(gone);
            if (const TNRBObject* item = gone->Item()) {
                ForEachItemBelow(*item, [this](TNRBObject* child) { items_.erase(child); });
            }
        });
    }
}

void TImportRecorder::ItemsAdded(TOutlineNode* holder, int first, int last) {
    if (!holder || !holder->Item()) {
        return;
    }
    for (int row = first; row <= last; ++row) {
        if (TNRBObject* item = holder->Item()->ChildAt(static_cast<std::size_t>(row))) {
            items_.emplace(item, holder);
        }
    }
}

void TImportRecorder::ItemsAboutToBeRemoved(TOutlineNode* holder, int first, int last) {
    if (!holder || !holder->Item()) {
        return;
    }
    for (int row = first; row <= last; ++row) {
        if (TNRBObject* item = holder->Item()->ChildAt(static_cast<std::size_t>(row))) {
            items_.erase(item);
            ForEachItemBelow(*item, [this](TNRBObject* child) { items_.erase(child); });
        }
    }
}

void TImportRecorder::ChildrenAboutToBeSorted(TOutlineNode* parent) {
    if (orders_.contains(parent) || (parent && InAddedSubtree(parent))) {
        return;
    }
    std::vector<TOutlineNode*>& order = orders_[parent];
    for (std::size_t row = 0; row < outline_->ChildCountOf(parent); ++row) {
        TOutlineNode* child = outline_->ChildOf(parent, row);
        if (!nodes_.contains(child)) {
            order.push_back(child);
        }
    }
}

bool TImportRecorder::InAddedSubtree(const TOutlineNode* node) const {
    for (; node; node = node->Parent()) {
        if (nodes_.contains(const_cast<TOutlineNode*>(node))) {
            return true;
        }
    }
    return false;
}

std::vector<TOutlineNode*> TImportRecorder::TopNodes() const {
    std::vector<TOutlineNode*> tops;
    for (TOutlineNode* node : nodes_) {
        if (!InAddedSubtree(node->Parent())) {
            tops.push_back(node);
        }
    }
    return tops;
}

std::vector<TNRBObject*> TImportRecorder::TopItems() const {
    std::vector<TNRBObject*> tops;
    for (const auto& [item, holder] : items_) {
        if (!InAddedSubtree(holder)) {
            tops.push_back(item);
        }
    }
    return tops;
}

KindCounts TImportRecorder::Counts() const {
    KindCounts counts{};
    for (const TOutlineNode* node : TopNodes()) {
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
    for (TNRBObject* item : TopItems()) {
        TOutlineNode* holder = items_.at(item);
        holder->Item()->RemoveChild(item);
    }
    for (TOutlineNode* node : TopNodes()) {
        outline_->DeleteNode(node);
    }
    items_.clear();
    nodes_.clear();
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

} // namespace quill
