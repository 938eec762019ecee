#pragma once
// The outline as Qt's tree views see it: one row per node, told of every change by the
// outline's observer, so the views never go stale and are never reset wholesale.

#include "core/model/outline.h"

#include <QAbstractItemModel>

namespace quill::gui {

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

    QModelIndex IndexOf(const TOutlineNode* node) const;
    static TOutlineNode* NodeAt(const QModelIndex& index);

private:
    void NodesAboutToBeInserted(TOutlineNode* parent, int first, int last) override;
    void NodesInserted(TOutlineNode* parent, int first, int last) override;
    void NodesAboutToBeRemoved(TOutlineNode* parent, int first, int last) override;
    void NodesRemoved(TOutlineNode* parent, int first, int last) override;
    void NodeAboutToBeMoved(TOutlineNode* node, TOutlineNode* destination,
                            int destinationRow) override;
    void NodeMoved(TOutlineNode* node) override;
    void ChildrenAboutToBeSorted(TOutlineNode* parent) override;
    void ChildrenSorted(TOutlineNode* parent) override;
    void NodeChanged(TOutlineNode* node) override;

    TOutline& outline_;
    bool moving_ = false;
    QModelIndexList sortedPersistent_;
    std::vector<TOutlineNode*> sortedNodes_;
};

} // namespace quill::gui
