#pragma once
// The outline as Qt's tree views see it: one row per node, told of every change by the
// outline's observer, so the views never go stale and are never reset wholesale.

#include "core/model/outline.h"

#include <QAbstractItemModel>

class QMimeData;

#include <functional>

namespace quill::gui {

class ImageLists;

// The one MIME type of drags between the panes; the drop looks at the selections, not at
// the data, and at the drag's source to tell the panes apart.
inline constexpr char kPaneDragMime[] = "application/x-quillmere-pane-drag";
// The data of a drag that starts in the pane of that name.
QMimeData* NewPaneDragData(const char* pane);

class OutlineTreeModel final : public QAbstractItemModel, private IOutlineObserver {
    Q_OBJECT

public:
    enum Role {
        ImageIndexRole = Qt::UserRole + 1, // the node's image index
        SelectedImageIndexRole,            // the image shown while the node is selected
        StateIndexRole,                    // the due bullet, or -1
        NodeRole,                          // the TOutlineNode*, as quintptr
        ItemRole,                          // the node's TNRBObject*, as quintptr
    };

    explicit OutlineTreeModel(TOutline& outline, QObject* parent = nullptr);
    ~OutlineTreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;

    // Pictures for the decoration role; none: no pictures.
    void SetImageLists(const ImageLists* images) { images_ = images; }
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A caption edited in place becomes the item's Title (the top node is never editable).
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDropActions() const override {
        return Qt::MoveAction | Qt::CopyAction;
    }

    QModelIndex IndexOf(const TOutlineNode* node) const;
    static TOutlineNode* NodeAt(const QModelIndex& index);

private:
    void NodesAboutToBeInserted(TOutlineNode* parent, int first, int last) override;
    void NodesInserted(TOutlineNode* parent, int first, int last) override;
    void NodesAboutToBeRemoved(TOutlineNode* parent, int first, int last) override;
    void NodesRemoved(TOutlineNode* parent, int first, int last) override;
    void NodesAboutToBeMoved(TOutlineNode* source, int first, int last, TOutlineNode* destination,
                             int destinationRow) override;
    void NodesMoved(TOutlineNode* destination, int first, int last) override;
    void ChildrenAboutToBeSorted(TOutlineNode* parent) override;
    void ChildrenSorted(TOutlineNode* parent) override;
    void NodeChanged(TOutlineNode* node) override;

    TOutline& outline_;
    const ImageLists* images_ = nullptr;
    bool moving_ = false;
    QModelIndexList sortedPersistent_;
    std::vector<TOutlineNode*> sortedNodes_;
};

} // namespace quill::gui
