#include "gui/app/ExitFlow.h"

#include "gui/common/TProgressForm.h"
#include "gui/mainwindow/TMainForm.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMenu>
#include <QTimer>

namespace quill::gui {
namespace {

// How long the end waits for dialogs to close and long work to stop before it saves anyway.
constexpr int kWaitStepMs = 20;
constexpr int kMostWaits = 250;

} // namespace

ExitFlow::ExitFlow(TMainForm& form, QObject* parent) : QObject(parent), form_(form) {}

bool ExitFlow::CloseModalsAndMenus() {
    bool any = false;
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        any = true;
    }
    QWidget* modal = QApplication::activeModalWidget();
    // Long work's progress window goes with its work, which is asked to stop instead.
    if (modal && !qobject_cast<TProgressForm*>(modal)) {
        // A dialog's Cancel: whatever it was asking is not done.
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        } else {
            modal->close();
        }
        any = true;
    }
    return any;
}

void ExitFlow::Request(Mode mode) {
    if (running_) {
        if (mode == Mode::Unattended && mode_ == Mode::Attended) {
            // A question of the attended end may be open: it goes, and nobody is asked again.
            mode_ = Mode::Unattended;
            CloseModalsAndMenus();
        }
        return;
    }
    running_ = true;
    mode_ = mode;
    waits_ = 0;
    form_.SetExiting(true);
    CloseModalsAndMenus();
    // Left to the event loop, so that the dialogs closed above return from their own loops
    // before the outline is saved.
    QTimer::singleShot(0, this, &ExitFlow::Continue);
}

void ExitFlow::Continue() {
    const bool busy = form_.Outline().Updating() ||
                      (progress_ && progress_->isVisible() && progress_->Cancellable());
    if ((busy || QApplication::activeModalWidget() || QApplication::activePopupWidget()) &&
        waits_ < kMostWaits) {
        ++waits_;
        if (busy) {
            emit longWorkCancelRequested();
        }
        CloseModalsAndMenus();
        QTimer::singleShot(kWaitStepMs, this, &ExitFlow::Continue);
        return;
    }
    for (;;) {
        const bool attended = mode_ == Mode::Attended;
        if (form_.Finish(attended)) {
            break;
        }
        if (mode_ == Mode::Unattended) {
            continue; // a signal came while the user was being asked
        }
        // The user chose to go on: the program keeps running as before.
        running_ = false;
        form_.SetExiting(false);
        return;
    }
    ended_ = true;
    // Not quit(): that would first ask every window to close.
    QCoreApplication::exit(0);
}

bool ExitFlow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qApp && event->type() == QEvent::Quit && !ended_) {
        Request(Mode::Unattended);
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quill::gui
