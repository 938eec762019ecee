#pragma once
// The item list's two views. They drag their selected entries under one small picture, the
// current entry's icon with the count of entries beside it, instead of Qt's picture of every
// selected entry: dragging a few hundred entries showed a picture that covered the tree
// they were being dragged to.

#include <QListView>
#include <QPixmap>
#include <QTreeView>

#include <vector>

class QItemSelectionModel;

namespace quill::gui {

// The rows of the selected entries, in list order. Read from the selection's ranges: Qt's
// selectedRows() asks after every cell of every row one at a time, which took a fifth of a
// second for a list of 300,000 entries selected whole, paid at each drag, drop and delete.
std::vector<int> SelectedRowNumbers(const QItemSelectionModel& selection);

// The picture of a drag of the view's selected entries: the current (else first selected)
// entry's icon at the view's icon size and, for more than one entry, their count.
QPixmap EntryDragPixmap(const QAbstractItemView& view);

class EntryIconView final : public QListView {
    Q_OBJECT

public:
    using QListView::QListView;

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = {}) override;
};

class EntryDetailsView final : public QTreeView {
    Q_OBJECT

public:
    using QTreeView::QTreeView;

protected:
    void startDrag(Qt::DropActions supportedActions) override;
};

} // namespace quill::gui
