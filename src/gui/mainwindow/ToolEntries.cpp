#include "gui/mainwindow/ToolEntries.h"

#include "core/storage/tool_items.h"
#include "gui/common/ImageLists.h"

#include <QPainter>

namespace quill::gui {
namespace {

constexpr int kToolTextX = 36;
constexpr int kToolTextY = 8;

} // namespace

ToolEntryDelegate::ToolEntryDelegate(const ImageLists& images, QObject* parent)
    : QStyledItemDelegate(parent), images_(images) {}

void ToolEntryDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    painter->save();
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group =
        option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    painter->fillRect(option.rect, selected ? option.palette.brush(group, QPalette::Highlight)
                                            : option.palette.brush(group, QPalette::Base));
    const QPoint origin = option.rect.topLeft();
    const auto* tool =
        reinterpret_cast<const TToolItem*>(index.data(Qt::UserRole).value<quintptr>());
    if (tool && tool->ImageIndex() >= 0) {
        const QPixmap picture = images_.Pixmap(tool->ImageIndex(), ImageLists::kLarge);
        painter->drawPixmap(origin + QPoint(1, 2), picture);
    }
    painter->setPen(
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    const QRect text(origin.x() + kToolTextX, origin.y() + kToolTextY,
                     option.rect.width() - kToolTextX, option.rect.height() - kToolTextY);
    painter->drawText(
        text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
        option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, text.width()));
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.backgroundColor =
            option.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);
        option.widget->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter,
                                              option.widget);
    }
    painter->restore();
}

QSize ToolEntryDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    const QSize size = QStyledItemDelegate::sizeHint(option, index);
    return {size.width() + kToolTextX, kToolEntryHeight};
}

QListWidgetItem* NewToolEntry(QListWidget* list, TToolItem* tool) {
    auto* entry = new QListWidgetItem(QString::fromStdString(tool->Description()), list);
    entry->setData(Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(tool)));
    return entry;
}

TToolItem* ToolOfEntry(const QListWidgetItem* entry) {
    return entry ? reinterpret_cast<TToolItem*>(entry->data(Qt::UserRole).value<quintptr>())
                 : nullptr;
}

} // namespace quill::gui
