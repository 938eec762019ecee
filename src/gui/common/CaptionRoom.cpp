#include "gui/common/CaptionRoom.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace quill::gui {
namespace {

// The window manager's icon and its three buttons, with their margins.
constexpr int kDecorationRoom = 150;

} // namespace

int CaptionRoom(const QWidget& window) {
    QFont captionFont = window.font();
    captionFont.setBold(true);
    return QFontMetrics(captionFont).horizontalAdvance(window.windowTitle()) + kDecorationRoom;
}

void FitCaption(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) {
        return;
    }
    grid->addItem(new QSpacerItem(CaptionRoom(box), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace quill::gui
