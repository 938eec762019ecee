#include "ContentsListModel.h"

#include "platform/Utf8Text.h"

#include "OutlineTreeModel.h"
#include "core/model/nrb_object.h"
#include "gui/common/ImageLists.h"

#include <algorithm>

namespace quill::gui {
namespace {} // namespace

ContentsListModel::ContentsListModel(TOutline& outline, QObject* parent)
    : QAbstractTableModel(parent), outline_(outline) {
    outline_.AddObserver(this);
}

ContentsListModel::~ContentsListModel() {
    outline_.RemoveObserver(this);
}

void ContentsListModel::SetNode(TOutlineNode* node) {
    node_ = node;
    Refill();
}

void ContentsListModel::SetHiddenTest(HiddenItemTest hidden) {
    hidden_ = std::move(hidden);
    Refill();
}

bool ContentsListModel::Hidden(const TNRBObject& item) const {
    return hidden_ && hidden_(item);
}

void ContentsListModel::Refill() {
    beginResetModel();
    entries_.clear();
    if (node_ && !suspended_) {
        for (std::size_t i = 0; i < node_->ChildCount(); ++i) {
            TOutlineNode* child = node_->ChildAt(i);
            if (child->Item() && !Hidden(*child->Item())) {
                entries_.push_back({child->Item(), child});
            }
        }
        if (const TNRBObject* holder = node_->Item()) {
            for (std::size_t i = 0; i < holder->ChildCount(); ++i) {
                TNRBObject* item = holder->ChildAt(i);
                if (!Hidden(*item)) {
                    entries_.push_back({item, nullptr});
                }
            }
        }
        std::stable_sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
            return ItemSortsBefore(*a.item, *b.item);
        });
    }
    endResetModel();
}

int ContentsListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int ContentsListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

TNRBObject* ContentsListModel::ItemAt(int row) const {
    return (row >= 0 && row < static_cast<int>(entries_.size())) ? entries_[row].item : nullptr;
}

int ContentsListModel::RowOf(const TNRBObject* item) const {
    if (!item) {
        return -1;
    }
    // The entries are in sort order, so the item is among those it ties with; a list of many
    // thousands changed one by one would otherwise cost a pass over the list per change.
    struct Order {
        bool operator()(const Entry& entry, const TNRBObject* value) const {
            return ItemSortsBefore(*entry.item, *value);
        }
        bool operator()(const TNRBObject* value, const Entry& entry) const {
            return ItemSortsBefore(*value, *entry.item);
        }
    };
    const auto [first, last] = std::equal_range(entries_.begin(), entries_.end(), item, Order{});
    for (auto it = first; it != last; ++it) {
        if (it->item == item) {
            return static_cast<int>(it - entries_.begin());
        }
    }
    // Only the listed node's items and its child nodes' items are listed: a change anywhere
    // else in the outline needs no look at the list.
    if (const TOutlineNode* node = item->Node();
        node && node != node_ && (!node_ || node->Parent() != node_)) {
        return -1;
    }
    // An item whose title just changed still stands where its old title placed it.
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].item == item) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

QVariant ContentsListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(entries_.size())) {
        return {};
    }
    const Entry& entry = entries_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        // The editor in place gets the whole text; the row shows its beginning.
        const auto text = role == Qt::EditRole ? FromUtf8 : FromUtf8Shown;
        switch (index.column()) {
        case TitleColumn:
            // A child node shows its caption, an item its Title.
            return text(entry.node ? entry.node->Text() : entry.item->Title());
        case TargetColumn:
            return text(entry.item->Target());
        case CommentColumn:
            return text(entry.item->Comment());
        default:
            return {};
        }
    }
    case Qt::DecorationRole:
        if (!images_ || index.column() != TitleColumn) {
            return {};
        }
        return images_->EntryIcon(entry.item->GetImageIndex(), entry.item->GetImageIndex(),
                                  entry.node ? entry.node->StateIndex() : -1);
    case ImageIndexRole:
        return entry.item->GetImageIndex();
    case StateIndexRole:
        return entry.node ? entry.node->StateIndex() : -1;
    case NodeRole:
        return QVariant::fromValue(reinterpret_cast<quintptr>(entry.node));
    case ItemRole:
        return QVariant::fromValue(reinterpret_cast<quintptr>(entry.item));
    default:
        return {};
    }
}

