#include "gui/common/ScreenCentre.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace quill::gui {

void CentreOnScreen(QWidget& window) {
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

} // namespace quill::gui
