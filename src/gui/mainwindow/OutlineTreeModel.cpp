#include "OutlineTreeModel.h"

#include "platform/Utf8Text.h"

#include "core/model/nrb_object.h"
#include "gui/common/ImageLists.h"

#include <QMimeData>

#include "core/model/nrb_object.h"

namespace quill::gui {

OutlineTreeModel::OutlineTreeModel(TOutline& outline, QObject* parent)
    : QAbstractItemModel(parent), outline_(outline) {
    outline_.AddObserver(this);
}

OutlineTreeModel::~OutlineTreeModel() {
    outline_.RemoveObserver(this);
}

TOutlineNode* OutlineTreeModel::NodeAt(const QModelIndex& index) {
    return index.isValid() ? static_cast<TOutlineNode*>(index.internalPointer()) : nullptr;
}

QModelIndex OutlineTreeModel::IndexOf(const TOutlineNode* node) const {
    // A node knows its row, so this is constant time.
    return node ? createIndex(node->Row(), 0, const_cast<TOutlineNode*>(node)) : QModelIndex();
}

QModelIndex OutlineTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column != 0) {
        return {};
    }
    TOutlineNode* node = outline_.ChildOf(NodeAt(parent), static_cast<std::size_t>(row));
    return node ? createIndex(row, 0, node) : QModelIndex();
}

QModelIndex OutlineTreeModel::parent(const QModelIndex& child) const {
    const TOutlineNode* node = NodeAt(child);
    return node ? IndexOf(node->Parent()) : QModelIndex();
}

int OutlineTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() && parent.column() != 0) {
        return 0;
    }
    return static_cast<int>(outline_.ChildCountOf(NodeAt(parent)));
}

int OutlineTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool OutlineTreeModel::hasChildren(const QModelIndex& parent) const {
    return rowCount(parent) > 0;
}

QVariant OutlineTreeModel::data(const QModelIndex& index, int role) const {
    const TOutlineNode* node = NodeAt(index);
    if (!node) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return FromUtf8Shown(node->Text());
    case Qt::EditRole:
        return FromUtf8(node->Text());
    case Qt::DecorationRole:
        if (!images_) {
            return {};
        }
        return images_->EntryIcon(node->ImageIndex(), node->SelectedIndex(), node->StateIndex());
    case ImageIndexRole:
        return node->ImageIndex();
    case SelectedImageIndexRole:
        return node->SelectedIndex();
    case StateIndexRole:
        return node->StateIndex();
    case NodeRole:
        return QVariant::fromValue(reinterpret_cast<quintptr>(node));
    case ItemRole:
        return QVariant::fromValue(reinterpret_cast<quintptr>(node->Item()));
    default:
        return {};
    }
}

Qt::ItemFlags OutlineTreeModel::flags(const QModelIndex& index) const {
    const TOutlineNode* node = NodeAt(index);
    if (!node) {
        return Qt::ItemIsDropEnabled;
    }
    Qt::ItemFlags f =
        Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    if (node->Parent()) {
        f |= Qt::ItemIsEditable;
    }
    return f;
}

bool OutlineTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    TOutlineNode* node = NodeAt(index);
    if (role != Qt::EditRole || !node || !node->Parent() || !node->Item()) {
        return false;
    }
    const std::string text = value.toString().toStdString();
    // The Title follows (and re-sorts the siblings when the caption showed it); a caption that
    // differed from the Title takes the edited text as well.
    node->Item()->SetTitle(text);
    // The caption shows the Title as stored, cleaned of what a record cannot hold.
    TOutline::SetNodeText(node, node->Item()->Title());
    return true;
}

QStringList OutlineTreeModel::mimeTypes() const {
    return {QLatin1String(kPaneDragMime)};
}

QMimeData* NewPaneDragData(const char* pane) {
    auto* data = new QMimeData;
    data->setData(QLatin1String(kPaneDragMime), QByteArray(pane));
    return data;
}

QMimeData* OutlineTreeModel::mimeData(const QModelIndexList&) const {
    return NewPaneDragData("Folders");
}

void OutlineTreeModel::NodesAboutToBeInserted(TOutlineNode* parent, int first, int last) {
    if (!moving_) {
        beginInsertRows(IndexOf(parent), first, last);
    }
}

void OutlineTreeModel::NodesInserted(TOutlineNode*, int, int) {
    if (!moving_) {
        endInsertRows();
    }
}

void OutlineTreeModel::NodesAboutToBeRemoved(TOutlineNode* parent, int first, int last) {
    beginRemoveRows(IndexOf(parent), first, last);
}

void OutlineTreeModel::NodesRemoved(TOutlineNode*, int, int) {
    endRemoveRows();
}

void OutlineTreeModel::NodesAboutToBeMoved(TOutlineNode* source, int first, int last,
                                           TOutlineNode* destination, int destinationRow) {
    moving_ = beginMoveRows(IndexOf(source), first, last, IndexOf(destination), destinationRow);
    if (!moving_) {
        // Qt refuses moves it considers no-ops; the outline never announces those.
        beginResetModel();
    }
}

void OutlineTreeModel::NodesMoved(TOutlineNode*, int, int) {
    if (moving_) {
        moving_ = false;
        endMoveRows();
    } else {
        endResetModel();
    }
}

void OutlineTreeModel::ChildrenAboutToBeSorted(TOutlineNode* parent) {
    const QModelIndex parentIndex = IndexOf(parent);
    emit layoutAboutToBeChanged({QPersistentModelIndex(parentIndex)},
                                QAbstractItemModel::VerticalSortHint);
    // Remember which node each persistent index below this parent stands for.
    sortedPersistent_.clear();
    sortedNodes_.clear();
    for (const QModelIndex& index : persistentIndexList()) {
        if (index.parent() == parentIndex) {
            sortedPersistent_.append(index);
            sortedNodes_.push_back(NodeAt(index));
        }
    }
}

void OutlineTreeModel::ChildrenSorted(TOutlineNode* parent) {
    QModelIndexList moved;
    moved.reserve(sortedPersistent_.size());
    for (TOutlineNode* node : sortedNodes_) {
        moved.append(IndexOf(node));
    }
    changePersistentIndexList(sortedPersistent_, moved);
    sortedPersistent_.clear();
    sortedNodes_.clear();
    emit layoutChanged({QPersistentModelIndex(IndexOf(parent))},
                       QAbstractItemModel::VerticalSortHint);
}

void OutlineTreeModel::NodeChanged(TOutlineNode* node) {
    const QModelIndex index = IndexOf(node);
    emit dataChanged(index, index);
}

} // namespace quill::gui