Qt::ItemFlags ContentsListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::ItemIsDropEnabled;
    }
    Qt::ItemFlags f =
        Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    if (index.column() == TitleColumn) {
        f |= Qt::ItemIsEditable;
    }
    return f;
}

bool ContentsListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    TNRBObject* item = ItemAt(index.row());
    if (role != Qt::EditRole || index.column() != TitleColumn || !item) {
        return false;
    }
    item->SetTitle(value.toString().toStdString());
    if (titleEdited_) {
        titleEdited_(item);
    }
    return true;
}

QStringList ContentsListModel::mimeTypes() const {
    return {QLatin1String(kPaneDragMime)};
}

QMimeData* ContentsListModel::mimeData(const QModelIndexList&) const {
    return NewPaneDragData("MainItems");
}

QVariant ContentsListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
    case TitleColumn:
        return QStringLiteral("Title");
    case TargetColumn:
        return QStringLiteral("Target");
    case CommentColumn:
        return QStringLiteral("Comment");
    default:
        return {};
    }
}

std::size_t ContentsListModel::SortedPosition(const TNRBObject& item) const {
    // After the entries it ties with, as a fill followed by a stable sort would place it.
    const auto at = std::upper_bound(entries_.begin(), entries_.end(), &item,
                                     [](const TNRBObject* value, const Entry& entry) {
                                         return ItemSortsBefore(*value, *entry.item);
                                     });
    return static_cast<std::size_t>(at - entries_.begin());
}

void ContentsListModel::Insert(Entry entry) {
    if (Hidden(*entry.item)) {
        return;
    }
    const int row = static_cast<int>(SortedPosition(*entry.item));
    beginInsertRows({}, row, row);
    entries_.insert(entries_.begin() + row, entry);
    endInsertRows();
}

void ContentsListModel::RemoveRow(int row) {
    beginRemoveRows({}, row, row);
    entries_.erase(entries_.begin() + row);
    endRemoveRows();
}

void ContentsListModel::RemoveRows(std::vector<int> rows) {
    // Neighbouring rows go together, the last first, so that the rows not yet removed keep
    // their numbers: many entries leave in a few steps instead of one erase each.
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (std::size_t end = rows.size(); end > 0;) {
        std::size_t begin = end - 1;
        while (begin > 0 && rows[begin - 1] + 1 == rows[begin]) {
            --begin;
        }
        beginRemoveRows({}, rows[begin], rows[end - 1]);
        entries_.erase(entries_.begin() + rows[begin], entries_.begin() + rows[end - 1] + 1);
        endRemoveRows();
        end = begin;
    }
}

