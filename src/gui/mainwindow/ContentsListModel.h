#pragma once
// The contents of one node as the item list shows them: its child nodes and the items in
// its item's Children, less those the category filter hides, sorted folders first and then
// by title. Kept current by the outline's observer, entry by entry, and filled again after
// bulk work.

#include "core/model/outline.h"
#include "core/storage/data_file.h"

#include <QAbstractTableModel>

#include <functional>
#include <vector>

namespace quill::gui {

class ImageLists;

class ContentsListModel final : public QAbstractTableModel, private IOutlineObserver {
    Q_OBJECT

public:
    enum Column { TitleColumn, TargetColumn, CommentColumn, ColumnCount };
    enum Role {
        ImageIndexRole = Qt::UserRole + 1, // the item's GetImageIndex
        StateIndexRole,                    // a child node's due bullet; -1 for other entries
        NodeRole,                          // the entry's TOutlineNode* for a child node, else 0
        ItemRole,                          // the entry's TNRBObject*, as quintptr
    };

    explicit ContentsListModel(TOutline& outline, QObject* parent = nullptr);
    ~ContentsListModel() override;

    // Fills the list with the contents of node (none: empty).
    void SetNode(TOutlineNode* node);
    TOutlineNode* Node() const { return node_; }
    // The category filter; the list is filled again.
    void SetHiddenTest(HiddenItemTest hidden);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void SetImageLists(const ImageLists* images) { images_ = images; }
    // Called after a caption edited in place became the item's Title.
    void SetTitleEdited(std::function<void(TNRBObject*)> edited) {
        titleEdited_ = std::move(edited);
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDropActions() const override {
        return Qt::MoveAction | Qt::CopyAction;
    }

    TNRBObject* ItemAt(int row) const;
    int RowOf(const TNRBObject* item) const; // -1 when not listed

private:
    struct Entry {
        TNRBObject* item;
        TOutlineNode* node; // set for child nodes
    };

    bool Hidden(const TNRBObject& item) const;
    std::size_t SortedPosition(const TNRBObject& item) const;
    void Insert(Entry entry);
    void RemoveRow(int row);
    // Removes the entries at the rows, given in any order.
    void RemoveRows(std::vector<int> rows);
    void Reposition(int row);
    void Refill();

    void NodesInserted(TOutlineNode* parent, int first, int last) override;
    void NodesAboutToBeRemoved(TOutlineNode* parent, int first, int last) override;
    void NodesAboutToBeMoved(TOutlineNode* source, int first, int last, TOutlineNode* destination,
                             int destinationRow) override;
    void NodesMoved(TOutlineNode* destination, int first, int last) override;
    void NodeChanged(TOutlineNode* node) override;
    void ItemsAdded(TOutlineNode* holder, int first, int last) override;
    void ItemsAboutToBeRemoved(TOutlineNode* holder, int first, int last) override;
    void ItemChanged(TNRBObject* item) override;
    void UpdatesSuspended() override;
    void UpdatesResumed() override;

    TOutline& outline_;
    const ImageLists* images_ = nullptr;
    std::function<void(TNRBObject*)> titleEdited_;
    TOutlineNode* node_ = nullptr;
    HiddenItemTest hidden_;
    std::vector<Entry> entries_;
    // During bulk work (an import, a revert) the list stands empty and follows no change;
    // it is filled once at the end.
    bool suspended_ = false;
};

} // namespace quill::gui
