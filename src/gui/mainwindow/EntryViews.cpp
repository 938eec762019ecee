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

QModelIndexList DraggedRows(const QAbstractItemView& view) {
    return view.selectionModel() ? view.selectionModel()->selectedRows() : QModelIndexList{};
}

// The drop decides what happens to the entries (the panes' drop handlers take every drag
// as a copy); the view itself never takes rows out, so nothing follows the drag here.
void StartEntryDrag(QAbstractItemView& view, Qt::DropActions supportedActions) {
    const QModelIndexList rows = DraggedRows(view);
    if (rows.isEmpty() || !view.model()) {
        return;
    }
    QMimeData* data = view.model()->mimeData(rows);
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

QPixmap EntryDragPixmap(const QAbstractItemView& view) {
    const QModelIndexList rows = DraggedRows(view);
    QModelIndex shown = view.currentIndex();
    if (!shown.isValid() || !view.selectionModel()->isRowSelected(shown.row(), shown.parent())) {
        shown = rows.isEmpty() ? QModelIndex() : rows.front();
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

void EntryDetailsView::startDrag(Qt::DropActions supportedActions) {
    StartEntryDrag(*this, supportedActions);
}

} // namespace quill::gui
