#include "gui/exchange/WorkProgress.h"

#include "gui/common/TProgressForm.h"

#include <QCoreApplication>
#include <QEvent>

namespace quill::gui {
namespace {

constexpr qint64 kUpdateInterval = 40; // milliseconds
constexpr int kBarRange = 1000;

} // namespace

WorkProgress::WorkProgress(TProgressForm* form, const QString& action, QWidget* parent) {
    if (!form) {
        own_ = std::make_unique<TProgressForm>(parent);
        form = own_.get();
    }
    form_ = form;
    form_->SetAction(action);
    form_->SetResult({});
    form_->SetRange(0, kBarRange);
    form_->SetPosition(0);
    form_->SetCancellable(true);
    form_->ShowProgress();
    // Quitting while the work runs: the quit goes on, but the work stops first.
    QCoreApplication::instance()->installEventFilter(this);
    clock_.start();
    ++running_;
}

WorkProgress::~WorkProgress() {
    --running_;
    QCoreApplication::instance()->removeEventFilter(this);
    // Hidden first: switched out of modality while shown, the window would be shown again.
    form_->HideProgress();
    form_->SetCancellable(false);
}

bool WorkProgress::eventFilter(QObject* watched, QEvent* event) {
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit) {
        quitRequested_ = true;
    }
    return false;
}

bool WorkProgress::Cancelled() const {
    return quitRequested_ || form_->CancelRequested();
}

bool WorkProgress::Progress(std::uint64_t done, std::uint64_t total) {
    const qint64 now = clock_.elapsed();
    if (lastUpdate_ >= 0 && now - lastUpdate_ < kUpdateInterval) {
        return !Cancelled();
    }
    lastUpdate_ = now;
    if (firstUpdate_ < 0) {
        firstUpdate_ = now;
    }
    const std::uint64_t whole = total > 0 ? total : knownTotal_;
    if (whole > 0) {
        form_->SetPosition(
            static_cast<int>(std::min<std::uint64_t>(done, whole) * kBarRange / whole));
    }
    if (hook_) {
        hook_(*this);
    }
    form_->ProcessEvents();
    return !Cancelled();
}

} // namespace quill::gui
