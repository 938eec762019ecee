#pragma once
// The item list's two views. They drag their selected entries under one small picture, the
// current entry's icon with the count of entries beside it, instead of Qt's picture of every
// selected entry: dragging a few hundred entries showed a picture that covered the tree
// they were being dragged to.

#include <QListView>
#include <QPixmap>
#include <QTreeView>

namespace quill::gui {

// The picture of a drag of the view's selected entries: the current (else first selected)
// entry's icon at the view's icon size and, for more than one entry, their count.
QPixmap EntryDragPixmap(const QAbstractItemView& view);

class EntryIconView final : public QListView {
    Q_OBJECT

public:
    using QListView::QListView;

protected:
    void startDrag(Qt::DropActions supportedActions) override;
};

class EntryDetailsView final : public QTreeView {
    Q_OBJECT

public:
    using QTreeView::QTreeView;

protected:
    void startDrag(Qt::DropActions supportedActions) override;
};

} // namespace quill::gui