void ContentsListModel::Reposition(int row) {
    const Entry entry = entries_[static_cast<std::size_t>(row)];
    entries_.erase(entries_.begin() + row);
    const int target = static_cast<int>(SortedPosition(*entry.item));
    entries_.insert(entries_.begin() + row, entry);
    if (target != row) {
        // Qt counts the destination before the entry is taken out.
        beginMoveRows({}, row, row, {}, target > row ? target + 1 : target);
        entries_.erase(entries_.begin() + row);
        entries_.insert(entries_.begin() + target, entry);
        endMoveRows();
        row = target;
    }
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void ContentsListModel::NodesInserted(TOutlineNode* parent, int first, int last) {
    if (suspended_ || !node_ || parent != node_) {
        return;
    }
    for (int row = first; row <= last; ++row) {
        TOutlineNode* child = node_->ChildAt(static_cast<std::size_t>(row));
        if (child && child->Item()) {
            Insert({child->Item(), child});
        }
    }
}

void ContentsListModel::NodesAboutToBeRemoved(TOutlineNode* parent, int first, int last) {
    if (!node_) {
        return;
    }
    std::vector<int> listed;
    for (int row = first; row <= last; ++row) {
        TOutlineNode* going = outline_.ChildOf(parent, static_cast<std::size_t>(row));
        if (!going) {
            continue;
        }
        if (going == node_ || going->IsAncestorOf(node_)) {
            // The listed node goes: nothing is left to list.
            node_ = nullptr;
            if (!entries_.empty()) {
                beginRemoveRows({}, 0, static_cast<int>(entries_.size()) - 1);
                entries_.clear();
                endRemoveRows();
            }
            return;
        }
        if (parent == node_ && !suspended_) {
            if (const int row = RowOf(going->Item()); row >= 0) {
                listed.push_back(row);
            }
        }
    }
    RemoveRows(std::move(listed));
}

void ContentsListModel::NodesAboutToBeMoved(TOutlineNode* source, int first, int last,
                                            TOutlineNode*, int) {
    if (suspended_ || !node_ || source != node_) {
        return;
    }
    std::vector<int> listed;
    for (int row = first; row <= last; ++row) {
        const TOutlineNode* node = node_->ChildAt(static_cast<std::size_t>(row));
        if (const int at = node ? RowOf(node->Item()) : -1; at >= 0) {
            listed.push_back(at);
        }
    }
    RemoveRows(std::move(listed));
}

void ContentsListModel::NodesMoved(TOutlineNode* destination, int first, int last) {
    // Arrived in the listed node, they are listed as new nodes are.
    NodesInserted(destination, first, last);
}

void ContentsListModel::NodeChanged(TOutlineNode* node) {
    if (!suspended_ && node_ && node->Parent() == node_) {
        if (const int listed = RowOf(node->Item()); listed >= 0) {
            Reposition(listed);
        }
    }
}

void ContentsListModel::ItemsAdded(TOutlineNode* holder, int first, int last) {
    if (suspended_ || !node_ || holder != node_ || !node_->Item()) {
        return;
    }
    for (int row = first; row <= last; ++row) {
        if (TNRBObject* item = node_->Item()->ChildAt(static_cast<std::size_t>(row))) {
            Insert({item, nullptr});
        }
    }
}

void ContentsListModel::ItemsAboutToBeRemoved(TOutlineNode* holder, int first, int last) {
    if (suspended_ || !node_ || holder != node_ || !node_->Item()) {
        return;
    }
    for (int row = first; row <= last; ++row) {
        if (const int listed = RowOf(node_->Item()->ChildAt(static_cast<std::size_t>(row)));
            listed >= 0) {
            RemoveRow(listed);
        }
    }
}

void ContentsListModel::ItemChanged(TNRBObject* item) {
    if (suspended_) {
        return;
    }
    if (const int listed = RowOf(item); listed >= 0) {
        Reposition(listed);
    } else if (node_ && !Hidden(*item)) {
        // A change of categories can bring a hidden entry back.
        if (item->Node() == node_ && node_->Item() && node_->Item()->ChildIndex(item) >= 0) {
            Insert({item, nullptr});
        } else if (item->Node() && item->Node()->Parent() == node_ &&
                   item->Node()->Item() == item) {
            Insert({item, item->Node()});
        }
    }
    if (const int listed = RowOf(item); listed >= 0 && Hidden(*item)) {
        RemoveRow(listed);
    }
}

void ContentsListModel::UpdatesSuspended() {
    // Followed change by change, a bulk import into the listed node would look through the
    // whole list for every record it renames.
    suspended_ = true;
    if (!entries_.empty()) {
        Refill();
    }
}

void ContentsListModel::UpdatesResumed() {
    suspended_ = false;
    Refill();
}

} // namespace quill::gui
