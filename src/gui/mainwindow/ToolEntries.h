#pragma once
// The entries of the two tool lists (the options dialog's and the tools picker's): 36 pixels
// per entry, the tool's icon at 1,2 and its description at 36,8, a selected entry in the
// highlight colours; each entry holds its tool.

#include <QListWidget>
#include <QStyledItemDelegate>

namespace quill {
class TToolItem;
}

namespace quill::gui {

class ImageLists;

inline constexpr int kToolEntryHeight = 36;

class ToolEntryDelegate final : public QStyledItemDelegate {
public:
    ToolEntryDelegate(const ImageLists& images, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const ImageLists& images_;
};

// Appends an entry for the tool, captioned with its description.
QListWidgetItem* NewToolEntry(QListWidget* list, TToolItem* tool);
// The tool an entry holds; none for none.
TToolItem* ToolOfEntry(const QListWidgetItem* entry);

} // namespace quill::gui
