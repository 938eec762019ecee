#include "gui/mainwindow/EntryViews.h"

#include <QDrag>
#include <QFontMetrics>
#include <QIcon>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QPainter>

#include <algorithm>

namespace quill::gui {
namespace {

constexpr int kPictureOffset = 12;

std::vector<int> DraggedRows(const QAbstractItemView& view) {
    return view.selectionModel() ? SelectedRowNumbers(*view.selectionModel()) : std::vector<int>{};
}

// The drop decides what happens to the entries (the panes' drop handlers take every drag
// as a copy); the view itself never takes rows out, so nothing follows the drag here.
void StartEntryDrag(QAbstractItemView& view, Qt::DropActions supportedActions) {
    const std::vector<int> rows = DraggedRows(view);
    if (rows.empty() || !view.model()) {
        return;
    }
    // The data names the pane the drag comes from; the drop reads the selection itself.
    QMimeData* data = view.model()->mimeData({view.model()->index(rows.front(), 0)});
    if (!data) {
        return;
    }
    auto* drag = new QDrag(&view);
    drag->setMimeData(data);
    drag->setPixmap(EntryDragPixmap(view));
    // Below and to the right of the pointer, as file managers show it: the node or entry
    // under the pointer, where the entries would go, stays in sight.
    drag->setHotSpot(QPoint(-kPictureOffset, -kPictureOffset));
    drag->exec(supportedActions, view.defaultDropAction());
}

} // namespace

std::vector<int> SelectedRowNumbers(const QItemSelectionModel& selection) {
    const QAbstractItemModel* model = selection.model();
    if (!model || !selection.hasSelection()) {
        return {};
    }
    // An entry is its whole row: a range that holds the title holds the row. Ranges may
    // overlap, so each row is marked once.
    std::vector<char> marked(static_cast<std::size_t>(model->rowCount()), 0);
    for (const QItemSelectionRange& range : selection.selection()) {
        if (range.parent().isValid() || range.left() > 0) {
            continue;
        }
        for (int row = std::max(0, range.top()); row <= range.bottom(); ++row) {
            if (static_cast<std::size_t>(row) < marked.size()) {
                marked[static_cast<std::size_t>(row)] = 1;
            }
        }
    }
    std::vector<int> rows;
    for (std::size_t row = 0; row < marked.size(); ++row) {
        if (marked[row]) {
            rows.push_back(static_cast<int>(row));
        }
    }
    return rows;
}

QPixmap EntryDragPixmap(const QAbstractItemView& view) {
    const std::vector<int> rows = DraggedRows(view);
    QModelIndex shown = view.currentIndex();
    if (!shown.isValid() || !view.selectionModel()->isRowSelected(shown.row(), shown.parent())) {
        shown = rows.empty() ? QModelIndex() : view.model()->index(rows.front(), 0);
    }
    const QSize iconSize = view.iconSize().isValid() ? view.iconSize() : QSize(32, 32);
    const QString count = rows.size() > 1 ? QString::number(rows.size()) : QString();
    const QFontMetrics metrics(view.font());
    const int countWidth = count.isEmpty() ? 0 : metrics.horizontalAdvance(count) + 8;
    const qreal ratio = view.devicePixelRatioF();
    QPixmap picture(
        QSize(iconSize.width() + countWidth, std::max(iconSize.height(), metrics.height() + 4)) *
        ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    const QIcon icon = qvariant_cast<QIcon>(shown.sibling(shown.row(), 0).data(Qt::DecorationRole));
    icon.paint(&painter, QRect(QPoint(0, 0), iconSize));
    if (!count.isEmpty()) {
        // A badge at the icon's lower right, in the selection's colours.
        const QRect badge(iconSize.width(), picture.height() / ratio - metrics.height() - 4,
                          countWidth, metrics.height() + 4);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(view.palette().highlight());
        painter.drawRoundedRect(badge, 4, 4);
        painter.setPen(view.palette().highlightedText().color());
        painter.setFont(view.font());
        painter.drawText(badge, Qt::AlignCenter, count);
    }
    return picture;
}

void EntryIconView::startDrag(Qt::DropActions supportedActions) {
    StartEntryDrag(*this, supportedActions);
}

void EntryIconView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                const QList<int>& roles) {
    QListView::dataChanged(topLeft, bottomRight, roles);
    // In the icon style Qt sizes a changed entry anew from its old left edge and repaints
    // only the new size: a renamed entry stood off the centre of its place, beside what was
    // left of its old caption. Placed afresh (once, after the changes of one event), it is
    // centred again and the whole place is drawn.
    if (viewMode() == IconMode) {
        scheduleDelayedItemsLayout();
    }
}

void EntryDetailsView::startDrag(Qt::DropActions supportedActions) {
    StartEntryDrag(*this, supportedActions);
}

} // namespace quill::gui
