#include "gui/editors/CategoryPopup.h"

#include "core/model/nrb_object.h"
#include "gui/common/CaptionRoom.h"
#include "gui/common/CategoryList.h"
#include "gui/common/Pictures.h"
#include "gui/common/Prompter.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QVBoxLayout>

#include <algorithm>

namespace quill::gui {

TCategoryPopup::TCategoryPopup(const QStringList& names, std::int32_t categories, QWidget* parent)
    : QDialog(parent, Qt::Tool), list_(new QListWidget(this)) {
    setObjectName(QStringLiteral("TCategoryPopup"));
    setWindowTitle(QStringLiteral("Select Categories"));
    FillCategoryList(list_, names, static_cast<std::uint32_t>(categories));
    // Space ticks the current entry; Escape or Enter close, both keeping the ticks.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(list_);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(close);
    resize(std::max(200, CaptionRoom(*this)), 260);
}

std::int32_t TCategoryPopup::Categories() const {
    return static_cast<std::int32_t>(TickedCategories(list_));
}

void TCategoryPopup::Run(TNRBObject& item, const QStringList& names, QPoint topLeft,
                         QWidget* parent) {
    TCategoryPopup popup(names, item.Categories(), parent);
    popup.move(topLeft);
    Prompter::Exec(popup);
    // However it was closed, the ticks are the item's categories now.
    item.SetCategories(popup.Categories());
}

TCatSelect::TCatSelect(TNRBObject& item, std::function<QStringList()> names, QWidget* parent)
    : QLabel(parent), item_(item), names_(std::move(names)) {
    setObjectName(QStringLiteral("CatSelect"));
    setToolTip(QStringLiteral("Click to set categories"));
    setStatusTip(QStringLiteral("Click to set categories"));
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    const QIcon icon =
        QIcon::fromTheme(QStringLiteral("tag"), CommandPicture(QStringLiteral("category")));
    setPixmap(icon.pixmap(24, 24));
    setFixedSize(28, 28);
    setAlignment(Qt::AlignCenter);
}

void TCatSelect::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) {
        return;
    }
    // A picture shows no cursor of its own: the frame tells a keyboard user where Tab went.
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(QPalette::Window);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

void TCatSelect::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        Open();
    }
}

void TCatSelect::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return) {
        Open();
        return;
    }
    QLabel::keyPressEvent(event);
}

void TCatSelect::Open() {
    TCategoryPopup::Run(item_, names_ ? names_() : QStringList{}, mapToGlobal(QPoint(0, height())),
                        window());
}

} // namespace quill::gui
