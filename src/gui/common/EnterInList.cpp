#include "gui/common/EnterInList.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QKeyEvent>

namespace quill::gui {
namespace {

class EnterFilter final : public QObject {
public:
    explicit EnterFilter(QAbstractItemView* view) : QObject(view), view_(view) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != view_ || event->type() != QEvent::KeyPress) {
            return false;
        }
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) {
            return false;
        }
        if (const QModelIndex current = view_->currentIndex(); current.isValid()) {
            emit view_->activated(current);
        }
        return true;
    }

private:
    QAbstractItemView* view_;
};

} // namespace

void KeepEnterInList(QAbstractItemView* view) {
    view->installEventFilter(new EnterFilter(view));
}

} // namespace quill::gui
